// Test helper: gives the translators fresh run state, an output file to
// write to and, when wanted, an input stream holding the lines that follow.
#pragma once

#include <cstdio>
#include <string>

#include "clients.h"
#include "run_state.h"

class OutputCapture {
 public:
  OutputCapture() {
    preparse::resetRunState();
    preparse::fp_out = std::tmpfile();
  }
  ~OutputCapture() {
    fpclose(preparse::fp_out);
    fpclose(preparse::fp_now);
  }
  OutputCapture(const OutputCapture&) = delete;
  OutputCapture& operator=(const OutputCapture&) = delete;

  // Everything written since the last call.
  std::string take() {
    std::FILE* file = preparse::fp_out;
    std::fflush(file);
    std::string text(static_cast<std::size_t>(std::ftell(file)), '\0');
    std::rewind(file);
    std::size_t n = std::fread(text.data(), 1, text.size(), file);
    text.resize(n);
    std::fclose(file);
    preparse::fp_out = std::tmpfile();
    return text;
  }

  // Makes `lines` the input that readers consume after the current line.
  void setInput(const std::string& lines) {
    fpclose(preparse::fp_now);
    preparse::fp_now = std::tmpfile();
    std::fputs(lines.c_str(), preparse::fp_now);
    std::rewind(preparse::fp_now);
  }
};
