#include "field_checks.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace cvarsmith {

namespace {

constexpr const char* kNotAnInteger = "Please enter an integer.";
constexpr const char* kNotANumber = "Please enter a number.";

std::string_view trimBlanks(std::string_view text) {
  auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string rangeMessage(IntegerRange range) {
  return "Please enter an integer between " + std::to_string(range.minimum) + " and " +
         std::to_string(range.maximum) + ".";
}

}  // namespace

FieldCheck<int> checkIntegerField(std::string_view text, std::optional<IntegerRange> range) {
  text = trimBlanks(text);
  // from_chars takes a minus sign but not a plus sign; one sign at most.
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return {std::nullopt, kNotAnInteger};
  }
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
    return {std::nullopt, kNotAnInteger};
  }
  if (range && (value < range->minimum || value > range->maximum)) {
    return {std::nullopt, rangeMessage(*range)};
  }
  return {value, ""};
}

FieldCheck<double> checkRealField(std::string_view text) {
  const std::string trimmed(trimBlanks(text));
  if (trimmed.empty()) return {std::nullopt, kNotANumber};
  char* end = nullptr;
  const double value = std::strtod(trimmed.c_str(), &end);
  if (end != trimmed.c_str() + trimmed.size() || !std::isfinite(value)) {
    return {std::nullopt, kNotANumber};
  }
  return {value, ""};
}

std::optional<std::string> checkTextLength(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return std::nullopt;
  return "Please enter no more than " + std::to_string(limit) + " characters.";
}

}  // namespace cvarsmith
