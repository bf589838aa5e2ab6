#include "MmcCueSheet.h"

namespace {

constexpr uint8_t kDataTrack = 0x40, kCopyPermitted = 0x20, kAdrPosition = 0x01;
constexpr uint8_t kLeadInTrack = 0x00, kLeadOutTrack = 0xAA;

void Entry(std::vector<uint8_t>& cue, uint8_t ctlAdr, uint8_t track, uint8_t index, uint8_t form, uint32_t address)
{
    const uint8_t entry[8] = {ctlAdr,
                              track,
                              index,
                              form,
                              0x00,  // no copy-management bits
                              static_cast<uint8_t>(address / 75 / 60),
                              static_cast<uint8_t>(address / 75 % 60),
                              static_cast<uint8_t>(address % 75)};
    cue.insert(cue.end(), entry, entry + 8);
}

}  // namespace

size_t BlockBytes(uint8_t form)
{
    switch (form) {
    case kFormXa2336:
        return 2336;
    case kFormXa2352:
        return 2352;
    default:
        return 0;
    }
}

std::vector<uint8_t> MakeMmcCueSheet(const std::vector<CueTrack>& tracks, uint32_t leadOut, uint8_t form,
                                     bool copyPermitted)
{
    const uint8_t plain = kDataTrack | kAdrPosition;
    const uint8_t track = static_cast<uint8_t>(plain | (copyPermitted ? kCopyPermitted : 0));
    std::vector<uint8_t> cue;
    Entry(cue, plain, kLeadInTrack, 0, kFormXaGenerated, 0);
    for (const CueTrack& t : tracks) {
        const uint8_t number = static_cast<uint8_t>(t.number);
        if (t.number == tracks.front().number)
            Entry(cue, track, number, 0, form, 0);  // the pregap before LBA 0
        else if (t.pregapStart)
            Entry(cue, track, number, 0, form, *t.pregapStart + 150);
        for (size_t i = 0; i < t.indexStarts.size(); ++i)
            Entry(cue, track, number, static_cast<uint8_t>(i + 1), form, t.indexStarts[i] + 150);
    }
    Entry(cue, plain, kLeadOutTrack, 1, kFormXaGenerated, leadOut + 150);
    return cue;
}
