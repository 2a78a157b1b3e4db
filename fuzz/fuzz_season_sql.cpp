// The statements of one game, for any bytes in a player's raw name, name,
// model and quote: the script must hold exactly the statements it holds for
// harmless texts, with every text inside its literal and coming back out of
// it unchanged (cut to its column). A value that ended its literal early
// would change the statements around it.
//
// The script is checked with a lexer of the server's string literals: a
// literal runs from a quote character to the same character unescaped;
// inside it a backslash takes the next byte, and a doubled quote character
// stands for one. Outside literals, what is left (with each literal replaced
// by "?") is the script's skeleton.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "game.h"
#include "player_sql.h"
#include "players.h"
#include "season_config.h"
#include "season_parsing.h"

namespace {

struct Lexed {
  std::string skeleton;
  std::vector<std::string> literals;  // decoded
  bool complete = true;               // false when a literal never ended
};

char unescape(char c) {
  switch (c) {
    case '0': return '\0';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'b': return '\b';
    case 'Z': return '\x1a';
    default: return c;
  }
}

Lexed lex(const std::string& script) {
  Lexed out;
  std::size_t i = 0;
  while (i < script.size()) {
    char c = script[i];
    if (c != '\'' && c != '"') {
      out.skeleton += c;
      ++i;
      continue;
    }
    std::string value;
    ++i;
    bool closed = false;
    while (i < script.size()) {
      if (script[i] == '\\' && i + 1 < script.size()) {
        value += unescape(script[i + 1]);
        i += 2;
      } else if (script[i] == c && i + 1 < script.size() && script[i + 1] == c) {
        value += c;
        i += 2;
      } else if (script[i] == c) {
        ++i;
        closed = true;
        break;
      } else {
        value += script[i++];
      }
    }
    out.complete = out.complete && closed;
    out.skeleton += '?';
    out.literals.push_back(value);
  }
  return out;
}

struct PlayerTexts {
  std::string raw_name;
  std::string name;
  std::string model;
  std::string quote;
};

// A two-player game: the player under test and a harmless opponent, each
// with one kill, so that both get their rows.
void setUpGame(Game& game, const PlayerTexts& texts) {
  initPlayers(game);
  Q3Player& p = game.q3players[0];
  p.raw_name.assign(texts.raw_name);
  p.original_name.assign(texts.raw_name);
  p.name.assign(texts.name);
  p.model.assign(texts.model);
  p.quote.assign(texts.quote);
  Q3Player& other = game.q3players[1];
  other.raw_name.assign("Opponent");
  other.name.assign("Opponent");
  for (Q3Player* player : {&p, &other}) player->kills = 1;
  season::markBlankNames(game);
}

std::string statementsFor(Game& game, const season::SeasonConfig& config, const PlayerTexts& texts) {
  setUpGame(game, texts);
  return season::gameStatements(game, config);
}

// A text as it is to come back out of its literal: cut to the column.
std::string stored(const std::string& text, std::size_t column) { return text.substr(0, column); }

[[noreturn]] void fail(const char* what, const std::string& script) {
  std::fprintf(stderr, "%s\n--- script ---\n%s\n", what, script.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  PlayerTexts texts;
  texts.raw_name = input.ConsumeRandomLengthString(600);
  texts.name = input.ConsumeRandomLengthString(600);
  texts.model = input.ConsumeRandomLengthString(600);
  texts.quote = input.ConsumeRemainingBytesAsString();
  if (texts.raw_name.empty() || texts.raw_name.find('\0') != std::string::npos) return 0;  // no such player

  season::SeasonConfig config;
  config.db_name.assign("season");
  config.no_of_game_stats = 1;
  static Game game;
  const std::string script = statementsFor(game, config, texts);
  // The texts of the record after the season's fixes (blank names marked,
  // apostrophes made "_"), as the script got them.
  const Q3Player& player = game.q3players[0];
  const std::string raw_name(player.raw_name.view());
  const std::string name(player.name.view());
  const std::string model(player.model.view());
  const std::string quote(player.quote.view());

  // The same game with harmless texts of the same kinds (a model or none, a
  // quote or none).
  PlayerTexts harmless{"Raw", "Name", model.empty() ? "" : "model", quote == kNoQuote ? std::string(kNoQuote) : "q"};
  const Lexed reference = lex(statementsFor(game, config, harmless));
  const Lexed lexed = lex(script);
  if (!lexed.complete) fail("a literal never ends", script);
  if (lexed.skeleton != reference.skeleton) fail("the statements around the texts changed", script);

  // Every text comes back as it went in: the raw name keys the player's
  // statement, whose texts stand twice, for a new row and for a row already
  // there. The literals before the player's (the time variable, the server,
  // the page name) are those of the harmless game.
  std::vector<std::string> expected;
  for (const std::string& literal : reference.literals) {
    if (literal == harmless.raw_name) break;
    expected.push_back(literal);
  }
  expected.push_back(stored(raw_name, 50));
  for (int i = 0; i < 2; ++i) {
    expected.push_back(stored(name, 50));
    if (!model.empty()) expected.push_back(stored(model, 50));
    if (quote != kNoQuote) expected.push_back(stored(quote, 255));
  }
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if (i >= lexed.literals.size() || lexed.literals[i] != expected[i]) fail("a text came back changed", script);
  }
  return 0;
}
