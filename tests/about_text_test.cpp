// The about window's portable parts: the usage text of its memo, its three links, the table
// its controls are built from, and the step that gives its painted pictures their edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "about/about_controls.h"
#include "about/about_text.h"
#include "about/artwork_pixels.h"

namespace zelvio {
namespace {

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return lines;
    start = end + 2;
  }
}

// Index of the line that is exactly the heading; -1 when there is none.
int LineOf(const std::vector<std::string>& lines, std::string_view heading) {
  auto found = std::find(lines.begin(), lines.end(), heading);
  return found == lines.end() ? -1 : static_cast<int>(found - lines.begin());
}

// The lines after a heading up to the next heading (or the end), blank lines left out.
std::vector<std::string> Section(const std::vector<std::string>& lines, size_t headingIndex) {
  int from = LineOf(lines, kAboutHeadings[headingIndex]);
  int to = headingIndex + 1 < std::size(kAboutHeadings) ? LineOf(lines, kAboutHeadings[headingIndex + 1])
                                                        : static_cast<int>(lines.size());
  std::vector<std::string> section;
  if (from < 0 || to < from) return section;
  for (int i = from + 1; i < to; ++i) {
    if (!lines[i].empty()) section.push_back(lines[i]);
  }
  return section;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += line + "\n";
  return all;
}

class AboutUsageTextTest : public ::testing::Test {
 protected:
  std::string text = AboutUsageText();
  std::vector<std::string> lines = SplitCrLf(text);
};

TEST_F(AboutUsageTextTest, LinesAreSeparatedByCrLfOnly) {
  for (size_t i = 0; i < lines.size(); ++i) {
    // A bare LF or CR would show as a stray box or a missing break in the edit control.
    EXPECT_EQ(lines[i].find('\n'), std::string::npos) << "line " << i << ": " << lines[i];
    EXPECT_EQ(lines[i].find('\r'), std::string::npos) << "line " << i << ": " << lines[i];
  }
  EXPECT_GE(lines.size(), 40u);
  EXPECT_LE(lines.size(), 70u);
}

TEST_F(AboutUsageTextTest, HeadingsStartTheirLinesOnceAndInOrder) {
  int previous = -1;
  for (std::string_view heading : kAboutHeadings) {
    int at = LineOf(lines, heading);
    ASSERT_GE(at, 0) << "no line \"" << heading << "\"";
    EXPECT_GT(at, previous) << "\"" << heading << "\" out of order";
    EXPECT_EQ(std::count(lines.begin(), lines.end(), heading), 1) << heading;
    previous = at;
  }
  EXPECT_EQ(LineOf(lines, "About : "), 0) << "the text opens with the About section";
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    bool heading =
        std::find(std::begin(kAboutHeadings), std::end(kAboutHeadings), line) != std::end(kAboutHeadings);
    // A heading has the blank, colon, blank form; ordinary lines must not look like one.
    EXPECT_EQ(line.ends_with(" : "), heading) << line;
  }
}

TEST_F(AboutUsageTextTest, SettingsNameEveryTabAndThreeCompressors) {
  std::string settings = Joined(Section(lines, 1));
  for (const char* tab : {"\"Screen\"", "\"Video\"", "\"Audio\"", "\"General\""}) {
    EXPECT_NE(settings.find(tab), std::string::npos) << tab;
  }
  for (const char* codec : {"Xvid", "x264vfw", "Microsoft Video 1"}) {
    EXPECT_NE(settings.find(codec), std::string::npos) << codec;
  }
  EXPECT_NE(settings.find("portable"), std::string::npos);
  EXPECT_NE(settings.find("web site"), std::string::npos);
}

TEST_F(AboutUsageTextTest, UsageTellsRecordStopAndSnapshot) {
  std::string usage = Joined(Section(lines, 2));
  EXPECT_NE(usage.find("Record"), std::string::npos);
  EXPECT_NE(usage.find("Stop"), std::string::npos);
  EXPECT_NE(usage.find(".bmp"), std::string::npos);
  EXPECT_NE(usage.find("not recording"), std::string::npos);
}

// Each numbered problem has lettered remedies under both Windows versions, before the next
// problem starts.
TEST_F(AboutUsageTextTest, ProblemsAreNumberedWithRemediesPerWindowsVersion) {
  std::vector<std::string> problems = Section(lines, 3);
  std::vector<size_t> starts;
  for (size_t i = 0; i < problems.size(); ++i) {
    if (problems[i].size() > 1 && std::isdigit(static_cast<unsigned char>(problems[i][0])) &&
        problems[i][1] == ')') {
      starts.push_back(i);
    }
  }
  ASSERT_EQ(starts.size(), 3u);
  starts.push_back(problems.size());
  for (size_t p = 0; p < 3; ++p) {
    EXPECT_EQ(problems[starts[p]][0], static_cast<char>('1' + p));
    int versions = 0;
    int remediesUnderVersion = 0;
    for (size_t i = starts[p] + 1; i < starts[p + 1]; ++i) {
      const std::string& line = problems[i];
      if (line.find("Windows 7 and Vista:") != std::string::npos ||
          line.find("Windows XP:") != std::string::npos) {
        if (versions > 0) {
          EXPECT_GT(remediesUnderVersion, 0) << "problem " << p + 1 << " has an empty version";
        }
        ++versions;
        remediesUnderVersion = 0;
        continue;
      }
      if (line.find("a) ") != std::string::npos || line.find("b) ") != std::string::npos ||
          line.find("c) ") != std::string::npos || line.find("d) ") != std::string::npos) {
        ++remediesUnderVersion;
      }
    }
    EXPECT_EQ(versions, 2) << "problem " << p + 1;
    EXPECT_GT(remediesUnderVersion, 0) << "problem " << p + 1 << " ends with an empty version";
  }
  std::string all = Joined(problems);
  EXPECT_NE(all.find("Aero"), std::string::npos);
  EXPECT_NE(all.find("overlay"), std::string::npos);
  EXPECT_NE(all.find("hardware acceleration"), std::string::npos);
}

TEST_F(AboutUsageTextTest, SpecialThanksCreditsSixWithAnAddressEach) {
  std::vector<std::string> thanks = Section(lines, 4);
  ASSERT_EQ(thanks.size(), 6u) << Joined(thanks);
  std::set<std::string> addresses;
  for (const std::string& line : thanks) {
    size_t at = line.find("https://");
    ASSERT_NE(at, std::string::npos) << line;
    EXPECT_GT(at, 0u) << "no name before the address: " << line;
    std::string address = line.substr(at);
    EXPECT_EQ(address.find(' '), std::string::npos) << line;
    EXPECT_GT(address.size(), std::string("https://x.y").size()) << line;
    addresses.insert(address);
  }
  EXPECT_EQ(addresses.size(), 6u);
}

TEST(AboutLinks, AreThreeDistinctHttpsAddresses) {
  AboutLinkAddresses links = AboutLinks();
  std::set<std::string_view> distinct;
  for (std::string_view link : {links.product, links.download, links.donate}) {
    EXPECT_TRUE(link.starts_with("https://")) << link;
    EXPECT_GT(link.size(), std::string_view("https://").size() + 3) << link;
    EXPECT_EQ(link.find_first_of(" \t\r\n\""), std::string_view::npos) << link;
    distinct.insert(link);
  }
  EXPECT_EQ(distinct.size(), 3u);
}

TEST(AboutControls, NamesAndIdsAreUniqueAndLookedUp) {
  std::set<std::string_view> names;
  std::set<int> ids;
  for (const AboutControlEntry& entry : AboutControls()) {
    EXPECT_TRUE(names.insert(entry.name).second) << "duplicate name " << entry.name;
    EXPECT_TRUE(ids.insert(entry.id).second) << "duplicate id " << entry.id;
    EXPECT_GE(entry.id, kFirstAboutControlId) << entry.name;
    EXPECT_LT(entry.id, 0x10000) << entry.name;  // WM_COMMAND carries 16 bits
    EXPECT_EQ(AboutControlIdFor(entry.name), entry.id);
  }
  EXPECT_EQ(names.size(), 9u);
  EXPECT_EQ(AboutControlIdFor("memoinfo"), 0);  // design names are exact
  EXPECT_EQ(AboutControlIdFor("FormAbout"), 0);
  EXPECT_EQ(AboutControlNamed("BitBtnAbout"), nullptr);  // that one is the main window's
}

TEST(AboutControls, LieInsideTheWindowWithoutOverlapping) {
  std::vector<const AboutControlEntry*> sized;
  for (const AboutControlEntry& entry : AboutControls()) {
    EXPECT_GE(entry.left, 0) << entry.name;
    EXPECT_GE(entry.top, 0) << entry.name;
    EXPECT_LE(entry.left + entry.width, kAboutClientWidth) << entry.name;
    EXPECT_LE(entry.top + entry.height, kAboutClientHeight) << entry.name;
    if (entry.width > 0) sized.push_back(&entry);
  }
  for (size_t i = 0; i < sized.size(); ++i) {
    for (size_t j = i + 1; j < sized.size(); ++j) {
      const AboutControlEntry& a = *sized[i];
      const AboutControlEntry& b = *sized[j];
      bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left || a.top + a.height <= b.top ||
                   b.top + b.height <= a.top;
      EXPECT_TRUE(apart) << a.name << " overlaps " << b.name;
    }
  }
}

TEST(AboutControls, MemoIsTheFirstStopOfTheTabKey) {
  auto controls = AboutControls();
  auto firstStop = std::find_if(controls.begin(), controls.end(), [](const AboutControlEntry& entry) {
    return entry.kind == AboutControlKind::Memo || entry.kind == AboutControlKind::GlyphButton;
  });
  ASSERT_NE(firstStop, controls.end());
  EXPECT_EQ(firstStop->name, "MemoInfo");
}

// ---- painted pictures ----

constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kWhite = 0xFFFFFFFF;

TEST(ArtworkPixels, CoveredAndUncoveredPixels) {
  // One output pixel from a 2 x 2 block: a fully painted red pixel, then an empty one.
  std::vector<uint32_t> red(4, 0x00C02010);
  auto painted = CoverageFromBlackAndWhite(red, red, 1, 1, 2);
  ASSERT_EQ(painted.size(), 1u);
  EXPECT_EQ(painted[0], 0xFFC02010u);

  std::vector<uint32_t> black(4, kBlack), white(4, kWhite);
  auto empty = CoverageFromBlackAndWhite(black, white, 1, 1, 2);
  ASSERT_EQ(empty.size(), 1u);
  EXPECT_EQ(empty[0], 0u);
}

TEST(ArtworkPixels, PartlyCoveredPixelIsPremultiplied) {
  // Half of the block painted pure green: half coverage, the colour weighed by it.
  std::vector<uint32_t> onBlack = {0x0000FF00, 0x0000FF00, kBlack, kBlack};
  std::vector<uint32_t> onWhite = {0x0000FF00, 0x0000FF00, kWhite, kWhite};
  auto pixels = CoverageFromBlackAndWhite(onBlack, onWhite, 1, 1, 2);
  ASSERT_EQ(pixels.size(), 1u);
  uint32_t alpha = pixels[0] >> 24;
  EXPECT_NEAR(static_cast<int>(alpha), 128, 1);
  EXPECT_NEAR(static_cast<int>((pixels[0] >> 8) & 0xFF), 128, 1);
  EXPECT_EQ(pixels[0] & 0xFF00FF, 0u);
}

TEST(ArtworkPixels, KeepsPixelsInPlace) {
  // 2 x 1 output from 4 x 2: left painted blue, right empty; rows run top to bottom.
  std::vector<uint32_t> onBlack = {0xFF, 0xFF, kBlack, kBlack, 0xFF, 0xFF, kBlack, kBlack};
  std::vector<uint32_t> onWhite = {0xFF, 0xFF, kWhite, kWhite, 0xFF, 0xFF, kWhite, kWhite};
  auto pixels = CoverageFromBlackAndWhite(onBlack, onWhite, 2, 1, 2);
  ASSERT_EQ(pixels.size(), 2u);
  EXPECT_EQ(pixels[0], 0xFF0000FFu);
  EXPECT_EQ(pixels[1], 0u);
}

TEST(ArtworkPixels, RefusesInputsOfTheWrongSize) {
  std::vector<uint32_t> four(4, kBlack), three(3, kBlack);
  EXPECT_TRUE(CoverageFromBlackAndWhite(four, three, 1, 1, 2).empty());
  EXPECT_TRUE(CoverageFromBlackAndWhite(four, four, 2, 1, 2).empty());
  EXPECT_TRUE(CoverageFromBlackAndWhite(four, four, 1, 1, 0).empty());
}

}  // namespace
}  // namespace zelvio
