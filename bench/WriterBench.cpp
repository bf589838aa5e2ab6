// Throughput of the image writer alone: a disc of 1900 still items whose
// packs are ready at once, written to a file. Prints the bytes written and
// the seconds taken; bench/disc.sh compares it with a plain file copy.
//   writer_bench OUTPUT.bin
#include <chrono>
#include <cstdio>

#include "engine/recorder/FileSectorSink.h"
#include "engine/disc/VideoCdImageWriter.h"
#include "engine/still/StillEncoder.h"
#include "engine/still/StillPacker.h"
#include "engine/track/MotionTrack.h"

namespace {

YCbCrFrame Grey(int width, int height)
{
    YCbCrFrame f;
    f.width = width;
    f.height = height;
    f.y.assign(static_cast<size_t>(width) * height, 120);
    f.cb.assign(f.y.size() / 4, 128);
    f.cr.assign(f.y.size() / 4, 128);
    return f;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: writer_bench OUTPUT.bin\n");
        return 2;
    }
    // One still item (normal and high resolution) reused for every photo.
    std::vector<uint8_t> normal = EncodeStill(Grey(352, 288), StillFormat{false, false}, 2).stream;
    std::vector<uint8_t> high = EncodeStill(Grey(704, 576), StillFormat{false, true}, 2).stream;
    const std::vector<uint8_t> packs = PackStillItem(normal, high);

    VideoCdDisc disc;
    disc.albumId = "BENCH";
    disc.volumeId = "BENCH";
    VideoCdSequenceItem track;
    track.packs = MakeMotionTrack(Grey(352, 288), false, 3.0);
    disc.sequenceItems.push_back(track);
    for (int i = 0; i < 1900; ++i) {
        VideoCdSegmentItem item;
        item.video = SegmentVideo::StillWithHigh;
        item.makePacks = [&packs] { return SegmentPacks{true, {}, packs}; };
        disc.segmentItems.push_back(item);
        VideoCdList list;
        list.items.push_back({VideoCdPlayItem::Kind::Segment, static_cast<uint32_t>(i)});
        list.waitCode = 5;
        disc.lists.push_back(list);
    }
    VideoCdList end;
    end.kind = VideoCdList::Kind::End;
    disc.lists.push_back(end);

    VideoCdImageWriter writer(disc);
    VideoCdResult planned = writer.Plan();
    if (!planned.ok) {
        std::fprintf(stderr, "writer_bench: %s\n", planned.error.c_str());
        return 1;
    }
    FileSectorSink sink;
    std::string error;
    if (!sink.Open(argv[1], error))
        return 1;
    auto start = std::chrono::steady_clock::now();
    VideoCdResult written = writer.Write(sink);
    bool closed = sink.Close(error);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!written.ok || !closed) {
        std::fprintf(stderr, "writer_bench: %s\n", written.ok ? error.c_str() : written.error.c_str());
        return 1;
    }
    std::printf("%llu %.3f\n", static_cast<unsigned long long>(writer.TotalSectors()) * 2352ull, seconds);
    return 0;
}
