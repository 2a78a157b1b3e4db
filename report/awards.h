// Awards of the players of one game.
#pragma once

// Sets every player's award flags from the finished game's figures.
void assignAwards();
