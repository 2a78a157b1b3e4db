// ks-loggen: writes large, realistic game logs for benchmarks and tests.
//
//   ks-loggen console|server|unsteady-server SIZE_MB SEED [OUTPUT]
//
// "console" writes a client's console log (what kestrostats-c reads),
// "server" a dedicated server's log (what ks-preparse reads).
// "unsteady-server" is the log of a server that now and then restarts in the
// middle of a game or a warm-up (the section is left without its
// "ShutdownGame:"), aborts games before their end (no "Exit:"), warms up
// without OSP too, and sees clients connect again into the slot they still
// hold. Whole games are
// written until the output reaches SIZE_MB megabytes (2^20 bytes; a decimal
// fraction is allowed), so the file ends a little past the size, with a
// complete game. The same kind, size and seed always give the same bytes: the
// only source of chance is a seeded splitmix64 generator, and nothing depends
// on the clock, the locale or the platform's rand().
#include <array>
#include <cerrno>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Chance

class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, n); n > 0.
  std::uint32_t below(std::uint32_t n) { return static_cast<std::uint32_t>(((next() >> 32) * n) >> 32); }
  // Uniform in [lo, hi].
  int between(int lo, int hi) { return lo + static_cast<int>(below(static_cast<std::uint32_t>(hi - lo + 1))); }
  bool percent(std::uint32_t p) { return below(100) < p; }
  bool permille(std::uint32_t p) { return below(1000) < p; }
  template <typename T, std::size_t N>
  const T& pick(const T (&items)[N]) {
    return items[below(N)];
  }
  template <typename T>
  const T& pick(const std::vector<T>& items) {
    return items[below(static_cast<std::uint32_t>(items.size()))];
  }

 private:
  std::uint64_t state_;
};

// Picks an index from a table of weights.
template <std::size_t N>
std::size_t weighted(Rng& rng, const unsigned (&weights)[N]) {
  unsigned total = 0;
  for (unsigned w : weights) total += w;
  unsigned r = rng.below(total);
  for (std::size_t i = 0; i < N; ++i) {
    if (r < weights[i]) return i;
    r -= weights[i];
  }
  return N - 1;
}

// ---------------------------------------------------------------------------
// Output: one large buffer, filled by hand and written in big blocks.

class Writer {
 public:
  explicit Writer(std::FILE* file) : file_(file), buffer_(1u << 20) {}
  ~Writer() { flush(); }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  Writer& put(std::string_view text) {
    if (used_ + text.size() > buffer_.size()) flush();
    if (text.size() > buffer_.size()) {
      write(text.data(), text.size());
      return *this;
    }
    std::memcpy(buffer_.data() + used_, text.data(), text.size());
    used_ += text.size();
    return *this;
  }
  Writer& ch(char c) {
    if (used_ == buffer_.size()) flush();
    buffer_[used_++] = c;
    return *this;
  }
  Writer& num(std::uint64_t value) {
    char digits[20];
    int n = 0;
    do {
      digits[n++] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0);
    while (n > 0) ch(digits[--n]);
    return *this;
  }
  // Right-aligned in `width` columns.
  Writer& num(std::uint64_t value, int width) {
    int digits = 1;
    for (std::uint64_t v = value; v >= 10; v /= 10) ++digits;
    for (int i = digits; i < width; ++i) ch(' ');
    return num(value);
  }
  Writer& nl() { return ch('\n'); }

  std::uint64_t written() const { return flushed_ + used_; }
  bool failed() const { return failed_; }
  void flush() {
    write(buffer_.data(), used_);
    used_ = 0;
  }

 private:
  void write(const char* data, std::size_t size) {
    if (size == 0) return;
    if (std::fwrite(data, 1, size, file_) != size) failed_ = true;
    flushed_ += size;
  }

  std::FILE* file_;
  std::vector<char> buffer_;
  std::size_t used_ = 0;
  std::uint64_t flushed_ = 0;
  bool failed_ = false;
};

// ---------------------------------------------------------------------------
// Word lists. Player names and chat are built from words that hold none of
// the analyser's keywords, so that a name never turns a line into another kind.

constexpr const char* kSyllables[] = {
    "ra", "ven", "mo", "tar", "kai", "zor", "vex", "lu", "dra", "ko", "fen", "sil", "gri", "bo",
    "lek", "ste", "fan", "dar", "ky", "xa", "ro", "bar", "tos", "zer", "mi", "ri", "ul", "the",
    "gor", "pha", "nyx", "qua", "vi", "ma", "sh", "ado", "wol", "fi", "hex", "ju", "no", "py"};

constexpr const char* kWords[] = {
    "killer", "clown", "Turbo", "Dono", "da", "Bola", "Mad", "Dog", "Sniper", "Ghost", "Night",
    "Rail", "Master", "Big", "Boss", "Silent", "Storm", "Lucky", "Shot", "Old", "School",
    "Frag", "Machine", "Iron", "Wolf", "Red", "Baron", "Dark", "Side", "Happy", "Camper",
    "Little", "Bunny", "Hopper", "Quad", "Hunter", "Blue", "Moon", "Evil", "Twin"};

constexpr const char* kColours[] = {"^1", "^2", "^3", "^4", "^5", "^6", "^7", "^0"};

constexpr const char* kClanTags[] = {"|X|", "[NX]", "=KS=", "{DK}", "-=TR=-", "<3>", "[oSp]",
                                     "*FX*", "(LoL)", "[Q3]", "=PK=", "|RaiL|"};

constexpr const char* kModels[] = {
    "sarge", "sarge/krusade", "visor/blue", "xaero/default", "klesk/default", "bones/bones",
    "biker/stroggo", "crash/default", "doom", "major/daemia", "uriel/zael", "brandon/default",
    "orbb", "hunter/harpy", "ranger/wrack", "slash/yuriko", "tankjr", "anarki/cyborg", "keel",
    "lucy/angel", "mynx", "phobos", "razor/id", "sorlag", "grunt/stripe", "bitterman"};

struct MapInfo {
  const char* name;
  const char* title;  // shown after the name on the console's map line; may be empty
};
constexpr MapInfo kDuelMaps[] = {
    {"q3dm17", "The Longest Yard"}, {"pro-q3dm6", "Campgrounds"}, {"q3dm6", "The Camping Grounds"},
    {"pro-q3tourney4", "Vertical Vengeance"}, {"q3tourney2", "The Proving Grounds"},
    {"ospdm1", ""}, {"nodm9", ""}, {"bgmp7", ""}, {"ztn3tourney1", "Blood Run"}, {"q3dm13", "Lost World"}};
constexpr MapInfo kCtfMaps[] = {{"q3wctf1", "Bloodlust"}, {"q3wctf3", "Sorrow"}, {"q3ctf4", "Space CTF"},
                                {"q3tourney6_ctf", "Across Space"}, {"q3wcp9", "Camping Grounds CTF"}};

constexpr const char* kChat[] = {
    "gg", "gl hf", "nice shot", "lol", "rofl", "wtf was that", "lucky rail", "lag!!!", "brb",
    "good game all", "one more?", "nice one", "camper...", "thx", "np", "who has quad",
    "that rail was lucky, I saw it coming from a mile away", "go go go, heron stay home",
    "keep it clean boys", "anyone up for a duel after this", "my mouse died", "ping 250 here",
    "I'm THE DESTROYER!!", "A fluke. Had to be. Won't happen again.", "rg spawn is mine",
    "stop spamming the nades", "red armor up in 10", "mega soon", "lg on the bridge",
    "Match has begun: good luck", "next map please", "vote map q3dm6?", "ok ready",
    "lag, brb if i get disconnected", "does anyone know the rcon password", "cya"};

// Server-console chatter that a client log carries and the analyser rejects.
constexpr const char* kNoise[] = {
    "Hunk_Clear: reset the hunk ok", "----- R_Init -----", "GL_VENDOR: NVIDIA Corporation",
    "GL_RENDERER: GeForce GTX 1060/PCIe/SSE2", "Sound memory manager started",
    "Loading vm file vm/cgame.qvm...", "VM file cgame compiled to 2153341 bytes of code",
    "CL_InitCGame: 0.82 seconds", "execing autoexec.cfg", "Com_TouchMemory: 0 msec",
    "WARNING: Could not find shader textures/base_wall/metalfloor_wall_15ow", "Need paks: none",
    "^3Server: timelimit changed to 20", "RE_Shutdown( 1 )", "----- Client Initialization -----",
    "Initializing Shaders", "Sys_Milliseconds 1234567", "ping: 45  fps: 125", "snd_restart",
    "----- finished R_Init -----", "cl_maxpackets will be 30"};

// ---------------------------------------------------------------------------
// Players

struct Person {
  std::string raw;    // as written in the log, colour codes included
  std::string plain;  // colour codes removed
  std::string model;
  int clan = -1;
};

std::string stripColours(const std::string& raw) {
  std::string out;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '^' && i + 1 < raw.size() && raw[i + 1] != '^') {
      ++i;
      continue;
    }
    out += raw[i];
  }
  return out;
}

std::string capitalised(std::string word) {
  if (!word.empty() && word[0] >= 'a' && word[0] <= 'z') word[0] = static_cast<char>(word[0] - 32);
  return word;
}

std::string syllableName(Rng& rng) {
  std::string name;
  const int n = rng.between(2, 3);
  for (int i = 0; i < n; ++i) name += rng.pick(kSyllables);
  return capitalised(name);
}

// A season's worth of regulars: plain names, colour-coded names, clan members,
// names with blanks and names of 30 characters or more.
std::vector<Person> makeRoster(Rng& rng, std::size_t count) {
  std::vector<Person> roster;
  while (roster.size() < count) {
    Person p;
    const unsigned kinds[] = {40, 22, 20, 10, 8};  // plain, coloured, clan, blanks, long
    const std::size_t kind = weighted(rng, kinds);
    std::string base = syllableName(rng);
    if (kind == 1) {
      // Colour codes before the name and sometimes inside it.
      std::string name = rng.pick(kColours);
      const std::size_t cut = 1 + rng.below(static_cast<std::uint32_t>(base.size() - 1));
      name += base.substr(0, cut);
      if (rng.percent(50)) name += rng.pick(kColours);
      name += base.substr(cut);
      base = name;
    } else if (kind == 2) {
      p.clan = static_cast<int>(rng.below(std::size(kClanTags)));
      base = std::string(rng.percent(40) ? "^1" : "") + kClanTags[p.clan] + (rng.percent(30) ? "^7" : "") + base;
    } else if (kind == 3) {
      base = std::string(rng.pick(kWords)) + " " + rng.pick(kWords);
      if (rng.percent(30)) base += std::string(" ") + rng.pick(kWords);
    } else if (kind == 4) {
      std::string name = rng.percent(50) ? "xX_" : "";
      while (name.size() < 30) {
        if (rng.percent(40)) name += rng.pick(kColours);
        name += rng.percent(50) ? std::string(rng.pick(kWords)) : syllableName(rng);
        if (name.size() < 30) name += rng.percent(50) ? "_" : "";
      }
      if (rng.percent(30)) name += rng.percent(50) ? "_Xx" : "^7";
      base = name;
    }
    p.raw = base;
    p.plain = stripColours(base);
    p.model = rng.pick(kModels);
    bool duplicate = false;
    for (const Person& other : roster) duplicate = duplicate || other.raw == p.raw || other.plain == p.plain;
    if (!duplicate) roster.push_back(std::move(p));
  }
  return roster;
}

// ---------------------------------------------------------------------------
// Games

enum class Mode { kFfa, kDuel, kTdm, kCtf, kCa };

struct Slot {
  const Person* person;
  std::string raw;  // current name (renames change it)
  int team = 0;     // 0 none, 1 red, 2 blue
  int client = 0;   // the server's client number
  bool present = true;
  int kills = 0;
  int deaths = 0;
};

// Weapons as the kill generator picks them; each maps to a console obituary
// and a server cause.
enum Weapon {
  kGauntlet, kMachineGun, kShotgun, kGrenade, kGrenadeSplash, kRocket, kRocketSplash, kPlasma,
  kPlasmaSplash, kLightning, kRailgun, kBfg, kBfgSplash, kTelefrag, kGrapple, kNailgun,
  kWeaponCount
};
constexpr unsigned kWeaponWeights[kWeaponCount] = {30, 140, 110, 40, 40, 90, 170, 50, 20, 130, 140, 10, 10, 8, 3, 3};

struct Cause {
  const char* name;
  int number;
};
constexpr Cause kCauses[kWeaponCount] = {
    {"MOD_GAUNTLET", 2},        {"MOD_MACHINEGUN", 3}, {"MOD_SHOTGUN", 1},      {"MOD_GRENADE", 4},
    {"MOD_GRENADE_SPLASH", 5},  {"MOD_ROCKET", 6},     {"MOD_ROCKET_SPLASH", 7}, {"MOD_PLASMA", 8},
    {"MOD_PLASMA_SPLASH", 9},   {"MOD_LIGHTNING", 11}, {"MOD_RAILGUN", 10},     {"MOD_BFG", 12},
    {"MOD_BFG_SPLASH", 13},     {"MOD_TELEFRAG", 18},  {"MOD_GRAPPLE", 28},     {"MOD_NAILGUN", 23}};

// The weapons of the statistics lines, in the order both log forms list
// them, and how often (in percent) a player used each.
constexpr const char* kStatWeapons[] = {"MachineGun", "Shotgun", "G.Launcher", "R.Launcher",
                                        "LightningGun", "Railgun", "Plasmagun", "BFG"};
constexpr unsigned kStatUse[] = {95, 70, 30, 85, 60, 55, 35, 3};

// Deaths by the world (killer 1022) and rarer causes of either log form.
constexpr Cause kWorldCauses[] = {{"MOD_TRIGGER_HURT", 22}, {"MOD_FALLING", 19}, {"MOD_LAVA", 16},
                                  {"MOD_SLIME", 15},        {"MOD_WATER", 14},   {"MOD_CRUSH", 17},
                                  {"MOD_TARGET_LASER", 21}, {"MOD_UNKNOWN", 0}};
constexpr unsigned kWorldWeights[] = {40, 25, 12, 6, 6, 3, 1, 1};

struct GameSetup {
  Mode mode = Mode::kFfa;
  MapInfo map{};
  std::vector<Slot> slots;
  int body_lines = 0;
};

// Game modes are dealt from a shuffled deck of 20 (8 free-for-all, 2 duels,
// 4 team deathmatches, 4 capture-the-flag and 2 clan-arena games), so that
// every stretch of 20 games holds every mode in these proportions.
class ModeDeck {
 public:
  Mode deal(Rng& rng) {
    if (next_ == 0) {
      for (std::size_t i = deck_.size() - 1; i > 0; --i) std::swap(deck_[i], deck_[rng.below(static_cast<std::uint32_t>(i + 1))]);
    }
    const Mode mode = deck_[next_];
    next_ = (next_ + 1) % deck_.size();
    return mode;
  }

 private:
  std::array<Mode, 20> deck_{Mode::kFfa, Mode::kFfa, Mode::kFfa, Mode::kFfa, Mode::kFfa, Mode::kFfa, Mode::kFfa,
                             Mode::kFfa, Mode::kDuel, Mode::kDuel, Mode::kTdm, Mode::kTdm, Mode::kTdm, Mode::kTdm,
                             Mode::kCtf, Mode::kCtf, Mode::kCtf, Mode::kCtf, Mode::kCa, Mode::kCa};
  std::size_t next_ = 0;
};

GameSetup setupGame(Rng& rng, ModeDeck& deck, const std::vector<Person>& roster) {
  GameSetup g;
  g.mode = deck.deal(rng);
  g.map = g.mode == Mode::kCtf ? rng.pick(kCtfMaps) : rng.pick(kDuelMaps);
  int players = 2;
  switch (g.mode) {
    case Mode::kDuel: players = 2; break;
    case Mode::kFfa: players = rng.percent(70) ? rng.between(3, 8) : rng.between(2, 16); break;
    default: players = 2 * (rng.percent(70) ? rng.between(2, 4) : rng.between(1, 8)); break;
  }
  // Clan matches: in some team games each side is one clan.
  const bool clan_match = g.mode != Mode::kFfa && g.mode != Mode::kDuel && rng.percent(35);
  const int clan_red = static_cast<int>(rng.below(std::size(kClanTags)));
  const int clan_blue = (clan_red + 1 + static_cast<int>(rng.below(std::size(kClanTags) - 1))) %
                        static_cast<int>(std::size(kClanTags));
  std::vector<bool> taken(roster.size(), false);
  for (int i = 0; i < players; ++i) {
    const int team = (g.mode == Mode::kFfa || g.mode == Mode::kDuel) ? 0 : 1 + i % 2;
    std::size_t at = rng.below(static_cast<std::uint32_t>(roster.size()));
    for (int tries = 0; tries < 4 * static_cast<int>(roster.size()); ++tries) {
      const bool clan_fits = !clan_match || roster[at].clan == (team == 1 ? clan_red : clan_blue) || tries > 2000;
      if (!taken[at] && clan_fits) break;
      at = rng.below(static_cast<std::uint32_t>(roster.size()));
    }
    if (taken[at]) continue;  // never reached with a roster this large
    taken[at] = true;
    Slot s;
    s.person = &roster[at];
    s.raw = roster[at].raw;
    s.team = team;
    s.client = i;
    g.slots.push_back(std::move(s));
  }
  // A few hundred to a few thousand lines, most near the lower end.
  const unsigned sizes[] = {30, 40, 20, 10};
  switch (weighted(rng, sizes)) {
    case 0: g.body_lines = rng.between(150, 400); break;
    case 1: g.body_lines = rng.between(400, 1200); break;
    case 2: g.body_lines = rng.between(1200, 2500); break;
    default: g.body_lines = rng.between(2500, 5000); break;
  }
  return g;
}

const char* teamWord(int team) { return team == 1 ? "RED" : team == 2 ? "BLUE" : "FFA"; }
int otherTeam(int team) { return team == 1 ? 2 : 1; }

// A present player, or -1 when there is none.
int anyPresent(Rng& rng, const std::vector<Slot>& slots) {
  for (int tries = 0; tries < 64; ++tries) {
    const int i = static_cast<int>(rng.below(static_cast<std::uint32_t>(slots.size())));
    if (slots[i].present) return i;
  }
  for (std::size_t i = 0; i < slots.size(); ++i)
    if (slots[i].present) return static_cast<int>(i);
  return -1;
}

// A killer for a victim: anyone else, mostly of the other team in team games,
// now and then a team mate.
int killerFor(Rng& rng, const GameSetup& g, int victim) {
  const bool teams = g.mode != Mode::kFfa && g.mode != Mode::kDuel;
  for (int tries = 0; tries < 64; ++tries) {
    const int k = anyPresent(rng, g.slots);
    if (k < 0) return -1;
    if (k == victim) continue;
    if (teams && g.slots[k].team == g.slots[victim].team && !rng.percent(3)) continue;
    return k;
  }
  return -1;
}

// ---------------------------------------------------------------------------
// Console form

class ConsoleLog {
 public:
  ConsoleLog(Writer& out, Rng& rng, const std::vector<Person>& roster) : out_(out), rng_(rng), roster_(roster) {}

  void game() {
    GameSetup g = setupGame(rng_, deck_, roster_);
    session(g);
    if (rng_.percent(18)) warmup(g);
    entries(g);
    body(g);
    end(g);
  }

 private:
  // A name as one console line shows it: long names are now and then cut to
  // 29 characters.
  std::string_view shown(const Slot& s) {
    if (s.raw.size() >= 30 && rng_.percent(15)) return std::string_view(s.raw).substr(0, 29);
    return s.raw;
  }
  void name(const Slot& s) { out_.put(shown(s)).put("^7"); }

  // The client's own reconnect: connect command, address, renderer restart.
  void reconnect() {
    out_.put(rng_.percent(50) ? "]/reconnect" : "]/connect q3.kestro.test:27960").nl();
    out_.put("q3.kestro.test resolved to 203.0.113.").num(rng_.between(1, 254)).put(":27960").nl();
    out_.put("RE_Shutdown( 0 )").nl();
  }

  void session(const GameSetup& g) {
    const unsigned kinds[] = {55, 25, 12, 8};  // next map, reconnect, fresh start, plain client
    std::size_t kind = weighted(rng_, kinds);
    if (kind == 0 && reinitialise_) kind = 2;
    reinitialise_ = false;
    osp_ = kind != 3;
    if (kind == 1) reconnect();
    if (kind != 0) {
      out_.put("----- Client Initialization -----").nl();
      for (int i = rng_.between(1, 5); i > 0; --i) out_.put(rng_.pick(kNoise)).nl();
      if (osp_) out_.put("Loaded OSP Client Version: 1.03a").nl();
    }
    out_.put("Current map: ").put(g.map.name);
    if (g.map.title[0] != '\0' && rng_.percent(70)) out_.put(" (").put(g.map.title).put(")");
    out_.nl();
    if (g.mode != Mode::kFfa && g.mode != Mode::kDuel && rng_.percent(20))
      out_.put("Team joincode is: ").num(rng_.between(1000, 9999)).nl();
  }

  void entered(const GameSetup& g, const Slot& s, bool with_team) {
    out_.put(s.raw).put("^7 entered the game");
    if (with_team && s.team != 0) out_.put(s.team == 1 ? " (^1RED^7)" : " (^4BLUE^7)");
    out_.nl();
    if (g.mode != Mode::kFfa && g.mode != Mode::kDuel && !with_team)
      out_.put(s.raw).put("^7 is on team ").put(teamWord(s.team)).nl();
  }

  void entries(const GameSetup& g) {
    const bool with_team = rng_.percent(60);
    for (const Slot& s : g.slots) entered(g, s, with_team);
    for (const Slot& s : g.slots)
      if (rng_.percent(60)) out_.put(s.raw).put("^7 is using model ").put(s.person->model).nl();
  }

  // A warm-up: entries and some play, then the match start discards it; team
  // games announce the teams again.
  void warmup(GameSetup& g) {
    entries(g);
    for (int i = rng_.between(5, 60); i > 0; --i) kill(g);
    if (osp_) out_.put("^3All players ready!^7 Match starting...").nl();
    out_.put("Match has begun!").nl();
    if (g.mode != Mode::kFfa && g.mode != Mode::kDuel)
      for (const Slot& s : g.slots) out_.put(s.raw).put("^7 is on team ").put(teamWord(s.team)).nl();
    for (Slot& s : g.slots) s.kills = s.deaths = 0;
  }

  void kill(GameSetup& g) {
    const int v = anyPresent(rng_, g.slots);
    if (v < 0) return;
    Slot& victim = g.slots[v];
    ++victim.deaths;
    if (rng_.percent(8)) {
      suicide(victim);
      return;
    }
    const int k = killerFor(rng_, g, v);
    if (k < 0) return;
    Slot& killer = g.slots[k];
    ++killer.kills;
    name(victim);
    switch (static_cast<Weapon>(weighted(rng_, kWeaponWeights))) {
      case kGauntlet: out_.put(" was pummeled by "); name(killer); break;
      case kMachineGun: out_.put(" was machinegunned by "); name(killer); break;
      case kShotgun: out_.put(" was gunned down by "); name(killer); break;
      case kGrenade: out_.put(" ate "); name(killer); out_.put("'s grenade"); break;
      case kGrenadeSplash: out_.put(" was shredded by "); name(killer); out_.put("'s shrapnel"); break;
      case kRocket: out_.put(" ate "); name(killer); out_.put("'s rocket"); break;
      case kRocketSplash: out_.put(" almost dodged "); name(killer); out_.put("'s rocket"); break;
      case kPlasma:
      case kPlasmaSplash: out_.put(" was melted by "); name(killer); out_.put("'s plasmagun"); break;
      case kLightning:
        if (rng_.percent(3)) {
          out_.put(" was swimming too close to "); name(killer);  // a discharge in water
        } else {
          out_.put(" was electrocuted by "); name(killer);
        }
        break;
      case kRailgun: out_.put(" was railed by "); name(killer); break;
      case kBfg:
      case kBfgSplash: out_.put(" was blasted by "); name(killer); out_.put("'s BFG"); break;
      case kTelefrag: out_.put(" tried to invade "); name(killer); out_.put("'s personal space"); break;
      case kGrapple: out_.put(" was disemboweled by "); name(killer); out_.put("'s grappling hook"); break;
      default: out_.put(" was impaled by "); name(killer); out_.put("'s shower of nails"); break;
    }
    out_.nl();
  }

  void suicide(const Slot& s) {
    static constexpr const char* kSelf[] = {
        "cratered.", "was in the wrong place.", "does a back flip into the lava.", "was squished.",
        "sank like a rock.", "melted.", "blew himself up.", "blew herself up.", "blew itself up.",
        "tripped on his own grenade.", "tripped on her own grenade.", "tripped on its own grenade.",
        "melted himself.", "melted herself.", "melted itself.", "killed himself.", "killed herself.",
        "killed itself.", "should have used a smaller gun.", "pressed the wrong button."};
    static constexpr unsigned kWeights[] = {20, 18, 6, 2, 2, 2, 20, 5, 2, 6, 2, 1, 3, 1, 1, 5, 1, 1, 1, 1};
    name(s);
    out_.ch(' ').put(kSelf[weighted(rng_, kWeights)]).nl();
  }

  void chat(const GameSetup& g) {
    const int i = anyPresent(rng_, g.slots);
    if (i < 0) return;
    out_.put(g.slots[i].raw).put("^7: ").put(rng_.pick(kChat)).nl();
  }

  void flagEvent(GameSetup& g) {
    const int p = anyPresent(rng_, g.slots);
    if (p < 0) return;
    const Slot& s = g.slots[p];
    const char* own = teamWord(s.team);
    const char* enemy = teamWord(otherTeam(s.team));
    const unsigned kinds[] = {30, 10, 14, 10, 3, 3, 4, 4, 4, 4, 5, 5, 4, 3};
    switch (weighted(rng_, kinds)) {
      case 0: out_.put(s.raw).put("^7 got the ").put(enemy).put(" flag!").nl(); break;
      case 1: out_.put(s.raw).put("^7 captured the ").put(enemy).put(" flag!").nl(); break;
      case 2: out_.put(s.raw).put("^7 returned the ").put(own).put(" flag!").nl(); break;
      case 3: out_.put(s.raw).put("^7 fragged ").put(enemy).put("'s flag carrier!").nl(); break;
      case 4: out_.put(s.raw).put("^7 gets an assist for returning the ").put(own).put(" flag!").nl(); break;
      case 5: out_.put(s.raw).put("^7 gets an assist for fragging the ").put(enemy).put(" flag carrier!").nl(); break;
      case 6: out_.put(s.raw).put("^7 defends ").put(own).put("'s flag carrier against an agressive enemy").nl(); break;
      case 7: out_.put(s.raw).put("^7 defends the ").put(own).put(" flag carrier against an agressive enemy!").nl(); break;
      case 8: out_.put(s.raw).put("^7 defends the ").put(own).put("'s flag carrier.").nl(); break;
      case 9: out_.put(s.raw).put("^7 defends the ").put(own).put(" flag carrier!").nl(); break;
      case 10: out_.put(s.raw).put("^7 defends the ").put(own).put(" base").nl(); break;
      case 11: out_.put(s.raw).put("^7 defends the ").put(own).put(" flag").nl(); break;
      case 12: out_.put(s.raw).put("^7 ").put(own).put("'s flag carrier defends against an agressive enemy").nl(); break;
      default:
        // A long name in its cut form picks up the flag.
        name(s);
        out_.put(" got the ").put(enemy).put(" flag!").nl();
        break;
    }
  }

  void caRound(GameSetup& g) {
    const unsigned kinds[] = {45, 45, 10};
    const int a = rng_.between(1, 9);
    const int b = rng_.between(0, a - 1);
    switch (weighted(rng_, kinds)) {
      case 0: out_.put("^1RED^7 leads: ").num(a).put(" to ").num(b).nl(); break;
      case 1: out_.put("^4BLUE^7 leads: ").num(a).put(" to ").num(b).nl(); break;
      default: out_.put("Match tied: ").num(a).put(" to ").num(a).nl(); break;
    }
    out_.put("Round starts!").nl();
  }

  void rename(GameSetup& g) {
    const int i = anyPresent(rng_, g.slots);
    if (i < 0) return;
    Slot& s = g.slots[i];
    std::string fresh = s.person->raw + rng_.pick(kColours) + syllableName(rng_);
    out_.put(s.raw).put("^7 renamed to ").put(fresh).put("^7").nl();
    s.raw = std::move(fresh);
  }

  // A player leaves (disconnect or kick) and sometimes comes back.
  void leave(GameSetup& g) {
    int present = 0;
    for (const Slot& s : g.slots) present += s.present;
    if (present <= 2) return;
    const int i = anyPresent(rng_, g.slots);
    Slot& s = g.slots[i];
    out_.put(s.raw).put(rng_.percent(85) ? "^7 disconnected" : "^7 was kicked").nl();
    s.present = false;
    if (rng_.percent(40)) {
      s.present = true;  // the same player comes back
      entered(g, s, rng_.percent(50));
    }
  }

  void body(GameSetup& g) {
    const unsigned kinds[] = {
        80,                                // kill
        3,                                 // chat
        g.mode == Mode::kCtf ? 14u : 0u,   // flag message
        g.mode == Mode::kCa ? 4u : 0u,     // clan-arena round
        1,                                 // console noise
        1,                                 // model line
    };
    for (int line = 0; line < g.body_lines; ++line) {
      if (rng_.permille(2)) rename(g);
      if (rng_.permille(2)) leave(g);
      switch (weighted(rng_, kinds)) {
        case 0: kill(g); break;
        case 1: chat(g); break;
        case 2: flagEvent(g); break;
        case 3: caRound(g); break;
        case 4: out_.put(rng_.pick(kNoise)).nl(); break;
        default: {
          const int i = anyPresent(rng_, g.slots);
          if (i >= 0) out_.put(g.slots[i].raw).put("^7 is using model ").put(rng_.pick(kModels)).nl();
        }
      }
    }
  }

  // One "Accuracy info for:" block of the OSP client.
  void statsBlock(const Slot& s) {
    out_.put("Accuracy info for: ").put(stripColours(s.raw)).nl().nl();
    out_.put("Weapon          Accrcy      Hits/Atts").nl();
    out_.put("-----------------------------------------").nl();
    if (rng_.percent(30)) out_.put("Gauntlet     :   0.0").num(rng_.between(0, 12), 10).put("/0").nl();
    for (std::size_t w = 0; w < std::size(kStatWeapons); ++w) {
      if (!rng_.percent(kStatUse[w])) continue;
      const int attempts = rng_.between(1, w == 0 || w == 4 ? 900 : 60);
      const int hits = static_cast<int>(rng_.below(static_cast<std::uint32_t>(attempts + 1)));
      const int tenths = hits * 1000 / attempts;
      out_.put(kStatWeapons[w]);
      for (std::size_t pad = std::strlen(kStatWeapons[w]); pad < 13; ++pad) out_.ch(' ');
      out_.put(":").num(tenths / 10, 4).ch('.').num(tenths % 10).num(hits, 10).ch('/').num(attempts).nl();
    }
    out_.nl();
    out_.put("Damage Given: ").num(rng_.between(0, 9000)).nl();
    out_.put("Damage Recvd: ").num(rng_.between(0, 9000)).nl();
  }

  void end(GameSetup& g) {
    // Now and then the client drops out of the game or reconnects instead;
    // either closes the game.
    if (rng_.percent(4)) {
      out_.put("ERROR: Disconnected from server").nl();
      reinitialise_ = true;
      return;
    }
    if (rng_.percent(4)) {
      reconnect();
      reinitialise_ = true;
      return;
    }
    const bool teams = g.mode != Mode::kFfa && g.mode != Mode::kDuel;
    int best = 0;
    for (std::size_t i = 0; i < g.slots.size(); ++i)
      if (g.slots[i].kills > g.slots[best].kills) best = static_cast<int>(i);
    const int winner = rng_.percent(50) ? 1 : 2;
    const unsigned kinds[] = {40, 60};
    if (weighted(rng_, kinds) == 0) {
      out_.put("Timelimit hit.").nl();
    } else if (g.mode == Mode::kCtf) {
      out_.put(winner == 1 ? "^1RED^7" : "^4BLUE^7").put(" hit the capturelimit.").nl();
    } else if (g.mode == Mode::kCa) {
      if (rng_.percent(50)) {
        out_.put("Pointlimit hit.").nl();
      } else {
        out_.put(winner == 1 ? "^1RED^7" : "^4BLUE^7").put(" wins the match: ").num(rng_.between(5, 9));
        out_.put(" to ").num(rng_.between(0, 4)).nl();
      }
    } else if (teams) {
      out_.put(winner == 1 ? "^1RED^7" : "^4BLUE^7").put(" hit the fraglimit.").nl();
    } else if (g.mode == Mode::kDuel && rng_.percent(40)) {
      out_.put(g.slots[best].raw).put("^7 wins the match: ").num(g.slots[best].kills).put(" to ");
      out_.num(g.slots[1 - best].kills).nl();
    } else {
      out_.put(g.slots[best].raw).put("^7 hit the fraglimit.").nl();
    }
    if (osp_) {
      for (const Slot& s : g.slots)
        if (s.present && rng_.percent(90)) statsBlock(s);
      out_.put(rng_.percent(50) ? "MATCH COMPLETE" : "----- CL_Shutdown -----").nl();
    } else {
      out_.put("----- CL_Shutdown -----").nl();
    }
    if (rng_.percent(30)) out_.put("RE_Shutdown( 1 )").nl();
  }

  Writer& out_;
  Rng& rng_;
  const std::vector<Person>& roster_;
  ModeDeck deck_;
  bool osp_ = true;
  bool reinitialise_ = false;  // the next game starts with the client's initialisation
};

// ---------------------------------------------------------------------------
// Server form

class ServerLog {
 public:
  // `unsteady`: restarts, aborted games, warm-ups without OSP and reconnects.
  // Their chances are drawn only then, so that the steady log stays what it
  // was.
  ServerLog(Writer& out, Rng& rng, const std::vector<Person>& roster, bool unsteady)
      : out_(out), rng_(rng), roster_(roster), unsteady_(unsteady) {}

  void game() {
    GameSetup g = setupGame(rng_, deck_, roster_);
    osp_ = rng_.percent(80);
    tenths_ = rng_.between(0, 300);
    ended_ = !(unsteady_ && rng_.percent(6));
    if (!ended_) {
      restartedGame(g);
      return;
    }
    if ((osp_ || unsteady_) && rng_.percent(35)) warmupSection(g);
    begin(g, false);
    connects(g);
    body(g);
    end(g);
  }

  // False after a game that the server's restart cut off: the log must not
  // end there.
  bool lastGameEnded() const { return ended_; }

 private:
  // The time in front of every line: OSP servers write seconds with one
  // decimal, the others right-aligned minutes and seconds.
  Writer& stamp() {
    if (osp_) {
      out_.num(tenths_ / 10).ch('.').num(tenths_ % 10).ch(' ');
    } else {
      const int seconds = tenths_ / 10;
      out_.num(seconds / 60, 3).ch(':');
      if (seconds % 60 < 10) out_.ch('0');
      out_.num(seconds % 60).ch(' ');
    }
    return out_;
  }
  void tick(int most) { tenths_ += rng_.between(0, most); }

  static int serverGametype(Mode mode) {
    switch (mode) {
      case Mode::kFfa: return 0;
      case Mode::kDuel: return 1;
      case Mode::kTdm: return 3;
      case Mode::kCtf: return 4;
      default: return 5;
    }
  }

  void begin(const GameSetup& g, bool warmup) {
    stamp().put("------------------------------------------------------------").nl();
    stamp().put("InitGame: \\sv_hostname\\^1Kestro ^7Arena\\dmflags\\0\\fraglimit\\")
        .num(g.mode == Mode::kFfa ? 50 : 0)
        .put("\\timelimit\\15\\capturelimit\\8\\sv_maxclients\\16\\g_gametype\\")
        .num(serverGametype(g.mode))
        .put("\\mapname\\")
        .put(g.map.name)
        .put("\\protocol\\68\\version\\ioq3 1.36 linux-x86_64 Apr 12 2009");
    if (osp_) out_.put("\\gamename\\osp\\gameversion\\OSP v1.03a\\server_promode\\0\\g_needpass\\0");
    else out_.put("\\gamename\\baseq3\\g_needpass\\0");
    out_.nl();
    if (osp_) {
      stamp().put("ServerTime:\t2017062").num(rng_.between(1, 9)).put("12").num(rng_.between(10, 59));
      out_.put("00\t12:").num(rng_.between(10, 59)).put(":00 (23 Jun 2017)").nl();
      stamp().put(warmup ? "Warmup:" : "Game_Start:").nl();
    } else if (warmup) {
      stamp().put("Warmup:").nl();
    }
  }

  void userinfo(const Slot& s, const std::string& name, int team) {
    stamp().put("ClientUserinfoChanged: ").num(s.client).put(" n\\").put(name).put("\\t\\").num(team);
    out_.put("\\model\\").put(s.person->model).put("\\hmodel\\").put(s.person->model);
    out_.put("\\c1\\").num(rng_.between(1, 7)).put("\\c2\\5\\hc\\100\\w\\0\\l\\0\\rt\\0\\st\\0").nl();
  }

  void connect(const Slot& s) {
    stamp().put("ClientConnect: ").num(s.client).nl();
    userinfo(s, s.raw, s.team);
    if (rng_.percent(40)) userinfo(s, s.raw, s.team);  // the second userinfo of a loading client
    stamp().put("ClientBegin: ").num(s.client).nl();
  }

  void connects(const GameSetup& g) {
    for (const Slot& s : g.slots) {
      connect(s);
      tick(3);
    }
  }

  // A warm-up is a section of its own, shut down before the match.
  void warmupSection(GameSetup& g) {
    warmupLines(g);
    stamp().put("ShutdownGame:").nl();
    stamp().put("------------------------------------------------------------").nl();
    tenths_ = 0;
  }

  void warmupLines(GameSetup& g) {
    begin(g, true);
    connects(g);
    for (int i = rng_.between(5, 80); i > 0; --i) {
      tick(20);
      if (rng_.percent(60)) item(g);
      else kill(g);
    }
  }

  // The server goes down in the middle of a game or of its warm-up and comes
  // back with a new game: the section has no "ShutdownGame:", and the next
  // line is the new game's rule line.
  void restartedGame(GameSetup& g) {
    if (rng_.percent(40)) {
      warmupLines(g);
    } else {
      begin(g, false);
      connects(g);
      g.body_lines = rng_.between(1, g.body_lines);
      body(g);
    }
  }

  void kill(GameSetup& g) {
    const int v = anyPresent(rng_, g.slots);
    if (v < 0) return;
    Slot& victim = g.slots[v];
    ++victim.deaths;
    if (rng_.percent(7)) {
      const Cause& c = kWorldCauses[weighted(rng_, kWorldWeights)];
      stamp().put("Kill: 1022 ").num(victim.client).ch(' ').num(c.number).put(": <world> killed ");
      out_.put(victim.raw).put(" by ").put(c.name);
    } else {
      int k = rng_.percent(4) ? v : killerFor(rng_, g, v);
      if (k < 0) return;
      Slot& killer = g.slots[k];
      if (k != v) ++killer.kills;
      const Cause& c = k == v && rng_.percent(30) ? Cause{"MOD_SUICIDE", 20}
                                                  : kCauses[weighted(rng_, kWeaponWeights)];
      stamp().put("Kill: ").num(killer.client).ch(' ').num(victim.client).ch(' ').num(c.number).put(": ");
      out_.put(killer.raw).put(" killed ").put(victim.raw).put(" by ").put(c.name);
    }
    if (osp_) out_.ch(' ').num(rng_.between(2, 5));
    out_.nl();
  }

  void item(const GameSetup& g) {
    static constexpr const char* kItems[] = {
        "item_armor_shard", "item_health", "item_health_small", "item_health_large", "item_health_mega",
        "item_armor_combat", "item_armor_body", "item_quad", "item_haste", "item_regen",
        "weapon_rocketlauncher", "weapon_railgun", "weapon_lightning", "weapon_shotgun",
        "weapon_grenadelauncher", "weapon_plasmagun", "ammo_rockets", "ammo_slugs", "ammo_bullets",
        "ammo_shells", "ammo_lightning", "ammo_cells", "ammo_grenades", "item_armor_green"};
    static constexpr unsigned kWeights[] = {20, 10, 8, 8, 2, 4, 3, 1, 1, 1, 8, 5, 5, 5, 2, 3, 8, 5, 6, 5, 4, 3, 2, 1};
    const int p = anyPresent(rng_, g.slots);
    if (p < 0) return;
    stamp().put("Item: ").num(g.slots[p].client).ch(' ').put(kItems[weighted(rng_, kWeights)]).nl();
  }

  void chat(const GameSetup& g) {
    const int p = anyPresent(rng_, g.slots);
    if (p < 0) return;
    stamp().put(rng_.percent(75) ? "say: " : "sayteam: ").put(stripColours(g.slots[p].raw)).put(": ");
    out_.put(rng_.pick(kChat)).nl();
  }

  void flag(GameSetup& g) {
    const int p = anyPresent(rng_, g.slots);
    if (p < 0) return;
    const Slot& s = g.slots[p];
    if (!osp_) {
      // Servers without OSP show flags only as item pick-ups.
      const bool enemy = rng_.percent(70);
      const bool red_flag = (s.team == 1) != enemy;
      stamp().put("Item: ").num(s.client).put(red_flag ? " team_CTF_redflag" : " team_CTF_blueflag").nl();
      return;
    }
    static constexpr const char* kEvents[] = {"Flag_Pickup:", "Flag_Capture:", "Flag_Return:", "Kill_Carrier:",
                                              "Flag_Assist_Return:", "Flag_Assist_Frag:", "Defend_Carrier:",
                                              "Defend_Hurt_Carrier:", "Defend_Flag:", "Defend_Base:",
                                              "Hurt_Carrier_Defend:"};
    static constexpr unsigned kWeights[] = {30, 10, 14, 10, 3, 3, 5, 4, 5, 5, 3};
    stamp().put(kEvents[weighted(rng_, kWeights)]).ch(' ').num(s.client).nl();
  }

  void rename(GameSetup& g) {
    const int p = anyPresent(rng_, g.slots);
    if (p < 0) return;
    Slot& s = g.slots[p];
    s.raw = s.person->raw + rng_.pick(kColours) + syllableName(rng_);
    userinfo(s, s.raw, s.team);
  }

  void switchTeam(GameSetup& g) {
    const int p = anyPresent(rng_, g.slots);
    if (p < 0 || g.slots[p].team == 0) return;
    Slot& s = g.slots[p];
    s.team = otherTeam(s.team);
    userinfo(s, s.raw, s.team);
  }

  void weaponStats(const Slot& s) {
    stamp().put("Weapon_Stats: ").num(s.client);
    if (rng_.percent(40)) out_.put(" Gauntlet:0:").num(rng_.between(0, 30)).put(":0:0");
    for (std::size_t w = 0; w < std::size(kStatWeapons); ++w) {
      if (!rng_.percent(kStatUse[w])) continue;
      const int shots = rng_.between(0, w == 0 || w == 4 ? 2000 : 200);
      out_.ch(' ').put(kStatWeapons[w]).ch(':').num(shots).ch(':').num(rng_.between(0, shots));
      out_.ch(':').num(rng_.between(0, 30)).ch(':').num(rng_.between(0, 20));
    }
    out_.put(" Given:").num(rng_.between(0, 14000)).put(" Recvd:").num(rng_.between(0, 14000));
    out_.put(" Armor:").num(rng_.between(0, 900)).put(" Health:").num(rng_.between(0, 1800)).nl();
  }

  // A player leaves; OSP writes the player's statistics first. Now and then a
  // new client takes the free slot.
  void leave(GameSetup& g) {
    int present = 0;
    for (const Slot& s : g.slots) present += s.present;
    if (present <= 2) return;
    const int p = anyPresent(rng_, g.slots);
    Slot& s = g.slots[p];
    if (osp_) weaponStats(s);
    stamp().put("ClientDisconnect: ").num(s.client).nl();
    s.present = false;
    if (rng_.percent(50)) {
      tick(50);
      s.present = true;  // the same player comes back
      connect(s);
    }
  }

  // A client that lost its connection comes back before the server dropped
  // it: a new connect for the slot it still holds.
  void reconnect(const GameSetup& g) {
    const int p = anyPresent(rng_, g.slots);
    if (p >= 0) connect(g.slots[p]);
  }

  void body(GameSetup& g) {
    const unsigned kinds[] = {
        42,                               // kill
        44,                               // item
        2,                                // chat
        g.mode == Mode::kCtf ? 10u : 0u,  // flag event
    };
    for (int line = 0; line < g.body_lines; ++line) {
      tick(25);
      if (rng_.permille(2)) rename(g);
      if (rng_.permille(2)) leave(g);
      if (unsteady_ && rng_.permille(2)) reconnect(g);
      if (g.mode != Mode::kFfa && g.mode != Mode::kDuel && rng_.permille(1)) switchTeam(g);
      switch (weighted(rng_, kinds)) {
        case 0: kill(g); break;
        case 1: item(g); break;
        case 2: chat(g); break;
        default: flag(g); break;
      }
    }
  }

  void end(const GameSetup& g) {
    if (unsteady_ && rng_.percent(6)) {
      // Aborted (a vote, an admin's map change): the game is shut down
      // without an exit, scores or statistics.
      tick(30);
      stamp().put("ShutdownGame:").nl();
      stamp().put("------------------------------------------------------------").nl();
      return;
    }
    static constexpr const char* kExits[] = {"Timelimit hit.", "Fraglimit hit.", "Capturelimit hit."};
    const int exit = g.mode == Mode::kCtf ? (rng_.percent(60) ? 2 : 0) : (rng_.percent(50) ? 1 : 0);
    if (osp_) stamp().put("Game_End: ").put(exit == 0 ? "Timelimit" : exit == 1 ? "Fraglimit" : "Capturelimit").nl();
    stamp().put("Exit: ").put(kExits[exit]).nl();
    if (g.mode != Mode::kFfa && g.mode != Mode::kDuel)
      stamp().put("red:").num(rng_.between(0, 8)).put("  blue:").num(rng_.between(0, 8)).nl();
    for (const Slot& s : g.slots) {
      if (!s.present) continue;
      stamp().put("score: ").num(s.kills).put("  ping: ").num(rng_.between(0, 120)).put("  client: ");
      out_.num(s.client).ch(' ').put(s.raw).nl();
    }
    tick(30);
    if (osp_) {
      for (const Slot& s : g.slots)
        if (s.present) weaponStats(s);
    }
    if (rng_.percent(30)) {
      tick(20);
      chat(g);
    }
    tick(30);
    stamp().put("ShutdownGame:").nl();
    stamp().put("------------------------------------------------------------").nl();
  }

  Writer& out_;
  Rng& rng_;
  const std::vector<Person>& roster_;
  ModeDeck deck_;
  bool unsteady_;
  bool ended_ = true;
  bool osp_ = true;
  int tenths_ = 0;
};

// ---------------------------------------------------------------------------

int usage() {
  std::fputs("usage: ks-loggen console|server|unsteady-server SIZE_MB SEED [OUTPUT]\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || argc > 5) return usage();
  const std::string_view kind = argv[1];
  if (kind != "console" && kind != "server" && kind != "unsteady-server") return usage();
  char* end = nullptr;
  errno = 0;
  const double megabytes = std::strtod(argv[2], &end);
  if (end == argv[2] || *end != '\0' || errno != 0 || !(megabytes > 0) || megabytes > 1e6) return usage();
  errno = 0;
  const std::uint64_t seed = std::strtoull(argv[3], &end, 10);
  if (end == argv[3] || *end != '\0' || errno != 0 || argv[3][0] == '-') return usage();

  std::FILE* file = stdout;
  if (argc == 5) {
    file = std::fopen(argv[4], "wb");
    if (file == nullptr) {
      std::fprintf(stderr, "ks-loggen: cannot write %s\n", argv[4]);
      return 1;
    }
  }
  const auto target = static_cast<std::uint64_t>(megabytes * 1048576.0);
  bool failed = false;
  {
    Writer out(file);
    Rng rng(seed);
    const std::vector<Person> roster = makeRoster(rng, 400);
    if (kind == "console") {
      ConsoleLog log(out, rng, roster);
      while (out.written() < target) log.game();
    } else {
      ServerLog log(out, rng, roster, kind == "unsteady-server");
      while (out.written() < target || !log.lastGameEnded()) log.game();
    }
    out.flush();
    failed = out.failed();
  }
  if (std::fflush(file) != 0) failed = true;
  if (file != stdout && std::fclose(file) != 0) failed = true;
  if (failed) {
    std::fputs("ks-loggen: write error\n", stderr);
    return 1;
  }
  return 0;
}
