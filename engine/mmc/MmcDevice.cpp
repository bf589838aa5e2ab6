#include "MmcDevice.h"

#include <algorithm>

#include "engine/base/ByteOrder.h"

namespace {

// Long commands of a burn get minutes; everything else the usual 30 s.
constexpr unsigned int kWriteTimeout = 200;
constexpr unsigned int kLongTimeout = 200;

uint8_t Hi(uint32_t v)
{
    return static_cast<uint8_t>(v >> 8);
}

uint8_t Lo(uint32_t v)
{
    return static_cast<uint8_t>(v);
}

// Bytes the drive actually sent of what was asked.
size_t Received(const ScsiResult& result, size_t asked)
{
    return result.residual < asked ? asked - result.residual : 0;
}

std::string Ascii(const uint8_t* p, size_t n)
{
    std::string text(reinterpret_cast<const char*>(p), n);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E)
            c = ' ';
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

// A page 2Ah/05h mode parameter list: 8-byte header, block descriptors
// (some drives send them even when told not to), then the page.
bool PageOf(const uint8_t* data, size_t n, uint8_t page, std::vector<uint8_t>& out)
{
    if (n < 8)
        return false;
    const size_t dataLength = std::min<size_t>(GetBe16(data) + 2u, n);
    const size_t start = 8 + GetBe16(data + 6);
    if (start + 2 > dataLength || (data[start] & 0x3F) != page)
        return false;
    const size_t length = std::min<size_t>(data[start + 1] + 2u, dataLength - start);
    out.assign(data + start, data + start + length);
    return true;
}

}  // namespace

ScsiResult MmcDevice::Run(std::initializer_list<uint8_t> cdb, DataDirection direction, uint8_t* data,
                          size_t length, unsigned int timeoutSeconds)
{
    ScsiRequest request;
    std::copy(cdb.begin(), cdb.end(), request.cdb.begin());
    request.cdbLength = static_cast<uint8_t>(cdb.size());
    request.direction = length ? direction : DataDirection::None;
    request.data = data;
    request.length = length;
    request.timeoutSeconds = timeoutSeconds;
    return m_transport.Execute(request);
}

ScsiResult MmcDevice::TestUnitReady()
{
    return Run({0x00, 0, 0, 0, 0, 0}, DataDirection::None, nullptr, 0);
}

ScsiResult MmcDevice::Inquiry(DriveIdentity& identity)
{
    uint8_t data[36] = {};
    ScsiResult result = Run({0x12, 0, 0, 0, sizeof data, 0}, DataDirection::In, data, sizeof data);
    if (!result.Good())
        return result;
    const size_t n = Received(result, sizeof data);
    identity = DriveIdentity{};
    if (n >= 1)
        identity.deviceType = data[0] & 0x1F;
    if (n >= 36) {
        identity.vendor = Ascii(data + 8, 8);
        identity.product = Ascii(data + 16, 16);
        identity.revision = Ascii(data + 32, 4);
    }
    return result;
}

ScsiResult MmcDevice::GetConfiguration(DriveConfiguration& configuration)
{
    configuration = DriveConfiguration{};
    std::vector<uint8_t> data(2048);
    ScsiResult result = Run({0x46, 0x00, 0, 0, 0, 0, 0, Hi(2048), Lo(2048), 0}, DataDirection::In, data.data(),
                            data.size());
    if (!result.Good())
        return result;
    const size_t n = std::min<size_t>(Received(result, data.size()), 4u + GetBe32(data.data()));
    if (n < 8)
        return result;
    configuration.profileKnown = true;
    configuration.currentProfile = GetBe16(&data[6]);
    for (size_t at = 8; at + 4 <= n;) {
        const uint16_t feature = GetBe16(&data[at]);
        const size_t length = data[at + 3];
        const uint8_t* body = &data[at + 4];
        const size_t bodyLength = std::min(length, n - at - 4);
        if (feature == 0x0000) {
            for (size_t p = 0; p + 4 <= bodyLength; p += 4) {
                const uint16_t profile = GetBe16(body + p);
                if (profile == 0x0009 || profile == 0x000A)
                    configuration.writesCdProfiles = true;
            }
        } else if (feature == 0x002E && bodyLength >= 4) {
            configuration.masteringKnown = true;
            configuration.sessionAtOnce = (body[0] & 0x20) != 0;
            configuration.testWrite = (body[0] & 0x04) != 0;
            configuration.underrunProtection = (body[0] & 0x40) != 0;
            configuration.maxCueSheetBytes = uint32_t{body[1]} << 16 | uint32_t{body[2]} << 8 | body[3];
        }
        at += 4 + length;
    }
    return result;
}

ScsiResult MmcDevice::ModeSense(uint8_t page, uint8_t control, std::vector<uint8_t>& pageBytes)
{
    uint8_t data[256] = {};
    ScsiResult result = Run({0x5A, 0x08, static_cast<uint8_t>(control << 6 | page), 0, 0, 0, 0, Hi(sizeof data),
                             Lo(sizeof data), 0},
                            DataDirection::In, data, sizeof data);
    if (result.Good() && !PageOf(data, Received(result, sizeof data), page, pageBytes)) {
        // A page the drive did not send as asked: treated as a refusal.
        result.status = 0x02;
        result.senseLength = 14;
        result.sense = {};
        result.sense[0] = 0x70;
        result.sense[2] = 0x05;
        result.sense[12] = 0x26;
    }
    return result;
}

ScsiResult MmcDevice::ReadCapabilities(DriveCapabilities& capabilities)
{
    capabilities = DriveCapabilities{};
    std::vector<uint8_t> page;
    ScsiResult result = ModeSense(0x2A, 0, page);
    if (!result.Good())
        return result;
    page.resize(std::max<size_t>(page.size(), 22));  // short MMC-1 pages: the rest reads as zero
    capabilities.writesCdR = (page[3] & 0x01) != 0;
    capabilities.writesCdRw = (page[3] & 0x02) != 0;
    capabilities.testWrite = (page[3] & 0x04) != 0;
    capabilities.underrunProtection = (page[4] & 0x80) != 0;
    capabilities.canLock = (page[6] & 0x01) != 0;
    capabilities.locked = (page[6] & 0x02) != 0;
    capabilities.canEject = (page[6] & 0x08) != 0;
    capabilities.bufferBytes = uint32_t{GetBe16(&page[12])} * 1024;
    capabilities.currentWriteKBs = GetBe16(&page[20]);
    if (page.size() >= 32) {
        if (GetBe16(&page[28]))
            capabilities.currentWriteKBs = GetBe16(&page[28]);
        const size_t count = GetBe16(&page[30]);
        for (size_t i = 0; i < count && 32 + 4 * i + 4 <= page.size(); ++i)
            capabilities.writeSpeedsKBs.push_back(GetBe16(&page[32 + 4 * i + 2]));
    }
    if (capabilities.writeSpeedsKBs.empty() && GetBe16(&page[18]))
        capabilities.writeSpeedsKBs.push_back(GetBe16(&page[18]));  // only the fastest is known
    std::sort(capabilities.writeSpeedsKBs.rbegin(), capabilities.writeSpeedsKBs.rend());
    capabilities.writeSpeedsKBs.erase(
        std::unique(capabilities.writeSpeedsKBs.begin(), capabilities.writeSpeedsKBs.end()),
        capabilities.writeSpeedsKBs.end());
    return result;
}

ScsiResult MmcDevice::ReadWriteSpeeds(std::vector<uint16_t>& speedsKBs)
{
    speedsKBs.clear();
    constexpr size_t kMaxDescriptors = 32;
    uint8_t data[8 + 16 * kMaxDescriptors] = {};
    ScsiResult result = Run({0xAC, 0, 0, 0, 0, 0, 0, 0, 0, kMaxDescriptors, 0x03, 0}, DataDirection::In, data,
                            sizeof data);
    if (!result.Good())
        return result;
    const size_t n = std::min<size_t>(Received(result, sizeof data), 4u + GetBe32(data));
    for (size_t at = 8; at + 16 <= n; at += 16) {
        const uint32_t kBs = GetBe32(data + at + 12);
        if (kBs > 0 && kBs <= 0xFFFF)
            speedsKBs.push_back(static_cast<uint16_t>(kBs));
    }
    std::sort(speedsKBs.rbegin(), speedsKBs.rend());
    speedsKBs.erase(std::unique(speedsKBs.begin(), speedsKBs.end()), speedsKBs.end());
    return result;
}

ScsiResult MmcDevice::ReadDiscInformation(DiscInformation& info)
{
    info = DiscInformation{};
    uint8_t data[34] = {};
    ScsiResult result = Run({0x51, 0, 0, 0, 0, 0, 0, 0, sizeof data, 0}, DataDirection::In, data, sizeof data);
    if (!result.Good())
        return result;
    const size_t n = Received(result, sizeof data);
    if (n >= 3) {
        info.status = static_cast<DiscStatus>(data[2] & 0x03);
        info.erasable = (data[2] & 0x10) != 0;
    }
    if (n >= 7) {
        info.firstTrack = data[5] | (n >= 11 ? data[10] << 8 : 0);
        info.lastTrack = data[6] | (n >= 12 ? data[11] << 8 : 0);
    }
    if (n >= 9)
        info.discType = data[8];
    if (n >= 24 && !(data[21] == 0xFF && data[22] == 0xFF && data[23] == 0xFF)) {
        const uint32_t msf = (uint32_t{data[21]} * 60 + data[22]) * 75 + data[23];
        info.capacityBlocks = msf > 150 ? msf - 150 : 0;
    }
    return result;
}

ScsiResult MmcDevice::ReadAtipCapacity(uint32_t& capacityBlocks)
{
    capacityBlocks = 0;
    uint8_t data[28] = {};
    ScsiResult result = Run({0x43, 0x02, 0x04, 0, 0, 0, 0, 0, sizeof data, 0}, DataDirection::In, data, sizeof data);
    if (result.Good() && Received(result, sizeof data) >= 4 + 15) {
        const uint8_t* d = data + 4;
        const uint32_t msf = (uint32_t{d[12]} * 60 + d[13]) * 75 + d[14];
        capacityBlocks = msf > 150 ? msf - 150 : 0;
    }
    return result;
}

ScsiResult MmcDevice::SetCdSpeed(uint16_t writeKBs)
{
    return Run({0xBB, 0, 0xFF, 0xFF, Hi(writeKBs), Lo(writeKBs), 0, 0, 0, 0, 0, 0}, DataDirection::None, nullptr, 0);
}

ScsiResult MmcDevice::SetWriteParameters(const WriteParameters& parameters)
{
    // Start from the drive's own values: some have illegal defaults, and
    // the page length differs between drives.
    std::vector<uint8_t> page;
    ScsiResult result = ModeSense(0x05, 0, page);
    if (!result.Good())
        return result;
    if (page.size() < 52)
        page.resize(52);
    page[0] = 0x05;  // PS cleared
    page[1] = static_cast<uint8_t>(page.size() - 2);
    page[2] = static_cast<uint8_t>((parameters.underrunProtection ? 0x40 : 0) | (parameters.testWrite ? 0x10 : 0) |
                                   0x02);  // disc-at-once
    page[3] = 0x00;                        // no multi-session, no copy, track mode 0
    page[4] = 0x00;                        // the cue sheet decides the block size
    page[5] = 0;
    page[7] = 0;
    page[8] = 0x20;  // CD-ROM XA
    std::fill(page.begin() + 10, page.begin() + 14, 0);
    page[14] = 0x00;
    page[15] = 0x96;  // audio pause 150
    std::fill(page.begin() + 16, page.end(), 0);
    std::vector<uint8_t> list(8, 0);  // header without block descriptors
    list.insert(list.end(), page.begin(), page.end());
    const uint16_t length = static_cast<uint16_t>(list.size());
    return Run({0x55, 0x10, 0, 0, 0, 0, 0, Hi(length), Lo(length), 0}, DataDirection::Out, list.data(), list.size());
}

ScsiResult MmcDevice::SendOpcInformation()
{
    return Run({0x54, 0x01, 0, 0, 0, 0, 0, 0, 0, 0}, DataDirection::None, nullptr, 0, kLongTimeout);
}

ScsiResult MmcDevice::SendCueSheet(const std::vector<uint8_t>& cueSheet)
{
    const uint32_t n = static_cast<uint32_t>(cueSheet.size());
    std::vector<uint8_t> copy = cueSheet;
    return Run({0x5D, 0, 0, 0, 0, 0, static_cast<uint8_t>(n >> 16), Hi(n), Lo(n), 0}, DataDirection::Out, copy.data(),
               copy.size());
}

ScsiResult MmcDevice::Write10(int32_t lba, uint16_t blocks, const uint8_t* data, size_t bytes)
{
    const uint32_t a = static_cast<uint32_t>(lba);
    return Run({0x2A, 0, static_cast<uint8_t>(a >> 24), static_cast<uint8_t>(a >> 16), Hi(a), Lo(a), 0, Hi(blocks),
                Lo(blocks), 0},
               DataDirection::Out, const_cast<uint8_t*>(data), bytes, kWriteTimeout);
}

ScsiResult MmcDevice::ReadBufferCapacity(uint32_t& bufferBytes, uint32_t& freeBytes)
{
    uint8_t data[12] = {};
    ScsiResult result = Run({0x5C, 0, 0, 0, 0, 0, 0, 0, sizeof data, 0}, DataDirection::In, data, sizeof data);
    bufferBytes = freeBytes = 0;
    if (result.Good() && Received(result, sizeof data) >= 12) {
        bufferBytes = GetBe32(data + 4);
        freeBytes = std::min(GetBe32(data + 8), bufferBytes);
    }
    return result;
}

ScsiResult MmcDevice::SynchronizeCache(bool immediate)
{
    return Run({0x35, static_cast<uint8_t>(immediate ? 0x02 : 0), 0, 0, 0, 0, 0, 0, 0, 0}, DataDirection::None,
               nullptr, 0, kLongTimeout);
}

ScsiResult MmcDevice::Blank(int type)
{
    return Run({0xA1, static_cast<uint8_t>(0x10 | (type & 0x07)), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, DataDirection::None,
               nullptr, 0, kLongTimeout);
}

ScsiResult MmcDevice::StartStopUnit(bool loadEject, bool start)
{
    return Run({0x1B, 0, 0, 0, static_cast<uint8_t>((loadEject ? 0x02 : 0) | (start ? 0x01 : 0)), 0},
               DataDirection::None, nullptr, 0, kLongTimeout);
}

ScsiResult MmcDevice::PreventRemoval(bool prevent)
{
    return Run({0x1E, 0, 0, 0, static_cast<uint8_t>(prevent ? 1 : 0), 0}, DataDirection::None, nullptr, 0);
}

ScsiResult MmcDevice::ReadCd(int32_t lba, uint32_t blocks, uint8_t* out)
{
    const uint32_t a = static_cast<uint32_t>(lba);
    return Run({0xBE, 0, static_cast<uint8_t>(a >> 24), static_cast<uint8_t>(a >> 16), Hi(a), Lo(a),
                static_cast<uint8_t>(blocks >> 16), Hi(blocks), Lo(blocks), 0xF8, 0, 0},
               DataDirection::In, out, size_t{blocks} * 2352);
}
