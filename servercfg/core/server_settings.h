// Everything Cvarsmith edits: one record per tab of the main dialog plus the
// MOTD and votable-items sub-records. The member initialisers are the
// defaults that resetToDefaults restores; the executable paths start at the
// platform defaults of install_paths.h.
//
// Flags are bool (written as 0 or 1), choices are 0-based indices into the
// fixed lists of game_items.h, texts are std::string. Values are stored as the
// user or a loaded file gave them; range checks belong to the dialog.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "game_items.h"
#include "install_paths.h"
#include "vote_allow.h"

namespace cvarsmith {

class SettingsStore;

// The tabs of the main dialog, in order.
enum class Page { Gameplay, Server, Files, WeaponsAndArmor, Items, Voting, Other, CommandLine };
inline constexpr std::array<const char*, 8> kPageTabLabels = {
    "Gameplay", "Server", "Files ", "Weapons and Armor", "Items ", "Voting", "Other ",
    "Command Line"};

struct GameplayPage {
  int gameType = 0;  // index into kGameTypeCaptions
  int timeLimit = 0;
  int fragLimit = 20;
  int captureLimit = 8;
  int roundLimitCa = 5;
  int roundTimerCa = 10;
  int forceRespawn = 20;
  int minPlayers = 2;
  int maxPlayersPerTeam = 0;
  int readyPercentage = 51;
  int winByScore1v1 = 0;
  bool allCaptains = true;
  bool autoJoin = false;
  bool challengeMode = false;
  bool fallingDamage = true;
  bool fixedFov = false;
  bool forceBalance = false;
  bool instagib = false;
  bool lateJoin = false;
  bool noCaptains = false;
  bool noFootsteps = false;
  bool promode = false;
  bool teamReady = true;
  bool respawnCa = false;
  bool warmup = true;
  int warmupSeconds = 20;
  bool overtime = true;
  bool suddenDeath = true;
  bool suddenDeathTimed = false;
  int overtimeRounds = 0;
  int overtimeLengthMinutes = 5;
  int timeoutsPerTeam = 3;
  int timeoutLength = 60;

  bool operator==(const GameplayPage&) const = default;
};

struct ServerPage {
  std::string hostname = "OSP Tourney DM";  // at most 255 characters
  int maxClients = 8;
  int privateClients = 0;
  int gameClients = 0;
  bool allowDownload = true;
  bool allowCheats = false;
  bool pureServer = true;
  bool smoothClients = false;
  bool ospGameName = false;
  bool ospAuthentication = false;
  bool enhancedAuthentication = false;
  std::string playerAlways;
  int maxSuicides = 0;
  int gravity = 800;
  int speed = 320;
  int inactivity = 0;
  int knockback = 1000;
  bool floodProtect = false;  // its control is hidden
  std::string serverPassword;
  std::string privatePassword;
  std::string refereePassword = "none";
  std::string rconPassword;
  bool recordDemos = false;
  bool serverName = false;
  bool serverTime = false;
  bool endLevelScreenshots = false;
  bool alternateRecordingStyle = false;
  bool sampling125Hz = true;
  bool customGraphics = true;
  bool noTimer = false;
  bool ospHud = true;
  bool trueLightning = true;

  bool operator==(const ServerPage&) const = default;
};

// Edited in the "Message Of The Day" dialog opened from the Server page.
struct MotdRecord {
  std::string gameMotd;
  std::string motdFile = "none";  // kept equal to the Files page's copy
  std::array<std::string, 8> lines = {
      " ^3*** Welcome to OSP Tourney DM/CA/CTF v(1.01) ***",
      "  ",
      "            http://osp.example.org",
      "            ^2BETA                  ^1RELEASE",
      "", "", "", ""};  // each at most 255 characters

  bool operator==(const MotdRecord&) const = default;
};

struct FilesPage {
  bool logFileEnabled = true;
  std::string logFileName = "games.log";  // at most 255 characters
  bool adminLogEnabled = false;
  std::string adminLogName = "none";  // at most 255 characters
  bool ospLogFormat = true;
  bool extraStatLogging = false;
  bool logToConsole = false;
  bool synchronizeLog = false;
  std::string filterFile = "filters.txt";
  std::string mapFile = "cfg-maps\\ffamaps.txt";
  std::string gfxFile = "none";
  std::string playerFile = "none";
  std::string motdFile = "none";
  std::string modeFile = "none";
  std::string decalDirectory = "decals";
  std::string viewcamDirectory = "cfg-viewcam";

  bool operator==(const FilesPage&) const = default;
};

struct WeaponRow {
  bool startingInventory = false;
  bool disable = false;
  int ammo = 0;
  int damage = 0;      // written only for the Gauntlet, Machine Gun and Rail Gun
  int teamDamage = 0;  // Machine Gun only

  bool operator==(const WeaponRow&) const = default;
};

struct WeaponsPage {
  std::array<WeaponRow, kWeaponCount> rows = {{
      {true, false, 0, 50, 0},    // Gauntlet: its box adds nothing to weapon_have
      {true, false, 100, 7, 5},   // Machine Gun
      {false, false, 0, 0, 0},    // Shotgun
      {false, false, 0, 0, 0},    // Grenade Launcher
      {false, false, 0, 0, 0},    // Rocket Launcher
      {false, false, 0, 0, 0},    // Lightning Gun
      {false, false, 0, 100, 0},  // Rail Gun
      {false, false, 0, 0, 0},    // Plasma Gun
      {false, false, 0, 0, 0},    // BFG
  }};
  int inHand = 0;  // an InHand position
  int weaponRespawnTime = 5;
  int weaponRespawnTdm = 30;
  int armorOnSpawn = 0;
  int healthOnSpawn = 125;
  int instagibReload = 1500;  // the dialog accepts 100..5000
  int warmupArmor = 100;
  bool armorDamageCa = false;
  bool dropOnDeath = true;
  bool dropItemsTdm = false;
  bool friendlyFire = true;
  bool lgCooldownCpm = false;
  bool fastRailCpm = false;
  bool hurtSelf = true;
  bool q2StyleArmor = false;
  bool throughFloors = false;
  bool warmupFireCa = true;

  WeaponRow& row(Weapon w) { return rows[static_cast<std::size_t>(w)]; }
  const WeaponRow& row(Weapon w) const { return rows[static_cast<std::size_t>(w)]; }

  bool operator==(const WeaponsPage&) const = default;
};

// Each replaceable item starts on its own index (it replaces nothing).
constexpr std::array<int, kReplaceableCount> identityReplacements() {
  std::array<int, kReplaceableCount> choices{};
  for (std::size_t i = 0; i < choices.size(); ++i) choices[i] = static_cast<int>(i);
  return choices;
}

struct ItemsPage {
  std::array<bool, kItemCount> disable{};  // indexed by Item
  double quadFactor = 3.0;
  bool enableHook = false;
  int hookDelayTime = 750;
  int hookSpeed = 1200;
  int hookHoldTime = 3;
  int hookPullSpeed = 950;
  bool hookToSky = false;
  int powerupRespawnTime = 60;
  std::array<int, kReplaceableCount> replacements = identityReplacements();  // by Replaceable

  bool& disabled(Item item) { return disable[static_cast<std::size_t>(item)]; }
  bool disabled(Item item) const { return disable[static_cast<std::size_t>(item)]; }

  bool operator==(const ItemsPage&) const = default;
};

struct VotingPage {
  bool enableVoting = true;
  int voteLimit = 5;     // the dialog accepts -1..999
  int votePercent = 50;  // the dialog accepts 1..100
  std::array<bool, 6> availableModes = {true, true, true, true, true, true};
  std::string modeFile;  // reset to ""; takes the Files page's copy at start-up
  int modeStart = -1;    // the dialog accepts -1..99
  VoteAllowFlags voteAllow = allVoteAllowFlagsSet();

  bool operator==(const VotingPage&) const = default;
};

// Edited in the "Votable Items and Power-ups" dialog opened from the Voting page.
struct VotableItemsRecord {
  int itemsMask = 1023;    // bits in kVotableItemCaptions order
  int powerupsMask = 255;  // bits in kVotablePowerupCaptions order

  bool operator==(const VotableItemsRecord&) const = default;
};

struct OtherPage {
  std::string mapFile = "cfg-maps\\ffamaps.txt";  // kept equal to the Files page's copy
  bool autoLoad = true;
  bool enableQueue = true;
  bool rotateMaps = false;
  bool randomMap = true;
  bool mapOnce = true;
  bool noCount = false;
  bool mapHalt = false;
  bool startingMapEnabled = true;
  std::string startingMap = "q3dm1";
  bool pmoveFixed = false;
  int pmoveMsec = 8;
  int packetsMin = 30;
  int packetsMax = 100;
  int timeNudgeMin = 0;
  int timeNudgeMax = 0;
  int pingMin = 0;
  int pingMax = 0;
  int rateMax = 0;
  bool enableBots = false;
  int botMinPlayers = 0;
  int botCheckTime = 10;
  std::string botAutoload;
  int spectatorInactivity = 0;
  bool realPing = false;
  bool muteSpectators = false;

  bool operator==(const OtherPage&) const = default;
};

struct CommandLinePage {
  std::string executablePath = kDefaultExecutablePath;
  std::string installationDirectory = kDefaultInstallationDirectory;
  std::string executableName = kDefaultExecutableName;
  std::string gameDirectory = "osp";  // "Active Game Directory:" (fs_game)
  int hunkMegs = 56;
  std::string configFileName = "server.cfg";
  bool netIpEnabled = false;
  std::array<std::uint8_t, 4> netIp{};  // empty box: 0.0.0.0
  bool netPortEnabled = false;
  int netPort = 27960;
  bool resetCvars = false;
  int dedicated = 0;  // a Dedicated value

  bool operator==(const CommandLinePage&) const = default;
};

// Sets the executable path and derives the installation directory and the
// executable name from it, as the Command Line page's "Browse" does.
void setExecutablePath(CommandLinePage& page, const std::string& executablePath);

// Derives name and directory from the page's executable path and writes the
// three values (install_paths.h names them) into the existing store key; does
// nothing when the key does not exist (only the first-use check creates it).
void saveInstallPaths(CommandLinePage& page, SettingsStore& store);

// Reads the three stored values into the page; a value that cannot be read
// leaves its field unchanged.
void loadInstallPaths(CommandLinePage& page, SettingsStore& store);

// weapon_have's bit for the Gauntlet, which has no box of its own.
inline constexpr int kWeaponHaveGauntlet = 256;

// A value a loaded file gave to a variable that the writer codes from
// several check boxes which cannot hold every value (match_overtime 7,
// weapon_start 8): the file's value, and what the boxes coded right after
// loading it.
struct LoadedCode {
  int fileValue = 0;
  int codedAtLoad = 0;

  bool operator==(const LoadedCode&) const = default;
};

// What the settings keep of a loaded file beyond the pages' controls, so
// that saving writes back every setting the file held. The defaults, and so
// every preset, forget it.
struct KeptFromFile {
  // The variables a loaded file (or --set) gave a value, as the writer
  // spells them. A line the writer leaves out under a condition (the hook
  // values while the hook is off, a replacement that keeps its item) is
  // written anyway when the file set it.
  std::set<std::string, std::less<>> setVariables;

  // The bits of each mask that no check box stands for, written back with
  // the boxes' bits. weapon_have keeps the Gauntlet's unless a file clears it.
  int dmflagsBits = 0;
  int customClientBits = 0;
  int serverRecordBits = 0;
  int itemDisableBits = 0;
  int weaponHaveBits = kWeaponHaveGauntlet;
  int powerupDisableBits = 0;
  int availableModeBits = 0;

  // Coded values, each written back as the file gave it for as long as its
  // boxes still code what they coded after loading.
  std::optional<LoadedCode> matchOvertime;
  std::optional<LoadedCode> ospAuth;
  std::optional<LoadedCode> logStat;
  std::optional<LoadedCode> weaponStart;

  bool operator==(const KeptFromFile&) const = default;
};

struct ServerSettings {
  GameplayPage gameplay;
  ServerPage server;
  MotdRecord motd;
  FilesPage files;
  WeaponsPage weapons;
  ItemsPage items;
  VotingPage voting;
  VotableItemsRecord votableItems;
  OtherPage other;
  CommandLinePage commandLine;
  KeptFromFile keptFromFile;

  bool operator==(const ServerSettings&) const = default;
};

// Restores every default of every page and sub-record, then re-reads the
// stored installation paths ("Q3EXEPATH", "Q3PATH", "Q3EXE"); a value the
// store cannot supply leaves the default in place.
void resetToDefaults(ServerSettings& settings, SettingsStore& store);

// The settings as the program starts: the defaults, the stored paths, and the
// Voting page's "Mode File:" and the Other page's "Map File:" taken from the
// Files page.
ServerSettings startUpSettings(SettingsStore& store);

// Three file names exist twice: the map file (Files and Other pages), the
// mode file (Files and Voting pages) and the MOTD file (Files page and MOTD
// record). After a page has been edited its copies are carried over: from the
// Files page to the three others; from the Server page (its MOTD record), the
// Voting page or the Other page to the Files page. Other pages have no copies.
void synchroniseDuplicatedFileNames(ServerSettings& settings, Page editedPage);

// What follows the commit of a page that is left (for another tab, or for an
// operation that uses every page): its duplicated file names are carried
// over, and leaving the Command Line page saves the installation paths.
void carryOverLeftPage(ServerSettings& settings, Page leftPage, SettingsStore& store);

}  // namespace cvarsmith
