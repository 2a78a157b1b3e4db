#include "json_writer.h"

#include <charconv>
#include <cmath>

#include "utf8_text.h"

void JsonWriter::separate() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (first_.empty()) return;
  if (!first_.back()) out_ += ',';
  first_.back() = false;
}

void JsonWriter::beginObject() {
  separate();
  out_ += '{';
  first_.push_back(true);
}

void JsonWriter::endObject() {
  out_ += '}';
  first_.pop_back();
}

void JsonWriter::beginArray() {
  separate();
  out_ += '[';
  first_.push_back(true);
}

void JsonWriter::endArray() {
  out_ += ']';
  first_.pop_back();
}

void JsonWriter::key(std::string_view name) {
  string(name);
  out_ += ':';
  after_key_ = true;
}

void JsonWriter::string(std::string_view text) {
  separate();
  static constexpr char kDigits[] = "0123456789abcdef";
  out_ += '"';
  // Keys and most texts are plain ASCII that needs no escaping: appended as
  // they are, without the copy validUtf8 makes.
  bool plain = true;
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u > 0x7E || c == '"' || c == '\\' || c == '<') {
      plain = false;
      break;
    }
  }
  if (plain) {
    out_.append(text);
    out_ += '"';
    return;
  }
  // validUtf8 leaves tab as the only control character.
  for (char c : validUtf8(text)) {
    switch (c) {
      case '"': out_ += "\\\""; break;
      case '\\': out_ += "\\\\"; break;
      case '\t': out_ += "\\t"; break;
      case '<': out_ += "\\u003c"; break;  // safe inside an HTML script block too
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          out_ += "\\u00";
          out_ += kDigits[(c >> 4) & 0x0F];
          out_ += kDigits[c & 0x0F];
        } else {
          out_ += c;
        }
    }
  }
  out_ += '"';
}

void JsonWriter::number(std::int64_t value) {
  separate();
  char text[24];
  auto end = std::to_chars(text, text + sizeof text, value).ptr;
  out_.append(text, end);
}

void JsonWriter::number(double value) {
  if (!std::isfinite(value)) {
    null();
    return;
  }
  separate();
  char text[32];
  auto end = std::to_chars(text, text + sizeof text, value).ptr;
  out_.append(text, end);
}

void JsonWriter::number(std::optional<double> value) {
  if (value) {
    number(*value);
  } else {
    null();
  }
}

void JsonWriter::boolean(bool value) {
  separate();
  out_ += value ? "true" : "false";
}

void JsonWriter::null() {
  separate();
  out_ += "null";
}

