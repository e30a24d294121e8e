// Sound through SDL2_mixer: MIDI files through one FluidSynth synthesiser that keeps the
// General MIDI soundfont loaded (host/midi_synth.h), wave files on a mixer channel of their
// own. The audio device opens with the first sound, and the soundfont starts loading then.
#pragma once

// Errors HostPlayMidi returns.
constexpr int kMidiNoDevice = 262;      // the audio device cannot be opened
constexpr int kMidiFileNotFound = 275;  // the file cannot be opened
constexpr int kMidiCannotPlay = 296;    // the file is no playable MIDI file

// Starts playing a MIDI file once (the one playing before stops); 0 on success. The program
// thread only reads and checks the file: the song starts on the audio thread, as soon as the
// soundfont is loaded.
int HostPlayMidi(const char* file);
// True once the soundfont has finished loading (songs then start within one audio buffer).
bool HostMidiReady();

// Starts playing a wave file, over and over when `loop` is not 0 (the wave playing before
// stops); an empty name only stops the wave.
void HostPlayWave(const char* file, int loop);

// Stops every sound and closes the audio device (the end of the program).
void HostCloseSound();

// The player's volumes, 0 to 100 each, and the mute switch (the volumes are kept while muted).
// Any thread; they take effect within one audio buffer, also on sounds that play already.
void HostSetVolumes(int music, int effects);
void HostSetMuted(bool on);
bool HostSoundMuted();

// What the mixer plays with now: the music level (0..100) applied to the synthesiser's output
// and the wave channel's mixer volume (0..MIX_MAX_VOLUME).
struct HostMixerLevels {
    int music;
    int wave;
};
HostMixerLevels HostCurrentMixerLevels();
