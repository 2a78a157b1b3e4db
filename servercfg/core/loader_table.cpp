#include "loader_table.h"

#include <cctype>

#include "config_line.h"
#include "derived_values.h"

namespace cvarsmith {

namespace {

constexpr bool kRefresh = true;
constexpr bool kPlain = false;
constexpr bool kInvert = true;
// The dialog limits these text boxes to 255 characters.
constexpr std::size_t kFieldLimit = 255;
constexpr std::size_t kUnlimited = std::string::npos;

constexpr std::size_t at(Weapon weapon) { return static_cast<std::size_t>(weapon); }

LoaderEntry flag(const char* name, int code, FlagTarget target, bool refresh = false,
                 bool invert = false) {
  return {name, LoaderKind::Flag, code, target, refresh, invert};
}
LoaderEntry ignoredFlag(const char* name, int code) {
  return {name, LoaderKind::Flag, code, NoTarget{}};
}
LoaderEntry integer(const char* name, int code, IntegerTarget target) {
  return {name, LoaderKind::Integer, code, target};
}
LoaderEntry real(const char* name, int code, RealTarget target) {
  return {name, LoaderKind::Real, code, target};
}
LoaderEntry text(const char* name, int code, std::string& (*target)(ServerSettings&),
                 std::size_t maxLength = kUnlimited) {
  return {name, LoaderKind::Text, code, TextTarget{target, maxLength}};
}
// A log file name with the box that switches the log on; a page refresh
// shows the box and enables or greys the name.
LoaderEntry logName(const char* name, int code, std::string& (*target)(ServerSettings&),
                    bool& (*box)(ServerSettings&), const char* offName = nullptr) {
  return {name, LoaderKind::Text, code, TextTarget{target, kFieldLimit, box, offName}, kRefresh};
}
LoaderEntry replacement(const char* name, int code, Replaceable item) {
  return {name, LoaderKind::Integer, code, ReplacementTarget{item}};
}
LoaderEntry decoded(const char* name, int code, DecodedTarget target, bool refresh = false) {
  return {name, LoaderKind::Decoded, code, target, refresh};
}

// The decoded variables, each the inverse of the writer's formula.
void decodeDmflags(ServerSettings& s, int v) { applyMaskValue(s, kDmflagsMask, v); }
void decodeMatchOvertime(ServerSettings& s, int v) { applyCodedValue(s, kMatchOvertimeCode, v); }
void decodeCustomClient(ServerSettings& s, int v) { applyMaskValue(s, kCustomClientMask, v); }
void decodeOspAuth(ServerSettings& s, int v) { applyCodedValue(s, kOspAuthCode, v); }
void decodeServerRecord(ServerSettings& s, int v) { applyMaskValue(s, kServerRecordMask, v); }
void decodeLogStat(ServerSettings& s, int v) { applyCodedValue(s, kLogStatCode, v); }
void decodeItemDisable(ServerSettings& s, int v) { applyMaskValue(s, kItemDisableMask, v); }
void decodeWeaponHave(ServerSettings& s, int v) { applyMaskValue(s, kWeaponHaveMask, v); }
void decodeWeaponStart(ServerSettings& s, int v) { applyCodedValue(s, kWeaponStartCode, v); }
void decodePowerupDisable(ServerSettings& s, int v) { applyMaskValue(s, kPowerupDisableMask, v); }
void decodeAvailableModes(ServerSettings& s, int v) { applyMaskValue(s, kAvailableModesMask, v); }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// Applies the value to whichever kind of target the row has.
struct ValueApplier {
  ServerSettings& settings;
  const LoaderEntry& entry;
  std::string_view value;

  ValueOutcome operator()(NoTarget) const { return ValueOutcome::Applied; }
  ValueOutcome operator()(FlagTarget target) const {
    const bool set = configInteger(value) != 0;
    target(settings) = entry.invert ? !set : set;
    return ValueOutcome::Applied;
  }
  ValueOutcome operator()(IntegerTarget target) const {
    target(settings) = configInteger(value);
    return ValueOutcome::Applied;
  }
  ValueOutcome operator()(RealTarget target) const {
    target(settings) = configReal(value);
    return ValueOutcome::Applied;
  }
  ValueOutcome operator()(const TextTarget& target) const {
    // Taken, it would stop the next save: the writer cannot write it back.
    if (!fitsInConfigLine(value)) return ValueOutcome::Refused;
    target.text(settings) = std::string(value.substr(0, target.maxLength));
    if (target.box != nullptr) {
      const bool off = value.empty() || (target.offName != nullptr && value == target.offName);
      target.box(settings) = !off;
    }
    return value.size() > target.maxLength ? ValueOutcome::Shortened : ValueOutcome::Applied;
  }
  ValueOutcome operator()(const ReplacementTarget& target) const {
    const std::optional<int> choice = replacementChoiceOf(configInteger(value));
    if (!choice) return ValueOutcome::Refused;
    settings.items.replacements[static_cast<std::size_t>(target.item)] = *choice;
    return ValueOutcome::Applied;
  }
  ValueOutcome operator()(DecodedTarget target) const {
    target(settings, configInteger(value));
    return ValueOutcome::Applied;
  }
};

}  // namespace

// The accessor of one setting, as the rows' targets need it.
#define SETTING(member) [](ServerSettings& s) -> auto& { return s.member; }

const std::array<LoaderEntry, kLoaderEntryCount> kLoaderEntries = {{
    // Gameplay.
    integer("capturelimit", 0, SETTING(gameplay.captureLimit)),
    decoded("dmflags", 1, decodeDmflags),
    integer("fraglimit", 2, SETTING(gameplay.fragLimit)),
    flag("g_dowarmup", 3, SETTING(gameplay.warmup), kRefresh),
    integer("g_forceRespawn", 4, SETTING(gameplay.forceRespawn)),
    integer("g_gametype", 5, SETTING(gameplay.gameType)),
    flag("g_teamautojoin", 6, SETTING(gameplay.autoJoin)),
    flag("g_teamforcebalance", 7, SETTING(gameplay.forceBalance)),
    integer("g_warmup", 8, SETTING(gameplay.warmupSeconds)),
    flag("match_carespawn", 9, SETTING(gameplay.respawnCa)),
    flag("match_instagib", 10, SETTING(gameplay.instagib)),
    flag("match_latejoin", 11, SETTING(gameplay.lateJoin)),
    integer("match_minplayers", 12, SETTING(gameplay.minPlayers)),
    decoded("match_overtime", 13, decodeMatchOvertime, kRefresh),
    integer("match_overtimecount", 14, SETTING(gameplay.overtimeRounds)),
    integer("match_overtimelength", 15, SETTING(gameplay.overtimeLengthMinutes)),
    integer("match_readypercent", 16, SETTING(gameplay.readyPercentage)),
    integer("match_roundtimer", 17, SETTING(gameplay.roundTimerCa)),
    integer("match_timeoutcount", 18, SETTING(gameplay.timeoutsPerTeam)),
    integer("match_timeoutlength", 19, SETTING(gameplay.timeoutLength)),
    integer("match_winbyscore", 20, SETTING(gameplay.winByScore1v1)),
    integer("roundlimit", 21, SETTING(gameplay.roundLimitCa)),
    flag("server_promode", 22, SETTING(gameplay.promode)),
    flag("server_cq3", 23, SETTING(gameplay.challengeMode)),
    flag("team_allcaptain", 24, SETTING(gameplay.allCaptains)),
    integer("team_maxplayers", 25, SETTING(gameplay.maxPlayersPerTeam)),
    flag("team_nocontrols", 26, SETTING(gameplay.noCaptains)),
    flag("team_noteamready", 27, SETTING(gameplay.teamReady), kPlain, kInvert),
    integer("timelimit", 28, SETTING(gameplay.timeLimit)),
    // Server (the MOTD record included).
    integer("g_gravity", 50, SETTING(server.gravity)),
    integer("g_inactivity", 51, SETTING(server.inactivity)),
    integer("g_knockback", 52, SETTING(server.knockback)),
    integer("g_maxGameClients", 53, SETTING(server.gameClients)),
    text("g_motd", 54, SETTING(motd.gameMotd)),
    ignoredFlag("g_needpass", 55),
    text("g_password", 56, SETTING(server.serverPassword)),
    text("g_privatePassword", 57, SETTING(server.privatePassword)),
    flag("g_smoothclients", 58, SETTING(server.smoothClients)),
    integer("g_speed", 59, SETTING(server.speed)),
    integer("match_maxsuicides", 60, SETTING(server.maxSuicides)),
    flag("osp_gamename", 61, SETTING(server.ospGameName)),
    text("player_always", 62, SETTING(server.playerAlways)),
    text("rconPassword", 63, SETTING(server.rconPassword)),
    text("ref_password", 64, SETTING(server.refereePassword)),
    decoded("server_customclient", 65, decodeCustomClient),
    decoded("server_ospauth", 66, decodeOspAuth, kRefresh),
    decoded("server_record", 67, decodeServerRecord, kRefresh),
    text("server_motd1", 68, SETTING(motd.lines[0]), kFieldLimit),
    text("server_motd2", 69, SETTING(motd.lines[1]), kFieldLimit),
    text("server_motd3", 70, SETTING(motd.lines[2]), kFieldLimit),
    text("server_motd4", 71, SETTING(motd.lines[3]), kFieldLimit),
    text("server_motd5", 72, SETTING(motd.lines[4]), kFieldLimit),
    text("server_motd6", 73, SETTING(motd.lines[5]), kFieldLimit),
    text("server_motd7", 74, SETTING(motd.lines[6]), kFieldLimit),
    text("server_motd8", 75, SETTING(motd.lines[7]), kFieldLimit),
    flag("sv_allowDownload", 76, SETTING(server.allowDownload)),
    flag("sv_cheats", 77, SETTING(server.allowCheats)),
    flag("sv_floodprotect", 78, SETTING(server.floodProtect)),
    text("sv_hostname", 79, SETTING(server.hostname), kFieldLimit),
    integer("sv_maxclients", 80, SETTING(server.maxClients)),
    integer("sv_privateClients", 81, SETTING(server.privateClients)),
    flag("sv_pure", 82, SETTING(server.pureServer)),
    text("sv_hostname", 83, SETTING(server.hostname), kFieldLimit),
    // Files.
    logName("g_log", 100, SETTING(files.logFileName), SETTING(files.logFileEnabled)),
    flag("g_logSync", 101, SETTING(files.synchronizeLog)),
    logName("admin_log", 102, SETTING(files.adminLogName), SETTING(files.adminLogEnabled), "none"),
    flag("log_default", 103, SETTING(files.ospLogFormat), kPlain, kInvert),
    decoded("log_stat", 104, decodeLogStat, kRefresh),
    text("filter_file", 105, SETTING(files.filterFile)),
    text("map_file", 106, SETTING(files.mapFile)),
    text("server_gfxspecific", 107, SETTING(files.gfxFile)),
    text("player_file", 108, SETTING(files.playerFile)),
    text("server_motdfile", 109, SETTING(files.motdFile)),
    text("mode_customfile", 110, SETTING(files.modeFile)),
    text("decal_directory", 111, SETTING(files.decalDirectory)),
    text("viewcam_directory", 112, SETTING(files.viewcamDirectory)),
    // Weapons and Armor.
    flag("armor_q2style", 150, SETTING(weapons.q2StyleArmor)),
    integer("gauntlet_damage", 151, SETTING(weapons.rows[at(Weapon::Gauntlet)].damage)),
    flag("gauntlet_disable", 152, SETTING(weapons.rows[at(Weapon::Gauntlet)].disable)),
    flag("g_friendlyFire", 153, SETTING(weapons.friendlyFire)),
    integer("g_weaponrespawn", 154, SETTING(weapons.weaponRespawnTime)),
    integer("g_weaponteamrespawn", 155, SETTING(weapons.weaponRespawnTdm)),
    integer("instagib_reload", 156, SETTING(weapons.instagibReload)),
    decoded("item_disable", 157, decodeItemDisable, kRefresh),
    flag("match_cawarmupfire", 158, SETTING(weapons.warmupFireCa)),
    flag("match_dropitems", 159, SETTING(weapons.dropItemsTdm)),
    flag("match_hurtself", 160, SETTING(weapons.hurtSelf)),
    integer("mg_damage", 161, SETTING(weapons.rows[at(Weapon::MachineGun)].damage)),
    integer("mg_damageTeamplay", 162, SETTING(weapons.rows[at(Weapon::MachineGun)].teamDamage)),
    integer("railgun_damage", 163, SETTING(weapons.rows[at(Weapon::RailGun)].damage)),
    flag("server_fastrail", 164, SETTING(weapons.fastRailCpm)),
    flag("server_lgcooldown", 165, SETTING(weapons.lgCooldownCpm)),
    flag("server_thrufloors", 166, SETTING(weapons.throughFloors)),
    integer("start_armor", 167, SETTING(weapons.armorOnSpawn)),
    integer("start_bfg", 168, SETTING(weapons.rows[at(Weapon::Bfg)].ammo)),
    integer("start_bullets", 169, SETTING(weapons.rows[at(Weapon::MachineGun)].ammo)),
    integer("start_cells", 170, SETTING(weapons.rows[at(Weapon::PlasmaGun)].ammo)),
    integer("start_grenades", 171, SETTING(weapons.rows[at(Weapon::GrenadeLauncher)].ammo)),
    integer("start_health", 172, SETTING(weapons.healthOnSpawn)),
    integer("start_lightning", 173, SETTING(weapons.rows[at(Weapon::LightningGun)].ammo)),
    integer("start_rockets", 174, SETTING(weapons.rows[at(Weapon::RocketLauncher)].ammo)),
    integer("start_shells", 175, SETTING(weapons.rows[at(Weapon::Shotgun)].ammo)),
    integer("start_slugs", 176, SETTING(weapons.rows[at(Weapon::RailGun)].ammo)),
    flag("team_armordamage", 177, SETTING(weapons.armorDamageCa)),
    integer("warmup_armor", 178, SETTING(weapons.warmupArmor)),
    flag("weapon_deaddrop", 179, SETTING(weapons.dropOnDeath)),
    decoded("weapon_have", 180, decodeWeaponHave),
    decoded("weapon_start", 181, decodeWeaponStart),
    // Items.
    real("g_quadfactor", 200, SETTING(items.quadFactor)),
    flag("hook_enable", 201, SETTING(items.enableHook), kRefresh),
    integer("hook_delaytime", 202, SETTING(items.hookDelayTime)),
    integer("hook_holdtime", 203, SETTING(items.hookHoldTime)),
    flag("hook_sky", 204, SETTING(items.hookToSky)),
    integer("hook_speed", 205, SETTING(items.hookSpeed)),
    integer("hook_pullspeed", 206, SETTING(items.hookPullSpeed)),
    integer("match_poweruprespawn", 207, SETTING(items.powerupRespawnTime)),
    decoded("powerup_disable", 208, decodePowerupDisable),
    replacement("replace_machinegun", 209, Replaceable::MachineGun),
    replacement("replace_shotgun", 210, Replaceable::Shotgun),
    replacement("replace_glauncher", 211, Replaceable::GrenadeLauncher),
    replacement("replace_rlauncher", 212, Replaceable::RocketLauncher),
    replacement("replace_lightning", 213, Replaceable::LightningGun),
    replacement("replace_railgun", 214, Replaceable::RailGun),
    replacement("replace_plasmagun", 215, Replaceable::PlasmaGun),
    replacement("replace_bfg", 216, Replaceable::Bfg),
    replacement("replace_invis", 217, Replaceable::Invisibility),
    replacement("replace_quad", 218, Replaceable::Quad),
    replacement("replace_battlesuit", 219, Replaceable::BattleSuit),
    replacement("replace_haste", 220, Replaceable::Haste),
    replacement("replace_regen", 221, Replaceable::Regeneration),
    replacement("replace_flight", 222, Replaceable::Flight),
    // Voting (the votable items record included).
    flag("g_allowvote", 250, SETTING(voting.enableVoting), kRefresh),
    integer("mode_start", 251, SETTING(voting.modeStart)),
    decoded("server_availmodes", 252, decodeAvailableModes),
    integer("vote_limit", 253, SETTING(voting.voteLimit)),
    integer("vote_percent", 254, SETTING(voting.votePercent)),
    flag("vote_allow_altgraphics", 255, SETTING(voting.voteAllow[0])),
    flag("vote_allow_allcaptain", 256, SETTING(voting.voteAllow[1])),
    flag("vote_allow_armordamage", 257, SETTING(voting.voteAllow[2])),
    flag("vote_allow_capturelimit", 258, SETTING(voting.voteAllow[3])),
    flag("vote_allow_ca_startrespawn", 259, SETTING(voting.voteAllow[4])),
    flag("vote_allow_ca_warmupfire", 260, SETTING(voting.voteAllow[5])),
    flag("vote_allow_cq3", 261, SETTING(voting.voteAllow[6])),
    flag("vote_allow_dropitems", 262, SETTING(voting.voteAllow[7])),
    flag("vote_allow_falling", 263, SETTING(voting.voteAllow[8])),
    flag("vote_allow_fastrail", 264, SETTING(voting.voteAllow[9])),
    flag("vote_allow_fraglimit", 265, SETTING(voting.voteAllow[10])),
    flag("vote_allow_hook", 266, SETTING(voting.voteAllow[11])),
    flag("vote_allow_instagib", 267, SETTING(voting.voteAllow[12])),
    integer("vote_allow_items", 268, SETTING(votableItems.itemsMask)),
    flag("vote_allow_kick", 269, SETTING(voting.voteAllow[13])),
    flag("vote_allow_lgcooldown", 270, SETTING(voting.voteAllow[14])),
    flag("vote_allow_map", 271, SETTING(voting.voteAllow[15])),
    flag("vote_allow_machinegun", 272, SETTING(voting.voteAllow[16])),
    flag("vote_allow_maxpackets", 273, SETTING(voting.voteAllow[17])),
    flag("vote_allow_mutespecs", 274, SETTING(voting.voteAllow[18])),
    flag("vote_allow_notimer", 275, SETTING(voting.voteAllow[19])),
    flag("vote_allow_osphud", 276, SETTING(voting.voteAllow[20])),
    flag("vote_allow_overtime", 277, SETTING(voting.voteAllow[21])),
    flag("vote_allow_pmove", 278, SETTING(voting.voteAllow[22])),
    flag("vote_allow_poweruprespawn", 279, SETTING(voting.voteAllow[23])),
    integer("vote_allow_powerups", 280, SETTING(votableItems.powerupsMask)),
    flag("vote_allow_promode", 281, SETTING(voting.voteAllow[24])),
    flag("vote_allow_reload", 282, SETTING(voting.voteAllow[25])),
    flag("vote_allow_referee", 283, SETTING(voting.voteAllow[26])),
    flag("vote_allow_respawn", 284, SETTING(voting.voteAllow[27])),
    flag("vote_allow_roundlimit", 285, SETTING(voting.voteAllow[28])),
    flag("vote_allow_teamdamage", 286, SETTING(voting.voteAllow[29])),
    flag("vote_allow_thrufloors", 287, SETTING(voting.voteAllow[30])),
    flag("vote_allow_timelimit", 288, SETTING(voting.voteAllow[31])),
    flag("vote_allow_timenudge", 289, SETTING(voting.voteAllow[32])),
    flag("vote_allow_weaponrespawn", 290, SETTING(voting.voteAllow[33])),
    // Other.
    flag("bot_enable", 300, SETTING(other.enableBots), kRefresh),
    text("bot_autoload", 301, SETTING(other.botAutoload)),
    integer("bot_checktime", 302, SETTING(other.botCheckTime)),
    integer("bot_minplayers", 303, SETTING(other.botMinPlayers)),
    integer("g_spectatorInactivity", 304, SETTING(other.spectatorInactivity)),
    flag("map_autoload", 305, SETTING(other.autoLoad)),
    flag("map_queue", 306, SETTING(other.enableQueue), kRefresh),
    flag("map_halt", 307, SETTING(other.mapHalt)),
    flag("map_nocount", 308, SETTING(other.noCount)),
    flag("map_once", 309, SETTING(other.mapOnce)),
    flag("map_random", 310, SETTING(other.randomMap)),
    flag("map_rotate", 311, SETTING(other.rotateMaps)),
    flag("match_mutespecs", 312, SETTING(other.muteSpectators)),
    flag("pmove_fixed", 313, SETTING(other.pmoveFixed)),
    integer("pmove_msec", 314, SETTING(other.pmoveMsec)),
    integer("server_maxpacketsmax", 315, SETTING(other.packetsMax)),
    integer("server_maxpacketsmin", 316, SETTING(other.packetsMin)),
    flag("server_realping", 317, SETTING(other.realPing)),
    integer("server_timenudgemax", 318, SETTING(other.timeNudgeMax)),
    integer("server_timenudgemin", 319, SETTING(other.timeNudgeMin)),
    integer("sv_maxRate", 320, SETTING(other.rateMax)),
    integer("sv_maxPing", 321, SETTING(other.pingMax)),
    integer("sv_minPing", 322, SETTING(other.pingMin)),
}};

#undef SETTING

const LoaderEntry* findLoaderEntry(std::string_view name) {
  for (const LoaderEntry& entry : kLoaderEntries) {
    if (equalsIgnoringCase(entry.name, name)) return &entry;
  }
  return nullptr;
}

Page loaderEntryPage(const LoaderEntry& entry) { return static_cast<Page>(entry.code / 50); }

ValueOutcome applyLoaderValue(ServerSettings& settings, const LoaderEntry& entry,
                              std::string_view value) {
  return std::visit(ValueApplier{settings, entry, value}, entry.target);
}

}  // namespace cvarsmith
