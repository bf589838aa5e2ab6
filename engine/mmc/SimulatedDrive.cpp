#include "SimulatedDrive.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <utility>

#include "engine/base/ByteOrder.h"
#include "engine/disc/CueSheet.h"
#include "engine/disc/Sector.h"
#include "engine/disc/XaSubmode.h"

namespace {

// Operation codes the drive knows.
enum : uint8_t {
    kTestUnitReady = 0x00,
    kRequestSense = 0x03,
    kInquiry = 0x12,
    kStartStopUnit = 0x1B,
    kPreventAllow = 0x1E,
    kReadCapacity = 0x25,
    kWrite10 = 0x2A,
    kSynchronizeCache = 0x35,
    kReadToc = 0x43,
    kGetConfiguration = 0x46,
    kReadDiscInformation = 0x51,
    kReadTrackInformation = 0x52,
    kSendOpc = 0x54,
    kModeSelect10 = 0x55,
    kModeSense10 = 0x5A,
    kReadBufferCapacity = 0x5C,
    kSendCueSheet = 0x5D,
    kBlank = 0xA1,
    kGetPerformance = 0xAC,
    kSetCdSpeed = 0xBB,
    kReadCd = 0xBE,
};

// System error codes of a command that never completed.
constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorIoDevice = 1117;

constexpr int kKbPerSecondAt1x = 176;
constexpr uint64_t kBlocksPerSecondAt1x = 75;
constexpr uint64_t kCommandMs = 1;
constexpr uint64_t kReadyMs = 1500;
constexpr uint64_t kLongReadyMs = 15000;
constexpr uint64_t kOwnBusinessMs = 6000;
constexpr uint64_t kOpcMs = 1500;
constexpr uint64_t kHostStallMs = 30000;
constexpr uint64_t kBufferStormMs = 3000;
constexpr uint64_t kMinimalBlankMs = 30000;
constexpr uint64_t kCloseSessionMs = 1000;
constexpr uint64_t kLeadOutBlocks = 6750;
constexpr int32_t kSmallDiscBlocks = 1000;
constexpr int32_t kDvdBlocks = 2295104;
constexpr int32_t kPreRecordedBlocks = 300;
constexpr int32_t kLeadInStartLba = -11635;
constexpr size_t kMaxWarnings = 200;

constexpr uint8_t kSenseFixed = 0x70;
constexpr size_t kSenseBytes = 18;
constexpr uint8_t kPage05 = 0x05;
constexpr uint8_t kPage2A = 0x2A;
constexpr uint8_t kAllPages = 0x3F;
constexpr uint8_t kPage05Length = 0x32;
constexpr size_t kModeHeaderBytes = 8;
constexpr uint8_t kPageSaveable = 0x80;

// Page 05h, byte 2.
constexpr uint8_t kBufe = 0x40;
constexpr uint8_t kTestWriteBit = 0x10;
constexpr uint8_t kWriteTypeMask = 0x0F;
constexpr uint8_t kWriteTypeSao = 2;

constexpr uint16_t kProfileNone = 0x0000;
constexpr uint16_t kProfileCdRom = 0x0008;
constexpr uint16_t kProfileCdr = 0x0009;
constexpr uint16_t kProfileCdrw = 0x000A;
constexpr uint16_t kProfileDvdRom = 0x0010;

constexpr const char* kVendor = "SIMULATD";
constexpr const char* kWriterProduct = "CD-RW SIMULATOR";
constexpr const char* kReaderProduct = "DVD-ROM READER";
constexpr const char* kRevision = "1.00";

struct FaultName {
    const char* name;
    SimFault fault;
};

const FaultName kFaultNames[] = {
    {"no-medium", SimFault::NoMedium},
    {"wrong-medium", SimFault::WrongMedium},
    {"complete-cdr", SimFault::CompleteCdr},
    {"small-disc", SimFault::SmallDisc},
    {"dvd-reader", SimFault::DvdReader},
    {"sao-refused", SimFault::SaoRefused},
    {"cue-refused", SimFault::CueRefused},
    {"raw-refused", SimFault::RawRefused},
    {"not-ready-storm", SimFault::NotReadyStorm},
    {"buffer-full-storm", SimFault::BufferFullStorm},
    {"underrun", SimFault::Underrun},
    {"underrun-protected", SimFault::UnderrunProtected},
    {"write-error", SimFault::WriteError},
    {"sync-error", SimFault::SyncError},
    {"transport-error", SimFault::TransportError},
    {"bit-flip", SimFault::BitFlip},
    {"busy", SimFault::Busy},
};

// A data-in command's buffer must be as long as the allocation length the
// CDB names: a host that disagrees with itself has a bug worth seeing.
bool DataIn(const ScsiRequest& r, size_t allocation)
{
    if (allocation == 0)
        return r.length == 0;
    return r.direction == DataDirection::In && r.length == allocation;
}

bool DataOut(const ScsiRequest& r, size_t length)
{
    if (length == 0)
        return r.length == 0;
    return r.direction == DataDirection::Out && r.length == length;
}

uint32_t Get24(const uint8_t* p)
{
    return uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
}

void PutText(uint8_t* p, const char* text, size_t width)
{
    std::memset(p, ' ', width);
    std::memcpy(p, text, std::min(width, std::strlen(text)));
}

// CDB length by the operation code's group.
size_t CdbLength(uint8_t op)
{
    if (op < 0x20)
        return 6;
    if (op < 0x60)
        return 10;
    if (op >= 0xA0 && op < 0xC0)
        return 12;
    return 0;
}

bool IsWriteCommand(uint8_t op)
{
    return op == kWrite10 || op == kSendCueSheet || op == kSendOpc || op == kBlank;
}

}  // namespace

SimulatedDrive::SimulatedDrive(SimulatedDriveSetup setup) : setup_(std::move(setup))
{
    if (!setup_.imageFile.empty()) {
        imageFile_ = std::fopen(setup_.imageFile.c_str(), "w+b");
        imageFileOk_ = imageFile_ != nullptr;
    }
    switch (setup_.fault) {
    case SimFault::NoMedium: setup_.medium = SimMedium::None; break;
    case SimFault::WrongMedium: setup_.medium = SimMedium::Dvd; break;
    case SimFault::CompleteCdr: setup_.medium = SimMedium::CdrComplete; break;
    case SimFault::SmallDisc: setup_.capacityBlocks = kSmallDiscBlocks; break;
    case SimFault::DvdReader:
        setup_.writesCd = false;
        setup_.testWrite = false;
        setup_.underrunFree = false;
        break;
    case SimFault::Underrun: setup_.underrunFree = false; break;
    case SimFault::UnderrunProtected: setup_.underrunFree = true; break;
    case SimFault::NotReadyStorm: setup_.justLoaded = true; break;
    default: break;
    }
    std::sort(setup_.writeSpeeds.begin(), setup_.writeSpeeds.end(), std::greater<int>());
    if (setup_.writeSpeeds.empty())
        setup_.writeSpeeds.push_back(1);
    if (!setup_.writesCd)
        setup_.writeSpeeds.clear();
    writeSpeed_ = setup_.writeSpeeds.empty() ? 0 : setup_.writeSpeeds.front();
    readSpeed_ = 48;

    switch (setup_.medium) {
    case SimMedium::None: kind_ = Kind::None; break;
    case SimMedium::CdrBlank: kind_ = Kind::Cdr; break;
    case SimMedium::CdrwBlank: kind_ = Kind::Cdrw; break;
    case SimMedium::CdrComplete: kind_ = Kind::Cdr; PreRecord(kPreRecordedBlocks); break;
    case SimMedium::CdrwComplete: kind_ = Kind::Cdrw; PreRecord(kPreRecordedBlocks); break;
    case SimMedium::Dvd:
        kind_ = Kind::Dvd;
        setup_.capacityBlocks = kDvdBlocks;
        state_ = SimDiscState::Complete;
        disc_.tracks.push_back(SimTrack{1, 4, kFormXa, {}, {0}});
        disc_.leadOutLba = kDvdBlocks;
        break;
    }
    trayOpen_ = setup_.trayOpen;

    // The write parameters page as the drive starts: track-at-once, Mode 1,
    // no underrun protection, no test write.
    default05_.assign(2 + kPage05Length, 0);
    default05_[0] = kPageSaveable | kPage05;
    default05_[1] = kPage05Length;
    default05_[2] = 0x01;
    default05_[3] = 0x04;
    default05_[4] = 0x08;
    PutBe16(&default05_[14], 150);
    page05_ = default05_;
    changeable05_.assign(2 + kPage05Length, 0);
    changeable05_[0] = kPage05;
    changeable05_[1] = kPage05Length;
    changeable05_[2] = static_cast<uint8_t>(0x20 | kWriteTypeMask | (setup_.testWrite ? kTestWriteBit : 0) |
                                            (setup_.underrunFree ? kBufe : 0));
    changeable05_[3] = 0xFF;
    changeable05_[4] = 0x0F;
    changeable05_[5] = 0xFF;
    changeable05_[7] = 0x3F;
    changeable05_[8] = 0xFF;
    std::fill(changeable05_.begin() + 10, changeable05_.end(), 0xFF);

    if (setup_.justLoaded && !trayOpen_ && kind_ != Kind::None)
        BecomeReady();
    if (setup_.fault == SimFault::Busy)
        busy_ = Busy{0x07, 0, kOwnBusinessMs, true, Action::None};
}

bool SimulatedDrive::ParseFault(const std::string& name, SimFault& fault)
{
    for (const FaultName& entry : kFaultNames)
        if (name == entry.name) {
            fault = entry.fault;
            return true;
        }
    return false;
}

std::vector<std::string> SimulatedDrive::FaultNames()
{
    std::vector<std::string> names;
    for (const FaultName& entry : kFaultNames)
        names.push_back(entry.name);
    return names;
}

std::string SimulatedDrive::CueText(const std::string& binFileName) const
{
    if (cueLayout_.tracks.empty())
        return {};
    std::vector<CueTrack> tracks;
    for (size_t t = 0; t < cueLayout_.tracks.size(); ++t) {
        const SimTrack& from = cueLayout_.tracks[t];
        CueTrack track;
        track.number = from.number;
        // The first track's pregap is not in the image; later ones are.
        if (t > 0 && from.pregapLba)
            track.pregapStart = static_cast<uint32_t>(*from.pregapLba);
        for (int32_t lba : from.indexLbas)
            track.indexStarts.push_back(static_cast<uint32_t>(lba));
        tracks.push_back(track);
    }
    return MakeCueSheet(binFileName, tracks);
}

// ---- Commands ---------------------------------------------------------------

ScsiResult SimulatedDrive::Execute(const ScsiRequest& request)
{
    ++commands_;
    Advance(kCommandMs);
    ScsiResult result;
    if (request.cdbLength == 0 || request.cdbLength > request.cdb.size() ||
        (request.length > 0 && (request.data == nullptr || request.direction == DataDirection::None))) {
        result.transportError = kErrorInvalidParameter;
        return result;
    }
    std::vector<uint8_t> in;
    transportFailure_ = false;
    const Check check = Dispatch(request, in);
    if (transportFailure_) {
        result.transportError = kErrorIoDevice;
        return result;
    }
    result.delivered = true;
    result.residual = request.length;
    if (!check.Good()) {
        result.status = 0x02;
        uint8_t* s = result.sense.data();
        s[0] = kSenseFixed;
        s[2] = check.key;
        s[7] = kSenseBytes - 8;
        s[12] = check.asc;
        s[13] = check.ascq;
        if (check.progress >= 0) {
            s[15] = 0x80;
            PutBe16(s + 16, static_cast<uint16_t>(check.progress));
        }
        result.senseLength = kSenseBytes;
        return result;
    }
    if (request.direction == DataDirection::In) {
        const size_t n = std::min(in.size(), request.length);
        if (n > 0)
            std::memcpy(request.data, in.data(), n);
        result.residual = request.length - n;
    } else {
        result.residual = 0;
    }
    return result;
}

void SimulatedDrive::Pause(unsigned int milliseconds)
{
    Advance(milliseconds);
}

SimulatedDrive::Check SimulatedDrive::Dispatch(const ScsiRequest& r, std::vector<uint8_t>& in)
{
    const uint8_t op = r.cdb[0];
    switch (op) {
    case kTestUnitReady: case kRequestSense: case kInquiry: case kStartStopUnit: case kPreventAllow:
    case kReadCapacity: case kWrite10: case kSynchronizeCache: case kReadToc: case kGetConfiguration:
    case kReadDiscInformation: case kReadTrackInformation: case kSendOpc: case kModeSelect10:
    case kModeSense10: case kReadBufferCapacity: case kSendCueSheet: case kBlank: case kGetPerformance:
    case kSetCdSpeed: case kReadCd:
        break;
    default:
        return Refuse(0x05, 0x20, 0x00, "unknown operation code");
    }
    if (!setup_.writesCd && IsWriteCommand(op))
        return Refuse(0x05, 0x20, 0x00, "this drive does not write CDs");
    if (r.cdbLength != CdbLength(op))
        return Refuse(0x05, 0x24, 0x00, "the CDB length does not fit the operation code");
    // A changed disc is reported once, to the first command after it is
    // ready, except to those that only ask about the drive.
    if (unitAttention_ && !BusyNow() && op != kInquiry && op != kRequestSense && op != kGetConfiguration) {
        unitAttention_ = false;
        return Check{0x06, 0x28, 0x00};
    }
    switch (op) {
    case kTestUnitReady: return TestUnitReady(r);
    case kRequestSense: return RequestSense(r, in);
    case kInquiry: return Inquiry(r, in);
    case kStartStopUnit: return StartStopUnit(r);
    case kPreventAllow: return PreventAllow(r);
    case kReadCapacity: return ReadCapacity(r, in);
    case kWrite10: return Write(r);
    case kSynchronizeCache: return SynchronizeCache(r);
    case kReadToc: return ReadToc(r, in);
    case kGetConfiguration: return GetConfiguration(r, in);
    case kReadDiscInformation: return ReadDiscInformation(r, in);
    case kReadTrackInformation: return ReadTrackInformation(r, in);
    case kSendOpc: return SendOpc(r);
    case kModeSelect10: return ModeSelect(r);
    case kModeSense10: return ModeSense(r, in);
    case kReadBufferCapacity: return ReadBufferCapacity(r, in);
    case kSendCueSheet: return SendCueSheet(r);
    case kBlank: return Blank(r);
    case kGetPerformance: return GetPerformance(r, in);
    case kSetCdSpeed: return SetCdSpeed(r);
    default: return ReadCd(r, in);
    }
}

SimulatedDrive::Check SimulatedDrive::TestUnitReady(const ScsiRequest& r)
{
    if (!DataIn(r, 0))
        return Refuse(0x05, 0x24, 0x00, "TEST UNIT READY carries no data");
    return MediumReady();
}

SimulatedDrive::Check SimulatedDrive::RequestSense(const ScsiRequest& r, std::vector<uint8_t>& in)
{
    if (!DataIn(r, r.cdb[4]) || (r.cdb[1] & 0x01))
        return Refuse(0x05, 0x24, 0x00, "REQUEST SENSE: allocation length or descriptor format");
    Check now = MediumReady();
    if (now.Good() && unitAttention_) {
        unitAttention_ = false;
        now = Check{0x06, 0x28, 0x00};
    }
    in.assign(kSenseBytes, 0);
    in[0] = kSenseFixed;
    in[2] = now.key;
    in[7] = kSenseBytes - 8;
    in[12] = now.asc;
    in[13] = now.ascq;
    if (now.progress >= 0) {
        in[15] = 0x80;
        PutBe16(&in[16], static_cast<uint16_t>(now.progress));
    }
    return {};
}

SimulatedDrive::Check SimulatedDrive::Inquiry(const ScsiRequest& r, std::vector<uint8_t>& in)
{
    if (!DataIn(r, GetBe16(&r.cdb[3])) || (r.cdb[1] & 0x01))
        return Refuse(0x05, 0x24, 0x00, "INQUIRY: allocation length or vital product data");
    in.assign(36, 0);
    in[0] = 0x05;  // CD/DVD device
    in[1] = 0x80;  // removable medium
    in[2] = 0x05;
    in[3] = 0x02;
    in[4] = static_cast<uint8_t>(in.size() - 5);
    PutText(&in[8], kVendor, 8);
    PutText(&in[16], setup_.writesCd ? kWriterProduct : kReaderProduct, 16);
    PutText(&in[32], kRevision, 4);
    return {};
}

SimulatedDrive::Check SimulatedDrive::GetConfiguration(const ScsiRequest& r, std::vector<uint8_t>& in)
{
    const uint8_t rt = r.cdb[1] & 0x03;
    const uint16_t first = GetBe16(&r.cdb[2]);
    if (!DataIn(r, GetBe16(&r.cdb[7])) || rt == 3)
        return Refuse(0x05, 0x24, 0x00, "GET CONFIGURATION: allocation length or request type");
    in.assign(8, 0);
    PutBe16(&in[6], CurrentProfile());
    auto feature = [&](uint16_t code, uint8_t version, bool current, const std::vector<uint8_t>& body) {
        if ((rt == 2 && code != first) || code < first || (rt == 1 && !current))
            return;
        const size_t at = in.size();
        in.resize(at + 4);
        PutBe16(&in[at], code);
        in[at + 2] = static_cast<uint8_t>(version << 2 | (code == 0 ? 0x02 : 0) | (current ? 0x01 : 0));
        in[at + 3] = static_cast<uint8_t>(body.size());
        in.insert(in.end(), body.begin(), body.end());
    };
    std::vector<uint16_t> profiles = {kProfileDvdRom, kProfileCdRom};
    if (setup_.writesCd)
        profiles = {kProfileDvdRom, kProfileCdrw, kProfileCdr, kProfileCdRom};
    std::vector<uint8_t> list;
    for (uint16_t profile : profiles) {
        const uint8_t entry[4] = {static_cast<uint8_t>(profile >> 8), static_cast<uint8_t>(profile),
                                  static_cast<uint8_t>(profile == CurrentProfile() ? 1 : 0), 0};
        list.insert(list.end(), entry, entry + 4);
    }
    feature(0x0000, 0, true, list);
    if (setup_.writesCd) {
        const bool current = HasWritableCd();
        const uint8_t common = static_cast<uint8_t>((setup_.underrunFree ? 0x40 : 0) |
                                                    (setup_.testWrite ? 0x04 : 0) | 0x02);
        feature(0x002D, 2, current, {common, 0, 0, 0});
        // A drive that cannot write disc-at-once does not describe mastering.
        if (setup_.fault != SimFault::SaoRefused) {
            const uint32_t cue = setup_.maxCueSheetBytes;
            feature(0x002E, 0, current,
                    {static_cast<uint8_t>(common | 0x20), static_cast<uint8_t>(cue >> 16),
                     static_cast<uint8_t>(cue >> 8), static_cast<uint8_t>(cue)});
        }
    }
    PutBe32(&in[0], static_cast<uint32_t>(in.size() - 4));
    return {};
}

std::vector<uint8_t> SimulatedDrive::Page2A(bool changeable) const
{
    const size_t speeds = setup_.writeSpeeds.size();
    std::vector<uint8_t> page(32 + 4 * speeds, 0);
    page[0] = kPage2A;
    page[1] = static_cast<uint8_t>(page.size() - 2);
    if (changeable)
        return page;
    page[2] = 0x0F;  // reads CD-R, CD-RW, Mode 2 method 2, DVD-ROM
    if (setup_.writesCd)
        page[3] = static_cast<uint8_t>(0x03 | (setup_.testWrite ? 0x04 : 0));
    page[4] = static_cast<uint8_t>(0x70 | (setup_.underrunFree ? 0x80 : 0));
    page[5] = 0x03;
    page[6] = static_cast<uint8_t>(0x29 | (prevent_ ? 0x02 : 0));  // tray, eject, lock
    const uint16_t maxWrite = static_cast<uint16_t>(speeds ? setup_.writeSpeeds.front() * kKbPerSecondAt1x : 0);
    const uint16_t write = static_cast<uint16_t>(writeSpeed_ * kKbPerSecondAt1x);
    PutBe16(&page[8], static_cast<uint16_t>(48 * kKbPerSecondAt1x));
    PutBe16(&page[12], static_cast<uint16_t>(setup_.bufferBytes / 1024));
    PutBe16(&page[14], static_cast<uint16_t>(readSpeed_ * kKbPerSecondAt1x));
    PutBe16(&page[18], maxWrite);
    PutBe16(&page[20], write);
    PutBe16(&page[28], write);
    PutBe16(&page[30], static_cast<uint16_t>(speeds));
    for (size_t i = 0; i < speeds; ++i)
        PutBe16(&page[32 + 4 * i + 2], static_cast<uint16_t>(setup_.writeSpeeds[i] * kKbPerSecondAt1x));
    return page;
}

std::vector<uint8_t> SimulatedDrive::Page05(uint8_t control) const
{
    return control == 0 ? page05_ : control == 1 ? changeable05_ : default05_;
}

SimulatedDrive::Check SimulatedDrive::ModeSense(const ScsiRequest& r, std::vector<uint8_t>& in)
{
    const uint8_t control = r.cdb[2] >> 6, page = r.cdb[2] & 0x3F;
    if (!DataIn(r, GetBe16(&r.cdb[7])))
        return Refuse(0x05, 0x24, 0x00, "MODE SENSE: allocation length");
    if (control == 3)
        return Refuse(0x05, 0x39, 0x00, "MODE SENSE: saved values are not supported");
    in.assign(kModeHeaderBytes, 0);
    bool any = false;
    if ((page == kPage05 || page == kAllPages) && setup_.writesCd) {
        const std::vector<uint8_t> p = Page05(control);
        in.insert(in.end(), p.begin(), p.end());
        any = true;
    }
    if (page == kPage2A || page == kAllPages) {
        const std::vector<uint8_t> p = Page2A(control == 1);
        in.insert(in.end(), p.begin(), p.end());
        any = true;
    }
    if (!any)
        return Refuse(0x05, 0x24, 0x00, "MODE SENSE: page not supported");
    PutBe16(&in[0], static_cast<uint16_t>(in.size() - 2));
    return {};
}

SimulatedDrive::Check SimulatedDrive::ModeSelect(const ScsiRequest& r)
{
    const size_t length = GetBe16(&r.cdb[7]);
    if (!DataOut(r, length) || (r.cdb[1] & 0x01))
        return Refuse(0x05, 0x24, 0x00, "MODE SELECT: parameter list length or save bit");
    const uint8_t* p = r.data;
    if (!(r.cdb[1] & 0x10))
        return Refuse(0x05, 0x26, 0x00, "MODE SELECT: PF must be 1");
    if (length < kModeHeaderBytes + 2)
        return Refuse(0x05, 0x26, 0x00, "MODE SELECT: no page");
    if (GetBe16(p) != 0)
        return Refuse(0x05, 0x26, 0x00, "MODE SELECT: the mode data length must be 0");
    if (GetBe16(p + 6) != 0)
        return Refuse(0x05, 0x26, 0x00, "MODE SELECT: no block descriptor is allowed");
    const uint8_t* page = p + kModeHeaderBytes;
    if (!setup_.writesCd || (page[0] & 0x3F) != kPage05)
        return Refuse(0x05, 0x26, 0x00, "MODE SELECT: only page 05h can be set");
    if (page[0] & kPageSaveable)
        return Refuse(0x05, 0x26, 0x00, "MODE SELECT: PS must be 0");
    if (page[1] != kPage05Length || length != kModeHeaderBytes + 2 + kPage05Length)
        return Refuse(0x05, 0x26, 0x00, "MODE SELECT: page 05h has the wrong length");
    for (size_t i = 2; i < page05_.size(); ++i)
        if ((page[i] ^ page05_[i]) & ~changeable05_[i])
            return Refuse(0x05, 0x26, 0x00, "MODE SELECT: a field that cannot be changed was changed");
    const uint8_t writeType = page[2] & kWriteTypeMask;
    if (writeType < 1 || writeType > 3)
        return Refuse(0x05, 0x26, 0x00, "MODE SELECT: write type not supported");
    if (writeType == kWriteTypeSao && setup_.fault == SimFault::SaoRefused)
        return Refuse(0x05, 0x26, 0x00, "MODE SELECT: this drive cannot write disc-at-once");
    if (page[8] != 0x00 && page[8] != 0x10 && page[8] != 0x20)
        return Refuse(0x05, 0x26, 0x00, "MODE SELECT: session format not supported");
    std::copy(page + 2, page + page05_.size(), page05_.begin() + 2);
    return {};
}

SimulatedDrive::Check SimulatedDrive::ReadDiscInformation(const ScsiRequest& r, std::vector<uint8_t>& in)
{
    if (!DataIn(r, GetBe16(&r.cdb[7])) || (r.cdb[1] & 0x07))
        return Refuse(0x05, 0x24, 0x00, "READ DISC INFORMATION: allocation length or data type");
    const Check ready = MediumReady();
    if (!ready.Good())
        return ready;
    in.assign(34, 0);
    PutBe16(&in[0], 32);
    const bool blank = state_ == SimDiscState::Blank;
    // Status: blank, or complete with its session closed; erasable for CD-RW.
    in[2] = static_cast<uint8_t>((blank ? 0x00 : 0x0E) | (kind_ == Kind::Cdrw ? 0x10 : 0));
    in[3] = 1;
    in[4] = 1;
    in[5] = 1;
    in[6] = static_cast<uint8_t>(blank || disc_.tracks.empty() ? 1 : disc_.tracks.back().number);
    in[7] = 0x20;  // unrestricted use
    in[8] = blank ? 0x00 : state_ == SimDiscState::Damaged ? 0xFF : discType_;
    if (blank) {
        LbaToMsf(kLeadInStartLba, &in[17]);
        LbaToMsf(setup_.capacityBlocks, &in[21]);
    } else {
        std::fill(in.begin() + 16, in.begin() + 24, 0xFF);
    }
    return {};
}

SimulatedDrive::Check SimulatedDrive::ReadTrackInformation(const ScsiRequest& r, std::vector<uint8_t>& in)
{
    if (!DataIn(r, GetBe16(&r.cdb[7])))
        return Refuse(0x05, 0x24, 0x00, "READ TRACK INFORMATION: allocation length");
    const Check ready = MediumReady();
    if (!ready.Good())
        return ready;
    const uint8_t type = r.cdb[1] & 0x03;
    const uint32_t address = GetBe32(&r.cdb[2]);
    in.assign(36, 0);
    PutBe16(&in[0], 34);
    in[3] = 1;  // session
    if (state_ == SimDiscState::Blank) {
        // The one invisible track that fills the blank disc.
        if ((type == 1 && address != 1 && address != 0xFF) || type > 1)
            return Refuse(0x05, 0x24, 0x00, "READ TRACK INFORMATION: no such track");
        in[2] = 1;
        in[6] = 0x4F;  // blank
        in[7] = 0x01;  // next writable address valid
        PutBe32(&in[16], static_cast<uint32_t>(setup_.capacityBlocks));
        PutBe32(&in[24], static_cast<uint32_t>(setup_.capacityBlocks));
        return {};
    }
    const SimTrack* track = nullptr;
    for (const SimTrack& t : disc_.tracks)
        if ((type == 1 && static_cast<uint32_t>(t.number) == address) ||
            (type == 0 && t.StartLba() <= static_cast<int32_t>(address)))
            track = &t;
    if (type == 0 && static_cast<int32_t>(address) >= disc_.leadOutLba)
        track = nullptr;
    if (track == nullptr || type > 1)
        return Refuse(0x05, 0x24, 0x00, "READ TRACK INFORMATION: no such track");
    const size_t index = static_cast<size_t>(track - disc_.tracks.data());
    const int32_t start = track->indexLbas.front();
    const int32_t end = index + 1 < disc_.tracks.size() ? disc_.tracks[index + 1].StartLba() : disc_.leadOutLba;
    in[2] = static_cast<uint8_t>(track->number);
    in[5] = track->control;
    in[6] = 0x02;
    PutBe32(&in[8], static_cast<uint32_t>(start));
    PutBe32(&in[24], static_cast<uint32_t>(end - start));
    PutBe32(&in[28], static_cast<uint32_t>(end - 1));
    return {};
}

SimulatedDrive::Check SimulatedDrive::ReadToc(const ScsiRequest& r, std::vector<uint8_t>& in)
{
    if (!DataIn(r, GetBe16(&r.cdb[7])))
        return Refuse(0x05, 0x24, 0x00, "READ TOC: allocation length");
    const Check ready = MediumReady();
    if (!ready.Good())
        return ready;
    const bool msf = r.cdb[1] & 0x02;
    const uint8_t format = r.cdb[2] & 0x0F;
    auto address = [&](uint8_t* p, int32_t lba) {
        if (msf)
            LbaToMsf(lba, p + 1);
        else
            PutBe32(p, static_cast<uint32_t>(lba));
    };
    if (format == 4) {
        if (!HasCd())
            return Refuse(0x05, 0x24, 0x00, "READ TOC: this disc has no ATIP");
        in.assign(28, 0);
        PutBe16(&in[0], 26);
        in[4] = 0xD2;
        in[6] = static_cast<uint8_t>(0x80 | (kind_ == Kind::Cdrw ? 0x40 : 0));
        LbaToMsf(kLeadInStartLba, &in[8]);
        LbaToMsf(setup_.capacityBlocks, &in[12]);
        return {};
    }
    if (format > 1)
        return Refuse(0x05, 0x24, 0x00, "READ TOC: format not supported");
    if (state_ == SimDiscState::Blank)
        return Refuse(0x05, 0x24, 0x00, "READ TOC: the disc is blank");
    if (state_ == SimDiscState::Damaged)
        return Refuse(0x03, 0x57, 0x00, "READ TOC: the table of contents cannot be read");
    const std::vector<SimTrack>& tracks = disc_.tracks;
    in.assign(4, 0);
    in[2] = static_cast<uint8_t>(format == 1 ? 1 : tracks.front().number);
    in[3] = static_cast<uint8_t>(format == 1 ? 1 : tracks.back().number);
    auto descriptor = [&](uint8_t control, uint8_t number, int32_t lba) {
        const size_t at = in.size();
        in.resize(at + 8);
        in[at + 1] = static_cast<uint8_t>(0x10 | control);
        in[at + 2] = number;
        address(&in[at + 4], lba);
    };
    if (format == 1) {
        descriptor(tracks.front().control, static_cast<uint8_t>(tracks.front().number), tracks.front().indexLbas[0]);
    } else {
        const uint8_t from = r.cdb[6];
        for (const SimTrack& t : tracks)
            if (t.number >= from)
                descriptor(t.control, static_cast<uint8_t>(t.number), t.indexLbas[0]);
        if (from > tracks.back().number && from != 0xAA)
            return Refuse(0x05, 0x24, 0x00, "READ TOC: no such track");
        descriptor(tracks.back().control, 0xAA, disc_.leadOutLba);
    }
    PutBe16(&in[0], static_cast<uint16_t>(in.size() - 2));
    return {};
}

SimulatedDrive::Check SimulatedDrive::ReadCapacity(const ScsiRequest& r, std::vector<uint8_t>& in)
{
    if (!DataIn(r, 8))
        return Refuse(0x05, 0x24, 0x00, "READ CAPACITY: 8 bytes of data");
    const Check ready = MediumReady();
    if (!ready.Good())
        return ready;
    in.assign(8, 0);
    if (state_ == SimDiscState::Complete)
        PutBe32(&in[0], static_cast<uint32_t>(disc_.leadOutLba - 1));
    PutBe32(&in[4], 2048);
    return {};
}

SimulatedDrive::Check SimulatedDrive::GetPerformance(const ScsiRequest& r, std::vector<uint8_t>& in)
{
    if (r.cdb[10] != 0x03 || (r.cdb[1] & 0x1F) != 0)
        return Refuse(0x05, 0x24, 0x00, "GET PERFORMANCE: only write speeds (type 03h)");
    if (r.direction != DataDirection::In || r.length < 8)
        return Refuse(0x05, 0x24, 0x00, "GET PERFORMANCE: data length");
    const size_t speeds = setup_.writeSpeeds.size();
    const size_t wanted = std::min<size_t>(GetBe16(&r.cdb[8]), speeds);
    in.assign(8, 0);
    PutBe32(&in[0], static_cast<uint32_t>(4 + 16 * speeds));
    for (size_t i = 0; i < wanted; ++i) {
        uint8_t d[16] = {};
        PutBe32(d + 4, static_cast<uint32_t>(setup_.capacityBlocks));
        PutBe32(d + 8, static_cast<uint32_t>(48 * kKbPerSecondAt1x));
        PutBe32(d + 12, static_cast<uint32_t>(setup_.writeSpeeds[i] * kKbPerSecondAt1x));
        in.insert(in.end(), d, d + 16);
    }
    return {};
}

SimulatedDrive::Check SimulatedDrive::SetCdSpeed(const ScsiRequest& r)
{
    if (!DataOut(r, 0) || (r.cdb[1] & 0x03) != 0)
        return Refuse(0x05, 0x24, 0x00, "SET CD SPEED: data or rotation control");
    const uint16_t read = GetBe16(&r.cdb[2]), write = GetBe16(&r.cdb[4]);
    readSpeed_ = std::max(1, std::min(48, read / kKbPerSecondAt1x));
    if (!setup_.writeSpeeds.empty()) {
        // The fastest speed not above the one asked for; the slowest if all are.
        writeSpeed_ = setup_.writeSpeeds.back();
        for (int speed : setup_.writeSpeeds)
            if (write == 0xFFFF || speed * kKbPerSecondAt1x <= write) {
                writeSpeed_ = speed;
                break;
            }
    }
    return {};
}

SimulatedDrive::Check SimulatedDrive::SendOpc(const ScsiRequest& r)
{
    if (!DataOut(r, GetBe16(&r.cdb[7])))
        return Refuse(0x05, 0x24, 0x00, "SEND OPC INFORMATION: parameter list length");
    const Check ready = MediumReady();
    if (!ready.Good())
        return ready;
    if (!HasWritableCd())
        return Refuse(0x05, 0x30, 0x05, "SEND OPC INFORMATION: not a writable CD");
    if (r.cdb[1] & 0x01)
        Advance(kOpcMs);
    return {};
}

SimulatedDrive::Check SimulatedDrive::SendCueSheet(const ScsiRequest& r)
{
    const size_t size = Get24(&r.cdb[6]);
    if (!DataOut(r, size))
        return Refuse(0x05, 0x24, 0x00, "SEND CUE SHEET: the data length is not the cue sheet size");
    const Check ready = MediumReady();
    if (!ready.Good())
        return ready;
    if (!HasWritableCd())
        return Refuse(0x05, 0x30, 0x05, "SEND CUE SHEET: not a writable CD");
    if ((page05_[2] & kWriteTypeMask) != kWriteTypeSao)
        return Refuse(0x05, 0x2C, 0x00, "SEND CUE SHEET: the write type is not disc-at-once");
    if (state_ != SimDiscState::Blank)
        return Refuse(0x05, 0x2C, 0x00, "SEND CUE SHEET: the disc is not blank");
    if (session_.started)
        return Refuse(0x05, 0x2C, 0x00, "SEND CUE SHEET: a write is under way");
    if (setup_.fault == SimFault::CueRefused)
        return Refuse(0x05, 0x26, 0x00, "SEND CUE SHEET: refused by this drive");
    if (size == 0 || size % 8 != 0 || size > setup_.maxCueSheetBytes)
        return Refuse(0x05, 0x26, 0x00, "SEND CUE SHEET: size not a multiple of 8 or too long");
    SimLayout layout;
    std::string why;
    if (!ParseCueSheet(r.data, size, setup_.capacityBlocks, layout, why))
        return Refuse(0x05, 0x26, 0x00, "SEND CUE SHEET: " + why);
    if (setup_.fault == SimFault::RawRefused)
        for (const SimTrack& track : layout.tracks)
            if (track.form == kFormXaRaw)
                return Refuse(0x05, 0x26, 0x00, "SEND CUE SHEET: raw XA blocks are refused by this drive");

    session_ = Session{};
    session_.active = true;
    session_.testWrite = page05_[2] & kTestWriteBit;
    session_.bufe = page05_[2] & kBufe;
    session_.sessionFormat = page05_[8];
    session_.layout = layout;
    session_.nextLba = layout.FirstLba();
    cueSheet_.assign(r.data, r.data + size);
    cueLayout_ = layout;
    writes_.clear();
    if (!session_.testWrite) {
        ClearImage();
        if (!imageFile_)
            image_.reserve(static_cast<size_t>(std::max(layout.leadOutLba, 0)) * kSectorBytes);
        pregap_.assign(static_cast<size_t>(std::max(-layout.FirstLba(), 0)) * kSectorBytes, 0);
    }
    return {};
}

bool SimulatedDrive::AtHalfway(int32_t lba, uint32_t count) const
{
    const int32_t half = session_.layout.leadOutLba / 2;
    return !session_.faultDone && lba <= half && half < lba + static_cast<int32_t>(count);
}

SimulatedDrive::Check SimulatedDrive::Write(const ScsiRequest& r)
{
    const int32_t lba = static_cast<int32_t>(GetBe32(&r.cdb[2]));
    const uint32_t count = GetBe16(&r.cdb[7]);
    const Check ready = MediumReady();
    if (!ready.Good())
        return ready;
    if (!session_.active)
        return Refuse(0x05, 0x2C, 0x00, "WRITE without an accepted cue sheet");
    if (session_.underrun) {
        Ruin();
        return Refuse(0x03, 0x0C, 0x09, "WRITE: the buffer ran empty");
    }
    if (count == 0)
        return DataOut(r, 0) ? Check{} : Refuse(0x05, 0x24, 0x00, "WRITE of no blocks carries data");
    if (lba != session_.nextLba)
        return Refuse(0x05, 0x21, 0x02, "WRITE not at the next LBA");
    const SimLayout& layout = session_.layout;
    if (lba + static_cast<int64_t>(count) > layout.leadOutLba)
        return Refuse(0x05, 0x21, 0x00, "WRITE beyond the lead-out");
    size_t bytes = 0;
    const uint8_t firstForm = layout.TrackAt(lba)->form;
    bool formChanges = false;
    for (uint32_t k = 0; k < count; ++k) {
        const SimTrack* track = layout.TrackAt(lba + static_cast<int32_t>(k));
        bytes += HostBytesOfForm(track->form);
        formChanges = formChanges || track->form != firstForm;
    }
    if (!DataOut(r, bytes))
        return Refuse(0x05, 0x24, 0x00, "WRITE: the data length does not match the blocks' size");

    if (AtHalfway(lba, count)) {
        switch (setup_.fault) {
        case SimFault::TransportError:
            session_.faultDone = true;
            transportFailure_ = true;
            return {};
        case SimFault::WriteError:
            session_.faultDone = true;
            Ruin();
            return Refuse(0x03, 0x0C, 0x00, "WRITE: write error");
        case SimFault::Underrun:
        case SimFault::UnderrunProtected:
            // The host stalls here; the drive goes on writing what it has.
            session_.faultDone = true;
            Advance(kHostStallMs);
            if (session_.underrun) {
                Ruin();
                return Refuse(0x03, 0x0C, 0x09, "WRITE: the buffer ran empty");
            }
            break;
        case SimFault::BufferFullStorm:
            session_.faultDone = true;
            session_.stormUntil = now_ + kBufferStormMs;
            break;
        default: break;
        }
    }
    if (now_ < session_.stormUntil)
        return Check{0x02, 0x04, 0x08};
    const uint64_t capacity = std::max<uint64_t>(setup_.bufferBytes / kSectorBytes, 1);
    if (session_.buffered > 0 && session_.buffered + count > capacity)
        return Check{0x02, 0x04, 0x08};

    if (formChanges && warnings_.size() < kMaxWarnings)
        warnings_.push_back("WRITE at LBA " + std::to_string(lba) + " crosses a change of block size");
    const uint8_t* host = r.data;
    std::vector<std::string> problems;
    uint8_t scratch[kSectorBytes];
    for (uint32_t k = 0; k < count; ++k) {
        const int32_t at = lba + static_cast<int32_t>(k);
        const uint8_t form = layout.TrackAt(at)->form;
        uint8_t* out = scratch;
        if (!session_.testWrite && at < 0)
            out = &pregap_[static_cast<size_t>(at - layout.FirstLba()) * kSectorBytes];
        RecordSector(form, at, host, out, problems);
        if (!session_.testWrite && at >= 0)
            StoreSector(at, out);
        host += HostBytesOfForm(form);
    }
    for (std::string& problem : problems)
        if (warnings_.size() < kMaxWarnings)
            warnings_.push_back(std::move(problem));
    if (!session_.started) {
        session_.started = true;
        session_.drainedTo = now_;
    }
    session_.buffered += count;
    session_.nextLba += static_cast<int32_t>(count);
    writes_.push_back(SimWrite{lba, count});
    return {};
}

SimulatedDrive::Check SimulatedDrive::ReadBufferCapacity(const ScsiRequest& r, std::vector<uint8_t>& in)
{
    if (!DataIn(r, GetBe16(&r.cdb[7])) || (r.cdb[1] & 0x01))
        return Refuse(0x05, 0x24, 0x00, "READ BUFFER CAPACITY: allocation length or block format");
    in.assign(12, 0);
    PutBe16(&in[0], 10);
    const uint64_t used = session_.active ? session_.buffered * kSectorBytes : 0;
    PutBe32(&in[4], setup_.bufferBytes);
    PutBe32(&in[8], static_cast<uint32_t>(setup_.bufferBytes - std::min<uint64_t>(used, setup_.bufferBytes)));
    return {};
}

SimulatedDrive::Check SimulatedDrive::SynchronizeCache(const ScsiRequest& r)
{
    if (!DataOut(r, 0))
        return Refuse(0x05, 0x24, 0x00, "SYNCHRONIZE CACHE carries no data");
    const bool immediate = r.cdb[1] & 0x02;
    const Check ready = MediumReady();
    if (!ready.Good())
        return ready;
    if (!session_.active)
        return {};
    if (!session_.started) {
        // Nothing was written: the drive drops the cue sheet, the disc stays blank.
        session_ = Session{};
        return {};
    }
    if (session_.underrun) {
        Ruin();
        return Refuse(0x03, 0x0C, 0x09, "SYNCHRONIZE CACHE: the buffer ran empty");
    }
    if (session_.nextLba < session_.layout.leadOutLba) {
        Ruin();
        return Refuse(0x05, 0x2C, 0x00, "SYNCHRONIZE CACHE before the last block of the cue sheet");
    }
    // The drive writes what its buffer holds, then the lead-out, then closes.
    session_.active = false;
    const uint64_t duration =
        (session_.buffered + kLeadOutBlocks) * 1000 / BlocksPerSecond() + kCloseSessionMs;
    busy_ = Busy{0x08, now_, now_ + duration, true, Action::Finish};
    if (!immediate)
        Advance(duration);
    if (setup_.fault == SimFault::SyncError)
        return Refuse(0x03, 0x72, 0x00, "SYNCHRONIZE CACHE: error reported although the disc is fine");
    return {};
}

SimulatedDrive::Check SimulatedDrive::Blank(const ScsiRequest& r)
{
    if (!DataOut(r, 0))
        return Refuse(0x05, 0x24, 0x00, "BLANK carries no data");
    const uint8_t type = r.cdb[1] & 0x07;
    const bool immediate = r.cdb[1] & 0x10;
    const Check ready = MediumReady();
    if (!ready.Good())
        return ready;
    if (kind_ != Kind::Cdrw)
        return Refuse(0x05, 0x30, 0x00, "BLANK: the disc is not erasable");
    if (session_.active)
        return Refuse(0x05, 0x2C, 0x00, "BLANK during a write");
    if (type > 1)
        return Refuse(0x05, 0x24, 0x00, "BLANK: only full and minimal blanking");
    const uint64_t duration =
        type == 0 ? static_cast<uint64_t>(setup_.capacityBlocks) * 1000 / BlocksPerSecond() : kMinimalBlankMs;
    // With Test Write still set the drive only pretends to blank.
    const bool simulated = page05_[2] & kTestWriteBit;
    busy_ = Busy{0x07, now_, now_ + duration, true, simulated ? Action::None : Action::Blank};
    if (!immediate)
        Advance(duration);
    return {};
}

SimulatedDrive::Check SimulatedDrive::StartStopUnit(const ScsiRequest& r)
{
    if (!DataOut(r, 0) || (r.cdb[4] & 0xF0))
        return Refuse(0x05, 0x24, 0x00, "START STOP UNIT: data or power condition");
    const bool loej = r.cdb[4] & 0x02, start = r.cdb[4] & 0x01;
    if (!loej)
        return {};
    if (BusyNow() && busy_.ascq != 0x01)
        return BusySense();
    if (start) {
        if (trayOpen_) {
            trayOpen_ = false;
            if (kind_ != Kind::None)
                BecomeReady();
        }
        return {};
    }
    if (prevent_)
        return Refuse(0x02, 0x53, 0x02, "START STOP UNIT: medium removal is prevented");
    if (session_.active) {
        if (session_.started)
            Ruin();
        session_ = Session{};
    }
    trayOpen_ = true;
    unitAttention_ = false;
    busy_ = Busy{};
    return {};
}

SimulatedDrive::Check SimulatedDrive::PreventAllow(const ScsiRequest& r)
{
    if (!DataOut(r, 0))
        return Refuse(0x05, 0x24, 0x00, "PREVENT ALLOW MEDIUM REMOVAL carries no data");
    prevent_ = r.cdb[4] & 0x01;
    return {};
}

SimulatedDrive::Check SimulatedDrive::ReadCd(const ScsiRequest& r, std::vector<uint8_t>& in)
{
    const int32_t lba = static_cast<int32_t>(GetBe32(&r.cdb[2]));
    const uint32_t count = Get24(&r.cdb[6]);
    if (((r.cdb[1] >> 2) & 0x07) != 0 || r.cdb[9] != 0xF8 || (r.cdb[10] & 0x07) != 0)
        return Refuse(0x05, 0x24, 0x00, "READ CD: only whole raw sectors of any type (F8h), no sub-channel");
    if (!DataIn(r, static_cast<size_t>(count) * kSectorBytes))
        return Refuse(0x05, 0x24, 0x00, "READ CD: the data length is not count x 2352");
    const Check ready = MediumReady();
    if (!ready.Good())
        return ready;
    if (!HasCd())
        return Refuse(0x05, 0x30, 0x02, "READ CD: not a CD");
    if (state_ == SimDiscState::Damaged)
        return Refuse(0x03, 0x11, 0x00, "READ CD: the disc cannot be read");
    const int32_t first = -static_cast<int32_t>(pregap_.size() / kSectorBytes);
    const int32_t end = state_ == SimDiscState::Complete ? disc_.leadOutLba : 0;
    if (lba < first || lba + static_cast<int64_t>(count) > end)
        return Refuse(0x05, 0x21, 0x00, "READ CD: outside the recorded area");
    in.resize(static_cast<size_t>(count) * kSectorBytes);
    for (uint32_t k = 0; k < count; ++k) {
        const int32_t at = lba + static_cast<int32_t>(k);
        if (at < 0)
            std::memcpy(&in[k * kSectorBytes], &pregap_[static_cast<size_t>(at - first) * kSectorBytes], kSectorBytes);
        else
            LoadSector(at, &in[k * kSectorBytes]);
    }
    return {};
}

// ---- State ----------------------------------------------------------------------

SimulatedDrive::~SimulatedDrive()
{
    if (imageFile_)
        std::fclose(imageFile_);
}

void SimulatedDrive::StoreSector(int32_t lba, const uint8_t* sector)
{
    const size_t at = static_cast<size_t>(lba) * kSectorBytes;
    if (!imageFile_) {
        if (image_.size() < at + kSectorBytes)
            image_.resize(at + kSectorBytes);
        std::memcpy(&image_[at], sector, kSectorBytes);
        return;
    }
    imageFileOk_ = imageFileOk_ && std::fseek(imageFile_, static_cast<long>(at), SEEK_SET) == 0 &&
                   std::fwrite(sector, 1, kSectorBytes, imageFile_) == kSectorBytes;
}

void SimulatedDrive::LoadSector(int32_t lba, uint8_t* sector) const
{
    const size_t at = static_cast<size_t>(lba) * kSectorBytes;
    if (!imageFile_) {
        std::memcpy(sector, &image_[at], kSectorBytes);
        return;
    }
    if (std::fseek(imageFile_, static_cast<long>(at), SEEK_SET) != 0 ||
        std::fread(sector, 1, kSectorBytes, imageFile_) != kSectorBytes)
        std::memset(sector, 0, kSectorBytes);  // read back as lost, which a compare finds
}

void SimulatedDrive::ClearImage()
{
    image_.clear();
    if (imageFile_) {
        std::fclose(imageFile_);
        imageFile_ = std::fopen(setup_.imageFile.c_str(), "w+b");
        imageFileOk_ = imageFile_ != nullptr;
    }
}

SimulatedDrive::Check SimulatedDrive::Refuse(uint8_t key, uint8_t asc, uint8_t ascq, const std::string& why)
{
    lastRefusal_ = why;
    return Check{key, asc, ascq};
}

SimulatedDrive::Check SimulatedDrive::MediumReady() const
{
    if (trayOpen_)
        return Check{0x02, 0x3A, 0x02};
    if (kind_ == Kind::None)
        return Check{0x02, 0x3A, 0x01};
    if (BusyNow())
        return BusySense();
    return {};
}

SimulatedDrive::Check SimulatedDrive::BusySense() const
{
    Check check{0x02, 0x04, busy_.ascq};
    if (busy_.progress && busy_.end > busy_.start)
        check.progress = static_cast<int>(std::min<uint64_t>((now_ - busy_.start) * 65536 / (busy_.end - busy_.start),
                                                             65535));
    return check;
}

bool SimulatedDrive::HasCd() const
{
    return kind_ == Kind::Cdr || kind_ == Kind::Cdrw;
}

bool SimulatedDrive::HasWritableCd() const
{
    return setup_.writesCd && HasCd() && !trayOpen_;
}

uint16_t SimulatedDrive::CurrentProfile() const
{
    if (trayOpen_ || kind_ == Kind::None)
        return kProfileNone;
    if (kind_ == Kind::Dvd)
        return kProfileDvdRom;
    if (!setup_.writesCd)
        return kProfileCdRom;
    return kind_ == Kind::Cdrw ? kProfileCdrw : kProfileCdr;
}

uint64_t SimulatedDrive::BlocksPerSecond() const
{
    return kBlocksPerSecondAt1x * static_cast<uint64_t>(std::max(writeSpeed_, 1));
}

void SimulatedDrive::Advance(uint64_t milliseconds)
{
    const uint64_t until = now_ + milliseconds;
    // A long operation that ends within this step takes effect when it ends.
    if (busy_.action != Action::None && busy_.end <= until) {
        Drain(busy_.end);
        now_ = busy_.end;
        const Action action = busy_.action;
        busy_.action = Action::None;
        if (action == Action::Finish) {
            Finish();
        } else if (action == Action::Blank) {
            state_ = SimDiscState::Blank;
            disc_ = SimLayout{};
            ClearImage();
            pregap_.clear();
        }
    }
    Drain(until);
    now_ = until;
}

// The drive writes from its buffer at the speed chosen, 75 blocks a second
// at 1x. Running empty before the last block breaks the write, unless the
// drive may stop and wait (BUFE).
void SimulatedDrive::Drain(uint64_t until)
{
    if (!session_.active || !session_.started || until <= session_.drainedTo)
        return;
    uint64_t from = std::max(session_.drainedTo, std::min(session_.stormUntil, until));
    session_.drainedTo = until;
    session_.drainCredit += (until - from) * BlocksPerSecond();
    const uint64_t blocks = session_.drainCredit / 1000;
    session_.drainCredit %= 1000;
    if (blocks <= session_.buffered) {
        session_.buffered -= blocks;
        return;
    }
    session_.buffered = 0;
    session_.drainCredit = 0;
    if (session_.nextLba < session_.layout.leadOutLba && !session_.bufe)
        session_.underrun = true;
}

void SimulatedDrive::BecomeReady()
{
    const uint64_t ms = setup_.fault == SimFault::NotReadyStorm ? kLongReadyMs : kReadyMs;
    busy_ = Busy{0x01, now_, now_ + ms, false, Action::None};
    unitAttention_ = true;
}

void SimulatedDrive::Finish()
{
    if (session_.testWrite) {
        testWritten_ = true;
    } else {
        state_ = SimDiscState::Complete;
        disc_ = session_.layout;
        discType_ = session_.sessionFormat;
        if (setup_.fault == SimFault::BitFlip && disc_.leadOutLba > 0) {
            const int32_t lba = disc_.leadOutLba / 2;
            uint8_t sector[kSectorBytes];
            LoadSector(lba, sector);
            sector[1000] ^= 0x10;
            StoreSector(lba, sector);
        }
    }
    session_ = Session{};
}

// A write that broke off leaves a CD-R unusable (it reads as complete but
// its contents are lost) and a CD-RW in need of blanking; a test write
// leaves the disc as it was.
void SimulatedDrive::Ruin()
{
    if (!session_.testWrite) {
        state_ = SimDiscState::Damaged;
        disc_ = SimLayout{};
    }
    session_ = Session{};
}

// A disc written elsewhere: one data track of empty Form 2 sectors.
void SimulatedDrive::PreRecord(int32_t blocks)
{
    state_ = SimDiscState::Complete;
    discType_ = 0x20;
    disc_.tracks.push_back(SimTrack{1, 4, kFormXa, kFirstPregapLba, {0}});
    disc_.leadOutLba = blocks;
    ClearImage();
    const uint8_t empty[kForm2DataSize] = {};
    uint8_t sector[kSectorBytes];
    for (int32_t lba = 0; lba < blocks; ++lba) {
        MakeForm2Sector(sector, static_cast<uint32_t>(lba), Subheader{0, 0, kSubmodeForm2, 0}, empty);
        StoreSector(lba, sector);
    }
}
