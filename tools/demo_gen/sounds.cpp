// Sound effects, synthesised: noise shaped by filters and envelopes, and struck partials.
// The game plays every wave file in a loop until the scenario stops it, so the ambient
// sounds (waves, rain, fire) loop without a seam and the single events end in silence.
#include <algorithm>
#include <cmath>

#include "tools/demo_gen/image.h"
#include "tools/demo_gen/sound_files.h"

namespace {

constexpr int kRate = 22050;

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// One-pole low-pass filter.
struct LowPass {
    double a, y = 0;
    explicit LowPass(double cutoff) : a(1 - std::exp(-2 * M_PI * cutoff / kRate)) {}
    double operator()(double x) { return y += a * (x - y); }
};

std::vector<double> normalise(std::vector<double> s, double peak) {
    double m = 0;
    for (double v : s)
        m = std::max(m, std::abs(v));
    if (m > 0)
        for (double& v : s)
            v *= peak / m;
    return s;
}

// Fades the first and last `ms` milliseconds into each other so that a loop has no click.
void crossfade_loop(std::vector<double>& s, int ms) {
    const size_t n = size_t(kRate) * size_t(ms) / 1000;
    if (s.size() < 2 * n) return;
    const size_t tail = s.size() - n;
    for (size_t i = 0; i < n; ++i) {
        const double t = double(i) / n;
        s[i] = s[i] * t + s[tail + i] * (1 - t);
    }
    s.resize(tail);
}

// Waves on the shore: low-passed noise swelling every few seconds.
std::vector<double> waves() {
    Random rnd(101);
    const double seconds = 8.0;
    std::vector<double> s(size_t(kRate * (seconds + 0.5)));
    LowPass body(500), hiss(3000);
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        const double swell = std::pow(0.5 + 0.5 * std::sin(2 * M_PI * t / 4.0 - 1.2), 2.2);
        const double n = rnd.range(-1, 1);
        s[i] = body(n) * (0.25 + swell) + (hiss(n) - body.y) * 0.3 * swell;
    }
    crossfade_loop(s, 500);
    return normalise(s, 0.6);
}

// Rain and wind: dense high noise, scattered drops and a moaning band of wind.
std::vector<double> rain() {
    Random rnd(202);
    std::vector<double> s(size_t(kRate * 6.5));
    LowPass lp(6000), wind_lp(300), wind_lp2(300);
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        const double n = rnd.range(-1, 1);
        double v = (lp(n) - wind_lp(n)) * 0.35;
        const double gust = 0.5 + 0.5 * std::sin(2 * M_PI * t / 3.0);
        v += wind_lp2(rnd.range(-1, 1)) * 1.6 * gust;
        if (rnd.uniform() < 0.002) v += rnd.range(-0.8, 0.8);
        s[i] = v;
    }
    crossfade_loop(s, 500);
    return normalise(s, 0.55);
}

// Thunder with rain behind it: a crack, then a long rumble that dies away over the rain.
std::vector<double> thunder() {
    std::vector<double> s = rain();
    s.resize(size_t(kRate * 9));
    std::vector<double> r = rain();
    for (size_t i = r.size(); i < s.size(); ++i)
        s[i] = r[i - r.size()];
    Random rnd(303);
    LowPass crack(2500), rumble(120), rumble2(80);
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        const double n = rnd.range(-1, 1);
        const double c = crack(n) * std::exp(-t * 12) * 2.5;
        const double flicker =
            0.6 + 0.4 * std::sin(2 * M_PI * 2.3 * t) * std::sin(2 * M_PI * 0.7 * t);
        const double rb = rumble2(rumble(n)) * 40 * std::exp(-t * 0.7) * flicker;
        s[i] = s[i] * 0.5 + c + rb * std::min(1.0, t * 8);
    }
    return normalise(s, 0.9);
}

// A small shrine bell: inharmonic partials, each with its own decay, then silence.
std::vector<double> bell() {
    std::vector<double> s(size_t(kRate * 4));
    const double base = 660, ratios[] = {1.0, 2.32, 4.25, 6.63, 9.38};
    const double decays[] = {1.2, 1.8, 2.6, 3.5, 5.0}, levels[] = {1.0, 0.6, 0.35, 0.2, 0.1};
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        double v = 0;
        for (int k = 0; k < 5; ++k)
            v += levels[k] * std::exp(-t * decays[k]) * std::sin(2 * M_PI * base * ratios[k] * t);
        s[i] = v * std::min(1.0, t * 400);
    }
    return normalise(s, 0.7);
}

// Three knocks on a wooden door, then silence.
std::vector<double> knocks() {
    std::vector<double> s(size_t(kRate * 3));
    Random rnd(404);
    for (int k = 0; k < 3; ++k) {
        const size_t at = size_t(kRate * (0.1 + k * 0.32));
        LowPass lp(900);
        for (size_t i = 0; i < size_t(kRate * 0.25) && at + i < s.size(); ++i) {
            const double t = double(i) / kRate;
            const double tone = std::sin(2 * M_PI * 180 * t) + 0.5 * std::sin(2 * M_PI * 410 * t);
            s[at + i] += (tone * 0.6 + lp(rnd.range(-1, 1)) * 3) * std::exp(-t * 28);
        }
    }
    return normalise(s, 0.8);
}

// A match struck and a small fire crackling.
std::vector<double> fire() {
    Random rnd(505);
    std::vector<double> s(size_t(kRate * 5.5));
    LowPass roar(200), strike(4000);
    double pop = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double n = rnd.range(-1, 1);
        if (rnd.uniform() < 0.0008) pop = rnd.range(0.4, 1.0);
        pop *= 0.995;
        s[i] = roar(n) * 2.2 + (strike(n) - roar.y) * pop * 0.8;
    }
    crossfade_loop(s, 400);
    return normalise(s, 0.6);
}

}  // namespace

std::vector<uint8_t> EncodeWav(const std::vector<double>& samples, int rate) {
    std::vector<uint8_t> out{'R', 'I', 'F', 'F'};
    const uint32_t data_size = uint32_t(samples.size() * 2);
    put32(out, 36 + data_size);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, uint32_t(rate));
    put32(out, uint32_t(rate * 2));
    put16(out, 2);
    put16(out, 16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put32(out, data_size);
    for (double v : samples) {
        const long s = std::lround(std::clamp(v, -1.0, 1.0) * 32767);
        put16(out, uint16_t(int16_t(s)));
    }
    return out;
}

void AddSounds(FileSet& files) {
    files["nami.wav"] = EncodeWav(waves(), kRate);
    files["ame.wav"] = EncodeWav(rain(), kRate);
    files["kaminari.wav"] = EncodeWav(thunder(), kRate);
    files["kane.wav"] = EncodeWav(bell(), kRate);
    files["tobira.wav"] = EncodeWav(knocks(), kRate);
    files["hi.wav"] = EncodeWav(fire(), kRate);
}
