#include "SimulatedMedium.h"

#include <cstdio>
#include <cstring>

#include "engine/base/ByteOrder.h"
#include "engine/disc/Sector.h"
#include "engine/disc/XaSubmode.h"

namespace {

constexpr size_t kCueEntryBytes = 8;
constexpr uint8_t kAdrTime = 1;
constexpr uint8_t kAdrCatalog = 2;
constexpr uint8_t kAdrIsrc = 3;
constexpr uint8_t kTnoLeadIn = 0x00;
constexpr uint8_t kTnoLeadOut = 0xAA;
constexpr uint8_t kLastTrack = 99;
constexpr uint8_t kCtlData = 0x4;
constexpr uint8_t kFirstDataForm = 0x10;
constexpr uint8_t kSubchannelBits = 0xC0;
constexpr int32_t kFramesPerSecond = 75;
constexpr int32_t kSecondsPerMinute = 60;
constexpr int32_t kLbaToFrames = 150;
constexpr int32_t kLeadInLbaToFrames = 450150;
constexpr int32_t kMinTrackBlocks = 300;
constexpr size_t kXaBlockOffset = kSyncSize + kHeaderSize;  // where a 2336-byte block sits in a sector

constexpr uint8_t kSync[kSyncSize] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};

// The forms the drive generates itself, for the lead-in and lead-out.
bool IsGeneratedForm(uint8_t form)
{
    return form == kFormAudioGap || form == kFormMode1Gap || form == kFormXaGap || form == kFormMode2Gap;
}

// The forms the host sends blocks in, of those this drive records.
bool IsRecordedForm(uint8_t form)
{
    return form == kFormAudio || form == kFormXa || form == kFormXaRaw;
}

std::string EntryText(size_t entry, const char* rule)
{
    char text[160];
    std::snprintf(text, sizeof text, "cue sheet entry %zu: %s", entry + 1, rule);
    return text;
}

}  // namespace

const SimTrack* SimLayout::TrackAt(int32_t lba) const
{
    if (lba >= leadOutLba)
        return nullptr;
    const SimTrack* found = nullptr;
    for (const SimTrack& track : tracks)
        if (track.StartLba() <= lba)
            found = &track;
    return found;
}

size_t SimLayout::HostBlockBytes(int32_t lba) const
{
    const SimTrack* track = TrackAt(lba);
    return track ? HostBytesOfForm(track->form) : 0;
}

size_t HostBytesOfForm(uint8_t form)
{
    switch (form) {
    case kFormAudio:
    case kFormXaRaw:
        return kSectorBytes;
    case kFormXa:
        return kSectorBytes - kXaBlockOffset;
    default:
        return 0;
    }
}

bool ParseCueSheet(const uint8_t* cue, size_t size, int32_t capacityBlocks, SimLayout& layout, std::string& why)
{
    layout = SimLayout{};
    const size_t count = size / kCueEntryBytes;
    auto entry = [&](size_t i) { return cue + i * kCueEntryBytes; };
    auto adr = [&](size_t i) { return static_cast<uint8_t>(entry(i)[0] & 0x0F); };
    auto fail = [&](size_t i, const char* rule) {
        why = EntryText(i, rule);
        return false;
    };

    size_t i = 0;
    // A catalogue number comes as a pair before the lead-in.
    if (count >= 2 && adr(0) == kAdrCatalog) {
        if (adr(1) != kAdrCatalog)
            return fail(1, "the catalogue number needs two entries");
        i = 2;
    }
    if (i >= count || adr(i) != kAdrTime || entry(i)[1] != kTnoLeadIn || entry(i)[2] != 0)
        return fail(i, "the lead-in must come first (TNO 00, INDEX 00)");

    const size_t leadIn = i;
    int32_t lastFrames = -1;
    SimTrack* track = nullptr;
    bool leadOutSeen = false;
    for (; i < count; ++i) {
        const uint8_t* e = entry(i);
        if (leadOutSeen)
            return fail(i, "entries after the lead-out");
        if (adr(i) == kAdrIsrc) {
            // An ISRC pair names the track whose entries follow it.
            if (i + 2 >= count || adr(i + 1) != kAdrIsrc || entry(i + 1)[1] != e[1] || entry(i + 2)[1] != e[1])
                return fail(i, "an ISRC needs two entries before its track");
            ++i;
            continue;
        }
        if (adr(i) != kAdrTime)
            return fail(i, "ADR must be 1 here");
        const uint8_t tno = e[1], index = e[2], form = e[3];
        const uint8_t minute = e[5], second = e[6], frame = e[7];
        if (second >= kSecondsPerMinute || frame >= kFramesPerSecond || minute > kLastTrack)
            return fail(i, "MSF out of range (binary, S < 60, F < 75)");
        const int32_t frames = (minute * kSecondsPerMinute + second) * kFramesPerSecond + frame;
        if (frames < lastFrames)
            return fail(i, "MSF goes backwards");
        lastFrames = frames;
        if (form & kSubchannelBits)
            return fail(i, "sub-channel data is not supported");
        if (((e[0] >> 4 & kCtlData) != 0) != (form >= kFirstDataForm))
            return fail(i, "the CTL data bit does not match the data form");
        const int32_t lba = frames - kLbaToFrames;

        if (tno == kTnoLeadIn) {
            if (i != leadIn)
                return fail(i, "a second lead-in entry");
            if (!IsGeneratedForm(form))
                return fail(i, "the lead-in form must be one the drive generates");
            continue;
        }
        if (tno == kTnoLeadOut) {
            if (track == nullptr)
                return fail(i, "a lead-out before any track");
            if (index != 1)
                return fail(i, "the lead-out must use INDEX 01");
            if (!IsGeneratedForm(form))
                return fail(i, "the lead-out form must be one the drive generates");
            layout.leadOutLba = lba;
            leadOutSeen = true;
            continue;
        }
        if (tno < 1 || tno > kLastTrack)
            return fail(i, "track number out of range");
        if (track == nullptr || tno != track->number) {
            if (track != nullptr && tno != track->number + 1)
                return fail(i, "track numbers must rise by one");
            if (track != nullptr && track->indexLbas.empty())
                return fail(i, "the previous track has no INDEX 01");
            if (!IsRecordedForm(form))
                return fail(i, "a data form this drive does not record in the program area");
            layout.tracks.emplace_back();
            track = &layout.tracks.back();
            track->number = tno;
            track->control = static_cast<uint8_t>(e[0] >> 4);
            track->form = form;
            if (index == 0) {
                track->pregapLba = lba;
            } else if (index != 1) {
                return fail(i, "a track must start with INDEX 00 or 01");
            }
            if (layout.tracks.size() == 1) {
                if (index != 0 || frames != 0)
                    return fail(i, "the first track needs INDEX 00 at 00:00:00");
            }
            if (index == 1)
                track->indexLbas.push_back(lba);
            continue;
        }
        if (form != track->form)
            return fail(i, "the data form changes within a track");
        if (static_cast<int>(index) != static_cast<int>(track->indexLbas.size()) + 1)
            return fail(i, "index numbers must rise by one");
        if (layout.tracks.size() == 1 && index == 1 && lba < 0)
            return fail(i, "the first track's INDEX 01 must be at 00:02:00 or later");
        track->indexLbas.push_back(lba);
    }
    if (!leadOutSeen)
        return fail(count ? count - 1 : 0, "the lead-out must come last");
    if (track->indexLbas.empty())
        return fail(count - 1, "the last track has no INDEX 01");
    for (size_t t = 0; t < layout.tracks.size(); ++t) {
        const int32_t end = t + 1 < layout.tracks.size() ? layout.tracks[t + 1].StartLba() : layout.leadOutLba;
        if (end - layout.tracks[t].indexLbas.front() < kMinTrackBlocks) {
            char text[96];
            std::snprintf(text, sizeof text, "track %d is shorter than %d blocks", layout.tracks[t].number,
                          static_cast<int>(kMinTrackBlocks));
            why = text;
            return false;
        }
    }
    if (layout.leadOutLba > capacityBlocks) {
        why = "the lead-out lies beyond the disc's capacity";
        return false;
    }
    return true;
}

void RecordSector(uint8_t form, int32_t lba, const uint8_t* host, uint8_t* out, std::vector<std::string>& problems)
{
    auto problem = [&](const char* what) {
        char text[96];
        std::snprintf(text, sizeof text, "LBA %d: %s", static_cast<int>(lba), what);
        problems.push_back(text);
    };
    if (form == kFormAudio) {
        std::memcpy(out, host, kSectorBytes);
        return;
    }
    if (form == kFormXaRaw) {
        uint8_t header[kHeaderSize];
        LbaToMsf(lba, header);
        for (size_t k = 0; k < 3; ++k)
            header[k] = ToBcd(header[k]);
        header[3] = 2;
        if (std::memcmp(host, kSync, kSyncSize) != 0)
            problem("the sync pattern is wrong");
        if (std::memcmp(host + kSyncSize, header, kHeaderSize) != 0)
            problem("the header is not the sector's address in mode 2");
        host += kXaBlockOffset;
    }
    // The drive keeps the sub-header and the user data and makes the rest:
    // sync, header from the LBA, and EDC/ECC for the form the sub-header names.
    std::memcpy(out + kXaBlockOffset, host, kSectorBytes - kXaBlockOffset);
    const uint8_t* sub = out + kXaBlockOffset;
    if (std::memcmp(sub, sub + kSubheaderSize / 2, kSubheaderSize / 2) != 0)
        problem("the two sub-header copies differ");
    const Subheader subheader{sub[0], sub[1], sub[2], sub[3]};
    uint8_t* data = out + kXaBlockOffset + kSubheaderSize;
    // The header's address wraps as the disc's does: LBA -150 is 00:00:00.
    const uint32_t lsn = static_cast<uint32_t>(lba);
    if (subheader.submode & kSubmodeForm2)
        MakeForm2Sector(out, lsn, subheader, data);
    else
        MakeForm1Sector(out, lsn, subheader, data);
}

void LbaToMsf(int32_t lba, uint8_t* msf)
{
    const int32_t frames = lba >= -kLbaToFrames ? lba + kLbaToFrames : lba + kLeadInLbaToFrames;
    msf[0] = static_cast<uint8_t>(frames / (kSecondsPerMinute * kFramesPerSecond));
    msf[1] = static_cast<uint8_t>(frames / kFramesPerSecond % kSecondsPerMinute);
    msf[2] = static_cast<uint8_t>(frames % kFramesPerSecond);
}
