#include "common/text_input.h"

#include <cstring>
#include <unistd.h>

#include "common/failure.h"
#include "common/platform_file.h"

namespace runtime {

void TextInput::Open(const char* name) {
  CloseQuietly();
  const int error = OpenForReading(name, fd_);
  RecordFailure(error);
  ended_ = error != 0;
}

void TextInput::Close() {
  if (!IsOpen()) {
    RecordFailure(FileNotOpen);
    return;
  }
  const int fd = fd_;
  Forget();
  RecordFailure(CloseFile(fd));
}

void TextInput::CloseQuietly() {
  if (IsOpen()) ::close(fd_);
  Forget();
}

void TextInput::Forget() {
  fd_ = -1;
  ended_ = true;
  pos_ = len_ = 0;
}

std::span<const unsigned char> TextInput::Buffered() {
  if (pos_ == len_ && !Refill()) return {};
  return {buffer_ + pos_, len_ - pos_};
}

int TextInput::PeekAfterRefill() { return Refill() ? buffer_[pos_] : EndOfData; }

bool TextInput::Refill() {
  pos_ = len_ = 0;
  if (ended_) return false;
  std::size_t got = 0;
  const int error = ReadBlock(fd_, buffer_, BufferSize, got);
  if (error != 0 || got == 0) {
    RecordFailure(error);
    ended_ = true;
    return false;
  }
  // Finding byte 26 once per block keeps every reader free of it.
  if (const void* stop = std::memchr(buffer_, EndOfDataByte, got)) {
    got = static_cast<std::size_t>(static_cast<const unsigned char*>(stop) - buffer_);
    ended_ = true;
  }
  len_ = got;
  return got > 0;
}

bool SkipBlanks(TextInput& input) {
  for (;;) {
    const int byte = input.Peek();
    if (byte == TextInput::EndOfData) return false;
    if (!IsBlank(byte)) return true;
    input.Advance();
  }
}

std::size_t ReadRun(TextInput& input, char* text, std::size_t maxLength) {
  std::size_t length = 0;
  while (length < maxLength) {
    const int byte = input.Peek();
    if (byte == TextInput::EndOfData || IsBlank(byte)) break;
    text[length++] = static_cast<char>(byte);
    input.Advance();
  }
  return length;
}

void SkipLine(TextInput& input) {
  for (;;) {
    const auto bytes = input.Buffered();
    if (bytes.empty()) return;
    if (const void* end = std::memchr(bytes.data(), LineFeed, bytes.size())) {
      input.Consume(static_cast<std::size_t>(static_cast<const unsigned char*>(end) - bytes.data()) + 1);
      return;
    }
    input.Consume(bytes.size());
  }
}

}  // namespace runtime
