// The input text channel: a data file read once, front to back, in blocks of at most 128 bytes.
//
// The data ends at the physical end of the file or at the first byte 26, whichever comes first;
// that byte and everything after it are never handed out. A block read that fails records its
// error number and ends the data, so every later read sees the end of the data.
#pragma once

#include <cstddef>
#include <span>

namespace runtime {

constexpr std::size_t BufferSize = 128;
constexpr unsigned char EndOfDataByte = 26;
constexpr unsigned char LineFeed = 10;
constexpr unsigned char CarriageReturn = 13;

class TextInput {
 public:
  static constexpr int EndOfData = -1;

  // Records the error number when the file cannot be opened; the channel then stays closed.
  void Open(const char* name);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  // True once a read has met the end of the data; never reads to find out.
  bool AtEndOfData() const { return ended_ && pos_ == len_; }

  // The next byte without consuming it, or EndOfData.
  int Peek() { return pos_ < len_ ? buffer_[pos_] : PeekAfterRefill(); }
  // Consumes the byte that Peek has just returned.
  void Advance() { ++pos_; }

  // The bytes buffered from the current position on, all before the end of the data; empty only at
  // the end of the data. Lets a caller scan a whole block at once.
  std::span<const unsigned char> Buffered();
  void Consume(std::size_t count) { pos_ += count; }

  // Closes the file ignoring failures: for the report, which ends the run anyway.
  void CloseQuietly();

 private:
  void Forget();
  int PeekAfterRefill();
  bool Refill();

  int fd_ = -1;
  bool ended_ = true;
  std::size_t pos_ = 0;
  std::size_t len_ = 0;
  unsigned char buffer_[BufferSize] = {};
};

// Blanks separate numbers: the bytes 0 to 32 (byte 26 never gets here, it ends the data).
inline bool IsBlank(int byte) { return byte >= 0 && byte <= 32; }

// Skips blanks across line ends; false when the end of the data comes first.
bool SkipBlanks(TextInput& input);

// Reads the run of non-blank bytes at the current position, at most maxLength of them; the blank
// that ends it is left unread, and a longer run is cut so the next read begins with its rest.
std::size_t ReadRun(TextInput& input, char* text, std::size_t maxLength);

// Reads and discards bytes up to and including the next line feed; at the end of the data it stops.
void SkipLine(TextInput& input);

}  // namespace runtime
