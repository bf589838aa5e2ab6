#include "MotionVideo.h"

#include <algorithm>
#include <cmath>

#include "UnchangedSlices.h"
#include "engine/still/BitWriter.h"
#include "engine/still/FrameCoefficients.h"
#include "engine/still/SliceWriter.h"

namespace {

constexpr int64_t kClockHz = 90000;
constexpr int kMinQuantiser = 1;
constexpr int kMaxQuantiser = 31;
constexpr int kMacroblockSize = 16;

constexpr uint8_t kSequenceHeaderCode = 0xB3;
constexpr uint8_t kGroupStartCode = 0xB8;
constexpr uint8_t kPictureStartCode = 0x00;
constexpr uint8_t kSequenceEndCode = 0xB7;
constexpr uint32_t kBitRateUnits = kMotionBitRate / 400;  // bit_rate counts 400 bit/s
constexpr uint32_t kVbvField = kMotionVbvBytes / 2048;
constexpr uint32_t kIntraType = 1, kPredictedType = 2;     // picture_coding_type
constexpr uint32_t kNoVbvDelay = 0xFFFF;                   // the largest vbv_delay is one below

// Header sizes in bytes: the picture header of a P picture carries its
// vector fields too. vbv_delay counts from the end of the picture start code.
constexpr size_t kSequenceHeaderBytes = 12;
constexpr size_t kGroupHeaderBytes = 8;
constexpr size_t kStartCodeBytes = 4;
constexpr size_t kIntraPictureHeaderBytes = 8;
constexpr size_t kPredictedPictureHeaderBytes = 9;
constexpr size_t kIntraPictureCodeAt = kSequenceHeaderBytes + kGroupHeaderBytes;
constexpr size_t kIntraHeaderBytes = kIntraPictureCodeAt + kIntraPictureHeaderBytes;
constexpr size_t kSequenceEndBytes = kStartCodeBytes;
// P pictures code no coefficient, so their slices' quantiser scale is never used.
constexpr int kUnchangedQuantiser = 8;

struct Timing {
    int64_t frameTicks;

    // Bytes the bit rate has delivered `ticks` after the first one.
    static int64_t ArrivedBy(int64_t ticks) { return ticks * kMotionBitRate / (8 * kClockHz); }
    // Ticks until `bytes` bytes have arrived, rounded up.
    static int64_t TicksFor(int64_t bytes) { return (bytes * 8 * kClockHz + kMotionBitRate - 1) / kMotionBitRate; }
    int64_t BytesPerPicture() const { return (frameTicks * kMotionBitRate + 8 * kClockHz - 1) / (8 * kClockHz); }
};

struct IntraSlices {
    std::vector<uint8_t> bytes;
    int quantiser = 0;
    int coefficients = FrameCoefficients::kAllCoefficients;
};

IntraSlices EncodeSlices(const FrameCoefficients& coefficients, int quantiser, int limit)
{
    BitWriter out;
    WriteIntraSlices(coefficients.Quantise(quantiser, limit), quantiser, out);
    return IntraSlices{out.TakeBytes(), quantiser, limit};
}

// The finest quantiser whose slices fit `budget` bytes (the size falls as
// the quantiser grows); past quantiser 31, fewer coefficients per block.
IntraSlices FitIntraSlices(const FrameCoefficients& coefficients, size_t budget)
{
    const int all = FrameCoefficients::kAllCoefficients;
    IntraSlices best = EncodeSlices(coefficients, kMaxQuantiser, all);
    if (best.bytes.size() > budget) {
        best = EncodeSlices(coefficients, kMaxQuantiser, 1);
        for (int low = 2, high = all - 1; low <= high;) {
            const int mid = (low + high) / 2;
            IntraSlices s = EncodeSlices(coefficients, kMaxQuantiser, mid);
            if (s.bytes.size() <= budget)
                best = std::move(s), low = mid + 1;
            else
                high = mid - 1;
        }
        return best;
    }
    for (int low = kMinQuantiser, high = kMaxQuantiser - 1; low <= high;) {
        const int mid = (low + high) / 2;
        IntraSlices s = EncodeSlices(coefficients, mid, all);
        if (s.bytes.size() <= budget)
            best = std::move(s), high = mid - 1;
        else
            low = mid + 1;
    }
    return best;
}

void PutSequenceHeader(BitWriter& out, bool ntsc)
{
    out.StartCode(kSequenceHeaderCode);                        // sequence_header_code
    out.Put(static_cast<uint32_t>(MotionWidth()), 12);         // horizontal_size
    out.Put(static_cast<uint32_t>(MotionHeight(ntsc)), 12);    // vertical_size
    out.Put(ntsc ? 12 : 8, 4);                                 // pel_aspect_ratio: 4:3 display, 525 or 625 lines
    out.Put(ntsc ? 4 : 3, 4);                                  // picture_rate: 29.97 or 25 Hz
    out.Put(kBitRateUnits, 18);                                // bit_rate: 1 150 000 bit/s
    out.Put(1, 1);                                             // marker_bit
    out.Put(kVbvField, 10);                                    // vbv_buffer_size
    out.Put(1, 1);                                             // constrained_parameters_flag
    out.Put(0, 1);                                             // load_intra_quantizer_matrix: default
    out.Put(0, 1);                                             // load_non_intra_quantizer_matrix: default
}

// The time code of a group's first picture, counted in whole seconds of
// the nominal rate (25 or 30) without dropped frames.
void PutGroupHeader(BitWriter& out, bool ntsc, int firstPicture)
{
    const int nominal = ntsc ? 30 : 25;
    const int seconds = firstPicture / nominal;
    out.StartCode(kGroupStartCode);                            // group_start_code
    out.Put(0, 1);                                             // time_code: drop_frame_flag
    out.Put(static_cast<uint32_t>(seconds / 3600 % 24), 5);    // time_code: hours
    out.Put(static_cast<uint32_t>(seconds / 60 % 60), 6);      // time_code: minutes
    out.Put(1, 1);                                             // marker_bit
    out.Put(static_cast<uint32_t>(seconds % 60), 6);           // time_code: seconds
    out.Put(static_cast<uint32_t>(firstPicture % nominal), 6); // time_code: pictures
    out.Put(1, 1);                                             // closed_gop: no picture looks outside the group
    out.Put(0, 1);                                             // broken_link
}

void PutPictureHeader(BitWriter& out, int temporalReference, bool intra, uint32_t vbvDelay)
{
    out.StartCode(kPictureStartCode);                             // picture_start_code
    out.Put(static_cast<uint32_t>(temporalReference) & 0x3FF, 10); // temporal_reference
    out.Put(intra ? kIntraType : kPredictedType, 3);              // picture_coding_type
    out.Put(vbvDelay, 16);                                        // vbv_delay
    if (!intra) {
        out.Put(0, 1);                                            // full_pel_forward_vector
        out.Put(1, 3);                                            // forward_f_code: 1 (vectors are all zero)
    }
    out.Put(0, 1);                                                // extra_bit_picture
    out.AlignWithZeros();
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
    return static_cast<uint32_t>(std::clamp<int64_t>(dts - arrival, 0, kNoVbvDelay - 1));
}

}  // namespace

int MotionWidth() { return 352; }
int MotionHeight(bool ntsc) { return ntsc ? 240 : 288; }
int64_t MotionFrameTicks(bool ntsc) { return ntsc ? 3003 : 3600; }
int MotionGopLength(bool ntsc) { return ntsc ? 18 : 15; }

int MotionPicturesFor(bool ntsc, double seconds)
{
    return static_cast<int>(std::lround(seconds * kClockHz / static_cast<double>(MotionFrameTicks(ntsc))));
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
    const IntraSlices intra = FitIntraSlices(FrameCoefficients(photo), static_cast<size_t>(budget));
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
            PutSequenceHeader(out, ntsc);
            PutGroupHeader(out, ntsc, s.groupStart);
            PutPictureHeader(out, temporalReference, true, VbvDelay(dts, unit.stampAt + kStartCodeBytes));
            out.PutBytes(intra.bytes);
        } else {
            PutPictureHeader(out, temporalReference, false, VbvDelay(dts, unit.stampAt + kStartCodeBytes));
            out.PutBytes(unchanged.Bytes());
        }
        const bool last = k + 1 == slots.size();
        const size_t stuffingEnd = s.end - (last ? kSequenceEndBytes : 0);
        while (out.BitCount() / 8 < stuffingEnd)
            out.Put(0, 8);  // zero stuffing before the next start code
        if (last)
            out.StartCode(kSequenceEndCode);  // sequence_end_code
    }
    video.stream.bytes = out.TakeBytes();
    video.startupTicks = startup;
    video.quantiser = intra.quantiser;
    video.coefficients = intra.coefficients;
    video.intraBytes = intraBytes;
    return video;
}
