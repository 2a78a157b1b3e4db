#include "html_text.h"

#include <gtest/gtest.h>

namespace site {
namespace {

std::string coloured(std::string_view name) {
  std::string out;
  appendColouredName(out, name);
  return out;
}

TEST(HtmlText, EscapesEveryCharacterThatCouldOpenMarkupOrLeaveAnAttribute) {
  EXPECT_EQ(escaped("<script>alert('x')</script> & \"q\""),
            "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; &quot;q&quot;");
  EXPECT_EQ(escaped("plain ^1text_with-signs: %+#=\\/"), "plain ^1text_with-signs: %+#=\\/");
}

TEST(HtmlText, BytesThatAreNotUtf8AndControlCharactersBecomeReplacementCharacters) {
  const std::string r = "\xEF\xBF\xBD";
  EXPECT_EQ(validUtf8("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"), "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");
  EXPECT_EQ(validUtf8("a\xFF" "b"), "a" + r + "b");
  EXPECT_EQ(validUtf8("\xC0\xAF"), r + r);              // overlong "/"
  EXPECT_EQ(validUtf8("\xED\xA0\x80"), r + r + r);      // a surrogate
  EXPECT_EQ(validUtf8("\xE2\x82"), r + r);              // cut short at the end
  EXPECT_EQ(validUtf8(std::string("a\0b\nc\td\x7F", 8)), "a" + r + "b" + r + "c\td" + r);
  EXPECT_EQ(escaped("\xE2<"), r + "&lt;");  // a broken sequence cannot swallow the next character
}

// The same colours and runs as the game pages.
TEST(HtmlText, ColourCodesAreDrawnAsOnTheGamePages) {
  EXPECT_EQ(coloured("^1Red^7Dog"),
            "<font color=#FFFFFF></font><font color=#FF0000>Red</font><font color=#FFFFFF>Dog</font>");
  EXPECT_EQ(coloured("Dog^1"), "<font color=#FFFFFF>Dog</font><font color=#FF0000></font>");
  EXPECT_EQ(coloured("^Xff8800Fox"), "<font color=#FFFFFF></font><font color=#ff8800>Fox</font>");
  EXPECT_EQ(coloured("^x12"), "<font color=#FFFFFF></font><font color=#555555>12</font>");
  EXPECT_EQ(coloured("a^^1b"), "<font color=#FFFFFF>a^</font><font color=#FF0000>b</font>");
  EXPECT_EQ(coloured("^Fab"), "<font color=#FFFFFF>ab</font>");
  EXPECT_EQ(coloured(""), "<font color=#FFFFFF></font>");
  EXPECT_EQ(coloured("x^"), "<font color=#FFFFFF>x^</font>");
}

TEST(HtmlText, ColouredNamesEscapeTheirTextAndNeverPutNameBytesIntoAnAttribute) {
  EXPECT_EQ(coloured("^1<b>&\"'"), "<font color=#FFFFFF></font><font color=#FF0000>&lt;b&gt;&amp;&quot;&#39;</font>");
  // Six characters after ^X that are no colour: the short code's grey.
  EXPECT_EQ(coloured("^X\"><img"), "<font color=#FFFFFF></font><font color=#555555>&quot;&gt;&lt;img</font>");
  // A colour code's character beyond ASCII picks a colour by its byte; the
  // rest of the character is not valid on its own and shows as U+FFFD.
  std::string out = coloured("^\xC3\xA9x");
  EXPECT_EQ(out.find('\xC3'), std::string::npos);
}

TEST(HtmlText, FileNamesAndLinksHoldOnlySafeCharacters) {
  EXPECT_EQ(hexOf("Alice"), "416c696365");
  EXPECT_EQ(hexOf("Alice "), "416c69636520");
  EXPECT_EQ(hexOf(std::string("\0\xFF", 2)), "00ff");
  EXPECT_EQ(hexOf(""), "");
  EXPECT_EQ(urlEncoded("kestrostats_1_main.html"), "kestrostats_1_main.html");
  EXPECT_EQ(urlEncoded("a b\"<>#?&%'"), "a%20b%22%3C%3E%23%3F%26%25%27");
}

TEST(HtmlText, NumbersHaveFixedDecimalsAndNoNegativeZero) {
  EXPECT_EQ(fixed(12.5, 2), "12.50");
  EXPECT_EQ(fixed(-0.001, 2), "0.00");
  EXPECT_EQ(fixed(-1.5, 1), "-1.5");
  EXPECT_EQ(fixed(std::optional<double>(), 2), "-");
  EXPECT_EQ(percent(47.26), "47.3 %");
  EXPECT_EQ(percent(std::nullopt), "-");
}

}  // namespace
}  // namespace site
