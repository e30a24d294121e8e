// The small test game of tests/game/data, for tests, benchmarks and fuzz targets: its files
// installed as Shift-JIS, and its pictures, drawn by code so that the game content is our own
// (scenes of a town, a forest and a castle at dusk, and the result screen's backdrop, as 24-bit
// BMP files).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Copies tests/game/data into the working folder, text files converted to Shift-JIS.
void InstallTestGame();

// Writes robyA.bmp (the start background), bg_<place>_<weather>.bmp for every place and
// weather of the test game, and result.bmp into the working folder.
void WriteTestPictures(int width = 800, int height = 600);
// One scene as BMP bytes; `place` 0 town, 1 forest, 2 castle; `weather` 0 sunny, 1 rain.
std::string ScenePicture(int width, int height, int place, int weather);
// A 24-bit BMP file of `width` x `height` pixels (0x00BBGGRR each, rows from the top).
std::string BmpBytes(int width, int height, const std::vector<uint32_t>& pixels);
