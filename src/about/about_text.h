// What the about window says: the usage text of its memo and the three web addresses its
// links open. Kept apart from the window so the wording can be checked without Windows.
#pragma once

#include <string>
#include <string_view>

namespace zelvio {

// The five section headings of the usage text, in the order they appear. Each heading is a
// line of its own.
inline constexpr std::string_view kAboutHeadings[] = {
    "About : ", "Installation + Settings : ", "Usage : ", "Problems : ", "Special Thanks : ",
};

// The usage text shown in the about window's memo: lines joined by CR LF, which is what a
// multi-line edit control needs to break a line.
std::string AboutUsageText();

struct AboutLinkAddresses {
  std::string_view product;   // "Visit"
  std::string_view download;  // "Check Version": the page that names the latest version
  std::string_view donate;    // the donation picture
};

AboutLinkAddresses AboutLinks();

}  // namespace zelvio
