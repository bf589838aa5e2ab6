#include "StillEncoder.h"

#include <algorithm>
#include <cmath>

#include "BitWriter.h"
#include "FrameCoefficients.h"
#include "SliceWriter.h"
#include "StillPacker.h"

namespace {

constexpr int kMinQuantiser = 1;
constexpr int kMaxQuantiser = 31;

// The VBV buffer size field counts units of 16 384 bits (2 KB).
constexpr size_t kVbvUnitBytes = 2048;
// Normal-resolution stills always declare 46 KB, the buffer every Video CD
// player has for them.
constexpr int kNormalVbvField = 23;
constexpr int kMaxVbvField = 1023;

constexpr uint8_t kSequenceHeaderCode = 0xB3;
constexpr uint8_t kGroupStartCode = 0xB8;
constexpr uint8_t kPictureStartCode = 0x00;
constexpr uint8_t kSequenceEndCode = 0xB7;
constexpr size_t kSequenceEndBytes = 4;

bool FrameFitsFormat(const YCbCrFrame& frame, const StillFormat& format)
{
    const size_t luma = static_cast<size_t>(format.Width()) * format.Height();
    return frame.width == format.Width() && frame.height == format.Height() && frame.y.size() == luma &&
           frame.cb.size() == luma / 4 && frame.cr.size() == luma / 4;
}

void PutSequenceHeader(BitWriter& out, const StillFormat& format, int vbvField)
{
    out.StartCode(kSequenceHeaderCode);                        // sequence_header_code
    out.Put(static_cast<uint32_t>(format.Width()), 12);        // horizontal_size
    out.Put(static_cast<uint32_t>(format.Height()), 12);       // vertical_size
    out.Put(format.ntsc ? 12 : 8, 4);                          // pel_aspect_ratio: 4:3 display, 525 or 625 lines
    out.Put(format.ntsc ? 4 : 3, 4);                           // picture_rate: 29.97 or 25 Hz
    out.Put(0x3FFFF, 18);                                      // bit_rate: variable
    out.Put(1, 1);                                             // marker_bit
    out.Put(static_cast<uint32_t>(vbvField), 10);              // vbv_buffer_size
    out.Put(0, 1);                                             // constrained_parameters_flag
    out.Put(0, 1);                                             // load_intra_quantizer_matrix: default
    out.Put(0, 1);                                             // load_non_intra_quantizer_matrix: default
}

void PutGroupHeader(BitWriter& out)
{
    out.StartCode(kGroupStartCode);  // group_start_code
    out.Put(0, 1);                   // time_code: drop_frame_flag
    out.Put(0, 5);                   // time_code: hours
    out.Put(0, 6);                   // time_code: minutes
    out.Put(1, 1);                   // marker_bit
    out.Put(0, 6);                   // time_code: seconds
    out.Put(0, 6);                   // time_code: pictures
    out.Put(1, 1);                   // closed_gop
    out.Put(0, 1);                   // broken_link
}

void PutPictureHeader(BitWriter& out)
{
    out.StartCode(kPictureStartCode);  // picture_start_code
    out.Put(0, 10);                    // temporal_reference
    out.Put(1, 3);                     // picture_coding_type: I
    out.Put(0xFFFF, 16);               // vbv_delay: variable
    out.Put(0, 1);                     // extra_bit_picture
    out.AlignWithZeros();
}

std::vector<uint8_t> Headers(const StillFormat& format, int vbvField)
{
    BitWriter out;
    PutSequenceHeader(out, format, vbvField);
    PutGroupHeader(out);
    PutPictureHeader(out);
    return out.TakeBytes();
}

// High-resolution stills declare their own size, but never less than the
// normal 46 KB: mplex refuses smaller high-resolution buffers. A 46 KB
// buffer is decoded as early as a normal still, so a picture too big to
// arrive by then declares the next size up.
int VbvField(const StillFormat& format, size_t streamBytes)
{
    if (!format.high)
        return kNormalVbvField;
    const size_t units = (streamBytes + kVbvUnitBytes - 1) / kVbvUnitBytes;
    const size_t least = streamBytes > kLargestNormalStill ? kNormalVbvField + 1 : kNormalVbvField;
    return static_cast<int>(std::min<size_t>(std::max(units, least), kMaxVbvField));
}

// The headers' size does not depend on the VBV field they carry, so the
// stream's size is known before the field is chosen.
EncodedStill Assemble(const QuantisedPicture& picture, const StillFormat& format, int quantiser, int coefficients)
{
    BitWriter slices;
    slices.Reserve(picture.ac.size() * 2 + picture.BlockCount() + 64 * static_cast<size_t>(picture.mbHeight));
    WriteIntraSlices(picture, quantiser, slices);
    const size_t streamBytes = Headers(format, 0).size() + slices.Bytes().size() + kSequenceEndBytes;

    BitWriter out;
    out.Reserve(streamBytes);
    out.PutBytes(Headers(format, VbvField(format, streamBytes)));
    out.PutBytes(slices.Bytes());
    out.StartCode(kSequenceEndCode);  // sequence_end_code

    EncodedStill still;
    still.stream = out.TakeBytes();
    still.quantiser = quantiser;
    still.coefficients = coefficients;
    return still;
}

EncodedStill EncodeAt(const FrameCoefficients& coefficients, const StillFormat& format, int quantiser,
                      int limit = FrameCoefficients::kAllCoefficients)
{
    return Assemble(coefficients.Quantise(quantiser, limit), format, quantiser, limit);
}

// Finds the finest quantiser whose stream fits a size. The size falls as
// the quantiser grows, roughly as 1/sqrt(quantiser), so the search tries 1
// (where most photos fit), then the quantiser that model predicts from the
// size at 1, then that one's neighbour on the far side of the boundary, and
// only then bisects: usually two or three encodes instead of five.
class QuantiserSearch {
public:
    QuantiserSearch(const FrameCoefficients& coefficients, const StillFormat& format, size_t target)
        : m_coefficients(coefficients), m_format(format), m_target(target)
    {
        Probe(kMinQuantiser);
        if (!Done())
            Probe(std::clamp(PredictedQuantiser(), m_low, m_high - 1));
        if (!Done())
            Probe(Found() ? m_high - 1 : m_low);
        while (!Done())
            Probe((m_low + m_high) / 2);
    }

    bool Found() const { return !m_fitting.stream.empty(); }
    // The stream at the finest quantiser that fits, if Found().
    EncodedStill& Fitting() { return m_fitting; }
    // When none fits: the stream at quantiser 31.
    EncodedStill& Coarsest() { return m_tooBig; }

private:
    bool Done() const { return m_low >= m_high; }

    int PredictedQuantiser() const
    {
        const double ratio = static_cast<double>(m_sizeAtFinest) / static_cast<double>(m_target);
        return static_cast<int>(std::ceil(ratio * ratio));
    }

    void Probe(int quantiser)
    {
        EncodedStill still = EncodeAt(m_coefficients, m_format, quantiser);
        if (quantiser == kMinQuantiser)
            m_sizeAtFinest = still.stream.size();
        if (still.stream.size() <= m_target) {
            m_high = quantiser;
            m_fitting = std::move(still);
        } else {
            m_low = quantiser + 1;
            m_tooBig = std::move(still);
        }
    }

    const FrameCoefficients& m_coefficients;
    const StillFormat& m_format;
    const size_t m_target;
    int m_low = kMinQuantiser;       // every quantiser below is too big
    int m_high = kMaxQuantiser + 1;  // fits; kMaxQuantiser + 1 while none is known to
    size_t m_sizeAtFinest = 0;
    EncodedStill m_fitting;
    EncodedStill m_tooBig;  // the coarsest quantiser tried that was too big
};

// At the coarsest quantiser, the most zig-zag positions per block that
// still fit `target`. Keeping the DC alone always fits.
EncodedStill MostCoefficientsWithin(const FrameCoefficients& coefficients, const StillFormat& format, size_t target)
{
    EncodedStill best = EncodeAt(coefficients, format, kMaxQuantiser, 1);
    int low = 2, high = FrameCoefficients::kAllCoefficients - 1;  // candidates still to try
    while (low <= high) {
        const int mid = (low + high) / 2;
        EncodedStill still = EncodeAt(coefficients, format, kMaxQuantiser, mid);
        if (still.stream.size() <= target) {
            best = std::move(still);
            low = mid + 1;
        } else {
            high = mid - 1;
        }
    }
    return best;
}

}  // namespace

StillBudget StillBudgetFor(const StillFormat& format)
{
    StillBudget budget;
    if (format.high) {
        budget.target = 160 * 1024;
        budget.limit = 220 * 1024;  // mpeg2enc's largest high-resolution still
    } else {
        budget.target = 40 * 1024;
        budget.limit = kLargestNormalStill;  // within the 46 KB buffer, and in time
    }
    return budget;
}

EncodedStill EncodeStill(const YCbCrFrame& frame, const StillFormat& format, int quantiser)
{
    if (!FrameFitsFormat(frame, format) || quantiser < kMinQuantiser || quantiser > kMaxQuantiser)
        return EncodedStill{};
    return EncodeAt(FrameCoefficients(frame), format, quantiser);
}

EncodedStill EncodeStillWithinBudget(const YCbCrFrame& frame, const StillFormat& format)
{
    if (!FrameFitsFormat(frame, format))
        return EncodedStill{};
    const FrameCoefficients coefficients(frame);
    const StillBudget budget = StillBudgetFor(format);
    QuantiserSearch search(coefficients, format, budget.target);
    if (search.Found())
        return std::move(search.Fitting());
    if (search.Coarsest().stream.size() <= budget.limit)
        return std::move(search.Coarsest());
    return MostCoefficientsWithin(coefficients, format, budget.target);
}
