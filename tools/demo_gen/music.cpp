// The five songs of the demo, written as scale degrees over chord progressions and rendered
// into General MIDI parts.
#include <cmath>
#include <sstream>
#include <string>

#include "tools/demo_gen/sound_files.h"

namespace {

constexpr uint32_t kBeat = 480;

// Scale steps above the tonic for degrees 1-7.
constexpr int kMajor[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr int kMinor[7] = {0, 2, 3, 5, 7, 8, 10};

struct Key {
    int tonic;  // MIDI note of degree 1 in the middle octave
    const int* scale;
    int pitch(int degree, int octave) const {
        const int d = degree - 1;
        const int wrap = d >= 0 ? d / 7 : (d - 6) / 7;
        return tonic + scale[d - wrap * 7] + 12 * (wrap + octave);
    }
};

// A melody line: tokens "DEGREE:BEATS", where DEGREE may carry ' (octave up) or , (octave
// down) and "r" is a rest. Returns the beat after the last note.
double melody(MidiPart& part, const Key& key, double start, const std::string& line, int octave,
              uint8_t velocity) {
    std::istringstream in(line);
    std::string token;
    double beat = start;
    while (in >> token) {
        const size_t colon = token.find(':');
        const std::string pitch = token.substr(0, colon);
        const double beats = std::stod(token.substr(colon + 1));
        if (pitch != "r") {
            int oct = octave;
            for (char ch : pitch)
                oct += ch == '\'' ? 1 : ch == ',' ? -1 : 0;
            const int degree = std::stoi(pitch);
            part.notes.push_back({uint32_t(beat * kBeat), uint32_t(beats * kBeat * 0.92),
                                  uint8_t(key.pitch(degree, oct)), velocity});
        }
        beat += beats;
    }
    return beat;
}

// Chords on scale degrees, one per bar of `beats` beats: a held chord, an arpeggio or a bass.
enum class Style { Pad, Arpeggio, Bass, Pulse };

void chords(MidiPart& part, const Key& key, double start, const std::vector<int>& roots,
            double beats, Style style, int octave, uint8_t velocity) {
    double beat = start;
    for (int root : roots) {
        const int tones[3] = {key.pitch(root, octave), key.pitch(root + 2, octave),
                              key.pitch(root + 4, octave)};
        switch (style) {
            case Style::Pad:
                for (int t : tones)
                    part.notes.push_back({uint32_t(beat * kBeat), uint32_t(beats * kBeat * 0.98),
                                          uint8_t(t), velocity});
                break;
            case Style::Arpeggio: {
                const int order[6] = {0, 1, 2, 1, 2, 1};
                const double step = beats / 6;
                for (int i = 0; i < 6; ++i) {
                    const int t = tones[order[i]] + (i == 2 || i == 4 ? 12 : 0);
                    part.notes.push_back({uint32_t((beat + i * step) * kBeat),
                                          uint32_t(step * kBeat * 1.6), uint8_t(t),
                                          uint8_t(velocity - (i % 2) * 10)});
                }
                break;
            }
            case Style::Bass:
                part.notes.push_back({uint32_t(beat * kBeat), uint32_t(beats * kBeat * 0.6),
                                      uint8_t(tones[0] - 12), velocity});
                part.notes.push_back({uint32_t((beat + beats * 0.75) * kBeat),
                                      uint32_t(beats * kBeat * 0.2), uint8_t(tones[2] - 24),
                                      uint8_t(velocity - 15)});
                break;
            case Style::Pulse:
                for (int i = 0; i < int(beats * 2); ++i)
                    part.notes.push_back({uint32_t((beat + i * 0.5) * kBeat), kBeat / 3,
                                          uint8_t(tones[0]), uint8_t(velocity - (i % 2) * 16)});
                break;
        }
        beat += beats;
    }
}

MidiPart part(const char* name, uint8_t channel, uint8_t program, uint8_t volume, uint8_t pan) {
    MidiPart p;
    p.name = name;
    p.channel = channel;
    p.program = program;
    p.volume = volume;
    p.pan = pan;
    return p;
}

uint32_t tempo(double bpm) {
    return uint32_t(std::lround(60'000'000.0 / bpm));
}

// The harbour at dusk: a gentle waltz-like theme for piano over strings, played twice.
MidiSong harbour_theme() {
    const Key key{62, kMajor};  // D major
    MidiSong song;
    song.micros_per_beat = tempo(84);
    MidiPart piano = part("piano", 0, 0, 96, 54), strings = part("strings", 1, 48, 70, 74),
             bass = part("bass", 2, 32, 84, 64);
    const std::vector<int> roots = {1, 6, 4, 5, 1, 6, 2, 5, 4, 5, 3, 6, 2, 5, 1, 1};
    const std::string theme =
        "3:1 2:.5 1:.5 2:1 5,:1 1:1.5 2:.5 3:2 4:1 3:.5 2:.5 1:1 6,:1 7,:1.5 1:.5 2:2 "
        "3:1 5:1 6:1 5:1 4:1.5 3:.5 2:2 1:1 2:.5 3:.5 4:1 3:1 2:1.5 1:.5 1:2 "
        "6:1 5:.5 4:.5 5:2 4:1 3:.5 2:.5 3:2 3:1 4:.5 5:.5 6:1 5:1 4:1 3:1 2:2 "
        "5:1 4:.5 3:.5 2:1 3:1 1:1 2:.5 7,:.5 1:2 r:4";
    for (int round = 0; round < 2; ++round) {
        const double at = round * 64.0;
        chords(piano, key, at, roots, 4, Style::Arpeggio, -1, 62);
        chords(strings, key, at, roots, 4, Style::Pad, 0, 48);
        chords(bass, key, at, roots, 4, Style::Bass, -1, 80);
        melody(piano, key, at, theme, 1, 84);
    }
    song.parts = {piano, strings, bass};
    return song;
}

// The storm: low strings pulsing in D minor, timpani and a restless oboe.
MidiSong storm_theme() {
    const Key key{50, kMinor};  // D minor, low
    MidiSong song;
    song.micros_per_beat = tempo(112);
    MidiPart low = part("low strings", 0, 48, 100, 50), brass = part("horns", 1, 60, 76, 80),
             oboe = part("oboe", 2, 68, 86, 70), timp = part("timpani", 3, 47, 96, 64);
    const std::vector<int> roots = {1, 1, 6, 5, 1, 4, 6, 5, 1, 1, 6, 7, 4, 6, 5, 5};
    const std::string line =
        "5:1.5 6:.5 5:1 4:1 3:2 2:2 1:1 2:1 3:1 5:1 4:4 "
        "3:1.5 4:.5 5:1 6:1 7:2 6:1 5:1 4:1 3:1 2:1 1:1 2:4 "
        "5:1 6:1 7:1 1':1 2':2 1':2 7:1 6:1 5:1 4:1 3:4 "
        "1:1 2:1 3:1 4:1 5:1.5 4:.5 3:2 2:4 5,:4";
    for (int round = 0; round < 2; ++round) {
        const double at = round * 64.0;
        chords(low, key, at, roots, 4, Style::Pulse, 0, 92);
        chords(brass, key, at, roots, 4, Style::Pad, 1, 56);
        chords(timp, key, at, roots, 4, Style::Bass, 1, 90);
        melody(oboe, key, at, line, 2, 88);
    }
    song.parts = {low, brass, oboe, timp};
    return song;
}

// The lamp burns again: a rising hymn for choir, strings and harp in F major.
MidiSong lamp_theme() {
    const Key key{65, kMajor};  // F major
    MidiSong song;
    song.micros_per_beat = tempo(76);
    MidiPart choir = part("choir", 0, 52, 84, 64), harp = part("harp", 1, 46, 80, 40),
             strings = part("strings", 2, 49, 74, 88), horn = part("horn", 3, 60, 80, 70);
    const std::vector<int> roots = {1, 5, 6, 3, 4, 1, 4, 5, 1, 5, 6, 3, 4, 5, 1, 1};
    const std::string hymn =
        "1:2 2:1 3:1 5:3 4:1 3:2 2:2 1:4 4:2 3:1 2:1 3:3 1:1 2:4 r:4 "
        "5:2 6:1 5:1 4:2 3:2 4:2 5:1 6:1 5:4 6:2 5:1 4:1 3:2 2:2 1:4 r:4";
    for (int round = 0; round < 2; ++round) {
        const double at = round * 64.0;
        chords(harp, key, at, roots, 4, Style::Arpeggio, -1, 70);
        chords(strings, key, at, roots, 4, Style::Pad, 0, 56);
        melody(choir, key, at + 4, hymn, 0, 76);
        melody(horn, key, at + 4, hymn, -1, 60);
    }
    song.parts = {choir, harp, strings, horn};
    return song;
}

// A music box remembering a summer long ago.
MidiSong memory_theme() {
    const Key key{72, kMajor};  // C major, high
    MidiSong song;
    song.micros_per_beat = tempo(96);
    MidiPart box = part("music box", 0, 10, 96, 64), pad = part("pad", 1, 89, 54, 64);
    const std::vector<int> roots = {1, 4, 5, 1, 6, 4, 2, 5, 1, 4, 5, 6, 4, 5, 1, 1};
    const std::string tune =
        "5:1 3:1 1:1 3:1 4:2 6:2 5:1 4:1 3:1 2:1 1:4 "
        "6:1 5:1 4:1 6:1 5:2 3:2 2:1 3:1 4:1 2:1 5:4 "
        "5:1 3:1 1:1 3:1 4:2 6:2 5:1 4:1 3:1 5:1 6:4 "
        "4:1 6:1 5:1 4:1 3:2 2:2 1:4 r:4";
    for (int round = 0; round < 2; ++round) {
        const double at = round * 64.0;
        melody(box, key, at, tune, 0, 80);
        chords(box, key, at, roots, 4, Style::Bass, 0, 50);
        chords(pad, key, at, roots, 4, Style::Pad, -1, 40);
    }
    song.parts = {box, pad};
    return song;
}

// Morning: flute over harp and strings, the harbour theme turned bright, in G major.
MidiSong ending_theme() {
    const Key key{67, kMajor};  // G major
    MidiSong song;
    song.micros_per_beat = tempo(90);
    MidiPart flute = part("flute", 0, 73, 90, 70), harp = part("harp", 1, 46, 82, 44),
             strings = part("strings", 2, 48, 68, 84), bass = part("bass", 3, 43, 70, 64);
    const std::vector<int> roots = {1, 5, 6, 3, 4, 1, 2, 5, 1, 5, 6, 3, 4, 5, 1, 1};
    const std::string theme =
        "3:1 2:.5 1:.5 2:1 5,:1 1:1.5 2:.5 3:2 4:1 3:.5 2:.5 1:1 6,:1 7,:1.5 1:.5 2:2 "
        "3:1 5:1 6:1 5:1 4:1.5 3:.5 2:2 1:1 2:.5 3:.5 4:1 3:1 2:1.5 1:.5 1:2 "
        "5:1 6:1 7:1 1':1 2':2 1':2 7:1 6:1 5:1 4:1 3:4 "
        "4:1 3:1 2:1 5:1 1:4 r:4";
    for (int round = 0; round < 2; ++round) {
        const double at = round * 64.0;
        chords(harp, key, at, roots, 4, Style::Arpeggio, -1, 66);
        chords(strings, key, at, roots, 4, Style::Pad, -1, 50);
        chords(bass, key, at, roots, 4, Style::Bass, -1, 70);
        melody(flute, key, at, theme, 1, 86);
    }
    song.parts = {flute, harp, strings, bass};
    return song;
}

}  // namespace

void AddMusic(FileSet& files) {
    files["umi.mid"] = EncodeSmf(harbour_theme());
    files["arashi.mid"] = EncodeSmf(storm_theme());
    files["akari.mid"] = EncodeSmf(lamp_theme());
    files["kioku.mid"] = EncodeSmf(memory_theme());
    files["owari.mid"] = EncodeSmf(ending_theme());
}
