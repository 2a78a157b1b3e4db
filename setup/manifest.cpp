#include "manifest.h"

#include <sstream>

#include "sha256.h"
#include "work_tree.h"

namespace setup {

namespace {
constexpr std::size_t kFingerprintLength = 64;
}

bool Manifest::load(const std::filesystem::path& work_dir, std::string& error) {
  entries_.clear();
  WorkTree tree(work_dir);
  WorkTree::Entry entry;
  if (!tree.inspect(kManifestName, entry, error)) return false;
  if (entry.kind == WorkTree::Kind::kMissing) return true;
  std::string text;
  if (!tree.read(kManifestName, text, error)) return false;
  // "<64 hex digits> <relative path>" per line; other lines are skipped.
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.size() <= kFingerprintLength + 1 || line[kFingerprintLength] != ' ') continue;
    entries_[line.substr(kFingerprintLength + 1)] = line.substr(0, kFingerprintLength);
  }
  return true;
}

bool Manifest::save(const std::filesystem::path& work_dir, std::string& error) const {
  std::string text = "# Files kestrostats-setup put here, with their fingerprints as written.\n";
  for (const auto& [relative, fingerprint] : entries_) text += fingerprint + " " + relative + "\n";
  WorkTree tree(work_dir);
  return tree.write(kManifestName, text, false, error);
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
