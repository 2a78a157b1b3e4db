#include "text.h"

#include <algorithm>
#include <cstring>

#include <sys/stat.h>

void FixedText::assign(std::string_view text) {
  // An empty view may carry a null pointer, which the C copy functions
  // must never see.
  std::size_t n = std::min(text.size(), kMaxTextLength);
  if (n > 0) std::memmove(buffer_.data(), text.data(), n);
  resize(n);
}

void FixedText::append(std::string_view text) {
  std::size_t n = std::min(text.size(), kMaxTextLength - length_);
  if (n > 0) std::memmove(buffer_.data() + length_, text.data(), n);
  resize(length_ + n);
}

void FixedText::syncLength() {
  buffer_[kMaxTextLength] = '\0';
  length_ = std::strlen(buffer_.data());
}

std::FILE* openInputFile(const char* path) {
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return nullptr;
  struct stat info;
  if (fstat(fileno(file), &info) != 0 || S_ISDIR(info.st_mode)) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

bool readLine(std::FILE* file, FixedText& line) {
  if (file == nullptr || std::fgets(line.data(), static_cast<int>(kTextBufferSize), file) == nullptr) {
    line.clear();
    return false;
  }
  line.syncLength();
  return true;
}

// --- Text functions ----------------------------------------------------------

std::string_view substring(std::string_view text, int from, int to) {
  int length = static_cast<int>(text.size());
  if (to > length) return text;
  // Position `length` is the terminator, so copying up to it copies up to the end.
  to = std::min(to, length - 1);
  from = std::max(from, 0);
  if (to < from) return {};
  return text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from + 1));
}

int strReplace(FixedText& text, std::string_view pattern, std::string_view replacement) {
  std::string_view view = text.view();
  std::size_t at = view.find(pattern);
  if (at == std::string_view::npos) return 0;
  std::string result;
  result.reserve(view.size() + replacement.size());
  result.append(view.substr(0, at)).append(replacement).append(view.substr(at + pattern.size()));
  text.assign(result);
  return 1;
}

static char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

void toLowerCase(FixedText& text) {
  for (std::size_t i = 0; i < text.size(); ++i) text[i] = lowerAscii(text[i]);
}

std::string toLowerCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = lowerAscii(c);
  return result;
}

void stripNewLineChars(FixedText& text) {
  std::size_t start = text.size() > 5 ? text.size() - 5 : 0;
  for (std::size_t i = start; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      text.truncate(i);
      return;
    }
  }
}

namespace {

// The bytes replaceNonPrintableChars turns into "_", as a table: every line
// of a log passes through it.
constexpr std::array<bool, 256> replacedBytes(HighBytes high) {
  std::array<bool, 256> replaced{};
  for (int c = 0; c < 256; ++c) replaced[c] = c < 32 || c == 127 || (c > 127 && high == HighBytes::kReplaced);
  for (unsigned char c : std::string_view("\\&\"+#=%<>")) replaced[c] = true;
  return replaced;
}
constexpr std::array<bool, 256> kReplacedBytes = replacedBytes(HighBytes::kReplaced);
constexpr std::array<bool, 256> kReplacedAsciiBytes = replacedBytes(HighBytes::kKept);

}  // namespace

void replaceNonPrintableChars(FixedText& text, HighBytes high) {
  const std::array<bool, 256>& replaced = high == HighBytes::kKept ? kReplacedAsciiBytes : kReplacedBytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (replaced[static_cast<unsigned char>(text[i])]) text[i] = '_';
  }
}

bool holdsHighBytes(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) > 127) return true;
  }
  return false;
}

void stripIllegalFilenameChars(std::string& text) {
  for (char& c : text) {
    bool legal = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.';
    if (!legal) c = '_';
  }
}

void fpclose(std::FILE*& file) {
  if (file != nullptr) std::fclose(file);
  file = nullptr;
}
