// SHA-256 of a byte stream, for content fingerprints (a game's lines).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class Sha256 {
 public:
  Sha256() { reset(); }

  // Starts a new digest.
  void reset();
  // Adds bytes to the digest.
  void update(std::string_view bytes);
  // The digest of everything added since the last reset, as 64 lower-case
  // hexadecimal digits. The object is reset afterwards.
  std::string finishHex();

 private:
  void compress(const std::uint8_t* block);

  std::array<std::uint32_t, 8> state_;
  std::array<std::uint8_t, 64> pending_;
  std::size_t pending_size_ = 0;
  std::uint64_t total_bytes_ = 0;
};
