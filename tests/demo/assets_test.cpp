// The demo's generated assets as the game will meet them: every sound a 16-bit PCM WAV of
// sensible length that is not silent and does not clip (and the ambient loops join without a
// click), every song a well-formed format-1 standard MIDI file of General MIDI parts, every
// picture a BMP the game's loader takes, of the size its place on the screen needs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/bitmap.h"
#include "host/bmp.h"
#include "host/raster_target.h"
#include "support/test_env.h"

namespace fs = std::filesystem;

namespace {

const fs::path kGame = fs::path(NOMA_SOURCE_DIR) / "data" / "demo";

std::vector<uint8_t> Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
}

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = v << 8 | b.at(at + size_t(i));
    return v;
}
uint32_t Be(const std::vector<uint8_t>& b, size_t at, int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i)
        v = v << 8 | b.at(at + size_t(i));
    return v;
}

std::vector<fs::path> Files(const std::string& extension) {
    std::vector<fs::path> out;
    for (const auto& e : fs::recursive_directory_iterator(kGame))
        if (e.path().extension() == extension) out.push_back(e.path());
    std::sort(out.begin(), out.end());
    return out;
}

TEST(DemoAssets, SoundsArePcmOfTheirLengthAudibleAndUnclipped) {
    // Seconds each sound lasts; the loops play until the story stops them.
    const std::map<std::string, std::pair<double, bool>> expected = {
        {"nami.wav", {8.0, true}},      {"ame.wav", {6.0, true}},   {"hi.wav", {5.1, true}},
        {"kaminari.wav", {9.0, false}}, {"kane.wav", {4.0, false}}, {"tobira.wav", {3.0, false}}};
    std::set<std::string> found;
    for (const fs::path& path : Files(".wav")) {
        SCOPED_TRACE(path.filename().string());
        const std::vector<uint8_t> b = Bytes(path);
        ASSERT_GE(b.size(), 44u);
        EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
        EXPECT_EQ(Le(b, 4, 4), b.size() - 8);
        EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
        EXPECT_EQ(Le(b, 20, 2), 1u);  // PCM
        const uint32_t rate = Le(b, 24, 4);
        EXPECT_EQ(Le(b, 22, 2) << 16 | Le(b, 34, 2), 1u << 16 | 16u) << "mono, 16 bits";
        EXPECT_EQ(Le(b, 28, 4), rate * 2);
        EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
        const uint32_t size = Le(b, 40, 4);
        ASSERT_EQ(size, b.size() - 44);
        std::vector<double> s;
        for (size_t i = 44; i + 1 < b.size(); i += 2)
            s.push_back(int16_t(Le(b, i, 2)) / 32768.0);
        const double seconds = double(s.size()) / rate;
        double energy = 0, peak = 0;
        size_t clipped = 0;
        for (double v : s) {
            energy += v * v;
            peak = std::max(peak, std::abs(v));
            clipped += std::abs(v) > 0.999;
        }
        EXPECT_GT(std::sqrt(energy / double(s.size())), 0.02) << "too quiet";
        EXPECT_GT(peak, 0.3);
        EXPECT_LT(clipped, s.size() / 1000) << "clips";
        const auto it = expected.find(path.filename().string());
        ASSERT_NE(it, expected.end()) << "a sound the test does not know";
        found.insert(it->first);
        EXPECT_NEAR(seconds, it->second.first, 0.05);
        if (it->second.second) {
            // A loop joins without a step: its last sample runs on into its first.
            EXPECT_LT(std::abs(s.back() - s.front()), 0.1) << "clicks where it loops";
        } else {
            // A single sound dies away before it comes round again.
            double tail = 0;
            for (size_t i = s.size() - size_t(rate) / 10; i < s.size(); ++i)
                tail = std::max(tail, std::abs(s[i]));
            EXPECT_LT(tail, 0.25) << "still loud at its end";
        }
    }
    EXPECT_EQ(found.size(), expected.size());
}

TEST(DemoAssets, SongsAreFormatOneMidiFilesOfGeneralMidiParts) {
    const std::vector<fs::path> songs = Files(".mid");
    EXPECT_EQ(songs.size(), 5u);
    for (const fs::path& path : songs) {
        SCOPED_TRACE(path.filename().string());
        const std::vector<uint8_t> b = Bytes(path);
        ASSERT_GE(b.size(), 14u);
        EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "MThd");
        EXPECT_EQ(Be(b, 4, 4), 6u);
        EXPECT_EQ(Be(b, 8, 2), 1u);
        const uint32_t tracks = Be(b, 10, 2), division = Be(b, 12, 2);
        EXPECT_LT(division - 1, 0x7FFFu);  // ticks per beat, not SMPTE
        size_t at = 14;
        uint32_t chunks = 0, tempo = 0, notes = 0, programs = 0, last_tick = 0;
        while (at < b.size()) {
            ASSERT_LE(at + 8, b.size());
            ASSERT_EQ(std::string(b.begin() + long(at), b.begin() + long(at) + 4), "MTrk");
            const size_t end = at + 8 + Be(b, at + 4, 4);
            ASSERT_LE(end, b.size());
            size_t p = at + 8;
            uint32_t tick = 0;
            std::map<int, int> sounding;
            bool ended = false;
            while (p < end) {
                uint32_t delta = 0;
                do
                    delta = delta << 7 | (b[p] & 0x7F);
                while (b[p++] & 0x80);
                tick += delta;
                const uint8_t status = b.at(p++);
                if (status == 0xFF) {
                    const uint8_t type = b.at(p++);
                    const uint32_t len = b.at(p++);
                    if (type == 0x51) tempo = Be(b, p, 3);
                    if (type == 0x2F) ended = p + len == end;
                    p += len;
                } else if ((status & 0xF0) == 0x90 && b.at(p + 1) > 0) {
                    ++sounding[b[p]], ++notes, p += 2;
                } else if ((status & 0xF0) == 0x80 || (status & 0xF0) == 0x90) {
                    EXPECT_GT(sounding[b[p]]--, 0) << "a note ends that never began";
                    p += 2;
                } else if ((status & 0xF0) == 0xC0) {
                    ++programs, ++p;
                } else {
                    ASSERT_EQ(status & 0xF0, 0xB0) << "an event the writer never makes";
                    p += 2;
                }
            }
            EXPECT_TRUE(ended) << "track without its end";
            for (auto [key, n] : sounding)
                EXPECT_EQ(n, 0) << "note " << key << " never ends";
            last_tick = std::max(last_tick, tick);
            at = end;
            ++chunks;
        }
        EXPECT_EQ(chunks, tracks);
        EXPECT_EQ(programs, tracks - 1);  // each part chooses its instrument
        EXPECT_GT(notes, 100u);
        ASSERT_GT(tempo, 0u);
        const double seconds = double(last_tick) / division * tempo / 1e6;
        EXPECT_GT(seconds, 60.0);
        EXPECT_LT(seconds, 240.0);
    }
}

class DemoPictures : public NomaTest {};

TEST_F(DemoPictures, EveryPictureLoadsInTheSizeOfItsPlace) {
    auto size_of = [](const std::string& name) -> std::pair<int, int> {
        if (name.rfind("bg_", 0) == 0 || name.rfind("ep_", 0) == 0 || name.rfind("mem_", 0) == 0 ||
            name == "result.bmp")
            return {800, 600};
        if (name.rfind("sel_", 0) == 0) return {210, 24};
        if (name == "selmenu.bmp") return {220, 240};
        if (name == "button.bmp") return {200, 100};
        if (name == "neko.bmp") return {96, 80};
        if (name == "chochin.bmp") return {60, 110};
        return {200, 110};  // cut-in pictures and the frames of the animation
    };
    const std::vector<fs::path> pictures = Files(".bmp");
    EXPECT_GE(pictures.size(), 35u);
    uintmax_t total = 0;
    for (const fs::path& path : pictures) {
        SCOPED_TRACE(path.filename().string());
        total += fs::file_size(path);
        const uint32_t bitmap = HostLoadBmp(path.c_str());
        ASSERT_NE(bitmap, 0u);
        int w = 0, h = 0;
        ASSERT_TRUE(HostBitmapSize(bitmap, &w, &h));
        EXPECT_EQ(std::make_pair(w, h), size_of(path.filename().string()));
        const RasterTarget t = HostBitmapTarget(bitmap);
        std::set<uint32_t> colours(t.pixels, t.pixels + size_t(w) * h);
        EXPECT_GT(colours.size(), 3u) << "a flat picture";
        const std::string name = path.filename().string();
        if (name == "neko.bmp" || name == "chochin.bmp") {
            // Sprites: pure green around the figure, and a figure without green in it.
            EXPECT_EQ(t.pixels[0], 0x0000FF00u);
            EXPECT_EQ(t.pixels[size_t(w) * h - 1], 0x0000FF00u);
            const size_t green =
                size_t(std::count(t.pixels, t.pixels + size_t(w) * h, 0x0000FF00u));
            EXPECT_GT(green, size_t(w) * h / 4);
            EXPECT_LT(green, size_t(w) * h * 3 / 4);
        } else {
            EXPECT_EQ(colours.count(0x0000FF00u), 0u) << "pure green would be transparent";
        }
    }
    EXPECT_LT(total, 2u << 20) << "the pictures grew past 2 MB";
}

}  // namespace
