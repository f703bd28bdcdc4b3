// Counting the pages of a PDF that skat-cli wrote.
#pragma once

#include <string>

namespace testing_support {

// Cairo writes one "/Type /Page" dictionary per page, next to the single
// "/Type /Pages" tree.
inline int PdfPageCount(const std::string& pdf) {
  int pages = 0;
  const std::string key = "/Type /Page";
  for (size_t at = pdf.find(key); at != std::string::npos; at = pdf.find(key, at + 1)) {
    if (pdf.compare(at, key.size() + 1, key + "s") != 0) ++pages;
  }
  return pages;
}

}  // namespace testing_support
