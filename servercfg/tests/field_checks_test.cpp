#include "field_checks.h"

#include <gtest/gtest.h>

#include <string>

namespace cvarsmith {
namespace {

TEST(IntegerField, AcceptsWholeNumbersWithSignAndBlanks) {
  EXPECT_EQ(checkIntegerField("20").value, 20);
  EXPECT_EQ(checkIntegerField(" -1 ").value, -1);
  EXPECT_EQ(checkIntegerField("+7").value, 7);
  EXPECT_EQ(checkIntegerField("2147483647").value, 2147483647);
  EXPECT_EQ(checkIntegerField("-2147483648").value, -2147483647 - 1);
}

TEST(IntegerField, RejectsAnythingElseWithTheStandardMessage) {
  for (const char* text : {"", "   ", "abc", "12abc", "1.5", "1 2", "--1", "+-1", "0x10",
                           "2147483648", "99999999999999999999"}) {
    FieldCheck<int> checked = checkIntegerField(text);
    EXPECT_FALSE(checked.value) << '"' << text << '"';
    EXPECT_EQ(checked.message, "Please enter an integer.") << '"' << text << '"';
  }
}

TEST(IntegerField, RangesIncludeTheirEnds) {
  EXPECT_EQ(checkIntegerField("1", kVotePercentRange).value, 1);
  EXPECT_EQ(checkIntegerField("100", kVotePercentRange).value, 100);
  EXPECT_EQ(checkIntegerField("-1", kModeStartRange).value, -1);
  FieldCheck<int> above = checkIntegerField("101", kVotePercentRange);
  EXPECT_FALSE(above.value);
  EXPECT_EQ(above.message, "Please enter an integer between 1 and 100.");
  EXPECT_EQ(checkIntegerField("99", kInstagibReloadRange).message,
            "Please enter an integer between 100 and 5000.");
  EXPECT_EQ(checkIntegerField("-2", kVoteLimitRange).message,
            "Please enter an integer between -1 and 999.");
  // Syntax is checked before the range.
  EXPECT_EQ(checkIntegerField("x", kVotePercentRange).message, "Please enter an integer.");
}

TEST(RealField, AcceptsFiniteDecimalsOnly) {
  EXPECT_DOUBLE_EQ(*checkRealField("3").value, 3.0);
  EXPECT_DOUBLE_EQ(*checkRealField(" 2.5 ").value, 2.5);
  for (const char* text : {"", "three", "3x", "inf", "nan", "1e999"}) {
    FieldCheck<double> checked = checkRealField(text);
    EXPECT_FALSE(checked.value) << text;
    EXPECT_EQ(checked.message, "Please enter a number.") << text;
  }
}

TEST(TextField, LimitCountsCharacters) {
  EXPECT_FALSE(checkTextLength(std::string(255, 'x'), kTextFieldLimit));
  EXPECT_EQ(checkTextLength(std::string(256, 'x'), kTextFieldLimit),
            "Please enter no more than 255 characters.");
  EXPECT_FALSE(checkTextLength("", kTextFieldLimit));
}

}  // namespace
}  // namespace cvarsmith
