#include "data/pass_data.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/shared_memory.h"
#include "test_environment.h"

namespace lumaro {
namespace {

std::string Block(const PassData& passData) {
  std::string bytes(kPassDataBytes, '?');
  return passData.block.Read(0, bytes) ? bytes : "";
}

// Cuts the block to sizeBytes as another program may, behind the display.
void CutBlock(off_t sizeBytes) {
  int descriptor = ::shm_open(platform::SharedMemoryName(kPassDataName).c_str(), O_RDWR, 0);
  ASSERT_GE(descriptor, 0);
  ASSERT_EQ(::ftruncate(descriptor, sizeBytes), 0);
  ::close(descriptor);
}

std::string Field(const char* text) {
  std::string field(kPassFieldBytes, '\0');
  std::memcpy(field.data(), text, std::strlen(text));
  return field;
}

class PassDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    (void)gauge_test::SharedMemoryPrefix();
    ::shm_unlink(platform::SharedMemoryName(kPassDataName).c_str());
  }
  void TearDown() override { ::shm_unlink(platform::SharedMemoryName(kPassDataName).c_str()); }
};

TEST_F(PassDataTest, NewBlockHoldsTheInitialModes) {
  PassData passData;
  ASSERT_EQ(OpenPassData(passData), platform::SharedBlock::CreateResult::Created);
  std::string expected = Field("NDMode=1") + Field("MapMode=0") + Field("Item=0x1E") +
                         Field("Range=320") + std::string(20, '\0');
  EXPECT_EQ(Block(passData), expected);
  EXPECT_EQ(ReadPassModes(passData), DisplayModes{});
}

TEST_F(PassDataTest, ExistingBlockKeepsTheOtherInstanceValues) {
  PassData first;
  ASSERT_EQ(OpenPassData(first), platform::SharedBlock::CreateResult::Created);
  WritePassMode(first, PassField::Range, 40);
  WritePassMode(first, PassField::Item, 0x16);
  PassData second;
  ASSERT_EQ(OpenPassData(second), platform::SharedBlock::CreateResult::AlreadyExists);
  DisplayModes modes = ReadPassModes(second);
  EXPECT_EQ(modes.rangeNm, 40);
  EXPECT_EQ(modes.item, 0x16);
  EXPECT_EQ(second.fields[PassField::Range], first.fields[PassField::Range]);
  // A write by one is seen by the other.
  WritePassMode(second, PassField::MapMode, 2);
  EXPECT_EQ(ReadPassModes(first).mapMode, 2);
}

TEST_F(PassDataTest, FieldFormatsAndBounds) {
  PassFieldText text{};
  FormatPassField(text, PassField::Range, 10);
  EXPECT_EQ(std::string(text.data(), 10), Field("Range=010"));
  FormatPassField(text, PassField::Item, 0x0A);
  EXPECT_EQ(std::string(text.data(), 10), Field("Item=0x0A"));
  EXPECT_EQ(ReadPassField(text, PassField::Item), 0x0A);
  // A value too wide for its field is cut inside the field.
  FormatPassField(text, PassField::Range, 12345);
  EXPECT_EQ(std::string(text.data(), 10), Field("Range=123"));
  EXPECT_TRUE(PassValueInRange(PassField::Range, 640));
  EXPECT_FALSE(PassValueInRange(PassField::Range, 1000));
  EXPECT_FALSE(PassValueInRange(PassField::MapMode, 3));
  EXPECT_FALSE(PassValueInRange(PassField::NdMode, -1));
}

TEST_F(PassDataTest, UnmappedBlockKeepsThePrivateCopies) {
  PassData passData;
  ResetPassFields(passData);
  WritePassMode(passData, PassField::NdMode, 0);
  EXPECT_EQ(ReadPassModes(passData).ndMode, 0);
  EXPECT_FALSE(passData.block.IsOpen());
}

// Another program cuts the block short while the display holds it: reading
// it then faulted the process (SIGBUS through the mapping). A short block is
// read as absent, the private copies stand in, nothing grows it back
// piecemeal, and once it is whole again its fields count again.
TEST_F(PassDataTest, BlockCutShortIsReadAsAbsent) {
  PassData passData;
  ASSERT_EQ(OpenPassData(passData), platform::SharedBlock::CreateResult::Created);
  WritePassMode(passData, PassField::Range, 40);
  for (off_t sizeBytes : {0, 35}) {
    SCOPED_TRACE(sizeBytes);
    CutBlock(sizeBytes);
    EXPECT_EQ(ReadPassModes(passData).rangeNm, 40);
    WritePassMode(passData, PassField::MapMode, 2);
    EXPECT_EQ(ReadPassModes(passData).mapMode, 2);
    RefreshPassFields(passData);
    PublishPassFields(passData);
    EXPECT_EQ(Block(passData), "");
    struct stat status {};
    int descriptor = ::shm_open(platform::SharedMemoryName(kPassDataName).c_str(), O_RDONLY, 0);
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(::fstat(descriptor, &status), 0);
    ::close(descriptor);
    EXPECT_EQ(status.st_size, sizeBytes);
  }
  // Whole again (zeros after the cut), with a value another component wrote.
  CutBlock(kPassDataBytes);
  int descriptor = ::shm_open(platform::SharedMemoryName(kPassDataName).c_str(), O_RDWR, 0);
  ASSERT_GE(descriptor, 0);
  ASSERT_EQ(::pwrite(descriptor, "NDMode=0", 8, 0), 8);
  ::close(descriptor);
  EXPECT_EQ(ReadPassModes(passData).ndMode, 0);
  WritePassMode(passData, PassField::Item, 0x16);
  EXPECT_EQ(Block(passData).substr(20, 10), Field("Item=0x16"));
}

}  // namespace
}  // namespace lumaro
