// Conversion of the game's UTF-8 text sources into the Shift-JIS files the game reads.
#pragma once

#include <string>

#include "tools/demo_gen/pictures.h"

// The Shift-JIS form of a UTF-8 text, ending in a line feed; throws when a character has no
// Shift-JIS form (`name` goes into the message with the line number).
std::string TextToSjis(const std::string& utf8, const std::string& name);
// Adds every file under `source_dir`, converted, under its path relative to that folder.
void AddTexts(FileSet& files, const std::string& source_dir);
