// Every picture of the demo game, painted procedurally.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/demo_gen/image.h"

using FileSet = std::map<std::string, std::vector<uint8_t>>;

// The state a background is painted for; the names are the labels of the game's modes.
struct SceneState {
    std::string place;    // minato saka jinja misaki toudai heya
    std::string time;     // yu yoru asa
    std::string weather;  // hare arashi
    std::string lamp;     // kie tomo
};

Canvas PaintBackground(const SceneState& s);
// Adds every picture file of the demo (relative names, "/" as the separator) to `files`.
// With `previews`, every picture is also kept there as painted (for looking at them).
void AddPictures(FileSet& files, std::map<std::string, Canvas>* previews = nullptr);
