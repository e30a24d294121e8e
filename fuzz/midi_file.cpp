// libFuzzer target: arbitrary file bytes through the MIDI file check that HostPlayMidi makes
// before a song reaches the synthesiser (a bare standard MIDI file, or one inside a RIFF RMID
// file). What comes out is empty or a standard MIDI file that lies inside the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/midi_synth.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    std::vector<uint8_t> smf = StandardMidiFile(bytes);
    if (smf.empty()) return 0;
    if (smf.size() < 4 || std::memcmp(smf.data(), "MThd", 4) != 0 || smf.size() > size)
        std::abort();
    return 0;
}
