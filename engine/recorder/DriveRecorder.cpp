#include "DriveRecorder.h"

#include <algorithm>
#include <cmath>

#include "DriveOutput.h"
#include "engine/api/Engine.h"
#include "engine/mmc/SenseData.h"
#include "engine/slideshow/SlideshowBurn.h"

namespace {

constexpr double kMmcKBsPerSpeed = 176.4;
constexpr int kReadyPolls = 6;  // 3 s: a status query must not hang the program
constexpr unsigned int kEraseLimitMs = 3 * 60 * 60 * 1000;  // a full erase at 1x, with room

unsigned int MediaOfProfile(uint16_t profile)
{
    switch (profile) {
    case 0x0009:
        return ENGINE_MEDIA_CDR;
    case 0x000A:
        return ENGINE_MEDIA_CDRW;
    case 0x0000:
        return 0;
    case 0x0008:
        return ENGINE_MEDIA_CD;
    case 0x0010:
        return ENGINE_MEDIA_DVD_ROM;
    case 0x001A:
    case 0x001B:
    case 0x002A:
    case 0x002B:
        return ENGINE_MEDIA_DVD_PLUS;
    default:
        return profile >= 0x0011 && profile <= 0x0016 ? ENGINE_MEDIA_DVD_MINUS : ENGINE_MEDIA_DVD_ROM;
    }
}

}  // namespace

DriveRecorder::DriveRecorder(char driveLetter, std::string name, unsigned int supportedMedia,
                             std::unique_ptr<ScsiTransport> transport)
    : m_driveLetter(driveLetter), m_name(std::move(name)), m_supportedMedia(supportedMedia),
      m_transport(std::move(transport)), m_device(*m_transport)
{
}

std::unique_ptr<DriveRecorder> DriveRecorder::Probe(char driveLetter, std::unique_ptr<ScsiTransport> transport)
{
    if (!transport)
        return nullptr;
    MmcDevice device(*transport);
    DriveIdentity identity;
    if (!device.Inquiry(identity).Good() || identity.deviceType != 0x05)
        return nullptr;
    DriveCapabilities capabilities;
    DriveConfiguration configuration;
    const bool haveCapabilities = device.ReadCapabilities(capabilities).Good();
    device.GetConfiguration(configuration);
    const bool writesCd = (haveCapabilities && (capabilities.writesCdR || capabilities.writesCdRw)) ||
                          configuration.writesCdProfiles;
    if (!writesCd)
        return nullptr;
    unsigned int media = ENGINE_MEDIA_CDR;
    if (capabilities.writesCdRw)
        media |= ENGINE_MEDIA_CDRW;
    std::string name = identity.vendor + (identity.vendor.empty() ? "" : " ") + identity.product;
    if (name.empty())
        name = "CD writer";
    return std::unique_ptr<DriveRecorder>(new DriveRecorder(driveLetter, name, media, std::move(transport)));
}

bool DriveRecorder::Ready() const
{
    for (int i = 0; i < kReadyPolls; ++i) {
        const ScsiResult result = m_device.TestUnitReady();
        if (result.Good())
            return true;
        const SenseData sense = DecodeSense(result);
        if (!result.delivered || !(sense.key == 0x06 || sense.Is(0x02, 0x04)))
            return false;
        m_transport->Pause(500);
    }
    return false;
}

bool DriveRecorder::WriteSpeeds(int mediaType, EngineSpeedList& speeds) const
{
    if (!(static_cast<unsigned int>(mediaType) & ENGINE_MEDIA_CD))
        return false;
    std::vector<uint16_t> kBs;
    m_device.ReadWriteSpeeds(kBs);
    if (kBs.empty()) {
        DriveCapabilities capabilities;
        if (m_device.ReadCapabilities(capabilities).Good())
            kBs = capabilities.writeSpeedsKBs;
    }
    std::vector<int> multiples;
    for (uint16_t s : kBs)
        multiples.push_back(std::max(1, static_cast<int>(std::lround(s / kMmcKBsPerSpeed))));
    std::sort(multiples.begin(), multiples.end());
    multiples.erase(std::unique(multiples.begin(), multiples.end()), multiples.end());
    if (multiples.empty())
        return false;
    speeds = CdSpeedList(multiples);
    return true;
}

bool DriveRecorder::ReadDisc(EngineDiscInfo& disc) const
{
    disc = EngineDiscInfo{};
    if (!Ready())
        return true;  // no disc, or none that can be read yet: media type 0
    DriveConfiguration configuration;
    if (m_device.GetConfiguration(configuration).Good() && configuration.profileKnown) {
        disc.mediaType = MediaOfProfile(configuration.currentProfile);
        if (!(disc.mediaType & ENGINE_MEDIA_CD) || disc.mediaType == ENGINE_MEDIA_CD)
            return true;  // not a disc this recorder writes
    }
    DiscInformation info;
    if (!m_device.ReadDiscInformation(info).Good())
        return false;
    if (!configuration.profileKnown)
        disc.mediaType = info.erasable ? ENGINE_MEDIA_CDRW : ENGINE_MEDIA_CDR;
    uint32_t capacity = info.capacityBlocks;
    if (capacity == 0)
        m_device.ReadAtipCapacity(capacity);
    disc.trackCount = info.status == DiscStatus::Blank ? 0 : std::max(1, info.lastTrack - info.firstTrack + 1);
    disc.writeable = info.status == DiscStatus::Blank;
    disc.freeBlocks = disc.writeable ? capacity : 0;
    return true;
}

int DriveRecorder::ErasingTime(int mode) const
{
    EngineDiscInfo disc;
    if (!ReadDisc(disc) || disc.mediaType == 0)
        return ENGINE_ERASE_TIME_NO_DISC;
    if (disc.mediaType != ENGINE_MEDIA_CDRW)
        return ENGINE_ERASE_TIME_NOT_REWRITABLE;
    // Seconds: a minimal erase takes about a minute; a full one about as
    // long as writing the whole disc at 4x.
    return mode == 1 ? 60 : 80 * 60 / 4;
}

int DriveRecorder::Erase(int mode)
{
    Engine& engine = Engine::Instance();
    EngineDiscInfo disc;
    if (!ReadDisc(disc) || disc.mediaType != ENGINE_MEDIA_CDRW) {
        engine.AddError(disc.mediaType ? "Only a CD-RW can be erased." : "There is no disc in the recorder.");
        return ENGINE_ERASE_FAILED;
    }
    ScsiResult result = m_device.Blank(mode == 1 ? 1 : 0);
    if (!result.Good()) {
        engine.AddError("The recorder could not erase the disc: " + DescribeOutcome(result) + ".");
        return ENGINE_ERASE_FAILED;
    }
    // The drive erases on its own; the program stays alive meanwhile.
    for (unsigned int waited = 0;; waited += 1000) {
        result = m_device.TestUnitReady();
        if (result.Good())
            return ENGINE_ERASE_OK;
        if (!result.delivered || !DecodeSense(result).Is(0x02, 0x04) || waited >= kEraseLimitMs) {
            engine.AddError("The recorder could not erase the disc: " + DescribeOutcome(result) + ".");
            return ENGINE_ERASE_FAILED;
        }
        engine.IdleSaysStop();  // an erase cannot be stopped half way: the answer does not count
        m_transport->Pause(1000);
    }
}

int DriveRecorder::EjectLoad(bool eject)
{
    DriveCapabilities capabilities;
    if (m_device.ReadCapabilities(capabilities).Good() && capabilities.locked) {
        // Another program holds the disc in: its lock stands.
        Engine::Instance().AddError("The recorder's tray is locked by another program.");
        return -1;
    }
    const ScsiResult result = m_device.StartStopUnit(true, !eject);
    if (result.Good())
        return 0;
    Engine::Instance().AddError("The recorder could not " + std::string(eject ? "open" : "close") +
                                " its tray: " + DescribeOutcome(result) + ".");
    return -1;
}

int DriveRecorder::BurnVideoCd(const EngineVideoCdJob& job, unsigned int flags, unsigned int speed,
                               EngineProgress* progress)
{
    EngineDiscInfo disc;
    std::string refusal;
    if (!ReadDisc(disc) || disc.mediaType == 0)
        refusal = "There is no disc in the recorder.";
    else if (disc.mediaType != ENGINE_MEDIA_CDR && disc.mediaType != ENGINE_MEDIA_CDRW)
        refusal = "The disc in the recorder is not a CD-R or CD-RW.";
    else if (!disc.writeable)
        refusal = disc.mediaType == ENGINE_MEDIA_CDRW ? "The CD-RW in the recorder is not blank: erase it first."
                                                      : "The CD-R in the recorder has been written already.";
    if (!refusal.empty()) {
        Engine::Instance().AddError(refusal);
        return ENGINE_BURN_FAILED;
    }
    DiscAtOnceSettings settings;
    settings.testWrite = (flags & ENGINE_BURN_SIMULATE) != 0;
    settings.verify = (flags & ENGINE_BURN_NO_VERIFY) == 0;
    settings.speedMultiple = speed;
    DriveOutput output(m_device, settings);
    // The drive itself simulates: the sectors go to it with its laser off.
    int result = BurnSlideshow(job, false, disc.freeBlocks ? disc.freeBlocks : 0xFFFFFFFFu, output, progress);
    if (result != ENGINE_BURN_OK && output.Spoiled()) {
        // Stopped by the user or by a fault once recording began: the user
        // must hear what became of the disc, so a stop is a failure here.
        Engine::Instance().AddError(disc.mediaType == ENGINE_MEDIA_CDRW
                                        ? "The burn stopped part way: the CD-RW must be erased before it is used again."
                                        : "The burn stopped part way: the CD-R cannot be used any more.");
        result = ENGINE_BURN_FAILED;
    }
    return result;
}
