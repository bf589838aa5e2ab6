#include "SilentAudio.h"

#include <cmath>

#include "engine/mpeg1/BitWriter.h"
#include "engine/mpeg1/SystemStream.h"

namespace {

// A Layer II frame holds 1152 samples: 144 bytes per sample-rate-th of the bit rate.
constexpr int64_t kFrameBytesNumerator = int64_t{kSamplesPerAudioFrame} / 8 * kAudioBitRate;  // 32 256 000

constexpr uint32_t kSyncword = 0xFFF;
constexpr uint32_t kLayerII = 0x2;          // layer '10'
constexpr uint32_t kBitrate224 = 11;        // bitrate_index of 224 kbit/s in Layer II
constexpr uint32_t kSampling44100 = 0;      // sampling_frequency '00'
constexpr uint32_t kModeStereo = 0;         // mode '00'

// Bytes in frames 0..frame-1 together.
int64_t BytesBefore(int64_t frame) { return frame * kFrameBytesNumerator / kAudioSampleRate; }

}  // namespace

size_t AudioFrameBytes(int64_t frame) { return static_cast<size_t>(BytesBefore(frame + 1) - BytesBefore(frame)); }

bool AudioFramePadded(int64_t frame) { return AudioFrameBytes(frame) > static_cast<size_t>(kFrameBytesNumerator / kAudioSampleRate); }

std::vector<uint8_t> SilentAudioFrame(bool padded)
{
    BitWriter out;
    out.Put(kSyncword, 12);          // syncword
    out.Put(1, 1);                   // ID: MPEG-1
    out.Put(kLayerII, 2);            // layer: II
    out.Put(1, 1);                   // protection_bit: no CRC
    out.Put(kBitrate224, 4);         // bitrate_index: 224 kbit/s
    out.Put(kSampling44100, 2);      // sampling_frequency: 44.1 kHz
    out.Put(padded ? 1 : 0, 1);      // padding_bit
    out.Put(0, 1);                   // private_bit
    out.Put(kModeStereo, 2);         // mode: stereo
    out.Put(0, 2);                   // mode_extension (joint stereo only)
    out.Put(0, 1);                   // copyright
    out.Put(1, 1);                   // original/copy: original
    out.Put(0, 2);                   // emphasis: none
    std::vector<uint8_t> frame = out.TakeBytes();
    const size_t bytes = static_cast<size_t>(kFrameBytesNumerator / kAudioSampleRate) + (padded ? 1 : 0);
    frame.resize(bytes, 0);          // allocation 0 everywhere, ancillary zeros
    return frame;
}

ElementaryStream MakeSilentAudio(int frames)
{
    const std::vector<uint8_t> plain = SilentAudioFrame(false), padded = SilentAudioFrame(true);
    ElementaryStream es;
    es.bytes.reserve(static_cast<size_t>(BytesBefore(frames)));
    for (int64_t j = 0; j < frames; ++j) {
        AccessUnit unit;
        unit.start = unit.stampAt = es.bytes.size();
        unit.dts = unit.pts = j * kSamplesPerAudioFrame * kSystemClockHz / kAudioSampleRate;
        es.units.push_back(unit);
        const std::vector<uint8_t>& frame = AudioFramePadded(j) ? padded : plain;
        es.bytes.insert(es.bytes.end(), frame.begin(), frame.end());
    }
    return es;
}

int AudioFramesFor(double seconds)
{
    return static_cast<int>(std::ceil(seconds * kAudioSampleRate / kSamplesPerAudioFrame - 1e-9));
}
