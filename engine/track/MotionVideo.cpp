#include "MotionVideo.h"

#include <algorithm>
#include <cmath>

#include "UnchangedSlices.h"
#include "engine/mpeg1/BitWriter.h"
#include "engine/mpeg1/FrameCoefficients.h"
#include "engine/mpeg1/IntraQuantiser.h"
#include "engine/mpeg1/SystemStream.h"
#include "engine/mpeg1/VideoHeaders.h"

namespace {

constexpr int kMacroblockSize = 16;
constexpr uint32_t kBitRateField = kMotionBitRate / kBitRateUnit;
constexpr int kVbvField = static_cast<int>(kMotionVbvBytes / kVbvUnitBytes);
constexpr size_t kIntraPictureCodeAt = kSequenceHeaderBytes + kGroupHeaderBytes;
constexpr size_t kIntraHeaderBytes = kIntraPictureCodeAt + kIntraPictureHeaderBytes;
// P pictures code no coefficient, so their slices' quantiser scale is never used.
constexpr int kUnchangedQuantiser = 8;

struct Timing {
    int64_t frameTicks;

    // Bytes the bit rate has delivered `ticks` after the first one.
    static int64_t ArrivedBy(int64_t ticks) { return ticks * kMotionBitRate / (8 * kSystemClockHz); }
    // Ticks until `bytes` bytes have arrived, rounded up.
    static int64_t TicksFor(int64_t bytes) { return (bytes * 8 * kSystemClockHz + kMotionBitRate - 1) / kMotionBitRate; }
    int64_t BytesPerPicture() const { return (frameTicks * kMotionBitRate + 8 * kSystemClockHz - 1) / (8 * kSystemClockHz); }
};

SequenceHeader MotionSequenceHeader(bool ntsc)
{
    SequenceHeader header;
    header.width = MotionWidth();
    header.height = MotionHeight(ntsc);
    header.ntsc = ntsc;
    header.bitRate = kBitRateField;
    header.vbvBufferSize = kVbvField;
    header.constrainedParameters = true;
    return header;
}

// Where each picture's bytes go. The buffer is to hold `occupancy` bytes
// before every I picture, so the group of pictures k0..k1-1 ends where the
// bit rate, by the time picture k1 is decoded, has delivered `occupancy`
// bytes more. Within the group the I picture takes its own size and the P
// pictures share the rest evenly, zero stuffing after each.
struct PictureSlot {
    size_t start = 0;
    size_t end = 0;
    bool intra = false;
    int groupStart = 0;  // the group's first picture
};

std::vector<int> GroupLengths(bool ntsc, int pictures)
{
    const int groups = (pictures + MotionGopLength(ntsc) - 1) / MotionGopLength(ntsc);
    std::vector<int> lengths(static_cast<size_t>(groups), pictures / groups);
    for (int g = 0; g < pictures % groups; ++g)
        ++lengths[static_cast<size_t>(g)];
    return lengths;
}

std::vector<PictureSlot> PlanPictures(const std::vector<int>& groups, const Timing& timing, int64_t startup,
                                      int64_t occupancy, size_t intraBytes)
{
    std::vector<PictureSlot> slots;
    int k0 = 0;
    for (const int length : groups) {
        const int k1 = k0 + length;
        const int64_t a = slots.empty() ? 0 : static_cast<int64_t>(slots.back().end);
        const int64_t b = Timing::ArrivedBy(startup + k1 * timing.frameTicks) - occupancy;
        const int64_t intraEnd = a + static_cast<int64_t>(intraBytes);
        for (int j = 0; j < length; ++j) {
            PictureSlot slot;
            slot.intra = j == 0;
            slot.groupStart = k0;
            slot.start = static_cast<size_t>(j == 0 ? a : static_cast<int64_t>(slots.back().end));
            const int64_t end = length == 1 ? b : j == 0 ? intraEnd : intraEnd + (b - intraEnd) * j / (length - 1);
            slot.end = static_cast<size_t>(end);
            slots.push_back(slot);
        }
        k0 = k1;
    }
    return slots;
}

// Every picture fits its slot, has arrived by its decoding time, and the
// buffer never holds more than the VBV.
bool PlanHolds(const std::vector<PictureSlot>& slots, const Timing& timing, int64_t startup, size_t intraBytes,
               size_t predictedBytes)
{
    for (size_t k = 0; k < slots.size(); ++k) {
        const PictureSlot& s = slots[k];
        const size_t content = (s.intra ? intraBytes : predictedBytes) + (k + 1 == slots.size() ? kSequenceEndBytes : 0);
        const int64_t arrived = Timing::ArrivedBy(startup + static_cast<int64_t>(k) * timing.frameTicks);
        if (s.end < s.start + content || static_cast<int64_t>(s.end) > arrived ||
            arrived - static_cast<int64_t>(s.start) > static_cast<int64_t>(kMotionVbvBytes))
            return false;
    }
    return true;
}

// How long the picture waits in the buffer after its picture start code
// has arrived, in 90 kHz periods.
uint32_t VbvDelay(int64_t dts, size_t pictureCodeEnd)
{
    const int64_t arrival = Timing::TicksFor(static_cast<int64_t>(pictureCodeEnd));
    return static_cast<uint32_t>(std::clamp<int64_t>(dts - arrival, 0, kVariableVbvDelay - 1));
}

}  // namespace

int MotionWidth() { return 352; }
int MotionHeight(bool ntsc) { return ntsc ? 240 : 288; }
int64_t MotionFrameTicks(bool ntsc) { return ntsc ? 3003 : 3600; }
int MotionGopLength(bool ntsc) { return ntsc ? 18 : 15; }

int MotionPicturesFor(bool ntsc, double seconds)
{
    return static_cast<int>(std::lround(seconds * kSystemClockHz / static_cast<double>(MotionFrameTicks(ntsc))));
}

MotionVideo EncodeMotionVideo(const YCbCrFrame& photo, bool ntsc, int pictures)
{
    const int width = MotionWidth(), height = MotionHeight(ntsc);
    const size_t luma = static_cast<size_t>(width) * height;
    if (pictures < 1 || photo.width != width || photo.height != height || photo.y.size() != luma ||
        photo.cb.size() != luma / 4 || photo.cr.size() != luma / 4)
        return MotionVideo{};
    const Timing timing{MotionFrameTicks(ntsc)};
    const std::vector<int> groups = GroupLengths(ntsc, pictures);

    BitWriter unchanged;
    WriteUnchangedSlices(width / kMacroblockSize, height / kMacroblockSize, kUnchangedQuantiser, unchanged);
    const size_t predictedBytes = kPredictedPictureHeaderBytes + unchanged.Bytes().size();

    // The shortest group must still hold its I picture and its P pictures.
    const int shortest = *std::min_element(groups.begin(), groups.end());
    const int64_t groupBytes = Timing::ArrivedBy(shortest * timing.frameTicks) - 1;
    const int64_t room = groupBytes - static_cast<int64_t>((shortest - 1) * predictedBytes + kSequenceEndBytes);
    const int64_t budget = std::min<int64_t>(kMotionIntraBudget, room) - static_cast<int64_t>(kIntraHeaderBytes);
    if (budget <= 0)
        return MotionVideo{};
    const size_t fit = static_cast<size_t>(budget);
    const FittedSlices intra = FitIntraSlices(FrameCoefficients(photo), 0, fit, fit);
    const size_t intraBytes = kIntraHeaderBytes + intra.bytes.size();

    // The buffer holds `occupancy` bytes before every I picture: the whole
    // I picture, and at least one picture's share of the rate, so that P
    // pictures larger than their share (after a small I picture) arrive too.
    const int64_t occupancy = std::max<int64_t>(static_cast<int64_t>(intraBytes), timing.BytesPerPicture()) + 2;
    const int64_t startup = Timing::TicksFor(occupancy);
    const std::vector<PictureSlot> slots = PlanPictures(groups, timing, startup, occupancy, intraBytes);
    if (!PlanHolds(slots, timing, startup, intraBytes, predictedBytes))
        return MotionVideo{};

    MotionVideo video;
    BitWriter out;
    out.Reserve(slots.back().end);
    for (size_t k = 0; k < slots.size(); ++k) {
        const PictureSlot& s = slots[k];
        const int64_t dts = startup + static_cast<int64_t>(k) * timing.frameTicks;
        AccessUnit unit;
        unit.start = s.start;
        unit.stampAt = s.start + (s.intra ? kIntraPictureCodeAt : 0);
        unit.dts = dts;
        unit.pts = dts + timing.frameTicks;  // shown when the next picture is decoded
        video.stream.units.push_back(unit);
        const int temporalReference = static_cast<int>(k) - s.groupStart;
        if (s.intra) {
            PutSequenceHeader(out, MotionSequenceHeader(ntsc));
            PutGroupHeader(out, ntsc, s.groupStart);
            PutPictureHeader(out, temporalReference, PictureType::Intra, VbvDelay(dts, unit.stampAt + kStartCodeBytes));
            out.PutBytes(intra.bytes);
        } else {
            PutPictureHeader(out, temporalReference, PictureType::Predicted,
                             VbvDelay(dts, unit.stampAt + kStartCodeBytes));
            out.PutBytes(unchanged.Bytes());
        }
        const bool last = k + 1 == slots.size();
        const size_t stuffingEnd = s.end - (last ? kSequenceEndBytes : 0);
        while (out.BitCount() / 8 < stuffingEnd)
            out.Put(0, 8);  // zero stuffing before the next start code
        if (last)
            PutSequenceEnd(out);
    }
    video.stream.bytes = out.TakeBytes();
    video.startupTicks = startup;
    video.quantiser = intra.quantisation.quantiser;
    video.coefficients = intra.quantisation.coefficients;
    video.intraBytes = intraBytes;
    return video;
}
