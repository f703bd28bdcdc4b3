#include "route_publisher.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace ndhost {

namespace {

std::string BlockName(int number) {
  return SharedMemoryName("fltplanMap" + std::to_string(number));
}

bool WriteBlock(const std::string& name, std::string_view bytes) {
  ::shm_unlink(name.c_str());
  int descriptor = ::shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (descriptor < 0) return false;
  bool written = ::ftruncate(descriptor, static_cast<off_t>(bytes.size())) == 0;
  if (written && !bytes.empty()) {
    void* view = ::mmap(nullptr, bytes.size(), PROT_READ | PROT_WRITE, MAP_SHARED, descriptor, 0);
    written = view != MAP_FAILED;
    if (written) {
      std::memcpy(view, bytes.data(), bytes.size());
      ::munmap(view, bytes.size());
    }
  }
  ::close(descriptor);
  if (!written) ::shm_unlink(name.c_str());
  return written;
}

}  // namespace

std::string SharedMemoryName(const std::string& name) {
  const char* prefix = std::getenv("SKAT_SHM_PREFIX");
  return "/" + std::string(prefix ? prefix : "") + name;
}

bool RoutePublisher::PublishBytes(std::string_view bytes) {
  int number = lastBlock_ == 0 ? 1 : 0;
  // The reader looks for the other name once it has found one, so the old
  // block must be gone before the new one appears.
  if (lastBlock_ >= 0) ::shm_unlink(BlockName(lastBlock_).c_str());
  if (!WriteBlock(BlockName(number), bytes)) return false;
  lastBlock_ = number;
  return true;
}

bool RoutePublisher::Publish(std::string_view planText) {
  std::string withNul(planText);
  withNul.push_back('\0');
  return PublishBytes(withNul);
}

void RoutePublisher::Withdraw() {
  ::shm_unlink(BlockName(0).c_str());
  ::shm_unlink(BlockName(1).c_str());
  lastBlock_ = -1;
}

}  // namespace ndhost
