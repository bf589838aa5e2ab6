#include "StillEncoder.h"

#include <algorithm>

#include "StillPacker.h"
#include "engine/mpeg1/BitWriter.h"
#include "engine/mpeg1/FrameCoefficients.h"
#include "engine/mpeg1/IntraQuantiser.h"
#include "engine/mpeg1/VideoHeaders.h"

namespace {

constexpr int kMinQuantiser = 1;
constexpr int kMaxQuantiser = 31;

// Normal-resolution stills always declare 46 KB, the buffer every Video CD
// player has for them.
constexpr int kNormalVbvField = 23;
constexpr int kMaxVbvField = 1023;
// A high-resolution picture leaves at least this much of the buffer it
// declares free, as careful encoders do, rather than filling it to the byte.
constexpr size_t kHighVbvSlackBytes = 1024;

constexpr size_t kStillHeaderBytes = kSequenceHeaderBytes + kGroupHeaderBytes + kIntraPictureHeaderBytes;

bool FrameFitsFormat(const YCbCrFrame& frame, const StillFormat& format)
{
    const size_t luma = static_cast<size_t>(format.Width()) * format.Height();
    return frame.width == format.Width() && frame.height == format.Height() && frame.y.size() == luma &&
           frame.cb.size() == luma / 4 && frame.cr.size() == luma / 4;
}

// High-resolution stills declare their own size with some room to spare,
// but never less than the normal 46 KB: mplex refuses smaller
// high-resolution buffers. A 46 KB buffer is decoded as early as a normal
// still, so a picture too big to arrive by then declares the next size up.
int VbvField(const StillFormat& format, size_t streamBytes)
{
    if (!format.high)
        return kNormalVbvField;
    const size_t units = (streamBytes + kHighVbvSlackBytes + kVbvUnitBytes - 1) / kVbvUnitBytes;
    const size_t least = streamBytes > kLargestNormalStill ? kNormalVbvField + 1 : kNormalVbvField;
    return static_cast<int>(std::min<size_t>(std::max(units, least), kMaxVbvField));
}

// Sequence header, closed group, one I picture, sequence end code. The
// headers' size does not depend on the VBV field they carry, so the
// stream's size is known before the field is chosen.
EncodedStill Assemble(const FittedSlices& slices, const StillFormat& format)
{
    const size_t streamBytes = kStillHeaderBytes + slices.bytes.size() + kSequenceEndBytes;
    SequenceHeader sequence;
    sequence.width = format.Width();
    sequence.height = format.Height();
    sequence.ntsc = format.ntsc;
    sequence.vbvBufferSize = VbvField(format, streamBytes);
    BitWriter out;
    out.Reserve(streamBytes);
    PutSequenceHeader(out, sequence);
    PutGroupHeader(out, format.ntsc, 0);
    PutPictureHeader(out, 0, PictureType::Intra, kVariableVbvDelay);
    out.PutBytes(slices.bytes);
    PutSequenceEnd(out);

    EncodedStill still;
    still.stream = out.TakeBytes();
    still.quantiser = slices.quantisation.quantiser;
    still.coefficients = slices.quantisation.coefficients;
    return still;
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
    const IntraQuantisation quantisation{quantiser, FrameCoefficients::kAllCoefficients};
    return Assemble(FittedSlices{quantisation, WriteIntraSlices(FrameCoefficients(frame), quantisation)}, format);
}

EncodedStill EncodeStillWithinBudget(const YCbCrFrame& frame, const StillFormat& format)
{
    if (!FrameFitsFormat(frame, format))
        return EncodedStill{};
    const FrameCoefficients coefficients(frame);
    const StillBudget budget = StillBudgetFor(format);
    const size_t overhead = kStillHeaderBytes + kSequenceEndBytes;
    return Assemble(FitIntraSlices(coefficients, overhead, budget.target, budget.limit), format);
}
