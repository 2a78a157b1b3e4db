#include "sql_literal.h"

std::string sqlTextValue(std::string_view text, std::size_t column) {
  text = text.substr(0, column);
  std::string escaped;
  escaped.reserve(text.size() + 8);
  for (char c : text) {
    switch (c) {
      case '\\': escaped += "\\\\"; break;
      case '\'': escaped += "\\'"; break;
      case '"': escaped += "\\\""; break;
      case '\0': escaped += "\\0"; break;
      case '\n': escaped += "\\n"; break;
      case '\r': escaped += "\\r"; break;
      case '\t': escaped += "\\t"; break;
      case '\b': escaped += "\\b"; break;
      case '\x1a': escaped += "\\Z"; break;
      default: escaped += c;
    }
  }
  return escaped;
}
