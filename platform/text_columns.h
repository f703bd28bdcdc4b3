// Fixed-column text: entry lines, plan rows and printout lines are built
// and read by column, so every folder cuts, pads and trims them the same way.
// None of these reads past the end of a text: a column beyond it is empty.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// `count` characters from column `first` (counting from 0), fewer where the
// text ends earlier, none where it ends before `first`; `count` npos means
// to the end of the text.
std::string_view Columns(std::string_view text, size_t first,
                         size_t count = std::string_view::npos);

// The text cut or padded with spaces to exactly `width` characters.
std::string Fitted(std::string_view text, size_t width);
// Pads with spaces to at least `length` characters; a longer text stays.
void PadTo(std::string& text, size_t length);
// Cuts to at most `length` characters; a shorter text stays.
void CutTo(std::string& text, size_t length);

// The text without trailing characters from `blanks`.
std::string_view TrimEnd(std::string_view text, std::string_view blanks = " ");
// The text without leading and trailing characters from `blanks`.
std::string_view Trim(std::string_view text, std::string_view blanks = " ");

// Appends `value` as printf's "%0*ld" writes it: the sign, then the digits
// padded with zeros to `width` characters in all; never cut.
void AppendZeroPadded(std::string& out, long value, int width);
// AppendZeroPadded into a character buffer: writes at `out` (at most
// max(width, 20) characters, never more than 47) and returns the end.
char* WriteZeroPadded(char* out, long value, int width);
// `value` as printf's "%0*ld" writes it.
std::string ZeroPadded(long value, int width);

}  // namespace platform
