#include "fgfs_receiver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace ndhost {

platform::Result<std::unique_ptr<FgfsReceiver>> FgfsReceiver::Open(uint16_t port) {
  const int descriptor = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (descriptor < 0) {
    const int failed = errno;
    return platform::Error{
        std::string("cannot open a UDP socket: ") + std::strerror(failed), failed, {}};
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof(address);
  if (::bind(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
      ::getsockname(descriptor, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    const int failed = errno;
    ::close(descriptor);
    return platform::Error{
        "cannot listen on 127.0.0.1:" + std::to_string(port) + " (UDP): " + std::strerror(failed),
        failed,
        {}};
  }
  return std::unique_ptr<FgfsReceiver>(new FgfsReceiver(descriptor, ntohs(address.sin_port)));
}

FgfsReceiver::~FgfsReceiver() {
  ::close(descriptor_);
}

int FgfsReceiver::DrainQueued(
    size_t maxBytes, const std::function<void(std::string_view bytes, bool truncated)>& take) {
  // One byte more than allowed tells an over-long datagram from one that fits.
  std::vector<char> buffer(maxBytes + 1);
  int count = 0;
  // A sender faster than the frames cannot hold a frame here for ever: the
  // rest waits for the next drain.
  constexpr int kMaxDatagramsPerDrain = 4096;
  while (count < kMaxDatagramsPerDrain) {
    const ssize_t received = ::recv(descriptor_, buffer.data(), buffer.size(), MSG_TRUNC);
    if (received < 0) {
      if (errno == EINTR) continue;
      return count;  // EAGAIN: the queue is empty; other errors end this frame's drain too
    }
    ++count;
    const auto size = static_cast<size_t>(received);
    const bool truncated = size > maxBytes;
    take(std::string_view(buffer.data(), truncated ? maxBytes : size), truncated);
  }
  return count;
}

}  // namespace ndhost
