// Test helper: a converter over lines held in memory. The translators are
// called directly; the lines given at construction are what readers that
// look ahead (the client statistics block) take after the current line.
#pragma once

#include <string>

#include "line_reader.h"
#include "log_input.h"
#include "output.h"
#include "preparser.h"

class OutputCapture {
 public:
  explicit OutputCapture(std::string following = "") : following_(std::move(following)) {}
  OutputCapture(const OutputCapture&) = delete;
  OutputCapture& operator=(const OutputCapture&) = delete;

  // Everything written since the last call.
  std::string take() {
    out_.flush();
    std::string text;
    text.swap(written_);
    return text;
  }

  // The next line the reader gives ("<end>" at the end of input).
  std::string nextLine() {
    std::string_view line;
    return reader_.nextLine(line) ? std::string(line) : "<end>";
  }

 private:
  static preparse::LogInput inputOf(const std::string& bytes) {
    preparse::LogInput input;
    input.addBytes(bytes);
    return input;
  }

  std::string following_;
  preparse::LogInput input_ = inputOf(following_);
  preparse::LineReader reader_{input_, 0, input_.size()};
  std::string written_;
  preparse::Output out_{written_};

 public:
  preparse::Preparser p{reader_, out_};
};
