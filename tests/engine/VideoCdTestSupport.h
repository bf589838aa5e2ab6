#pragma once
// For the Video CD writer tests: the reference items, the two reference
// discs as descriptions, and sinks that keep what the writer hands over.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "engine/disc/Sector.h"
#include "engine/disc/VideoCdDisc.h"
#include "engine/disc/VideoCdImageWriter.h"
#include "engine/disc/VideoCdWait.h"

namespace vcd_test {

inline std::string DataPath(const std::string& name)
{
    return std::string(SNAPDISC_TEST_DATA_DIR) + "/vcd/" + name;
}

inline std::vector<uint8_t> ReadData(const std::string& name)
{
    std::ifstream in(DataPath(name), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A segment item that hands out copies of fixed packs and counts its calls.
inline VideoCdSegmentItem ItemOf(std::shared_ptr<const std::vector<uint8_t>> packs, SegmentVideo video,
                                 VideoSystem system = VideoSystem::Pal, uint32_t segments = 1,
                                 std::shared_ptr<int> calls = nullptr)
{
    VideoCdSegmentItem item;
    item.video = video;
    item.system = system;
    item.segments = segments;
    item.makePacks = [packs, calls]() {
        if (calls)
            ++*calls;
        SegmentPacks made;
        made.ok = true;
        made.packs = *packs;
        return made;
    };
    return item;
}

inline VideoCdSegmentItem ItemFromFile(const std::string& name, SegmentVideo video, VideoSystem system = VideoSystem::Pal)
{
    return ItemOf(std::make_shared<const std::vector<uint8_t>>(ReadData(name)), video, system);
}

inline VideoCdList PlayList(VideoCdPlayItem item, uint8_t wait, std::optional<uint32_t> previous,
                            std::optional<uint32_t> next, std::optional<uint32_t> back, bool rejected)
{
    VideoCdList list;
    list.items = {item};
    list.waitCode = wait;
    list.previous = previous;
    list.next = next;
    list.back = back;
    list.rejected = rejected;
    return list;
}

inline VideoCdList EndList()
{
    VideoCdList list;
    list.kind = VideoCdList::Kind::End;
    list.rejected = true;
    return list;
}

inline VideoCdPlayItem Segment(uint32_t index)
{
    return {VideoCdPlayItem::Kind::Segment, index};
}

inline VideoCdPlayItem Sequence(uint32_t index)
{
    return {VideoCdPlayItem::Kind::Sequence, index};
}

// Everything of ref.xml but its segment items: the volume, the motion
// track and the lists waiting 5 s, 65 s, 2000 s and for a key, each
// returning to the end list.
inline VideoCdDisc ReferenceDiscWithout(std::vector<VideoCdSegmentItem> items, WaitRounding rounding)
{
    VideoCdDisc d;
    d.albumId = "SLIDES";
    d.volumeId = "SLIDESHOW";
    d.preparerId = "RESEARCH";
    d.segmentItems = std::move(items);
    VideoCdSequenceItem sequence;
    sequence.packs = ReadData("seq1.mpg");
    d.sequenceItems.push_back(sequence);
    const uint32_t end = 4;
    d.lists = {PlayList(Segment(0), WaitCodeForSeconds(5, rounding), std::nullopt, 1, end, false),
               PlayList(Segment(1), WaitCodeForSeconds(65, rounding), 0, 2, end, true),
               PlayList(Segment(2), WaitCodeForSeconds(2000, rounding), 1, 3, end, true),
               PlayList(Sequence(0), WaitCodeForSeconds(-1, rounding), 2, end, end, true), EndList()};
    return d;
}

// ref.xml: item1, item2 (normal PAL stills) and item3 (high resolution).
inline VideoCdDisc ReferenceDisc(WaitRounding rounding)
{
    return ReferenceDiscWithout({ItemFromFile("item1.mpg", SegmentVideo::Still),
                                 ItemFromFile("item2.mpg", SegmentVideo::Still),
                                 ItemFromFile("item3.mpg", SegmentVideo::StillWithHigh)},
                                rounding);
}

// ref2.xml: an NTSC still, a PAL still and a PAL normal+high item.
inline VideoCdDisc ReferenceDisc2(WaitRounding rounding)
{
    return ReferenceDiscWithout({ItemFromFile("itemN.mpg", SegmentVideo::Still, VideoSystem::Ntsc),
                                 ItemFromFile("item2.mpg", SegmentVideo::Still),
                                 ItemFromFile("item1mix.mpg", SegmentVideo::StillWithHigh)},
                                rounding);
}

class MemorySink : public SectorSink {
public:
    bool Put(const uint8_t* sectors, size_t count, std::string&) override
    {
        bytes.insert(bytes.end(), sectors, sectors + count * kRawSectorSize);
        return true;
    }
    size_t Sectors() const { return bytes.size() / kRawSectorSize; }
    std::vector<uint8_t> bytes;
};

class FileSink : public SectorSink {
public:
    explicit FileSink(const std::string& path) : m_file(std::fopen(path.c_str(), "wb")) {}
    ~FileSink() override { Close(); }
    bool Put(const uint8_t* sectors, size_t count, std::string& error) override
    {
        if (m_file && std::fwrite(sectors, kRawSectorSize, count, m_file) == count)
            return true;
        error = "The image file could not be written.";
        return false;
    }
    bool Close()
    {
        const bool ok = m_file && std::fclose(m_file) == 0;
        m_file = nullptr;
        return ok;
    }

private:
    std::FILE* m_file;
};

// Plans and writes the disc into a BIN and a CUE file; empty on success.
inline std::string WriteImage(const VideoCdDisc& disc, const std::string& binPath, const std::string& cuePath)
{
    VideoCdImageWriter writer(disc);
    VideoCdResult planned = writer.Plan();
    if (!planned.ok)
        return planned.error;
    FileSink sink(binPath);
    VideoCdResult written = writer.Write(sink);
    if (!sink.Close() || !written.ok)
        return written.error.empty() ? "closing the image failed" : written.error;
    const std::string name = binPath.substr(binPath.find_last_of('/') + 1);
    std::ofstream(cuePath, std::ios::binary) << writer.CueSheet(name);
    return {};
}

}  // namespace vcd_test
