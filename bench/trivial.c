/* The floor for kovra's run time: a C program that starts and exits. */
int main(void) { return 0; }
