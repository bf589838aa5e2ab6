#include "StillPacker.h"

#include <algorithm>
#include <cassert>

#include "engine/mpeg1/BitWriter.h"
#include "engine/mpeg1/SystemStream.h"
#include "engine/mpeg1/VideoHeaders.h"

// Pack layout of a still item (MPEG-1 system stream, one pack per sector):
//
//   pack 0      pack header | system header | padding packet
//   pack 1      pack header | video packet: STD buffer, PTS+DTS, first bytes of a picture
//   pack 2..    pack header | video packet: 0x0F, next bytes of the picture
//   last video  pack header | video packet | padding packet (or stuffing when the gap is tiny)
//   end         pack header | padding packet | ISO 11172 end code
//
// The normal picture's packs come first, then the high-resolution ones;
// the last packet of each stream is held back to the end (normal, then
// high), so that both pictures finish together. The timestamps follow the
// same rules as mplex -f 6, so items compare byte for byte with its output.

namespace {

constexpr uint8_t kNormalStreamId = 0xE1;
constexpr uint8_t kHighStreamId = 0xE2;

// 75 sectors of 2352 bytes a second, in units of 50 bytes/s.
constexpr int64_t kMuxBytesPerSecond = kMuxRate * 50;
constexpr int64_t kScrPerPack = kSystemClockHz / 75;

constexpr size_t kFirstPacketFields = 12;  // STD buffer (2), PTS and DTS (10)
constexpr size_t kOtherPacketFields = 1;   // 0x0F: no timestamps
constexpr size_t kFirstPayload = kPackSize - kPackHeaderBytes - kPacketHeaderBytes - kFirstPacketFields;  // 2294
constexpr size_t kOtherPayload = kPackSize - kPackHeaderBytes - kPacketHeaderBytes - kOtherPacketFields;  // 2305

// Normal-resolution pictures always have the 46 KB buffer; the STD buffer
// fields count 1024-byte units.
constexpr int kNormalBufferBytes = 46 * 1024;
constexpr int kStdUnitBytes = 1024;
// A picture is presented 30 picture periods after it is decoded, as mplex
// writes it; players hold a still until its play list's wait is over, so
// the delay itself hardly matters.
constexpr int64_t kPresentationDelayFrames = 30;

struct StillStream {
    uint8_t id = 0;
    const std::vector<uint8_t>* bytes = nullptr;
    int bufferBytes = 0;
    int64_t frameTicks = 0;  // one picture period on the 90 kHz clock
    int64_t dts = 0;
};

struct Chunk {
    const StillStream* stream;
    size_t offset;
    size_t size;
};

// Reads the picture rate and VBV buffer size of a stream that starts with
// a sequence header.
bool ReadSequenceHeader(const std::vector<uint8_t>& es, int64_t& frameTicks, int& vbvField)
{
    if (es.size() < 12 || es[0] != 0 || es[1] != 0 || es[2] != 1 || es[3] != 0xB3)
        return false;
    const int rateCode = es[7] & 0x0F;                   // picture_rate: the low half of byte 7
    vbvField = ((es[10] & 0x1F) << 5) | (es[11] >> 3);  // vbv_buffer_size: 10 bits from bit 3 of byte 10
    frameTicks = rateCode == 3 ? 3600 : rateCode == 4 ? 3003 : 0;  // 25 Hz or 29.97 Hz
    return frameTicks != 0;
}

bool DescribeStream(const std::vector<uint8_t>& es, bool high, StillStream& stream)
{
    int vbvField = 0;
    if (!ReadSequenceHeader(es, stream.frameTicks, vbvField))
        return false;
    stream.id = high ? kHighStreamId : kNormalStreamId;
    stream.bytes = &es;
    stream.bufferBytes = high ? vbvField * static_cast<int>(kVbvUnitBytes) : kNormalBufferBytes;
    return stream.bufferBytes >= kNormalBufferBytes && es.size() <= static_cast<size_t>(stream.bufferBytes);
}

// The first picture is decoded once both buffers could have filled at the
// mux rate with a tenth to spare, rounded to whole picture periods after
// the first video pack; the second, larger one later by the time its extra
// bytes take to arrive.
void SetDecodingTimes(std::vector<StillStream>& streams)
{
    int64_t allBuffers = 0;
    for (const StillStream& s : streams)
        allBuffers += s.bufferBytes;
    // frames = round(1.1 * allBuffers / kMuxBytesPerSecond * kSystemClockHz / frame), in integers
    const int64_t frame = streams[0].frameTicks;
    const int64_t numerator = 11 * allBuffers * kSystemClockHz, denominator = 10 * kMuxBytesPerSecond * frame;
    const int64_t frames = (2 * numerator + denominator) / (2 * denominator);
    streams[0].dts = kScrPerPack + frames * frame;
    if (streams.size() == 2) {
        const int64_t extraBytes = streams[1].bufferBytes - streams[0].bufferBytes;
        streams[1].dts = streams[0].dts + extraBytes * kSystemClockHz / kMuxBytesPerSecond;
    }
}

std::vector<Chunk> SplitIntoPackets(const StillStream& stream)
{
    std::vector<Chunk> chunks;
    const size_t total = stream.bytes->size();
    for (size_t offset = 0; offset < total;) {
        const size_t room = offset == 0 ? kFirstPayload : kOtherPayload;
        const size_t size = std::min(room, total - offset);
        chunks.push_back(Chunk{&stream, offset, size});
        offset += size;
    }
    return chunks;
}

// Every packet but the last of each stream in stream order, then the last ones.
std::vector<Chunk> PacketOrder(const std::vector<StillStream>& streams)
{
    std::vector<Chunk> order, lasts;
    for (const StillStream& stream : streams) {
        std::vector<Chunk> chunks = SplitIntoPackets(stream);
        order.insert(order.end(), chunks.begin(), chunks.end() - 1);
        lasts.push_back(chunks.back());
    }
    order.insert(order.end(), lasts.begin(), lasts.end());
    return order;
}

// Every picture must be in its buffer before it is decoded: the pack that
// carries its last bytes must finish arriving before its decoding time.
bool ArrivesInTime(const std::vector<Chunk>& packets, const std::vector<StillStream>& streams)
{
    for (const StillStream& stream : streams) {
        int64_t lastPack = 0;
        for (size_t i = 0; i < packets.size(); ++i)
            if (packets[i].stream == &stream)
                lastPack = static_cast<int64_t>(i) + 1;  // pack 0 holds the system header
        if ((lastPack + 1) * kScrPerPack >= stream.dts)
            return false;
    }
    return true;
}



void PutStillSystemHeader(BitWriter& out, const std::vector<StillStream>& streams)
{
    SystemHeader header;
    header.videoBound = static_cast<int>(streams.size());
    for (const StillStream& s : streams)
        header.streams.push_back(StreamBound{s.id, true, static_cast<uint32_t>(s.bufferBytes / kStdUnitBytes)});
    PutSystemHeader(out, header);
}

// mplex starts its padding with 0x0F.
constexpr uint8_t kFirstPaddingByte = 0x0F;

void PutVideoPacket(BitWriter& out, const Chunk& chunk, size_t stuffing)
{
    const StillStream& s = *chunk.stream;
    const bool first = chunk.offset == 0;
    const size_t length = stuffing + (first ? kFirstPacketFields : kOtherPacketFields) + chunk.size;
    out.StartCode(s.id);                                   // packet_start_code_prefix, stream_id
    out.Put(static_cast<uint32_t>(length), 16);            // packet_length
    for (size_t i = 0; i < stuffing; ++i)
        out.Put(0xFF, 8);                                  // stuffing_byte
    if (first) {
        out.Put(0x1, 2);                                   // '01'
        out.Put(1, 1);                                     // STD_buffer_scale: 1024-byte units
        out.Put(static_cast<uint32_t>(s.bufferBytes / kStdUnitBytes), 13);  // STD_buffer_size
        PutTimestamp(out, 0x3, s.dts + kPresentationDelayFrames * s.frameTicks);  // PTS
        PutTimestamp(out, 0x1, s.dts);                                            // DTS
    } else {
        out.Put(0x0F, 8);                                  // '0000 1111': no timestamps
    }
    out.PutBytes(s.bytes->data() + chunk.offset, chunk.size);
}

void PutVideoPack(BitWriter& out, int64_t scr, const Chunk& chunk)
{
    PutPackHeader(out, scr);
    const size_t fields = chunk.offset == 0 ? kFirstPacketFields : kOtherPacketFields;
    const size_t gap = kPackSize - kPackHeaderBytes - kPacketHeaderBytes - fields - chunk.size;
    const bool padded = gap >= kMinPaddingPacket;
    PutVideoPacket(out, chunk, padded ? 0 : gap);
    if (padded)
        PutPaddingPacket(out, gap, kFirstPaddingByte);
}

}  // namespace

std::vector<uint8_t> PackStillItem(const std::vector<uint8_t>& normal, const std::vector<uint8_t>& high)
{
    std::vector<StillStream> streams;
    for (const bool isHigh : {false, true}) {
        const std::vector<uint8_t>& es = isHigh ? high : normal;
        if (es.empty())
            continue;
        StillStream stream;
        if (!DescribeStream(es, isHigh, stream))
            return {};
        streams.push_back(stream);
    }
    if (streams.empty() || streams.front().frameTicks != streams.back().frameTicks)
        return {};
    SetDecodingTimes(streams);

    const std::vector<Chunk> packets = PacketOrder(streams);
    if (!ArrivesInTime(packets, streams))
        return {};
    BitWriter out;
    out.Reserve((packets.size() + 2) * kPackSize);
    int64_t scr = 0;
    PutPackHeader(out, scr);
    PutStillSystemHeader(out, streams);
    PutPaddingPacket(out, kPackSize - out.BitCount() / 8, kFirstPaddingByte);
    for (const Chunk& chunk : packets) {
        scr += kScrPerPack;
        PutVideoPack(out, scr, chunk);
        assert(out.BitCount() == static_cast<size_t>(scr / kScrPerPack + 1) * kPackSize * 8);
    }
    PutPackHeader(out, scr + kScrPerPack);
    PutPaddingPacket(out, kPackSize - kPackHeaderBytes - kEndCodeBytes, kFirstPaddingByte);
    PutEndCode(out);
    return out.TakeBytes();
}
