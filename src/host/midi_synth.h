// The MIDI synthesiser: one FluidSynth synthesiser for the whole run with the General MIDI
// soundfont loaded once, on a thread of its own, when the audio device opens. Every song plays
// through a new MIDI player on that synthesiser, so a music change costs the program thread
// only the hand-over of the file's bytes (loading the 148 MB soundfont for every song stalled
// it for about 140 ms). The mixer's music hook pulls the synthesiser's output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The soundfont to load: the player's (MidiChooseSoundFont) when one was named, else
// SDL_SOUNDFONTS's first entry when set, else the first General MIDI soundfont of the
// distribution that exists; "" when there is none.
const char* MidiSoundFontPath();

// The soundfonts installed on the machine, best first: the distribution's General MIDI ones,
// then any other .sf2/.sf3 file of its soundfont folders.
std::vector<std::string> InstalledSoundFonts();
// The soundfont to use when the player wants `wanted` ("" = no wish): `wanted` when it can be
// read, else the first of `installed` ("" when there is none), with a line for the player in
// `note` saying what replaced the missing file (empty when nothing was missing).
std::string ChooseSoundFont(const std::string& wanted, const std::vector<std::string>& installed,
                            std::string* note);
// Makes the player's soundfont the one to load. A missing file falls back to the best
// installed one, said once on stderr and in the log. Called before the first sound.
void MidiChooseSoundFont(const std::string& wanted);

// Starts loading the soundfont for output at `rate` frames per second. Returns false when
// there is no soundfont to load (songs cannot play then).
bool MidiSynthOpen(int rate);

// Plays a standard MIDI file once, replacing the song playing before (which stops at once).
// A song handed over while the soundfont is still loading starts as soon as it is loaded.
void MidiSynthPlay(std::vector<uint8_t> smf);

// True once the soundfont is loaded (or failed to load) and a handed-over song has started.
bool MidiSynthReady();
// True while a song plays or its last notes still sound.
bool MidiSynthSounding();

// Renders `frames` frames of 16-bit samples interleaved over `channels` channels into `out`
// (which holds silence): the audio thread's part.
void MidiSynthRender(int16_t* out, int frames, int channels);

// Waits for the loading to end and frees the synthesiser.
void MidiSynthClose();

// The standard MIDI file inside `bytes`: a bare one as it is, the "data" chunk of a RIFF
// "RMID" file; empty when it is neither.
std::vector<uint8_t> StandardMidiFile(const std::vector<uint8_t>& bytes);
