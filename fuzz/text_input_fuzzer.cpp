// The input text channel: any bytes, any block boundaries, any sequence of reads, quorl's row reads
// included.
//
// A plain model holds the whole data (the bytes before the first byte 26) and a position. Each
// read of the channel, fed the same bytes in blocks of chosen sizes, must agree with the model, and
// whatever the reads leave must be exactly the rest of the data: no byte lost, repeated or invented
// at a block boundary, nothing handed out from byte 26 on, and no failure recorded.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/failure.h"
#include "fuzz/channel_feed.h"
#include "quorl/row_reader.h"

namespace {

using runtime::TextInput;

constexpr std::size_t MaxOperations = 32;

enum Operation { Peek, Advance, SkipBlanks, ReadRun, SkipLine, ConsumeBuffered, ReadRow, OperationCount };

[[noreturn]] void Finding(const char* what, std::size_t at) {
  std::fprintf(stderr, "%s at data position %zu\n", what, at);
  std::abort();
}

struct Model {
  std::string data;
  std::size_t at = 0;

  int Next() const { return at < data.size() ? static_cast<unsigned char>(data[at]) : TextInput::EndOfData; }
  bool AtBlank() const { return at < data.size() && runtime::IsBlank(static_cast<unsigned char>(data[at])); }
};

void Apply(Operation operation, std::size_t parameter, TextInput& input, Model& model) {
  switch (operation) {
    case Peek:
      if (input.Peek() != model.Next()) Finding("peek differs", model.at);
      break;
    case Advance:
      if (input.Peek() != model.Next()) Finding("peek differs", model.at);
      if (model.Next() != TextInput::EndOfData) {
        input.Advance();
        ++model.at;
      }
      break;
    case SkipBlanks: {
      while (model.AtBlank()) ++model.at;
      if (runtime::SkipBlanks(input) != (model.at < model.data.size())) Finding("skip blanks differs", model.at);
      break;
    }
    case ReadRun: {
      const std::size_t maxLength = parameter + 1;
      char text[64];
      const std::size_t length = runtime::ReadRun(input, text, maxLength);
      const std::size_t start = model.at;
      while (model.at < model.data.size() && model.at - start < maxLength && !model.AtBlank()) ++model.at;
      if (std::string(text, length) != model.data.substr(start, model.at - start)) Finding("run differs", start);
      break;
    }
    case SkipLine: {
      const std::size_t lineFeed = model.data.find('\n', model.at);
      model.at = lineFeed == std::string::npos ? model.data.size() : lineFeed + 1;
      runtime::SkipLine(input);
      break;
    }
    case ConsumeBuffered: {
      const auto bytes = input.Buffered();
      if (bytes.empty() != (model.at == model.data.size())) Finding("buffered bytes missing", model.at);
      if (std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()) !=
          model.data.substr(model.at, bytes.size())) {
        Finding("buffered bytes differ", model.at);
      }
      const std::size_t count = std::min(parameter, bytes.size());
      input.Consume(count);
      model.at += count;
      break;
    }
    case ReadRow: {
      // A row keeps at most capacity bytes of its line, every carriage return left out; the line
      // feed is left unread, and the rest of a longer line is read and dropped.
      const std::size_t capacity = parameter;
      char text[64];
      const std::size_t length = quorl::ReadRow(input, text, capacity);
      const std::size_t lineFeed = std::min(model.data.find('\n', model.at), model.data.size());
      std::string row;
      for (std::size_t at = model.at; at < lineFeed; ++at) {
        if (model.data[at] != '\r' && row.size() < capacity) row += model.data[at];
      }
      if (std::string(text, length) != row) Finding("row differs", model.at);
      model.at = lineFeed;
      break;
    }
    case OperationCount: break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const auto layout = fuzz_support::TakeBlockLayout({reinterpret_cast<const char*>(bytes), size});
  std::string_view rest = layout.rest;
  const std::size_t operationCount = rest.empty() ? 0 : static_cast<unsigned char>(rest[0]) % MaxOperations;
  if (rest.size() < operationCount + 1) return -1;
  const std::string_view operations = rest.substr(1, operationCount);
  const std::string_view text = rest.substr(operationCount + 1);

  Model model{fuzz_support::DataOf(text)};
  runtime::ClearFailure();
  TextInput input;
  fuzz_support::ChannelFeed feed(input, text, layout.sizes);
  for (const char byte : operations) {
    const auto code = static_cast<unsigned char>(byte);
    Apply(static_cast<Operation>(code % OperationCount), code / OperationCount, input, model);
  }
  for (; model.at < model.data.size(); ++model.at) {
    if (input.Peek() != model.Next()) Finding("rest differs", model.at);
    input.Advance();
  }
  if (input.Peek() != TextInput::EndOfData) Finding("bytes after the end of the data", model.at);
  if (runtime::RecordedFailure() != 0) Finding("failure recorded", model.at);
  return 0;
}
