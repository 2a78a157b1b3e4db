// The texts of the help catalogue, tab by tab. Syntax lines spell a few
// variables as the modification's documentation does (password,
// sv_privatePassword, hood_speed, ...), which is why the control key, not the
// syntax line, names the variable. The value in parentheses at the end of a
// help text is the documented usual value, not necessarily our default.
#include "help_catalogue_rows.h"

namespace cvarsmith {

namespace {

constexpr std::optional<Page> kMain = std::nullopt;
constexpr Page kGameplay = Page::Gameplay;
constexpr Page kServer = Page::Server;
constexpr Page kFiles = Page::Files;
constexpr Page kWeapons = Page::WeaponsAndArmor;
constexpr Page kItems = Page::Items;
constexpr Page kVoting = Page::Voting;
constexpr Page kOther = Page::Other;
constexpr Page kCommandLine = Page::CommandLine;

#define BITMASK_DOCS "Please refer to the OSP Documentation [Docs/osp-q3-Variables.txt] for bitmask values."
#define START_AMMO "Specifies the starting ammo inventory for a player. "
#define REPLACE_TEXT "Specifies if a weapon or powerup is to be replaced with another on any map. "
#define MODE_FILE_TEXT "Specifies the name/config of each server config available for voting.  The \"name\" is what clients vote for, while \"config\" is the server config file that will be exec'd if the vote passes.  Please refer to the OSP Documentation [Docs/osp-q3-Mode-info.txt] for more information. (\"none\" - No Mode File)"
#define MAP_FILE_TEXT "Specifies the file that lists the maps the server can load and queue. (\"maps.txt\")"
#define ITEM_DISABLE_TEXT "Describes all items (excluding powerups) to be removed from each map.  " BITMASK_DOCS " (0 - No Items Disabled)"

const HelpRow kRows[] = {
    // Main dialog, any tab.
    {kMain, "generate_cfg", "", "Click to generate a config file with the current settings.", nullptr, "Generate .cfg"},
    {kMain, "exit", "", "Click to exit the OSP Cvarsmith.", nullptr, "Exit"},
    {kMain, "spawn_listen", "", "Click to spawn a listen server with the current settings.", nullptr, "Spawn Listen"},
    {kMain, "preset_ffa", "", "Click to reset variables to a default Free For All server type.", nullptr, "Free For All"},
    {kMain, "preset_1v1", "", "Click to reset variables to a default 1 v 1 server type.", nullptr, "1v1"},
    {kMain, "preset_tdm", "", "Click to reset variables to a default Team Deathmatch server type.", nullptr, "Team DM"},
    {kMain, "preset_ctf", "", "Click to reset variables to a default Capture The Flag server type.", nullptr, "Capture The Flag"},
    {kMain, "preset_ca", "", "Click to reset variables to a default Clan Arena server type.", nullptr, "Clan Arena"},
    {kMain, "load_cfg", "", "Click to read in a config file.", nullptr, "Load .cfg"},
    {kMain, "mod_logo", "OSP Tourney DM/CA/CTF",
     "The OSP Tourney DM/CA/CTF modification for Quake III Arena.\n\nWeb: http://osp.example.org\nChat: #osp on IRC"},
    {kMain, "authors_logo", "kqz",
     "Cvarsmith is written by kqz^morvo of the kqz clan.\n\nWeb: http://kqz.example.org\nChat: #kqz on IRC"},

    // Gameplay.
    {kGameplay, "dmflags_falling", "set dmflags <bitmask>", "Enable/Disable Falling Damage.  Part of the dmflags bitmask.  " BITMASK_DOCS " (0 - Normal Falling Damage)", "dmflags"},
    {kGameplay, "dmflags_fixedfov", "set dmflags <bitmask>", "Force a specific FOV to clients.  Part of the dmflags bitmask.  " BITMASK_DOCS " (0 - Variable FOV allowed)", "dmflags"},
    {kGameplay, "dmflags_nofootsteps", "set dmflags <bitmask>", "Enable/Disable Footsteps.  Part of the dmflags bitmask.  " BITMASK_DOCS " (0 - Normal footfalls)", "dmflags"},
    {kGameplay, "match_overtime", "set match_overtime <0|1|2|3>", "Specifies the type of overtime mode to handle in the case of a scoring tie in 1v1/Team DM/CTF game.  Please refer to the OSP Documentation [Docs/osp-q3-Variables.txt] for more information. (0 - Sudden Death Overtime)"},
    {kGameplay, "match_readypercent", "set match_readypercent <value>", "Specifies the percentage of in-game players who must be \"ready\" to start the match.  This can also be used to get a match going on an otherwise long g_warmup \"warmup\" period.  (51%)"},
    {kGameplay, "g_warmup", "set g_warmup <value>", "Specifies the maximum length of the warmup period (in seconds) if g_doWarmup is enabled.  This warmup period is shortened if enough players are \"ready\".  If this value is set to 0, players must manually \"ready\" themselves before a match will begin. (20 seconds)"},
    {kGameplay, "team_allcaptain", "set team_allcaptain <0|1>", "Gives every player of a team the captain's commands (lock, invite, ready the team, etc.). (1 - All players are captains)"},
    {kGameplay, "server_promode", "set server_promode <0|1>", "Switches the server to Promode movement, weapon and item settings. (0 - Normal Quake3 settings)"},
    {kGameplay, "match_instagib", "set match_instagib <0|1>", "Turns the match into instagib play: every player carries only a Rail Gun that kills with one hit. (0 - Match is in normal DM-style play)"},
    {kGameplay, "g_teamautojoin", "set g_teamAutoJoin <0|1>", "Puts connecting players on a team automatically. (0 - Disabled, all players connect as spectators)"},
    {kGameplay, "g_teamforcebalance", "set g_teamForceBalance <0|1>", "Keeps players from joining the team that already has more players. (0 - Players may join any team)"},
    {kGameplay, "match_carespawn", "set match_carespawn <0|1>", "Respawns every client when a new Clan Arena round starts. (0 - Clients do NOT respawn on round restart)"},
    {kGameplay, "match_latejoin", "set match_latejoin <0|1>", "Lets spectators join a match that is already in progress. (0 - Spectators must sit and watch a match in progess unless the teams are \"unlocked\" or player is \"invited\")"},
    {kGameplay, "team_nocontrols", "set team_nocontrols <0|1>", "Disables the team captain commands (lock, invite, kick from team, etc.). (0 - All options enabled)"},
    {kGameplay, "team_noteamready", "set team_noteamready <0|1>", "Disables the \"teamready\" command that readies a whole team at once. (0 - \"teamready\" available for use)"},
    {kGameplay, "server_cq3", "set server_cq3 <0|1>", "Switches the server to Challenge Mode movement and weapon settings. (0 - Normal Quake3 settings)"},
    {kGameplay, "g_gametype", "set g_gametype <value>", "Specifies the type of game: 0 FFA, 1 1v1, 3 Team DM, 4 CTF, 5 Clan Arena. (0 - FFA)"},
    {kGameplay, "timelimit", "set timelimit <value>", "Specifies the time (in minutes) after which a match ends. (0 - No Time Limit)"},
    {kGameplay, "fraglimit", "set fraglimit <value>", "Specifies the number of frags that ends a match. (20)"},
    {kGameplay, "capturelimit", "set capturelimit <value>", "Specifies the number of flag captures that ends a CTF match. (8)"},
    {kGameplay, "roundlimit", "set roundlimit <value>", "Specifies the number of rounds a team must win to take a Clan Arena match. (5)"},
    {kGameplay, "match_minplayers", "set match_minplayers <value>", "Specifies the number of players needed before a match can start. (2)"},
    {kGameplay, "team_maxplayers", "set team_maxplayers <value>", "Specifies the largest number of players on each team; 0 sets no limit. (0)"},
    {kGameplay, "match_winbyscore", "set match_winbyscore <value>", "Specifies the lead a 1v1 player needs to win once the limit is reached; 0 needs no lead. (0)"},
    {kGameplay, "g_dowarmup", "set g_doWarmup <0|1>", "Enables a warmup period before a match starts. (0 - No Warmup Period)"},
    {kGameplay, "match_roundtimer", "set match_roundtimer <value>", "Specifies the countdown before each Clan Arena round. (10 seconds)"},
    {kGameplay, "match_overtimecount", "set match_overtimecount <value>", "Specifies the number of overtime periods that may be played; 0 sets no limit. (0)"},
    {kGameplay, "match_overtimelength", "set match_overtimelength <value>", "Specifies the length of each timed overtime period. (5 minutes)"},
    {kGameplay, "match_timeoutcount", "set match_timeoutcount <value>", "Specifies the number of timeouts each team may call in a match. (3 timeouts)"},
    {kGameplay, "match_timeoutlength", "set match_timeoutlength <value>", "Specifies the length of each timeout. (60 seconds)"},
    {kGameplay, "g_forceRespawn", "set g_forceRespawn <value>", "Specifies the time after which a dead player is respawned automatically; 0 lets players wait. (20 seconds)"},

    // Server.
    {kServer, "server_customclient", "set server_customclient <bitmask>", "Specifies what custom options can be enabled on the client.  " BITMASK_DOCS " (15 - All but No Timer Enabled)"},
    {kServer, "server_ospauth", "set server_ospauth <value>", "Custom OSP-based client-side authentication to verify the integrity of a client's cgame module.  This option requires the custom OSP client-side cgame.  Enhanced authentication includes enhanced nopbot.exe hack detection."},
    {kServer, "server_record", "set server_record <bitmask>", "Forces clients to take demos and screenshots of a match.  This option requires the custom OSP client-side cgame.  " BITMASK_DOCS " (0 - Recording/screenshots are NOT enforced)"},
    {kServer, "osp_gamename", "set osp_gamename <0|1>", "Allows OSP to run as \"baseq3\" for UI server browser filtering.  This allows server operators to let clients use the in-game browser and select their server if the client uses the FFA/1v1/etc. filter types.\n  0 - Shows up as \"FFA/1v1/TDM/CTF/CA\" (default)\n  1 - Shows up as \"OSP\""},
    {kServer, "match_maxsuicides", "set match_maxsuicides <value>", "Configurable number of suicides before a client is kicked/banned.  A client will be kick/banned for a map that /kill themselves the specified number of times, or suicide 2 * match_maxsuicides. (0 - Disabled)"},
    {kServer, "player_always", "set player_always <string>", "Specifies the starting tag of a playername that allows a player to connect regardless of what follows the tag.  This player can NEVER enter the game, however.  QTV observers are hardcoded into the game already, so this option allows for QTV and one other allowed forced spectator name tag. (\"\")"},
    {kServer, "motd", "", "Click to customize the server's MOTD."},
    {kServer, "g_smoothclients", "set sv_smoothClients <0|1>", "This variable is not documented yet. (0 - Disabled)"},
    {kServer, "sv_pure", "set sv_pure <0|1>", "Lets clients use only game files that the server also has. (1 - Enabled)"},
    {kServer, "g_privatePassword", "set sv_privatePassword <string>", "Specifies the password that gives a client one of the private client slots. (\"\" - Private Password Disabled)"},
    {kServer, "ref_password", "set ref_password <string>", "Specifies the password with which a client becomes referee. (\"none\")"},
    {kServer, "g_password", "set password <string>", "Specifies the password that clients must give to connect to the server. (\"\" - Password Disabled)"},
    {kServer, "rconPassword", "set rconPassword <string>", "Specifies the password for remote console (rcon) administration of the server. (\"\")"},
    {kServer, "sv_hostname", "set sv_hostname <string>", "Specifies the server hostname."},
    {kServer, "sv_allowDownload", "set sv_allowDownload <0|1>", "Enable clients to download custom maps/graphics/etc."},
    {kServer, "sv_maxclients", "set sv_maxclients <value>", "Specifies the largest number of clients, players and spectators, on the server. (8)"},
    {kServer, "sv_privateClients", "set sv_privateClients <value>", "Specifies the number of client slots kept for clients that know the private password. (0)"},
    {kServer, "g_maxGameClients", "set g_maxGameClients <value>", "Specifies the largest number of clients in the game at once; the others must spectate. (0 - Disabled)"},
    {kServer, "sv_cheats", "set sv_cheats <0|1>", "Enable the use of cheats on the server."},
    {kServer, "g_inactivity", "set g_inactivity <value>", "Specifies the time after which an inactive player is kicked. (120 seconds)"},
    {kServer, "g_gravity", "set g_gravity <value>", "Specifies the gravity of the world. (800)"},
    {kServer, "g_knockback", "set g_knockback <value>", "Specifies how far players are pushed by the hits they take. (1000)"},
    {kServer, "g_speed", "set g_speed <value>", "Specifies the running speed of the players. (320)"},

    // Files.
    {kFiles, "log_default", "set log_default <0|1>", "Determines if log format follows default ID format or uses the enhanced OSP format.\n  0 - Enhanced OSP logging format. (default)\n  1 - Default ID logging format."},
    {kFiles, "log_stat", "set log_stat <0|1|2>", "Dumps player health/armor based on events that occur during the game.  Note: VERY intensive logging here!!  Stat-log events may optionally dumped to console also."},
    {kFiles, "g_logSync", "set g_logSync <0|1>", "Forces the log to be written ever time a newline is written by the console instead of buffering the data.\n  0 - Unsynched (default)\n  1 - Synched"},
    {kFiles, "g_log", "set g_log <filename>", "Specifies the name of the file to save all in-game information.  Setting this to \"\" or unchecking this item disables logging.  (games.log)"},
    {kFiles, "admin_log", "set admin_log <filename>", "Logs additional server information that describes such things as IP addresses of players, attempts to referee status, ref commands issued, etc.  Setting the parameter to \"\" or \"none\" will also disable this logging. (\"\")"},
    {kFiles, "filter_file", "set filter_file <filename>", "Specifies the file that holds the server's IP address filters. (\"filters.txt\")"},
    {kFiles, "map_file", "set map_file <filename>", MAP_FILE_TEXT},
    {kFiles, "server_gfxspecific", "set server_gfxspecfile <filename>", "Specifies the file that lists the graphics settings forced on clients. (\"none\" - Custom Graphics disabled)"},
    {kFiles, "player_file", "set player_file <filename>", "Specifies a list of playernames who are only allowed to connect to the server.  Playernames are to be added to the file specified in this variable.  If this option is used, ONLY players with the names listed can connect to the server."},
    {kFiles, "server_motdfile", "set server_motdfile <filename>", "Specifies a file whose text clients see as the message of the day. (\"none\" - No MOTD File)"},
    {kFiles, "mode_customfile", "set mode_customfile <filename>", MODE_FILE_TEXT},
    {kFiles, "decal_directory", "set decal_directory <directory>", "Specifies the directory that holds the custom decals. (\"decals\")"},
    {kFiles, "viewcam_directory", "set viewcam_directory <directory>", "Specifies the directory that holds the viewcam scripts. (\"cfg-viewcam\")"},

    // Weapons and Armor.
    {kWeapons, "weapon_have", "set weapon_have <bitmask>", "Specifies ALL weapons that a player respawns with when entering the game or respawning from death.  " BITMASK_DOCS " (1 - Gauntlet and Machine Gun only)"},
    {kWeapons, "weapon_start", "set weapon_start <bitmask>", "Specifies the default weapon a player has in-hand when entering the game or respawning from a death.  The HIGHEST ordered weapon value will be chosen if an exact number is not selected.  " BITMASK_DOCS " (257 - Machine Gun and Gauntlet)"},
    {kWeapons, "item_disable", "set item_disable <bitmask>", ITEM_DISABLE_TEXT},
    {kWeapons, "gauntlet_disable", "set gauntlet_disable <0|1>", "Takes the Gauntlet out of every player's inventory. (0 - Gauntlet Enabled)"},
    {kWeapons, "start_bullets", "set start_bullets <value>", START_AMMO "(100 bullets)"},
    {kWeapons, "start_shells", "set start_shells <value>", START_AMMO "(0 shells)"},
    {kWeapons, "start_grenades", "set start_grenades <value>", START_AMMO "(0 grenades)"},
    {kWeapons, "start_rockets", "set start_rockets <value>", START_AMMO "(0 rockets)"},
    {kWeapons, "start_lightning", "set start_lightning <value>", START_AMMO "(0 lightning)"},
    {kWeapons, "start_slugs", "set start_slugs <value>", START_AMMO "(0 slugs)"},
    {kWeapons, "start_cells", "set start_cells <value>", START_AMMO "(0 cells)"},
    {kWeapons, "start_bfg", "set start_bfg <value>", START_AMMO "(0 bfg)"},
    {kWeapons, "start_armor", "set start_armor <value>", "Specifies the armor a player has after spawning. (0)"},
    {kWeapons, "start_health", "set start_health <value>", "Specifies the health a player has after spawning. (125)"},
    {kWeapons, "mg_damage", "set mg_damage <value>", "Specifies the damage of each Machine Gun bullet. (7)"},
    {kWeapons, "mg_damageTeamplay", "set mg_damageTeamplay <value>", "Specifies the damage of each Machine Gun bullet in team games. (5)"},
    {kWeapons, "railgun_damage", "set railgun_damage <value>", "Specifies the damage of each Rail Gun hit. (100)"},
    {kWeapons, "gauntlet_damage", "set gauntlet_damage <value>", "Specifies the damage of each Gauntlet hit. (100)"},
    {kWeapons, "match_cawarmupfire", "set match_cawarmupfire <0|1>", "Lets players fire during the Clan Arena warmup. (1 - Players can shoot.  No health/ammo lost during warmup)"},
    {kWeapons, "server_fastrail", "set server_fastrail <0|1>", "Shortens the delay before a player can switch away from the Rail Gun. (0 - 1500 msec Rail Gun switching delay)"},
    {kWeapons, "server_lgcooldown", "set server_lgcooldown <0|1>", "Adds a delay before a player can switch away from a fired Lightning Gun. (0 - No switching delay)"},
    {kWeapons, "server_thrufloors", "set server_thrufloors <0|1>", "Lets splash damage pass through thin floors and walls. (0 - Blast damage does NOT radiate through thin surfaces)"},
    {kWeapons, "team_armordamage", "set team_armordamage <0|1>", "Lets hits by teammates strip armor in Clan Arena. (0 - No armor stripped)"},
    {kWeapons, "g_weaponrespawn", "set g_weaponrespawn <value>", "Specifies the time after which a picked-up weapon comes back. (5 seconds)"},
    {kWeapons, "g_weaponteamrespawn", "set g_weaponTeamrespawn <value>", "Specifies the time after which a picked-up weapon comes back in team games. (30 seconds)"},
    {kWeapons, "weapon_deaddrop", "set weapon_deaddrop <0|1>", "Makes a dying player drop the weapon in hand. (1 - Players drop weapons upon death)"},
    {kWeapons, "match_dropitems", "set match_dropitems <0|1>", "Lets players drop weapons and ammo for their teammates in team games. (0 - Players CANNOT drop weapons/ammo)"},
    {kWeapons, "g_friendlyFire", "set g_friendlyFire <0|1>", "Lets teammates damage each other. (1 - Teammates CAN hurt each other)"},
    {kWeapons, "match_hurtself", "set match_hurtself <0|1>", "Lets players damage themselves with their own weapons. (1 - Clients CAN inflict damage upon themselves)"},
    {kWeapons, "armor_q2style", "set armor_q2style <0|1>", "Makes armor absorb damage as in Quake II. (0 - Normal Q3-style armor)"},
    {kWeapons, "warmup_armor", "set warmup_armor <value>", "Specifies the armor players have during warmup. (100)"},
    {kWeapons, "instagib_reload", "set instagib_reload <value>", "Specifies the reload time of the Rail Gun in instagib play. (1500 msec)"},

    // Items.
    {kItems, "item_disable", "set item_disable <bitmask>", ITEM_DISABLE_TEXT},
    {kItems, "powerup_disable", "set powerup_disable <bitmask>", "Describes all powerups to be removed from each map.  This value is a sum of all the powerups to be disabled.  " BITMASK_DOCS " (0 - No Powerups Disabled)"},
    {kItems, "g_quadfactor", "set g_quadfactor <value>", "Specifies how many times the Quad Damage multiplies damage. (3)"},
    {kItems, "hook_enable", "set hook_enable <0|1>", "Gives every player the grappling hook. (0 - Hook Disabled)"},
    {kItems, "hook_delaytime", "set hook_delaytime <value>", "Specifies the time before the hook can be fired again. (750 msec)"},
    {kItems, "hook_holdtime", "set hook_holdtime <value>", "Specifies how long the hook holds once it has caught. (3 seconds)"},
    {kItems, "hook_speed", "set hood_speed <value>", "Specifies the speed at which the hook flies. (1200)"},
    {kItems, "hook_pullspeed", "set hook_speedpull <value>", "Specifies the speed at which the hook pulls the player. (950)"},
    {kItems, "hook_sky", "set hook_sky <0|1>", "Lets the hook catch on the sky. (0 - Players cannot hook to the \"sky\" surface)"},
    {kItems, "match_poweruprespawn", "set match_poweruprespawn <value>", "Specifies the time after which a picked-up powerup comes back in Promode. (60 seconds)"},
    {kItems, "replace_machinegun", "set replace_machinegun <bitmask>", REPLACE_TEXT "(1 - Machine Gun)"},
    {kItems, "replace_shotgun", "set replace_shotgun <bitmask>", REPLACE_TEXT "(2 - Shotgun)"},
    {kItems, "replace_glauncher", "set replace_glauncher <bitmask>", REPLACE_TEXT "(4 - Grenade Launcher)"},
    {kItems, "replace_rlauncher", "set replace_rlauncher <bitmask>", REPLACE_TEXT "(8 - Rocket Launcher)"},
    {kItems, "replace_lightning", "set replace_lightning <bitmask>", REPLACE_TEXT "(16 - Lightning Gun)"},
    {kItems, "replace_railgun", "set replace_railgun <bitmask>", REPLACE_TEXT "(32 - Rail Gun)"},
    {kItems, "replace_plasmagun", "set replace_plasmagun <bitmask>", REPLACE_TEXT "(64 - Plasma Gun)"},
    {kItems, "replace_bfg", "set replace_bfg <bitmask>", REPLACE_TEXT "(128 - BFG)"},
    {kItems, "replace_invis", "set replace_invis <bitmask>", REPLACE_TEXT "(256 - Invisibility)"},
    {kItems, "replace_quad", "set replace_quad <bitmask>", REPLACE_TEXT "(512 - Quad)"},
    {kItems, "replace_battlesuit", "set replace_battlesuit <bitmask>", REPLACE_TEXT "(1024 - Battle Suit)"},
    {kItems, "replace_haste", "set replace_haste <bitmask>", REPLACE_TEXT "(2048 - Haste)"},
    {kItems, "replace_regen", "set replace_regen <bitmask>", REPLACE_TEXT "(4096 - Regeneration)"},
    {kItems, "replace_flight", "set replace_flight <bitmask>", REPLACE_TEXT "(8192 - Flight)"},

    // Voting.
    {kVoting, "vote_allow", "set vote_allow_* <0|1>", "Enables/Disables clients to vote on a particular server setting."},
    {kVoting, "mode_customfile", "set mode_customfile <filename>", MODE_FILE_TEXT},
    {kVoting, "mode_start", "set mode_start <value>", "Specifies the server configuration that the server will start upon launch.  This also specifies the server's default mode  to roll back to after 10 minutes of inactivity (no connections).  Please refer to the OSP Documentation [Docs/osp-q3-Mode-info.txt] for mode values. (-1 - Option Disabled)"},
    {kVoting, "g_allowvote", "set g_allowVote <0|1>", "Lets clients call votes. (1 - Voting Enabled)"},
    {kVoting, "server_availmodes", "set server_availmodes <bitmask>", "Specifies the game modes that clients can vote for; the value is the sum of the modes' bits. (63 - All modes available for voting)"},
    {kVoting, "vote_limit", "set vote_limit <value>", "Specifies how many votes each client may call on one map. (5)"},
    {kVoting, "vote_percent", "set vote_percent <value>", "Specifies the share of yes votes that a vote needs to pass. (50%)"},

    // Other.
    {kOther, "map", "map <string>", "Specifies the map to load when the server starts. (q3dm1)\n\nUncheck this box to prevent 'map \"<mapname>\"' from writing to the .cfg file.  Note: The starting map value will still be used when spawning a listen server regardless of the state of the checkbox."},
    {kOther, "g_spectatorInactivity", "set g_spectatorInactivity <value>", "Specifies the time (in seconds) that a spectator has to sit idle on a server until they are automatically kicked from the server.  A value of 0 will disable this option and a value < 0 will prevent any spectators from remaining on the server. (0 - Disabled)"},
    {kOther, "map_file", "set map_file <filename>", MAP_FILE_TEXT},
    {kOther, "match_mutespecs", "set match_mutespecs <0|1>", "Keeps players from hearing spectators' chat during a match. (0 - Spectators can be heard)"},
    {kOther, "bot_enable", "set bot_enable <0|1>", "Allows bots on the server. (0 - Bots disabled)"},
    {kOther, "map_autoload", "set map_autoload <0|1>", "Builds the map list from the maps found on the server. (1 - Auto-generate map list)"},
    {kOther, "pmove_fixed", "set pmove_fixed <0|1>", "Runs player movement in fixed steps, the same for every client. (0 - Disabled)"},
    {kOther, "map_queue", "set map_queue <0|1>", "Enables the queue that picks the next map. (1 - Queue Enabled)"},
    {kOther, "map_rotate", "set map_rotate <0|1>", "Plays the maps of the map file in their order. (0 - Maps are NOT cycled)"},
    {kOther, "map_random", "set map_random <0|1>", "Picks the next map of the map file at random. (1 - Random Map Selection)"},
    {kOther, "map_once", "set map_once <0|1>", "Plays every queued map once before any map comes again. (1 - Enabled)"},
    {kOther, "map_nocount", "set map_nocount <0|1>", "Ignores the player counts of the map file when the next map is picked. (0 - Selects maps based on the number of player, etc.)"},
    {kOther, "map_halt", "set map_halt <0|1>", "Pauses before the next level is loaded. (0 - No pausing of the next level load)"},
    {kOther, "bot_checktime", "set bot_checktime <value>", "Specifies how often the server checks whether bots must be added or removed. (10 seconds)"},
    {kOther, "bot_autoload", "set bot_autoload <string>", "Specifies the bots to load when the server starts. (\"\" - No bots loaded)"},
    {kOther, "bot_minplayers", "set bot_minplayers <value>", "Specifies the number of players that bots keep the server filled to. (0 - No bot fillers)"},
    {kOther, "pmove_msec", "set pmove_msec <value>", "Specifies the length of a movement step while pmove_fixed is set. (8 msec)"},
    {kOther, "server_maxpacketsmin", "set server_maxpacketsmin <value>", "Specifies the lowest cl_maxpackets that a client may use. (0 - No lower limit)"},
    {kOther, "server_maxpacketsmax", "set server_maxpacketsmax <value>", "Specifies the highest cl_maxpackets that a client may use. (0 - No upper limit)"},
    {kOther, "server_timenudgemin", "set server_timenudgemin <value>", "Specifies the lowest cl_timenudge that a client may use. (0 - No lower limit)"},
    {kOther, "server_timenudgemax", "set server_timenudgemax <value>", "Specifies the highest cl_timenudge that a client may use. (0 - No upper limit)"},
    {kOther, "sv_minPing", "set sv_minPing <value>", "Specifies the lowest ping with which a client may connect. (0 - No lower limit)"},
    {kOther, "sv_maxPing", "set sv_maxPing <value>", "Specifies the highest ping with which a client may connect. (0 - No upper limit)"},
    {kOther, "sv_maxRate", "set sv_maxRate <value>", "Specifies the highest rate (bytes per second) that the server sends to a client. (0 - No upper limit)"},
    {kOther, "server_realping", "set server_realping <0|1>", "Shows a spectator's own ping instead of the ping of the player followed. (0 - Copies followed player's ping)"},

    // Command Line. The executable path's syntax line is filled in at lookup.
    {kCommandLine, "exe_path", "", "Quake III Arena Executable Path. (C:\\Program Files\\Quake III Arena\\quake3.exe)"},
    {kCommandLine, "generate_batch", "", "Generate a batch/script file to run the server using the settings specified above."},
    {kCommandLine, "net_ip", "+set net_IP <IP Address>", "Specifies the address the server listens on, for a machine with several. (localhost IP)", "net_IP"},
    {kCommandLine, "net_port", "+set net_Port <port>", "Specifies the network port the server listens on. (27960)", "net_Port"},
    {kCommandLine, "cvar_restart", "+set cvar_restart", "Reset all CVars to defaults"},
    {kCommandLine, "dedicated", "+set dedicated <value>", "Specifies how the server runs: 0 listen server, 1 private dedicated server, 2 public dedicated server. (0)"},
    {kCommandLine, "fs_game", "+set fs_game <directory>", "Specifies the game directory of the modification to run. (osp)"},
    {kCommandLine, "com_hunkmegs", "+set com_hunkmegs <value>", "Specifies the memory (in megabytes) that the game sets aside for its data. (56)"},
    {kCommandLine, "exec", "+exec <config file>", "Specifies the configuration file that the server runs when it starts. (q3config.cfg)"},
};

#undef BITMASK_DOCS
#undef START_AMMO
#undef REPLACE_TEXT
#undef MODE_FILE_TEXT
#undef MAP_FILE_TEXT
#undef ITEM_DISABLE_TEXT

}  // namespace

std::span<const HelpRow> helpRows() { return kRows; }

}  // namespace cvarsmith
