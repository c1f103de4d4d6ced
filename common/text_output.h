// The output text channel: a data file created (or truncated) once and written through a 128-byte
// buffer. The buffer reaches the file when a write fills it and when the file is closed; a line end
// writes it at once only when the file is a character device, whose reader expects whole lines.
#pragma once

#include <cstddef>

#include "common/platform_file.h"
#include "common/text_input.h"

namespace runtime {

class TextOutput {
 public:
  // Records the error number when the file cannot be created, and 105 when it is of a kind that
  // cannot be classified; the channel then stays closed.
  void Create(const char* name);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

  void Write(const char* text, std::size_t length);
  void WriteLineEnd();  // bytes 13 and 10

  // For the report: hands what the buffer holds to the file and closes it, ignoring failures.
  void FlushQuietly();
  void CloseQuietly();

 private:
  void Flush();

  int fd_ = -1;
  FileKind kind_ = FileKind::Disk;
  std::size_t held_ = 0;
  unsigned char buffer_[BufferSize] = {};
};

}  // namespace runtime
