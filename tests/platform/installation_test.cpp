#include "platform/installation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

TEST(Installation, FoldersComeFromTheProgramsOwnPlace) {
  const std::filesystem::path folder = platform::ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(folder.is_absolute());
  EXPECT_TRUE(std::filesystem::exists(folder / "platform_tests")) << folder;

  // Below the prefix of the program folder, as one plain path.
  for (const std::filesystem::path& installed : {platform::InstalledModuleFolder("/opt/sky/bin"),
                                                 platform::InstalledDataFolder("/opt/sky/bin")}) {
    SCOPED_TRACE(installed.string());
    const std::string text = installed.string();
    EXPECT_EQ(text.rfind("/opt/sky/", 0), 0u);
    EXPECT_EQ(text.find(".."), std::string::npos);
    EXPECT_EQ(installed.filename(), "skyatlas");
  }
  EXPECT_NE(platform::InstalledModuleFolder("/opt/sky/bin"),
            platform::InstalledDataFolder("/opt/sky/bin"));
  // No program folder, no guess (a relative path would be taken from the
  // current directory).
  EXPECT_TRUE(platform::InstalledModuleFolder({}).empty());
  EXPECT_TRUE(platform::InstalledDataFolder({}).empty());
}

}  // namespace
