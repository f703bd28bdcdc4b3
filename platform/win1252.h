// Windows-1252 <-> UTF-8 text conversion, for the edges where 8-bit data
// meets a terminal or a Unicode toolkit.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string Win1252ToUtf8(std::string_view bytes);

// Characters without a Windows-1252 form become '?'.
std::string Utf8ToWin1252(std::string_view utf8);

}  // namespace platform
