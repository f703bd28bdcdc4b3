#include "route_publisher.h"

#include "platform/shared_memory.h"

namespace ndhost {

namespace {

std::string BlockName(int number) {
  return "fltplanMap" + std::to_string(number);
}

}  // namespace

bool RoutePublisher::PublishBytes(std::string_view bytes) {
  int number = lastBlock_ == 0 ? 1 : 0;
  // The reader looks for the other name once it has found one, so the old
  // block must be gone before the new one appears.
  if (lastBlock_ >= 0) platform::RemoveSharedBlock(BlockName(lastBlock_));
  if (!platform::PublishSharedBlock(BlockName(number), bytes)) return false;
  lastBlock_ = number;
  return true;
}

bool RoutePublisher::Publish(std::string_view planText) {
  std::string withNul(planText);
  withNul.push_back('\0');
  return PublishBytes(withNul);
}

void RoutePublisher::Withdraw() {
  platform::RemoveSharedBlock(BlockName(0));
  platform::RemoveSharedBlock(BlockName(1));
  lastBlock_ = -1;
}

}  // namespace ndhost
