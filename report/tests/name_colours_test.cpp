#include "console_fixture.h"

using NameColours = ReportTest;

namespace {
std::string colouredName(std::string_view name) {
  return ReportTest::render([&](Report& r) { htmlWriteQ3String(r, name); });
}
}  // namespace

TEST_F(NameColours, ColourCodesBecomeFontTags) {
  EXPECT_EQ(colouredName("^1Red^7Dog"),
            "<font color=#FFFFFF></font><font color=#FF0000>Red</font><font color=#FFFFFF>Dog</font>");
  EXPECT_EQ(colouredName("Dog^1"), "<font color=#FFFFFF>Dog</font><font color=#FF0000></font>");
  EXPECT_EQ(colouredName("a^^1b"), "<font color=#FFFFFF>a^</font><font color=#FF0000>b</font>");
  EXPECT_EQ(colouredName(""), "<font color=#FFFFFF></font>");
  EXPECT_EQ(colouredName("x"), "<font color=#FFFFFF>x</font>");
}

TEST_F(NameColours, HexColoursAndDroppedCodes) {
  EXPECT_EQ(colouredName("^Xff8800Fox"), "<font color=#FFFFFF></font><font color=#ff8800>Fox</font>");
  EXPECT_EQ(colouredName("^x12"), "<font color=#FFFFFF></font><font color=#555555>12</font>");
  // Exactly seven characters from the code on: the six digits that exist.
  EXPECT_EQ(colouredName("^Xabcde"), "<font color=#FFFFFF></font><font color=#abcde></font>");
  EXPECT_EQ(colouredName("^Fab"), "<font color=#FFFFFF>ab</font>");
  EXPECT_EQ(colouredName("^na"), "<font color=#FFFFFF></font><font color=#FF00FF>a</font>");
}

TEST_F(NameColours, WithoutColoursCodesAreDropped) {
  config().use_name_colors = false;
  EXPECT_EQ(colouredName("^1Red^7Dog"), "<font size=\"0\">RedDog</font>");
}

TEST_F(NameColours, NamesAreNeverReadAsFormats) {
  EXPECT_EQ(colouredName("100%s%n"), "<font color=#FFFFFF>100%s%n</font>");
}
