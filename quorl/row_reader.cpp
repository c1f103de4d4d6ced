#include "quorl/row_reader.h"

#include <cstring>

namespace quorl {

namespace {

// Appends the bytes of one piece of the line to text, leaving out carriage returns and stopping at
// capacity; returns the new number of bytes kept.
std::size_t KeepRowBytes(const unsigned char* bytes, std::size_t count, char* text,
                         std::size_t kept, std::size_t capacity) {
  while (count > 0 && kept < capacity) {
    const void* cr = std::memchr(bytes, runtime::CarriageReturn, count);
    const std::size_t plain =
        cr != nullptr ? static_cast<std::size_t>(static_cast<const unsigned char*>(cr) - bytes)
                      : count;
    const std::size_t taken = plain < capacity - kept ? plain : capacity - kept;
    std::memcpy(text + kept, bytes, taken);
    kept += taken;
    if (cr == nullptr) break;
    bytes += plain + 1;
    count -= plain + 1;
  }
  return kept;
}

}  // namespace

std::size_t ReadRow(runtime::TextInput& input, char* text, std::size_t capacity) {
  std::size_t kept = 0;
  for (;;) {
    const auto bytes = input.Buffered();
    if (bytes.empty()) return kept;
    const void* lf = std::memchr(bytes.data(), runtime::LineFeed, bytes.size());
    const std::size_t piece =
        lf != nullptr
            ? static_cast<std::size_t>(static_cast<const unsigned char*>(lf) - bytes.data())
            : bytes.size();
    kept = KeepRowBytes(bytes.data(), piece, text, kept, capacity);
    input.Consume(piece);
    if (lf != nullptr) return kept;
  }
}

}  // namespace quorl
