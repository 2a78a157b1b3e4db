// A streaming JSON writer into a string: no document is built, so a season
// of any size costs one pass. Commas are placed by the writer; strings are
// made valid UTF-8 (invalid bytes become U+FFFD) and escaped.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class JsonWriter {
 public:
  explicit JsonWriter(std::string& out) : out_(out) {}

  // Containers. Inside an object every value is preceded by key().
  void beginObject();
  void endObject();
  void beginArray();
  void endArray();
  void key(std::string_view name);

  void string(std::string_view text);
  void number(std::int64_t value);
  // Shortest text that reads back as `value`; null when not finite.
  void number(double value);
  void number(std::optional<double> value);
  void boolean(bool value);
  void null();

  // key() and a value in one call.
  template <typename T>
  void field(std::string_view name, const T& value) {
    key(name);
    write(value);
  }

 private:
  void write(std::string_view v) { string(v); }
  void write(const std::string& v) { string(v); }
  void write(const char* v) { string(v); }
  void write(std::int64_t v) { number(v); }
  void write(int v) { number(static_cast<std::int64_t>(v)); }
  void write(double v) { number(v); }
  void write(std::optional<double> v) { number(v); }
  void write(bool v) { boolean(v); }
  // Writes the comma before a value or key when one is due.
  void separate();

  std::string& out_;
  std::vector<unsigned char> first_;  // per open container: 1 while nothing is written in it yet
  bool after_key_ = false;
};

