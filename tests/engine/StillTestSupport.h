#pragma once
// For the still encoder and packer tests: synthetic frames, and Debian's
// ffmpeg, ffprobe and mplex as independent checkers (see ExternalTool.h).
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/still/StillFormat.h"
#include "engine/mpeg1/YCbCrFrame.h"
#include "support/ExternalTool.h"
#include "support/TempDir.h"

namespace still_test {

inline bool RunQuietly(const std::string& command) { return RunTool(command + " >/dev/null 2>&1") == 0; }

inline std::string Capture(const std::string& command)
{
    std::string text;
    RunTool(command + " 2>/dev/null", &text);
    return text;
}

inline std::string AsString(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }
inline std::vector<uint8_t> AsBytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

enum class Pattern {
    Flat,       // mid grey
    Mixed,      // a gradient, hard-edged squares, a flat area, a ramp and a noisy strip
    Noise,      // samples random over the studio range
    HardNoise,  // samples 16 or 235 at random: the costliest content there is
    Bars,       // vertical black and white bars 4 samples wide: strong edges
};

inline YCbCrFrame MakeFrame(const StillFormat& format, Pattern pattern, unsigned seed = 1)
{
    uint32_t state = seed;
    auto random = [&state]() { return (state = state * 1664525u + 1013904223u) >> 8; };
    auto sample = [&](int x, int y, int span) -> uint8_t {
        switch (pattern) {
        case Pattern::Flat: return 128;
        case Pattern::Noise: return static_cast<uint8_t>(16 + random() % 220);
        case Pattern::HardNoise: return random() % 2 ? 235 : 16;
        case Pattern::Bars: return (x / 4) % 2 ? 235 : 16;
        case Pattern::Mixed: break;
        }
        if (x < span / 4)
            return static_cast<uint8_t>(16 + 219 * y / (span * 3 / 4 + 1) % 220);
        if (x < span / 2)
            return ((x / 12 + y / 12) % 2) ? 200 : 40;
        if (x < span * 3 / 4)
            return static_cast<uint8_t>(y < span / 3 ? 90 : 60 + (x + 2 * y) % 120);
        return static_cast<uint8_t>(16 + random() % 220);
    };
    YCbCrFrame f;
    f.width = format.Width();
    f.height = format.Height();
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x)
            f.y.push_back(sample(x, y, f.width));
    for (int y = 0; y < f.height / 2; ++y)
        for (int x = 0; x < f.width / 2; ++x) {
            f.cb.push_back(sample(x, y, f.width / 2));
            f.cr.push_back(sample(y, x, f.width / 2));
        }
    return f;
}

// PSNR of the luminance of decoded yuv420p bytes against the frame.
inline double PsnrY(const YCbCrFrame& frame, const std::vector<uint8_t>& decoded)
{
    if (decoded.size() < frame.y.size())
        return 0;
    double squares = 0;
    for (size_t i = 0; i < frame.y.size(); ++i)
        squares += (frame.y[i] - decoded[i]) * (frame.y[i] - decoded[i]);
    return squares == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 * static_cast<double>(frame.y.size()) / squares);
}

// The first picture of an MPEG file as ffmpeg decodes it, in yuv420p bytes
// (empty if ffmpeg fails). `input`: e.g. "-f mpegvideo"; `map`: e.g. "-map 0:i:0x1e2".
inline std::vector<uint8_t> DecodeWithFfmpeg(const TempDir& dir, const std::vector<uint8_t>& file,
                                             const std::string& input, const std::string& map = "")
{
    const std::string in = dir.Write("decode-in", AsString(file)), out = dir.File("decode-out.yuv");
    std::remove(out.c_str());
    if (!RunQuietly("ffmpeg -v error -y " + input + " -i " + in + " " + map +
                    " -frames:v 1 -f rawvideo -pix_fmt yuv420p " + out))
        return {};
    return AsBytes(TempDir::Read(out));
}

}  // namespace still_test
