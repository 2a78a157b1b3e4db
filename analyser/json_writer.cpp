#include "json_writer.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "utf8_text.h"

namespace {

// Printable ASCII with nothing to escape: keys and most texts.
bool isPlain(std::string_view text) {
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u > 0x7E || c == '"' || c == '\\' || c == '<') return false;
  }
  return true;
}

// `text` in quotes, appended in one step (a long season writes a billion
// bytes of these).
void appendQuoted(std::string& out, std::string_view text, std::string_view after) {
  const std::size_t at = out.size();
  out.resize(at + text.size() + 2 + after.size());
  char* p = out.data() + at;
  *p++ = '"';
  std::memcpy(p, text.data(), text.size());
  p += text.size();
  *p++ = '"';
  std::memcpy(p, after.data(), after.size());
}

}  // namespace

void JsonWriter::separate() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (first_.empty()) return;
  if (!first_.back()) out_ += ',';
  first_.back() = 0;
}

void JsonWriter::beginObject() {
  separate();
  out_ += '{';
  first_.push_back(1);
}

void JsonWriter::endObject() {
  out_ += '}';
  first_.pop_back();
}

void JsonWriter::beginArray() {
  separate();
  out_ += '[';
  first_.push_back(1);
}

void JsonWriter::endArray() {
  out_ += ']';
  first_.pop_back();
}

void JsonWriter::key(std::string_view name) {
  if (isPlain(name)) {
    separate();
    appendQuoted(out_, name, ":");
  } else {
    string(name);
    out_ += ':';
  }
  after_key_ = true;
}

void JsonWriter::string(std::string_view text) {
  separate();
  static constexpr char kDigits[] = "0123456789abcdef";
  // Keys and most texts are plain ASCII that needs no escaping: appended as
  // they are, without the copy validUtf8 makes.
  if (isPlain(text)) {
    appendQuoted(out_, text, "");
    return;
  }
  out_ += '"';
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

