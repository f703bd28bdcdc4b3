#include "platform/result.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace platform {
namespace {

Result<std::string> TextOrError(bool fail) {
  if (fail) return SystemError(ENOENT, "gone.dat");
  return std::string();
}

// An empty text is data, never a success marker, and a failure carries the
// system's reason and the file it is about.
TEST(Result, DataAndFailureCannotBeMistakenForEachOther) {
  const Result<std::string> empty = TextOrError(false);
  ASSERT_TRUE(empty.ok());
  EXPECT_EQ(*empty, "");

  const Result<std::string> failed = TextOrError(true);
  ASSERT_FALSE(failed);
  EXPECT_EQ(failed.error().message, std::strerror(ENOENT));
  EXPECT_EQ(failed.error().errorNumber, ENOENT);
  EXPECT_EQ(failed.error().path, "gone.dat");

  Result<std::unique_ptr<int>> owned = std::make_unique<int>(7);
  const std::unique_ptr<int> taken = std::move(owned).value();
  EXPECT_EQ(*taken, 7);

  const Status done;
  EXPECT_TRUE(done.ok());
  const Status refused = Error{"Not a plan file", 0, {}};
  EXPECT_FALSE(refused.ok());
  EXPECT_EQ(refused.error().message, "Not a plan file");
}

}  // namespace
}  // namespace platform
