// The demo's music (standard MIDI files for the General MIDI soundfont) and sound effects (WAV).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/demo_gen/pictures.h"

// A standard MIDI file of format 1: a tempo track and one track per part.
struct MidiNote {
    uint32_t start, length;  // ticks
    uint8_t key, velocity;
};
struct MidiPart {
    std::string name;
    uint8_t channel = 0, program = 0, volume = 100, pan = 64;
    std::vector<MidiNote> notes;
};
struct MidiSong {
    uint16_t ticks_per_beat = 480;
    uint32_t micros_per_beat = 500000;
    std::vector<MidiPart> parts;
};
std::vector<uint8_t> EncodeSmf(const MidiSong& song);

// Mono 16-bit PCM samples in [-1, 1] as a WAV file.
std::vector<uint8_t> EncodeWav(const std::vector<double>& samples, int rate);

void AddMusic(FileSet& files);
void AddSounds(FileSet& files);
