// The module through its exported interface: tables, update cycle, keys,
// shared blocks, mode file and surfaces.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "module_fixture.h"

namespace gauge_test {
namespace {

std::string PassDataBytes() {
  int descriptor = ::shm_open(platform::SharedMemoryName("NDPassData").c_str(), O_RDONLY, 0);
  if (descriptor < 0) return {};
  void* view = ::mmap(nullptr, 60, PROT_READ, MAP_SHARED, descriptor, 0);
  ::close(descriptor);
  if (view == MAP_FAILED) return {};
  std::string bytes(static_cast<const char*>(view), 60);
  ::munmap(view, 60);
  return bytes;
}

std::string Field(const std::string& bytes, int field) {
  std::string text = bytes.substr(field * 10, 10);
  return text.substr(0, text.find('\0'));
}

TEST(ModuleTables, ExportsOnlyLinkageAndImportTable) {
  void* library = ::dlopen(LUMARO_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << ::dlerror();
  auto* linkage = static_cast<PanelLinkage*>(::dlsym(library, "Linkage"));
  auto* imports = static_cast<PanelImportTable*>(::dlsym(library, "ImportTable"));
  ASSERT_NE(linkage, nullptr);
  ASSERT_NE(imports, nullptr);
  EXPECT_EQ(::dlsym(library, "_ZN6lumaro11GaugeUpdateERNS_10GaugeStateE"), nullptr);
  EXPECT_EQ(linkage->moduleId, 0x13u);
  EXPECT_EQ(linkage->moduleFlags, 0u);
  EXPECT_EQ(linkage->gauges[1], nullptr);
  EXPECT_EQ(imports->services.importId, 0x0Fu);
  EXPECT_EQ(imports->services.pointer, nullptr);
  EXPECT_EQ(imports->end.importId, 0u);
  const PanelGaugeHeader* gauge = linkage->gauges[0];
  ASSERT_NE(gauge, nullptr);
  EXPECT_EQ(gauge->headerVersion, 610u);
  EXPECT_STREQ(gauge->gaugeName, "Vistrel.ND");
  EXPECT_EQ(gauge->sizeXmm, 89u);
  EXPECT_EQ(gauge->sizeYmm, 0u);
  PanelElement* elementA = gauge->elementList[0];
  EXPECT_EQ(gauge->elementList[1], nullptr);
  EXPECT_EQ(elementA->elementType, 0u);
  EXPECT_EQ(elementA->resourceId, 4096u);
  EXPECT_EQ(elementA->imageFlags, 5u);
  EXPECT_EQ(elementA->failures[0].failureKey, 1u);
  EXPECT_EQ(elementA->failures[0].action, 3u);
  EXPECT_EQ(elementA->failures[1].failureKey, 0u);
  PanelElement* elementB = elementA->nextElements[0];
  EXPECT_EQ(elementA->nextElements[1], nullptr);
  EXPECT_EQ(elementB->elementType, 4u);
  EXPECT_EQ(elementB->resourceId, 8192u);
  EXPECT_EQ(elementB->imageFlags, 7u);
  EXPECT_NE(elementB->updateCallback, nullptr);
  int bitmaps = 0;
  for (const PanelResource* resource = linkage->resources; resource->resourceId != 0; ++resource) {
    EXPECT_EQ(resource->sizeBytes, 66600u);
    EXPECT_EQ(resource->bytes[0], 40);  // header size
    ++bitmaps;
  }
  EXPECT_EQ(bitmaps, 3);
  ::dlclose(library);
}

TEST_F(ModuleTest, NothingIsDrawnDuringTheStartupDelay) {
  ndhost::ModuleHost& host = Start();
  const ndhost::HostImage* image = host.DisplayImage();
  ASSERT_NE(image, nullptr);
  // The start-up screen shows the texts over element B's own image.
  std::vector<uint8_t> startup = image->pixels;
  EXPECT_GT(std::count(startup.begin(), startup.end(), 6), 0);  // the green lines
  for (int frame = 0; frame < 15; ++frame) {
    host.Aircraft().headingDeg += 10;
    Run(1);
  }
  EXPECT_EQ(State().redrawCount, 0u);
  EXPECT_EQ(State().startupDelayPassed, 0);
  EXPECT_EQ(State().passDataMapped, 0);
  EXPECT_EQ(image->pixels, startup);
  Run(2);
  EXPECT_EQ(State().startupDelayPassed, 1);
  EXPECT_EQ(State().passDataMapped, 1);
}

TEST_F(ModuleTest, RedrawsOnlyWhenSomethingChanged) {
  ndhost::ModuleHost& host = Start();
  host.Aircraft().headingDeg = 10.0;
  Settle();
  uint32_t redraws = State().redrawCount;
  uint32_t plots = host.PlotCount();
  Run(10);
  EXPECT_EQ(State().redrawCount, redraws);
  EXPECT_EQ(host.PlotCount(), plots);
  host.Aircraft().headingDeg = 10.05;  // the same tenth of a degree
  Run(3);
  EXPECT_EQ(State().redrawCount, redraws);
  host.Aircraft().headingDeg = 10.1;
  Run(3);
  EXPECT_EQ(State().redrawCount, redraws + 1);
  EXPECT_EQ(host.PlotCount(), plots + 1);
  // Course deviation counts only in MapMode 0, by its whole value.
  host.Aircraft().courseDeviation = 0.5;
  Run(2);
  EXPECT_EQ(State().redrawCount, redraws + 1);
  host.Aircraft().courseDeviation = 1.5;
  Run(2);
  EXPECT_EQ(State().redrawCount, redraws + 2);
}

TEST_F(ModuleTest, NewPassDataHoldsTheDefaultsAndFollowsTheKeys) {
  ndhost::ModuleHost& host = Start();
  Settle();
  std::string bytes = PassDataBytes();
  ASSERT_EQ(bytes.size(), 60u);
  EXPECT_EQ(Field(bytes, 0), "NDMode=1");
  EXPECT_EQ(Field(bytes, 1), "MapMode=0");
  EXPECT_EQ(Field(bytes, 2), "Item=0x1E");
  EXPECT_EQ(Field(bytes, 3), "Range=320");

  uint32_t redraws = State().redrawCount;
  host.PressKey('G', true, false);
  Run(2);
  EXPECT_EQ(State().rangeNm, 640);
  EXPECT_EQ(Field(PassDataBytes(), 3), "Range=640");
  EXPECT_EQ(State().redrawCount, redraws + 1);
  host.PressKey('G', true, false);
  Run(2);
  EXPECT_EQ(State().rangeNm, 640);
  host.PressKey('P', true, true);
  Run(2);
  EXPECT_EQ(State().mapMode, 2);
  EXPECT_EQ(Field(PassDataBytes(), 1), "MapMode=2");
  host.PressKey('V', true, false);
  Run(2);
  EXPECT_EQ(State().item, 0x1A);
  EXPECT_EQ(State().mapMode, 2);
  EXPECT_EQ(Field(PassDataBytes(), 2), "Item=0x1A");
  host.PressKey('V', true, true);
  Run(2);
  EXPECT_EQ(State().mapMode, 0);
  EXPECT_EQ(State().item, 0x1A);
}

TEST_F(ModuleTest, ModesWrittenByAnotherComponentAreTaken) {
  Start();
  Settle();
  int descriptor = ::shm_open(platform::SharedMemoryName("NDPassData").c_str(), O_RDWR, 0);
  ASSERT_GE(descriptor, 0);
  char* block =
      static_cast<char*>(::mmap(nullptr, 60, PROT_READ | PROT_WRITE, MAP_SHARED, descriptor, 0));
  ::close(descriptor);
  ASSERT_NE(block, MAP_FAILED);
  std::memcpy(block, "NDMode=0\0\0", 10);
  std::memcpy(block + 30, "Range=040\0", 10);
  Run(2);
  EXPECT_EQ(State().ndMode, 0);
  EXPECT_EQ(State().rangeNm, 40);
  EXPECT_EQ(State().compassCentreYPx, 11 + ((256 - 11) - 6) / 2 + 6);
  EXPECT_EQ(State().compassRadiusPx, State().compassCentreYPx - 17);
  // Values that do not fit their field are not taken.
  std::memcpy(block + 10, "MapMode=7\0", 10);
  Run(2);
  EXPECT_EQ(State().mapMode, 0);
  ::munmap(block, 60);
}

TEST_F(ModuleTest, LeftOverPassDataIsOpenedWithItsContent) {
  {
    // A block left by an earlier run of another component.
    int descriptor =
        ::shm_open(platform::SharedMemoryName("NDPassData").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(::ftruncate(descriptor, 60), 0);
    char content[60] = {};
    std::memcpy(content, "NDMode=1", 8);
    std::memcpy(content + 10, "MapMode=1", 9);
    std::memcpy(content + 20, "Item=0x03", 9);
    std::memcpy(content + 30, "Range=080", 9);
    ASSERT_EQ(::write(descriptor, content, 60), 60);
    ::close(descriptor);
  }
  Start();
  Settle();
  EXPECT_EQ(State().mapMode, 1);
  EXPECT_EQ(State().item, 0x03);
  EXPECT_EQ(State().rangeNm, 80);
}

TEST_F(ModuleTest, ModesAreKeptBetweenRuns) {
  {
    ndhost::ModuleHost& host = Start();
    Settle();
    host.PressKey('X', true, false);  // 0x1E -> 0x1F
    Run(1);
    host.PressKey('A', true, false);  // 0x1F -> 0x0F
    Run(1);
    host.PressKey('X', true, false);  // 0x0F -> 0x0E ... then W, N to reach 0x16
    Run(1);
    host.PressKey('W', true, false);  // 0x0E -> 0x0C
    Run(1);
    host.PressKey('A', true, false);  // 0x0C -> 0x1C
    Run(1);
    host.PressKey('N', true, false);  // 0x1C -> 0x14
    Run(1);
    host.PressKey('W', true, false);  // 0x14 -> 0x16
    Run(1);
    EXPECT_EQ(State().item, 0x16);
    host.Kill();
  }
  EXPECT_EQ(folder_.Read("Gauges/NDmode.tmp"), "1\r\n0\r\n22\r\n320\r\n");
  host_.reset();
  ::shm_unlink(platform::SharedMemoryName("NDPassData").c_str());
  Start();
  Settle();
  EXPECT_EQ(State().item, 0x16);
  EXPECT_EQ(Field(PassDataBytes(), 2), "Item=0x16");
}

TEST_F(ModuleTest, NdModeKeyComesFromTheSimulatorConfiguration) {
  folder_.Write("FS2002.cfg", "[PANELS]\r\nPANEL_9=57\r\n");
  folder_.Write("Fltsim98.cfg", "PANEL_9=65,1\r\n");
  ndhost::ModuleHost& host = Start();
  Run(1);
  EXPECT_EQ(State().ndModeKey, 57u);
  EXPECT_EQ(State().ndModeModifiers, 0u);
  Settle();
  EXPECT_EQ(State().ndMode, 1);
  EXPECT_EQ(State().compassCentreYPx, 256 * 85 / 100);
  host.PressKey(9);  // Tab is not the key any more
  Run(2);
  EXPECT_EQ(State().ndMode, 1);
  host.PressKey(57, true, false);  // Shift must be up
  Run(2);
  EXPECT_EQ(State().ndMode, 1);
  host.PressKey(57);
  Run(2);
  EXPECT_EQ(State().ndMode, 0);
  EXPECT_EQ(Field(PassDataBytes(), 0), "NDMode=0");
}

TEST_F(ModuleTest, NdModeKeyWorksWithoutTheBlockDuringTheDelay) {
  ndhost::ModuleHost& host = Start();
  Run(1);
  host.PressKey(9);
  Run(1);
  EXPECT_EQ(State().ndMode, 0);
  EXPECT_EQ(State().passDataMapped, 0);
  // Keys of the poll need the block and do nothing yet.
  host.PressKey('G', true, false);
  Run(1);
  EXPECT_EQ(State().rangeNm, 320);
}

TEST_F(ModuleTest, UnknownImageFormatIsReportedThroughTheHost) {
  ndhost::HostOptions options;
  options.formatCode = 3;
  ndhost::ModuleHost& host = Start(options);
  Run(20);
  ASSERT_FALSE(host.Messages().empty());
  EXPECT_EQ(host.Messages()[0].text, "Vistrel.ND\nUnrecognized color format.");
  EXPECT_EQ(host.Messages()[0].caption, "Error");
  EXPECT_EQ(State().surfaceFailed, 1);
  EXPECT_EQ(State().redrawCount, 0u);
  EXPECT_TRUE(folder_.Exists("Gauges/Vistrel.ND.err"));
}

TEST_F(ModuleTest, SuccessfulSetUpLeavesNoErrorLog) {
  for (uint32_t format : {1u, 2u}) {
    SCOPED_TRACE(format);
    ndhost::HostOptions options;
    options.formatCode = format;
    ndhost::ModuleHost& host = Start(options);
    Run(1);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_FALSE(folder_.Exists("Gauges/Vistrel.ND.err"));
    EXPECT_EQ(State().surfaceFailed, 0);
    host_.reset();
  }
}

TEST_F(ModuleTest, SecondImageWithAnotherPitchGetsTheSamePicture) {
  ndhost::HostOptions options;
  options.secondImageExtraPitchBytes = 8;
  ndhost::ModuleHost& host = Start(options);
  const ndhost::HostImage* first = host.DisplayImage();
  const ndhost::HostImage* second = host.DisplaySecondImage();
  ASSERT_NE(second, nullptr);
  for (uint32_t y = 0; y < first->descriptor.height; ++y) {
    ASSERT_EQ(std::memcmp(first->pixels.data() + y * first->descriptor.pitchBytes,
                          second->pixels.data() + y * second->descriptor.pitchBytes,
                          first->descriptor.width),
              0)
        << "row " << y;
  }
}

TEST_F(ModuleTest, SwatchRowOfTheBackgroundIsHidden) {
  ndhost::ModuleHost& host = Start();
  const ndhost::HostImage* background = host.BackgroundImage();
  ASSERT_NE(background, nullptr);
  const PanelImage& image = background->descriptor;
  const uint8_t* lastRow = background->pixels.data() + (image.height - 1) * image.pitchBytes;
  EXPECT_EQ(std::memcmp(lastRow, background->pixels.data(), image.width), 0);
  EXPECT_NE(lastRow[1], 1);  // the swatch held colour index 1 there
}

TEST_F(ModuleTest, WithoutItsInstanceHandleTheModuleWarnsAndGoesOn) {
  ndhost::HostOptions options;
  options.giveInstanceHandle = false;
  ndhost::ModuleHost& host = Start(options);
  Run(1);
  ASSERT_EQ(host.Messages().size(), 1u);
  EXPECT_EQ(host.Messages()[0].text,
            "Vistrel.ND\nUnable to get the color table \nand the palette.");
  EXPECT_EQ(host.Messages()[0].caption, "Warning");
  EXPECT_EQ(State().surfaceFailed, 0);
  EXPECT_TRUE(folder_.Exists("Gauges/Vistrel.ND.err"));
}

}  // namespace
}  // namespace gauge_test
