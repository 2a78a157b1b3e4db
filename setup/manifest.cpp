#include "manifest.h"

#include <fstream>
#include <sstream>

#include "atomic_file.h"
#include "sha256.h"

namespace setup {

namespace {
constexpr std::size_t kFingerprintLength = 64;
}

bool Manifest::load(const std::filesystem::path& work_dir, std::string& error) {
  entries_.clear();
  std::filesystem::path path = work_dir / kManifestName;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return true;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "could not read " + path.string();
    return false;
  }
  // "<64 hex digits> <relative path>" per line; other lines are skipped.
  std::string line;
  while (std::getline(in, line)) {
    if (line.size() <= kFingerprintLength + 1 || line[kFingerprintLength] != ' ') continue;
    entries_[line.substr(kFingerprintLength + 1)] = line.substr(0, kFingerprintLength);
  }
  if (in.bad()) {
    error = "could not read " + path.string();
    return false;
  }
  return true;
}

bool Manifest::save(const std::filesystem::path& work_dir, std::string& error) const {
  std::string text = "# Files kestrostats-setup put here, with their fingerprints as written.\n";
  for (const auto& [relative, fingerprint] : entries_) text += fingerprint + " " + relative + "\n";
  return site::writeFileAtomically(work_dir / kManifestName, text, error);
}

std::string Manifest::fingerprint(const std::string& relative) const {
  auto it = entries_.find(relative);
  return it == entries_.end() ? std::string() : it->second;
}

void Manifest::record(const std::string& relative, const std::string& fingerprint) { entries_[relative] = fingerprint; }

std::string fingerprintOf(const std::string& content) {
  Sha256 digest;
  digest.update(content);
  return digest.finishHex();
}

}  // namespace setup
