// Weapon accuracy and damage: the accuracy lines of converted server logs and
// the OSP statistics block of a client console log.
#pragma once

#include <cstdio>
#include <functional>
#include <string_view>

#include "text.h"

struct Game;
struct LineEvent;

// Adds the figures of an accuracy line ("<name> accuracy statistics ...").
void scanWeaponStats(Game& game, const LineEvent& event);

// Reads the OSP statistics block that follows a match-end line, straight from
// the log. Every line it reads is consumed, including the one that ends the
// block; the block also ends at the end of the log. `consumed`, when given,
// sees every line read, cleaned.
void scanOspStats(Game& game, std::FILE* log, const std::function<void(std::string_view)>& consumed = {},
                  HighBytes high = HighBytes::kReplaced);

// True when weapon w played a part in the game: a kill with it among the live
// players, or (Gauntlet) a hit, or (Machine Gun to Plasma Gun) a shot.
bool weaponUsed(const Game& game, int weapon);
