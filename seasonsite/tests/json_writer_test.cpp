#include "json_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

namespace site {
namespace {

TEST(JsonWriter, NestedContainersGetTheirCommasAndParse) {
  std::string out;
  JsonWriter j(out);
  j.beginObject();
  j.field("a", 1);
  j.key("list");
  j.beginArray();
  j.number(std::int64_t{-5});
  j.beginObject();
  j.endObject();
  j.beginArray();
  j.endArray();
  j.string("x");
  j.endArray();
  j.field("t", true);
  j.key("n");
  j.null();
  j.endObject();
  EXPECT_EQ(out, R"({"a":1,"list":[-5,{},[],"x"],"t":true,"n":null})");
  EXPECT_TRUE(nlohmann::json::accept(out));
}

TEST(JsonWriter, AnyBytesComeOutAsAValidStringThatReadsBack) {
  std::string all;
  for (int c = 1; c < 128; ++c) all += static_cast<char>(c);
  all += "\xC3\xA9";  // é stays
  std::string out;
  JsonWriter j(out);
  j.beginArray();
  j.string(all);
  j.string("bad \xFF\xC0 bytes");
  j.string("</script><!--");
  j.endArray();
  nlohmann::json parsed = nlohmann::json::parse(out);
  // Control characters other than tab become U+FFFD, as on the pages.
  std::string expected;
  for (int c = 1; c < 128; ++c) {
    expected += (c < 0x20 && c != '\t') || c == 0x7F ? std::string("\xEF\xBF\xBD") : std::string(1, static_cast<char>(c));
  }
  EXPECT_EQ(parsed[0].get<std::string>(), expected + "\xC3\xA9");
  EXPECT_EQ(parsed[1].get<std::string>(), "bad \xEF\xBF\xBD\xEF\xBF\xBD bytes");
  EXPECT_EQ(parsed[2].get<std::string>(), "</script><!--");
  EXPECT_EQ(out.find("</script>"), std::string::npos);
}

TEST(JsonWriter, NumbersReadBackExactlyAndNonFiniteOnesAreNull) {
  std::string out;
  JsonWriter j(out);
  j.beginArray();
  for (double d : {0.1, 12.5, -3.25e-7, 1e21, 1.0 / 3.0}) j.number(d);
  j.number(std::numeric_limits<double>::quiet_NaN());
  j.number(std::numeric_limits<double>::infinity());
  j.number(std::optional<double>());
  j.number(std::numeric_limits<std::int64_t>::min());
  j.endArray();
  nlohmann::json parsed = nlohmann::json::parse(out);
  EXPECT_EQ(parsed[0].get<double>(), 0.1);
  EXPECT_EQ(parsed[1].get<double>(), 12.5);
  EXPECT_EQ(parsed[2].get<double>(), -3.25e-7);
  EXPECT_EQ(parsed[3].get<double>(), 1e21);
  EXPECT_EQ(parsed[4].get<double>(), 1.0 / 3.0);
  EXPECT_TRUE(parsed[5].is_null());
  EXPECT_TRUE(parsed[6].is_null());
  EXPECT_TRUE(parsed[7].is_null());
  EXPECT_EQ(parsed[8].get<std::int64_t>(), std::numeric_limits<std::int64_t>::min());
}

}  // namespace
}  // namespace site
