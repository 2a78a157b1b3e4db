#include "text.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include <sys/stat.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
constexpr char kSpecialBytes[] = {'\\', '&', '"', '+', '#', '=', '%', '<', '>'};
static_assert(std::size(kSpecialBytes) == 9, "replaceNonPrintableChars compares with each of the nine");

constexpr std::array<bool, 256> replacedBytes(HighBytes high) {
  std::array<bool, 256> replaced{};
  for (int c = 0; c < 256; ++c) replaced[c] = c < 32 || c == 127 || (c > 127 && high == HighBytes::kReplaced);
  for (char c : kSpecialBytes) replaced[static_cast<unsigned char>(c)] = true;
  return replaced;
}
constexpr std::array<bool, 256> kReplacedBytes = replacedBytes(HighBytes::kReplaced);
constexpr std::array<bool, 256> kReplacedAsciiBytes = replacedBytes(HighBytes::kKept);

}  // namespace

void replaceNonPrintableChars(FixedText& text, HighBytes high) {
  const std::array<bool, 256>& replaced = high == HighBytes::kKept ? kReplacedAsciiBytes : kReplacedBytes;
  const std::size_t size = text.size();
  std::size_t i = 0;
#if defined(__SSE2__)
  // Almost every line is clean: sixteen bytes are checked at once, and only
  // a block holding a byte to replace is walked byte by byte. The last block
  // ends at the end of the text and may overlap the one before it, which
  // does no harm: "_" is never replaced.
  if (size >= 16) {
    const __m128i last_control = _mm_set1_epi8(31);
    const __m128i del = _mm_set1_epi8(127);
    const __m128i high_bytes = high == HighBytes::kReplaced ? _mm_setzero_si128() : _mm_set1_epi8(-128);
    __m128i specials[std::size(kSpecialBytes)];
    for (std::size_t k = 0; k < std::size(kSpecialBytes); ++k) specials[k] = _mm_set1_epi8(kSpecialBytes[k]);
    for (std::size_t at = 0;; at = std::min(at + 16, size - 16)) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
      // As signed bytes those above 127 are negative: below 0 when replaced; nothing is below -128.
      __m128i hit = _mm_or_si128(_mm_cmpeq_epi8(_mm_min_epu8(bytes, last_control), bytes),
                                 _mm_or_si128(_mm_cmpeq_epi8(bytes, del), _mm_cmplt_epi8(bytes, high_bytes)));
      hit = _mm_or_si128(hit, _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, specials[0]), _mm_cmpeq_epi8(bytes, specials[1])),
                                           _mm_or_si128(_mm_cmpeq_epi8(bytes, specials[2]), _mm_cmpeq_epi8(bytes, specials[3]))));
      hit = _mm_or_si128(hit, _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, specials[4]), _mm_cmpeq_epi8(bytes, specials[5])),
                                           _mm_or_si128(_mm_cmpeq_epi8(bytes, specials[6]), _mm_cmpeq_epi8(bytes, specials[7]))));
      hit = _mm_or_si128(hit, _mm_cmpeq_epi8(bytes, specials[8]));
      if (_mm_movemask_epi8(hit) != 0) {
        for (std::size_t k = at; k < at + 16; ++k) {
          if (replaced[static_cast<unsigned char>(text[k])]) text[k] = '_';
        }
      }
      if (at == size - 16) return;
    }
  }
#endif
  for (; i < size; ++i) {
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
