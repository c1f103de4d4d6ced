// Writes a quorl.in for the benchmarks, the same bytes for the same arguments on every machine.
//   generate_grid FILE random ROWS COLUMNS DENSITY SEED   cells set with probability DENSITY
//   generate_grid FILE comb COLUMNS                       1010... above 1111...: a merge at every
//                                                         second column of the second row
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// splitmix64: fast, and fixed here so that a seed names the same grid everywhere.
std::uint64_t NextRandom(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

int Usage() {
  std::fputs("usage: generate_grid FILE random ROWS COLUMNS DENSITY SEED\n"
             "       generate_grid FILE comb COLUMNS\n", stderr);
  return 2;
}

bool WriteRow(std::FILE* file, std::vector<char>& row) {
  row.back() = '\n';
  return std::fwrite(row.data(), 1, row.size(), file) == row.size();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return Usage();
  const bool random = std::strcmp(argv[2], "random") == 0;
  if (!random && (std::strcmp(argv[2], "comb") != 0 || argc != 4)) return Usage();
  if (random && argc != 7) return Usage();
  const long rows = random ? std::atol(argv[3]) : 2;
  const long columns = std::atol(random ? argv[4] : argv[3]);
  const double density = random ? std::atof(argv[5]) : 0;
  std::uint64_t state = random ? std::strtoull(argv[6], nullptr, 10) : 0;
  // Compare the top 53 bits of each draw against the density scaled to the same range.
  const std::uint64_t threshold = static_cast<std::uint64_t>(density * 9007199254740992.0);

  std::FILE* file = std::fopen(argv[1], "wb");
  if (file == nullptr) return 1;
  std::fprintf(file, "%ld %ld\n", rows, columns);
  std::vector<char> row(static_cast<std::size_t>(columns) + 1);
  bool ok = true;
  for (long r = 0; r < rows && ok; ++r) {
    for (long c = 0; c < columns; ++c) {
      bool set;
      if (random) {
        set = (NextRandom(state) >> 11) < threshold;
      } else {
        set = r == 1 || c % 2 == 0;
      }
      row[static_cast<std::size_t>(c)] = set ? '1' : '0';
    }
    ok = WriteRow(file, row);
  }
  return std::fclose(file) == 0 && ok ? 0 : 1;
}
