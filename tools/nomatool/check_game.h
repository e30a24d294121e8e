// nomatool check: loads a game's settings and data resources as the game does and reports
// what would go wrong in play (see docs/AUTHORING.md, "Checking a game").
#pragma once

#include <string>
#include <vector>

struct GameCheck {
    // 0 clean, 1 findings, 2 the game cannot be loaded at all (`fatal` says why).
    int status = 0;
    std::string fatal;
    // One line per finding, UTF-8: "FILE[:LINE]: [record N: ]message".
    std::vector<std::string> findings;
    int states = 0;        // player states the reachability search visited
    bool bounded = false;  // the search stopped at its bound
};

// How many player states the reachability search visits at most, unless told otherwise.
inline constexpr int kDefaultSearchStates = 20000;

// Checks the game in the working folder on a fresh pool (one left from before is released).
// Reads files only.
GameCheck CheckGame(int max_states = kDefaultSearchStates);
