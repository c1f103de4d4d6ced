// Hands a runtime::TextInput its bytes in blocks of chosen sizes, so that a fuzz target can put a
// block boundary anywhere: each block is one message of a SOCK_SEQPACKET socket pair, and each read
// of the channel returns exactly one message. The channel is opened on a placeholder and the socket
// is put in under the descriptor it holds, so the runtime runs unchanged.
#pragma once

#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "common/text_input.h"

namespace fuzz_support {

// Block sizes taken from the front of a fuzz input: the first byte gives how many size bytes follow
// (0 to 15); each of them gives one block size from 1 to 128, used in turn until the text runs out.
// No size bytes means blocks of the channel's full 128 bytes.
struct BlockLayout {
  std::vector<std::size_t> sizes;
  std::string_view rest;  // the fuzz input after the layout
};
BlockLayout TakeBlockLayout(std::string_view input);

class ChannelFeed {
 public:
  // Opens input and starts sending text through it, cut after the layout's sizes.
  ChannelFeed(runtime::TextInput& input, std::string_view text, const std::vector<std::size_t>& sizes);
  // Closes the channel (a writer still sending then meets a broken pipe) and waits for the writer.
  ~ChannelFeed();
  ChannelFeed(const ChannelFeed&) = delete;
  ChannelFeed& operator=(const ChannelFeed&) = delete;

 private:
  runtime::TextInput& input_;
  std::thread writer_;
};

// What the channel should hand out of text: the bytes before the first byte 26.
std::string DataOf(std::string_view text);

// The run of non-blank bytes a number read takes from data at position at, at most maxLength of
// them, after the blanks before it; at moves past the run. Empty at the end of the data.
std::string NextRun(const std::string& data, std::size_t& at, std::size_t maxLength);

}  // namespace fuzz_support
