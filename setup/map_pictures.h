// Map pictures from the game's own archives.
//
// The game pages show html/images/maps/<map>.jpg. A Quake III server's
// folders hold .pk3 archives (zip files) whose levelshots/<map>.jpg are
// exactly those pictures. They are read from the admin's installation (the
// project ships no game files), in the order the game reads them: baseq3/
// then osp/, each in byte order of the archive names, a later archive's
// picture replacing an earlier one's.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace setup {

// The archives of a game folder in the game's order: baseq3/*.pk3, then
// osp/*.pk3 (the extension in any case). Missing folders give none.
std::vector<std::filesystem::path> gameArchives(const std::filesystem::path& game_dir);

// The map name a picture entry stands for: "levelshots/Q3DM17.JPG" gives
// "q3dm17". Empty for any other entry, and for names that could not be a
// plain file name (a folder part, a leading dot, characters other than
// letters, digits, "_", "-" and ".").
std::string mapOfEntry(const std::string& entry);

// Pictures larger than this are skipped: no map picture is anywhere near.
inline constexpr std::uint64_t kMaxPictureBytes = 16 * 1024 * 1024;

struct MapPictures {
  std::map<std::string, std::string> pictures;  // map name -> JPEG bytes
  std::map<std::string, std::string> sources;   // map name -> archive it came from
  std::vector<std::string> errors;              // archives or entries that could not be read
};

// Reads the map pictures of `archives`, later ones overriding earlier ones.
// An archive that cannot be read is named in `errors` and skipped.
MapPictures readMapPictures(const std::vector<std::filesystem::path>& archives);

}  // namespace setup
