#include "IntraQuantiser.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "BitWriter.h"
#include "SliceWriter.h"

namespace {

constexpr int kMinQuantiser = 1;
constexpr int kMaxQuantiser = 31;

// Finds the finest scale whose size fits `target`.
class ScaleSearch {
public:
    ScaleSearch(const FrameCoefficients& picture, size_t overhead, size_t target)
        : m_picture(picture), m_overhead(overhead), m_target(target)
    {
        m_atFinest = WriteIntraSlices(picture, {kMinQuantiser, FrameCoefficients::kAllCoefficients});
        Record(kMinQuantiser, m_overhead + m_atFinest.size());
        if (!Done())
            Probe(std::clamp(PredictedScale(), m_low, m_high - 1));
        if (!Done())
            Probe(Found() ? m_high - 1 : m_low);
        while (!Done())
            Probe((m_low + m_high) / 2);
    }

    bool Found() const { return m_high <= kMaxQuantiser; }
    int Finest() const { return m_high; }
    // The slices at scale 1, written while searching.
    std::vector<uint8_t>& AtFinest() { return m_atFinest; }
    // When none fits: the size at scale 31, the last one tried.
    size_t CoarsestBytes() const { return m_tooBigBytes; }

private:
    bool Done() const { return m_low >= m_high; }

    int PredictedScale() const
    {
        const double ratio = static_cast<double>(m_bytesAtFinest) / static_cast<double>(m_target);
        return static_cast<int>(std::ceil(ratio * ratio));
    }

    void Probe(int quantiser)
    {
        Record(quantiser, m_overhead + IntraSlicesBytes(m_picture, {quantiser, FrameCoefficients::kAllCoefficients}));
    }

    void Record(int quantiser, size_t bytes)
    {
        if (quantiser == kMinQuantiser)
            m_bytesAtFinest = bytes;
        if (bytes <= m_target) {
            m_high = quantiser;
        } else {
            m_low = quantiser + 1;
            m_tooBigBytes = bytes;
        }
    }

    const FrameCoefficients& m_picture;
    const size_t m_overhead;
    const size_t m_target;
    int m_low = kMinQuantiser;       // every scale below is too big
    int m_high = kMaxQuantiser + 1;  // fits; kMaxQuantiser + 1 while none is known to
    size_t m_bytesAtFinest = 0;
    size_t m_tooBigBytes = 0;  // at the coarsest scale tried that was too big
    std::vector<uint8_t> m_atFinest;
};

}  // namespace

size_t IntraSlicesBytes(const FrameCoefficients& picture, const IntraQuantisation& q)
{
    BitCounter counter;
    WriteIntraSlices(picture.LevelsAt(q.quantiser, q.coefficients), q.quantiser, counter);
    return counter.BitCount() / 8;
}

std::vector<uint8_t> WriteIntraSlices(const FrameCoefficients& picture, const IntraQuantisation& q)
{
    BitWriter out;
    out.Reserve(picture.BlockCount() * 16);
    WriteIntraSlices(picture.LevelsAt(q.quantiser, q.coefficients), q.quantiser, out);
    return out.TakeBytes();
}

FittedSlices FitIntraSlices(const FrameCoefficients& picture, size_t overhead, size_t target, size_t limit)
{
    ScaleSearch search(picture, overhead, target);
    IntraQuantisation chosen{kMaxQuantiser, FrameCoefficients::kAllCoefficients};
    if (search.Found()) {
        chosen.quantiser = search.Finest();
        if (chosen.quantiser == kMinQuantiser)
            return FittedSlices{chosen, std::move(search.AtFinest())};
    } else if (search.CoarsestBytes() > limit) {
        // At scale 31, the most zig-zag positions per block that still fit.
        chosen.coefficients = 1;
        for (int low = 2, high = FrameCoefficients::kAllCoefficients - 1; low <= high;) {
            const int mid = (low + high) / 2;
            if (overhead + IntraSlicesBytes(picture, {kMaxQuantiser, mid}) <= target) {
                chosen.coefficients = mid;
                low = mid + 1;
            } else {
                high = mid - 1;
            }
        }
    }
    return FittedSlices{chosen, WriteIntraSlices(picture, chosen)};
}
