// Sound through SDL2_mixer: MIDI files through FluidSynth with the General MIDI soundfont,
// wave files on a mixer channel of their own. The audio device opens with the first sound.
#pragma once

// Errors HostPlayMidi returns.
constexpr int kMidiNoDevice = 262;      // the audio device cannot be opened
constexpr int kMidiFileNotFound = 275;  // the file cannot be opened
constexpr int kMidiCannotPlay = 296;    // the file is no playable MIDI file

// Starts playing a MIDI file once (the one playing before stops); 0 on success.
int HostPlayMidi(const char* file);

// Starts playing a wave file, over and over when `loop` is not 0 (the wave playing before
// stops); an empty name only stops the wave.
void HostPlayWave(const char* file, int loop);

// Stops every sound and closes the audio device (the end of the program).
void HostCloseSound();
