// The page writer formats the report's conversions itself; every result must
// be the bytes the C library's printf gives.
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string>

#include "console_fixture.h"

using PageFormat = ReportTest;

namespace {

template <typename... Args>
std::string printfText(const char* format, Args... args) {
  char text[1024];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

template <typename... Args>
std::string pageText(const char* format, Args... args) {
  return ReportTest::render([&](Report& r) { r.wr(format, args...); });
}

}  // namespace

TEST_F(PageFormat, IntegersTextsAndPercentSigns) {
  for (int value : {0, 7, -7, 42, -42, INT_MAX, INT_MIN}) {
    EXPECT_EQ(pageText("<td>%d</td> %0.2d|%.2d", value, value, value),
              printfText("<td>%d</td> %0.2d|%.2d", value, value, value))
        << value;
  }
  EXPECT_EQ(pageText("%s and %s", "", "a name"), " and a name");
  EXPECT_EQ(pageText("100%% sure, %d%%", 5), "100% sure, 5%");
  EXPECT_EQ(pageText("no conversion at all"), "no conversion at all");
}

TEST_F(PageFormat, TwoDecimalRealsRoundAsPrintfDoes) {
  const double values[] = {0.0,   -0.0,   0.005, 0.015, 0.125, 2.675, -0.001, 1.0 / 3, 99.995, 33.333333,
                           1e15,  -1e15,  1e300, -DBL_MAX, DBL_MAX, DBL_MIN, INFINITY, -INFINITY, NAN};
  // The largest have more digits than the quick path's buffer holds.
  for (double value : values) {
    EXPECT_EQ(pageText("w=%0.2f%% p=%.2f", value, value), printfText("w=%0.2f%% p=%.2f", value, value)) << value;
  }
}

TEST_F(PageFormat, OtherConversionsFallBackToTheCLibrary) {
  EXPECT_EQ(pageText("[%5d|%-3s|%x]", 42, "a", 255), "[   42|a  |ff]");
  EXPECT_EQ(pageText("%d then %3.1f", 1, 2.25), "1 then 2.2");
  const std::string long_name(900, 'n');
  EXPECT_EQ(pageText("%5s%s", "x", long_name.c_str()), "    x" + long_name);
}
