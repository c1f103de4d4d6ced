#include "fuzz/channel_feed.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace fuzz_support {

namespace {

constexpr std::size_t MaxLayoutSizes = 16;
constexpr char Placeholder[] = "/dev/null";

[[noreturn]] void Fail(const char* what) {
  std::perror(what);
  std::abort();
}

// The channel takes the lowest free descriptor when it opens: find it first, then check that the
// channel really holds the placeholder there before anything is put in under it.
int OpenOnPlaceholder(runtime::TextInput& input) {
  const int expected = ::open(Placeholder, O_RDONLY);
  if (expected < 0) Fail("open placeholder");
  struct stat placeholder;
  if (::fstat(expected, &placeholder) != 0) Fail("fstat placeholder");
  ::close(expected);
  input.Open(Placeholder);
  struct stat held;
  if (!input.IsOpen() || ::fstat(expected, &held) != 0 || held.st_rdev != placeholder.st_rdev) {
    Fail("channel not on the expected descriptor");
  }
  return expected;
}

void SendBlocks(int socket, std::string_view text, std::vector<std::size_t> sizes) {
  for (std::size_t next = 0; !text.empty(); next = (next + 1) % sizes.size()) {
    const std::size_t size = std::min(sizes[next], text.size());
    // A reader that has stopped reading closes its end: the rest is never wanted.
    if (::send(socket, text.data(), size, MSG_NOSIGNAL) != static_cast<ssize_t>(size)) break;
    text.remove_prefix(size);
  }
  ::close(socket);
}

}  // namespace

BlockLayout TakeBlockLayout(std::string_view input) {
  BlockLayout layout;
  if (input.empty()) {
    layout.sizes.push_back(runtime::BufferSize);
    return layout;
  }
  const std::size_t count = std::min<std::size_t>(static_cast<unsigned char>(input[0]) % MaxLayoutSizes,
                                                  input.size() - 1);
  for (std::size_t i = 1; i <= count; ++i) {
    layout.sizes.push_back(static_cast<unsigned char>(input[i]) % runtime::BufferSize + 1);
  }
  if (layout.sizes.empty()) layout.sizes.push_back(runtime::BufferSize);
  layout.rest = input.substr(count + 1);
  return layout;
}

ChannelFeed::ChannelFeed(runtime::TextInput& input, std::string_view text,
                         const std::vector<std::size_t>& sizes)
    : input_(input) {
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) Fail("socketpair");
  const int channelFd = OpenOnPlaceholder(input);
  if (::dup2(ends[0], channelFd) < 0) Fail("dup2");
  ::close(ends[0]);
  writer_ = std::thread(SendBlocks, ends[1], text, sizes);
}

ChannelFeed::~ChannelFeed() {
  input_.CloseQuietly();
  writer_.join();
}

std::string DataOf(std::string_view text) { return std::string(text.substr(0, text.find('\x1a'))); }

std::string NextRun(const std::string& data, std::size_t& at, std::size_t maxLength) {
  while (at < data.size() && runtime::IsBlank(static_cast<unsigned char>(data[at]))) ++at;
  const std::size_t start = at;
  while (at < data.size() && at - start < maxLength &&
         !runtime::IsBlank(static_cast<unsigned char>(data[at]))) {
    ++at;
  }
  return data.substr(start, at - start);
}

}  // namespace fuzz_support
