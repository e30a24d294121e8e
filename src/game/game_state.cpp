#include "game/game_data.h"

IlvaneGame g_game;

void ResetGame() {
    g_game = IlvaneGame{};
}
