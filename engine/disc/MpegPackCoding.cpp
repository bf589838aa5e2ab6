#include "MpegPackCoding.h"

#include <algorithm>
#include <cstring>

#include "XaSubmode.h"
#include "engine/base/ByteOrder.h"

namespace {

constexpr uint8_t kStartCodePrefix[3] = {0x00, 0x00, 0x01};
constexpr uint8_t kPackStartCode = 0xBA;
constexpr uint8_t kSystemHeaderCode = 0xBB;
constexpr uint8_t kSequenceEndCode = 0xB7;
constexpr uint8_t kPaddingStream = 0xBE;
constexpr uint8_t kNormalStillStream = 0xE1;
constexpr uint8_t kHighStillStream = 0xE2;
constexpr uint8_t kFirstAudioStream = 0xC0;
constexpr uint8_t kLastAudioStream = 0xDF;
constexpr uint8_t kFirstVideoStream = 0xE0;
constexpr uint8_t kLastVideoStream = 0xEF;

constexpr size_t kMpeg1PackHeaderSize = 12;
constexpr size_t kPacketHeaderSize = 6;        // start code and 16-bit length
constexpr size_t kSystemHeaderFixedSize = 6;   // after the length: rate bound ... reserved byte
constexpr size_t kStreamEntrySize = 3;

constexpr uint8_t kSegmentFile = 1;
constexpr uint8_t kEmptyChannel = 0;

enum class Content { Empty, Motion, NormalStill, HighStill, Audio };

Content VideoContent(uint8_t stream)
{
    if (stream == kNormalStillStream)
        return Content::NormalStill;
    if (stream == kHighStillStream)
        return Content::HighStill;
    return Content::Motion;
}

bool IsVideo(uint8_t stream)
{
    return stream >= kFirstVideoStream && stream <= kLastVideoStream;
}

bool IsAudio(uint8_t stream)
{
    return stream >= kFirstAudioStream && stream <= kLastAudioStream;
}

// The streams a system header lists (body: the bytes after its length).
Content SystemHeaderContent(const uint8_t* body, size_t size)
{
    Content audio = Content::Empty;
    for (size_t i = kSystemHeaderFixedSize; i + kStreamEntrySize <= size; i += kStreamEntrySize) {
        if (IsVideo(body[i]))
            return VideoContent(body[i]);
        if (IsAudio(body[i]))
            audio = Content::Audio;
    }
    return audio;
}

Content PackContent(const uint8_t* pack)
{
    size_t at = kMpeg1PackHeaderSize;
    while (at + kPacketHeaderSize <= kForm2DataSize && std::memcmp(pack + at, kStartCodePrefix, 3) == 0) {
        const uint8_t code = pack[at + 3];
        const size_t length = GetBe16(pack + at + 4);
        const uint8_t* body = pack + at + kPacketHeaderSize;
        const size_t bodySize = std::min(length, kForm2DataSize - at - kPacketHeaderSize);
        if (code == kSystemHeaderCode) {
            const Content listed = SystemHeaderContent(body, bodySize);
            if (listed != Content::Empty)
                return listed;
        } else if (IsVideo(code)) {
            return VideoContent(code);
        } else if (IsAudio(code)) {
            return Content::Audio;
        } else if (code != kPaddingStream) {
            break;
        }
        at += kPacketHeaderSize + length;
    }
    return Content::Empty;
}

Subheader CodedAs(Content content, uint8_t file)
{
    constexpr uint8_t base = kSubmodeRealTime | kSubmodeForm2;
    switch (content) {
    case Content::Motion: return {file, 1, base | kSubmodeVideo, 0x0F};
    case Content::NormalStill: return {file, 2, base | kSubmodeVideo, 0x1F};
    case Content::HighStill: return {file, 3, base | kSubmodeVideo, 0x3F};
    case Content::Audio: return {file, 1, base | kSubmodeAudio, 0x7F};
    case Content::Empty: break;
    }
    return {file, kEmptyChannel, base, 0};
}

bool HoldsSequenceEnd(const uint8_t* pack)
{
    const uint8_t* end = pack + kForm2DataSize;
    for (const uint8_t* p = pack; (p = static_cast<const uint8_t*>(std::memchr(p, 0x01, end - p))) != nullptr; ++p)
        if (p - pack >= 2 && p + 1 < end && p[-1] == 0 && p[-2] == 0 && p[1] == kSequenceEndCode)
            return true;
    return false;
}

}  // namespace

bool IsMpegPack(const uint8_t* pack)
{
    return std::memcmp(pack, kStartCodePrefix, 3) == 0 && pack[3] == kPackStartCode;
}

Subheader SegmentPackSubheader(const uint8_t* pack, bool lastOfItem)
{
    Subheader s = CodedAs(PackContent(pack), kSegmentFile);
    if (HoldsSequenceEnd(pack))
        s.submode |= kSubmodeEndOfRecord;
    if (lastOfItem)
        s.submode |= kSubmodeEndOfFile;
    return s;
}

Subheader TrackPackSubheader(const uint8_t* pack, uint8_t fileNumber, bool lastOfTrack)
{
    Subheader s = CodedAs(PackContent(pack), fileNumber);
    if (lastOfTrack)
        s.submode |= kSubmodeEndOfRecord;
    return s;
}
