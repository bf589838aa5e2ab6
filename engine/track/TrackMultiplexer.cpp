#include "TrackMultiplexer.h"

#include <algorithm>
#include <cassert>

#include "engine/mpeg1/BitWriter.h"
#include "engine/mpeg1/SystemStream.h"

namespace {

constexpr uint8_t kVideoStreamId = 0xE0;
constexpr uint8_t kAudioStreamId = 0xC0;

constexpr size_t kStdBufferBytes = 2;
constexpr size_t kPtsBytes = 5;
constexpr size_t kPtsDtsBytes = 10;
constexpr size_t kNoTimestampBytes = 1;  // '0000 1111'
// A Video CD audio sector ends in 20 zero bytes after its packet.
constexpr size_t kAudioTrailingZeros = 20;
// What a pack carries of a stream, near enough for reserving memory.
constexpr size_t kOtherPayloadEstimate = 2280;

constexpr int64_t kVideoHeaderPack = 0;
constexpr int64_t kAudioHeaderPack = 1;

struct StreamState {
    uint8_t id = 0;
    const ElementaryStream* es = nullptr;
    int64_t origin = 0;
    size_t bufferBytes = 0;
    bool stdScale1024 = false;  // STD buffer sizes in 1024-byte units (video) or 128 (audio)
    bool withDts = false;       // video packets carry DTS as well as PTS
    size_t trailingZeros = 0;

    size_t sent = 0;            // bytes delivered so far
    size_t nextStamp = 0;       // the first unit whose stamp byte is not yet sent
    size_t removed = 0;         // units the decoder has taken out of the buffer
    size_t arrived = 0;         // units whose last byte has been delivered
    bool announced = false;     // its system header is out
    bool started = false;       // the first packet (with the STD buffer size) is out

    bool Done() const { return sent == es->bytes.size(); }
    int64_t OnScr(int64_t t) const { return origin + t; }
    size_t RemovedBytes() const { return removed == 0 ? 0 : es->UnitEnd(removed - 1); }
    // The decoding time of the unit that holds the next byte to send.
    int64_t NextDeadline() const { return OnScr(es->units[arrived].dts); }
};

struct PacketPlan {
    size_t payload = 0;
    size_t stuffing = 0;
    size_t padding = 0;              // a padding packet after it, header included
    const AccessUnit* stamp = nullptr;
};

PacketPlan PlanPacket(const StreamState& s)
{
    const size_t room = kPackSize - kPackHeaderBytes - kPacketHeaderBytes - s.trailingZeros -
                        (s.started ? 0 : kStdBufferBytes);
    const size_t remaining = s.es->bytes.size() - s.sent;
    const AccessUnit* next = s.nextStamp < s.es->units.size() ? &s.es->units[s.nextStamp] : nullptr;
    PacketPlan plan;
    size_t fields;
    const size_t stamped = std::min(room - (s.withDts ? kPtsDtsBytes : kPtsBytes), remaining);
    if (next && next->stampAt < s.sent + stamped) {
        plan.stamp = next;
        plan.payload = stamped;
        fields = s.withDts ? kPtsDtsBytes : kPtsBytes;
    } else {
        // A unit starting in the few bytes a timestamp would have taken
        // waits for the next packet, so that every unit is stamped.
        plan.payload = std::min(room - kNoTimestampBytes, remaining);
        if (next && next->stampAt < s.sent + plan.payload)
            plan.payload = next->stampAt - s.sent;
        fields = kNoTimestampBytes;
    }
    const size_t gap = room - fields - plan.payload;
    (gap < kMinPaddingPacket ? plan.stuffing : plan.padding) = gap;
    return plan;
}



uint32_t StdBufferUnits(const StreamState& s) { return static_cast<uint32_t>(s.bufferBytes / (s.stdScale1024 ? 1024 : 128)); }

// A Video CD track announces each stream in a system header of its own.
void PutTrackSystemHeader(BitWriter& out, const StreamState& s)
{
    const bool video = s.id == kVideoStreamId;
    SystemHeader header;
    header.audioBound = video ? 0 : 1;
    header.videoBound = video ? 1 : 0;
    header.constrainedParameters = true;
    header.streams.push_back(StreamBound{s.id, s.stdScale1024, StdBufferUnits(s)});
    PutSystemHeader(out, header);
}

void PutZeros(BitWriter& out, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        out.Put(0, 8);
}

void PutSystemHeaderPack(BitWriter& out, int64_t scr, const StreamState& s)
{
    const size_t start = out.BitCount() / 8;
    PutPackHeader(out, scr);
    PutTrackSystemHeader(out, s);
    const size_t used = out.BitCount() / 8 - start;
    PutPaddingPacket(out, kPackSize - used - s.trailingZeros);
    PutZeros(out, s.trailingZeros);
}

void PutPaddingPack(BitWriter& out, int64_t scr)
{
    PutPackHeader(out, scr);
    PutPaddingPacket(out, kPackSize - kPackHeaderBytes);
}

void PutEndPack(BitWriter& out, int64_t scr)
{
    PutPackHeader(out, scr);
    PutPaddingPacket(out, kPackSize - kPackHeaderBytes - kEndCodeBytes);
    PutEndCode(out);
}

void PutDataPack(BitWriter& out, int64_t scr, StreamState& s, const PacketPlan& plan)
{
    PutPackHeader(out, scr);
    const size_t fields = (s.started ? 0 : kStdBufferBytes) +
                          (plan.stamp ? (s.withDts ? kPtsDtsBytes : kPtsBytes) : kNoTimestampBytes);
    out.StartCode(s.id);                                                          // packet_start_code_prefix, stream_id
    out.Put(static_cast<uint32_t>(plan.stuffing + fields + plan.payload), 16);    // packet_length
    for (size_t i = 0; i < plan.stuffing; ++i)
        out.Put(0xFF, 8);                                                         // stuffing_byte
    if (!s.started) {
        out.Put(0x1, 2);                                                          // '01'
        out.Put(s.stdScale1024 ? 1 : 0, 1);                                       // STD_buffer_scale
        out.Put(StdBufferUnits(s), 13);                                           // STD_buffer_size
    }
    if (plan.stamp && s.withDts) {
        PutTimestamp(out, 0x3, s.OnScr(plan.stamp->pts));                          // PTS
        PutTimestamp(out, 0x1, s.OnScr(plan.stamp->dts));                          // DTS
    } else if (plan.stamp) {
        PutTimestamp(out, 0x2, s.OnScr(plan.stamp->pts));                          // PTS
    } else {
        out.Put(0x0F, 8);                                                         // '0000 1111': no timestamps
    }
    out.PutBytes(s.es->bytes.data() + s.sent, plan.payload);
    if (plan.padding > 0)
        PutPaddingPacket(out, plan.padding);
    PutZeros(out, s.trailingZeros);

    s.started = true;
    s.sent += plan.payload;
    while (s.nextStamp < s.es->units.size() && s.es->units[s.nextStamp].stampAt < s.sent)
        ++s.nextStamp;
}

// Takes out of the buffer every unit decoded by `now`; false if one of
// them has not arrived.
bool Decode(StreamState& s, int64_t now)
{
    for (; s.removed < s.es->units.size() && s.OnScr(s.es->units[s.removed].dts) <= now; ++s.removed)
        if (s.removed >= s.arrived)
            return false;
    return true;
}

// Marks the units whose last byte is in by `now`; false if one is late.
bool ArrivedInTime(StreamState& s, int64_t now)
{
    for (; s.arrived < s.es->units.size() && s.es->UnitEnd(s.arrived) <= s.sent; ++s.arrived)
        if (s.OnScr(s.es->units[s.arrived].dts) < now)
            return false;
    return true;
}

// The packet fits the buffer even if nothing more is decoded while it arrives.
bool HasRoom(const StreamState& s, const PacketPlan& plan)
{
    return s.sent - s.RemovedBytes() + plan.payload <= s.bufferBytes;
}

StreamState MakeState(uint8_t id, const TrackInput& input)
{
    StreamState s;
    s.id = id;
    s.es = input.stream;
    s.origin = input.origin;
    const bool video = id == kVideoStreamId;
    s.bufferBytes = video ? kTrackVideoBufferBytes : kTrackAudioBufferBytes;
    s.stdScale1024 = video;
    s.withDts = video;
    s.trailingZeros = video ? 0 : kAudioTrailingZeros;
    return s;
}

bool Usable(const TrackInput& input)
{
    return input.stream && !input.stream->bytes.empty() && !input.stream->units.empty() &&
           input.stream->units.front().start == 0;
}

}  // namespace

std::vector<uint8_t> MultiplexMotionTrack(const TrackInput& video, const TrackInput& audio)
{
    if (!Usable(video) || !Usable(audio))
        return {};
    StreamState streams[2] = {MakeState(kVideoStreamId, video), MakeState(kAudioStreamId, audio)};
    StreamState& videoState = streams[0];
    StreamState& audioState = streams[1];

    // Far more packs than any schedule needs: one that stalls gives up.
    const size_t dataPacks = (video.stream->bytes.size() + audio.stream->bytes.size()) / kOtherPayloadEstimate + 1;
    const int64_t packLimit = static_cast<int64_t>(4 * dataPacks) + 64;
    BitWriter out;
    out.Reserve((dataPacks * 21 / 20 + 8) * kPackSize);
    int64_t pack = 0;
    for (; !(videoState.Done() && audioState.Done()); ++pack) {
        const int64_t scr = pack * kTrackScrPerPack;
        if (pack >= packLimit)
            return {};
        for (StreamState& s : streams)
            if (!Decode(s, scr))
                return {};
        if (pack == kVideoHeaderPack || pack == kAudioHeaderPack) {
            StreamState& s = pack == kVideoHeaderPack ? videoState : audioState;
            PutSystemHeaderPack(out, scr, s);
            s.announced = true;
            continue;
        }
        StreamState* chosen = nullptr;
        PacketPlan chosenPlan;
        for (StreamState& s : streams) {
            if (s.Done() || !s.announced)
                continue;
            const PacketPlan plan = PlanPacket(s);
            if (HasRoom(s, plan) && (!chosen || s.NextDeadline() < chosen->NextDeadline())) {
                chosen = &s;
                chosenPlan = plan;
            }
        }
        if (!chosen) {
            PutPaddingPack(out, scr);
            continue;
        }
        PutDataPack(out, scr, *chosen, chosenPlan);
        if (!ArrivedInTime(*chosen, scr + kTrackScrPerPack))
            return {};
        assert(out.BitCount() == static_cast<size_t>(pack + 1) * kPackSize * 8);
    }
    PutEndPack(out, pack * kTrackScrPerPack);
    return out.TakeBytes();
}
