// Text buffers, the scratch-buffer registry and the small text functions that
// the whole analyser uses.
//
// Every text of the analyser (a log line, a player name, a setting) fits a
// 510-byte buffer: at most 509 characters and a terminator. FixedText keeps
// that limit for every assignment and append, so no log content can make a
// field grow past it.
//
// Text functions that return part of a text (substring, the name
// extractors) return a view into it: the view is valid as long as the text
// it was taken from.
#pragma once

#include <array>
#include <cstddef>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

inline constexpr std::size_t kTextBufferSize = 510;  // bytes of every text buffer
inline constexpr std::size_t kMaxTextLength = 509;   // characters a text can hold

// A text of at most 509 characters in a fixed 510-byte buffer, always
// terminated. Longer assignments and appends are cut at the limit.
class FixedText {
 public:
  FixedText() { buffer_[0] = '\0'; }
  FixedText(std::string_view text) { assign(text); }  // NOLINT: implicit by design

  void assign(std::string_view text);
  void append(std::string_view text);
  void clear() { resize(0); }
  // Cuts the text to `length` characters (no effect when already shorter).
  void truncate(std::size_t length) {
    if (length < length_) resize(length);
  }

  std::string_view view() const { return {buffer_.data(), length_}; }
  operator std::string_view() const { return view(); }  // NOLINT: implicit by design
  const char* c_str() const { return buffer_.data(); }
  std::size_t size() const { return length_; }
  bool empty() const { return length_ == 0; }
  char& operator[](std::size_t i) { return buffer_[i]; }
  char operator[](std::size_t i) const { return buffer_[i]; }

  // Raw access for readers that fill the buffer themselves (fgets); call
  // syncLength() afterwards. The length then ends at the first NUL, as for
  // any C string.
  char* data() { return buffer_.data(); }
  void syncLength();

  friend bool operator==(const FixedText& a, const FixedText& b) { return a.view() == b.view(); }

 private:
  void resize(std::size_t length) {
    length_ = length;
    buffer_[length] = '\0';
  }
  std::array<char, kTextBufferSize> buffer_;
  std::size_t length_ = 0;
};

// Opens a file for reading ("rb"); null when it cannot be opened or is a
// directory, which the C library would open and then read as if empty.
std::FILE* openInputFile(const char* path);

// Reads one line of at most 509 characters (a longer physical line arrives in
// pieces), keeping its line end. Returns false at the end of input or when
// `file` is null.
bool readLine(std::FILE* file, FixedText& line);

// --- Text functions ----------------------------------------------------------

// Characters `from` to `to` inclusive (a view into `text`). When `to` lies
// beyond the end of the text, the text itself is returned unchanged.
std::string_view substring(std::string_view text, int from, int to);

// Replaces the first occurrence of `pattern` in place; 1 if replaced, 0 if absent.
int strReplace(FixedText& text, std::string_view pattern, std::string_view replacement);

// ASCII A-Z to a-z.
void toLowerCase(FixedText& text);
std::string toLowerCase(std::string_view text);

// Cuts the text at the first carriage return or line feed among its last five
// characters.
void stripNewLineChars(FixedText& text);

// What cleaning a line does with the bytes above 127.
enum class HighBytes {
  kReplaced,  // made "_", as the pages have always shown them
  kKept,      // kept: names in other alphabets stay apart in the season's rows
};

// Turns every ASCII character outside printable ASCII, and each of
// \ & " + # = % < >, into "_"; bytes above 127 too unless they are kept. The
// sanitised text reaches HTML pages verbatim; "<" and ">" are in the list so
// that log text can never inject markup or script into a page.
void replaceNonPrintableChars(FixedText& text, HighBytes high = HighBytes::kReplaced);

// True when the text holds a byte above 127.
bool holdsHighBytes(std::string_view text);

// Every character other than an ASCII letter, digit or "." becomes "_".
void stripIllegalFilenameChars(std::string& text);

// Closes the file if open and sets the reference to null.
void fpclose(std::FILE*& file);

// True when `text` contains `word`.
inline bool contains(std::string_view text, std::string_view word) {
  return text.find(word) != std::string_view::npos;
}

// True when `text` contains at least one of `words`.
inline bool containsAnyOf(std::string_view text, std::initializer_list<std::string_view> words) {
  for (std::string_view word : words) {
    if (contains(text, word)) return true;
  }
  return false;
}
