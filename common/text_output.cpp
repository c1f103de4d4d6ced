#include "common/text_output.h"

#include <unistd.h>

#include "common/failure.h"

namespace runtime {

void TextOutput::Create(const char* name) {
  CloseQuietly();
  int fd = -1;
  FileKind kind = FileKind::Unknown;
  const int error = CreateForWriting(name, fd, kind);
  if (error != 0) {
    RecordFailure(error);
    return;
  }
  if (kind == FileKind::Unknown) {
    ::close(fd);
    RecordFailure(InvalidFileKind);
    return;
  }
  fd_ = fd;
  kind_ = kind;
  held_ = 0;
}

void TextOutput::Write(const char* text, std::size_t length) {
  if (!IsOpen()) {
    RecordFailure(FileNotOpen);
    return;
  }
  for (std::size_t i = 0; i < length; ++i) {
    if (held_ == BufferSize) Flush();
    buffer_[held_++] = static_cast<unsigned char>(text[i]);
  }
}

void TextOutput::WriteLineEnd() {
  static constexpr char LineEnd[] = {CarriageReturn, LineFeed};
  Write(LineEnd, sizeof LineEnd);
  if (IsOpen() && kind_ == FileKind::CharacterDevice) Flush();
}

void TextOutput::Flush() {
  const std::size_t count = held_;
  held_ = 0;  // bytes the file refused are lost either way; a full buffer must not refuse new ones
  if (count > 0) RecordFailure(WriteAll(fd_, buffer_, count));
}

void TextOutput::Close() {
  if (!IsOpen()) {
    RecordFailure(FileNotOpen);
    return;
  }
  Flush();
  const int fd = fd_;
  fd_ = -1;
  RecordFailure(CloseFile(fd));
}

void TextOutput::FlushQuietly() {
  if (IsOpen() && held_ > 0) WriteAll(fd_, buffer_, held_);
  held_ = 0;
}

void TextOutput::CloseQuietly() {
  if (IsOpen()) ::close(fd_);
  fd_ = -1;
  held_ = 0;
}

}  // namespace runtime
