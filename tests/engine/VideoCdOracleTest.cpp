// Discs as the program writes them (real dates, its own preparer, rounding
// half up, the SEGMENT directory after the segment area) read back with
// independent tools: vcd-info, cd-info and iso-info (libcdio) and vcdxrip
// (vcdimager). They exist only in the native build's world.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <sstream>

#include "VideoCdTestSupport.h"
#include "engine/slideshow/SlideshowDisc.h"
#include "support/ExternalTool.h"
#include "support/TempDir.h"

using namespace vcd_test;

namespace {

constexpr IsoDateTime kWhen{2024, 5, 17, 13, 45, 30, 8};

VideoCdDisc ProductDisc(std::vector<VideoCdSegmentItem> items)
{
    VideoCdDisc d = ReferenceDiscWithout(std::move(items), WaitRounding::HalfUp);
    d.created = kWhen;
    d.preparerId = "SNAPDISC";
    return d;
}

std::string Output(const std::string& command)
{
    std::string output;
    RunTool(command + " 2>&1", &output);
    return output;
}

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

void ExpectNoComplaint(const std::string& output)
{
    for (const char* word : {"WARN", "ERROR", "rror:", "nvalid", "failed"})
        EXPECT_EQ(std::string::npos, output.find(word)) << word << " in:\n" << output;
}

void ExpectSameFile(const std::string& path, const std::vector<uint8_t>& expected)
{
    const std::string made = ReadText(path);
    EXPECT_EQ(expected.size(), made.size()) << path;
    EXPECT_TRUE(made.size() == expected.size() && std::memcmp(made.data(), expected.data(), made.size()) == 0)
        << path << " differs";
}

// The text of one of vcd-info's sections ("VCD/PSD.VCD", "EXT/LOT_X.VCD").
std::string Section(const std::string& info, const std::string& title)
{
    size_t at = info.find("\n" + title + "\n");
    if (at == std::string::npos)
        return {};
    at += title.size() + 2;
    return info.substr(at, info.find("\n-----", at) - at);
}

// A list as vcd-info prints it; links are its PSD offsets (8-byte units).
struct PrintedList {
    std::string kind;  // "play list", "selection list", "extended selection list", "end list"
    int segment = -1;  // the SEGMENT[n] it shows
    int wait = 0;      // seconds, -1 until a key
    std::optional<unsigned> previous, next, back, timeout;
    unsigned base = 0;                             // the number of the first selection
    std::vector<std::optional<unsigned>> numbers;  // where each number from base leads
};

std::optional<unsigned> PrintedLink(const std::string& line, const std::string& field)
{
    size_t at = line.find(field + ": ");
    if (at == std::string::npos || line.compare(at + field.size() + 2, 8, "disabled") == 0)
        return std::nullopt;
    return static_cast<unsigned>(std::stoul(line.substr(line.find("@0x", at) + 3, 4), nullptr, 16));
}

std::map<unsigned, PrintedList> PrintedPsd(const std::string& section)
{
    std::map<unsigned, PrintedList> lists;
    PrintedList* list = nullptr;
    std::istringstream lines(section);
    for (std::string line; std::getline(lines, line);) {
        line.erase(0, line.find_first_not_of(' '));
        if (line.rfind("PSD[", 0) == 0) {
            const size_t kind = line.find("): ") + 3;
            list = &lists[static_cast<unsigned>(std::stoul(line.substr(line.find("@0x") + 3, 4), nullptr, 16))];
            list->kind = line.substr(kind, line.rfind(" descriptor") - kind);
        } else if (list && line.rfind("prev: ", 0) == 0) {
            list->previous = PrintedLink(line, "prev");
            list->next = PrintedLink(line, "next");
            list->back = PrintedLink(line, "return");
        } else if (list && line.rfind("Flags: ", 0) == 0) {
            list->base = static_cast<unsigned>(std::stoul(line.substr(line.find("BSN: ") + 5)));
        } else if (list && line.rfind("ofs[", 0) == 0) {
            list->numbers.push_back(line.find("@0x") == std::string::npos ? std::nullopt
                                                                          : PrintedLink(line, line.substr(0, line.find(':'))));
        } else if (list && line.rfind("default: ", 0) == 0) {
            list->timeout = PrintedLink(line, "timeout");
        } else if (list && line.find("wait: ") != std::string::npos) {
            list->wait = std::stoi(line.substr(line.find("wait: ") + 6));
        } else if (list && line.find("SEGMENT[") != std::string::npos) {
            list->segment = std::stoi(line.substr(line.find("SEGMENT[") + 8));
        }
    }
    return lists;
}

// The offsets of the LIDs a LOT section lists ("LID[1]: offset = 0 (0x0000)").
std::map<unsigned, unsigned> PrintedLot(const std::string& section)
{
    std::map<unsigned, unsigned> lot;
    std::istringstream lines(section);
    for (std::string line; std::getline(lines, line);)
        if (line.find(": offset = ") != std::string::npos)
            lot[static_cast<unsigned>(std::stoul(line.substr(line.find("LID[") + 4)))] =
                static_cast<unsigned>(std::stoul(line.substr(line.find("(0x") + 3), nullptr, 16));
    return lot;
}

// A photo as a player following the lists' waits sees it: the lists that
// showed its segment one after the other, and their waits added up.
struct ShownPhoto {
    int segment = -1;
    std::vector<unsigned> lists;
    int seconds = 0;
};

// Follows the show from a list without a key being pressed: a play list
// goes on to its NEXT target, a selection list to its timeout target.
// Returns the photos shown; end is where the show stopped.
std::vector<ShownPhoto> FollowTheWaits(const std::map<unsigned, PrintedList>& psd, unsigned at, unsigned& end)
{
    std::vector<ShownPhoto> shown;
    for (size_t steps = 0; steps <= psd.size() && psd.count(at) && psd.at(at).kind != "end list"; ++steps) {
        const PrintedList& list = psd.at(at);
        if (shown.empty() || shown.back().segment != list.segment)
            shown.push_back({list.segment, {}, 0});
        shown.back().lists.push_back(at);
        shown.back().seconds += list.wait;
        const std::optional<unsigned> on = list.kind == "play list" ? list.next : list.timeout;
        if (!on)
            break;
        at = *on;
    }
    end = at;
    return shown;
}

// Keeps track 1's user data as a 2048-byte-sector ISO file for iso-info;
// the Form 2 sectors (segments) are left as holes.
class Track1IsoSink : public SectorSink {
public:
    Track1IsoSink(SectorSink& image, const std::string& isoPath, uint32_t isoSectors)
        : m_image(image), m_iso(std::fopen(isoPath.c_str(), "wb")), m_isoSectors(isoSectors)
    {
    }
    ~Track1IsoSink() override { std::fclose(m_iso); }
    bool Put(const uint8_t* sectors, size_t count, std::string& error) override
    {
        for (size_t i = 0; i < count && m_lsn < m_isoSectors; ++i, ++m_lsn) {
            const uint8_t* sector = sectors + i * kRawSectorSize;
            if (sector[18] & 0x20)  // submode: Form 2
                continue;
            std::fseek(m_iso, static_cast<long>(m_lsn) * 2048, SEEK_SET);
            std::fwrite(sector + 24, 1, 2048, m_iso);
        }
        return m_image.Put(sectors, count, error);
    }

private:
    SectorSink& m_image;
    std::FILE* m_iso;
    uint32_t m_isoSectors;
    uint32_t m_lsn = 0;
};

TEST(VideoCdOracle, VcdInfoAndCdInfoReadTheReferenceItemsAsAProgramDisc)
{
    SKIP_WITHOUT_TOOL("vcd-info");
    SKIP_WITHOUT_TOOL("cd-info");
    VideoCdDisc disc = ProductDisc(ReferenceDisc(WaitRounding::HalfUp).segmentItems);
    disc.sequenceItems[0].extraEntryPacks = {100};
    TempDir dir;
    ASSERT_EQ("", WriteImage(disc, dir.File("disc.bin"), dir.File("disc.cue")));
    // The track starts at LSN 859 (after the SEGMENT directory's sector and
    // the pregap); pack 100 follows the 30-sector front margin.
    EXPECT_NE(std::string::npos, ReadText(dir.File("disc.cue")).find("INDEX 02 00:13:14"));

    const std::string info = Output("vcd-info -B -c " + dir.File("disc.cue"));
    ExpectNoComplaint(info);
    EXPECT_NE(std::string::npos, info.find("VCD 2.0 detected"));
    EXPECT_NE(std::string::npos, info.find("preparer id: `SNAPDISC'"));
    EXPECT_NE(std::string::npos, info.find("number of segments: 3"));
    EXPECT_EQ(2u, Count(info, "video: PAL still, continuation no"));
    EXPECT_EQ(1u, Count(info, "video: PAL still (lo+hires), continuation no"));
    // Segment directory after PSD_X (LSN 707), its files sized by their packs.
    EXPECT_NE(std::string::npos, info.find("[LSN    708]      2048  SEGMENT"));
    EXPECT_NE(std::string::npos, info.find("[LSN    525]    127820 (   112640)  ITEM0003.DAT;1"));
    // PSD and PSD_X: 65 s rounds half up to 70 s; -1 is "until a key".
    for (const char* wait : {"wait: 5s", "wait: 70s", "wait: 2000s", "wait: -1s"})
        EXPECT_EQ(2u, Count(info, wait)) << wait;
    EXPECT_NE(std::string::npos, info.find("ENTRY[00]: track#  1 (SEQUENCE[0]), LSN    859 (MSF 00:13:34)"));
    EXPECT_NE(std::string::npos, info.find("ENTRY[01]: track#  1 (SEQUENCE[0]), LSN    989 (MSF 00:15:14)"));

    const std::string cd = Output("cd-info --no-header --cue-file " + dir.File("disc.cue"));
    ExpectNoComplaint(cd);
    EXPECT_NE(std::string::npos, cd.find("  1: 00:02:00  000000 XA"));
    EXPECT_NE(std::string::npos, cd.find("  2: 00:13:34  000859 XA"));
    EXPECT_NE(std::string::npos, cd.find("170: 00:19:31  001306 leadout"));
    EXPECT_NE(std::string::npos, cd.find("Video CD"));
}

TEST(VideoCdOracle, VcdxripGivesBackTheItemsOfOneAndTwoSegments)
{
    SKIP_WITHOUT_TOOL("vcdxrip");
    SKIP_WITHOUT_TOOL("vcd-info");
    // The motion track's 222 packs as a two-segment item between two stills.
    std::vector<VideoCdSegmentItem> items = ReferenceDisc(WaitRounding::HalfUp).segmentItems;
    items[1] = ItemFromFile("seq1.mpg", SegmentVideo::Motion);
    items[1].segments = 2;
    items[1].audio = SegmentAudio::Stereo;
    TempDir dir;
    ASSERT_EQ("", WriteImage(ProductDisc(items), dir.File("disc.bin"), dir.File("disc.cue")));

    const std::string info = Output("vcd-info -B -c " + dir.File("disc.cue"));
    EXPECT_NE(std::string::npos, info.find("number of segments: 4"));
    // vcd-info's name of type 7 runs into the next one in its table.
    EXPECT_NE(std::string::npos, info.find("audio: stereo, video: PAL motionINVALID ENTRY, continuation no"));
    EXPECT_NE(std::string::npos, info.find("audio: stereo, video: PAL motionINVALID ENTRY, continuation yes"));
    EXPECT_NE(std::string::npos, info.find("play-item[0]: SEGMENT[3] (0x03eb)"));

    ASSERT_EQ(0, RunTool("cd " + dir.Path() + " && vcdxrip -c disc.cue -o rip.xml >/dev/null 2>&1"));
    ExpectSameFile(dir.File("item0001.mpg"), ReadData("item1.mpg"));
    ExpectSameFile(dir.File("item0002.mpg"), ReadData("seq1.mpg"));
    ExpectSameFile(dir.File("item0004.mpg"), ReadData("item3.mpg"));
    ExpectSameFile(dir.File("avseq01.mpg"), ReadData("seq1.mpg"));
}

TEST(VideoCdOracle, A1900ItemDiscIsReadWithoutAWarning)
{
    SKIP_WITHOUT_TOOL("vcd-info");
    SKIP_WITHOUT_TOOL("cd-info");
    SKIP_WITHOUT_TOOL("iso-info");
    const size_t photos = 1900;
    auto packs = std::make_shared<const std::vector<uint8_t>>(ReadData("item2.mpg"));
    std::vector<VideoCdSegmentItem> items(photos, ItemOf(packs, SegmentVideo::Still));
    VideoCdDisc d = ProductDisc(items);
    d.lists.clear();
    const uint32_t end = static_cast<uint32_t>(photos);
    for (uint32_t i = 0; i < photos; ++i)
        d.lists.push_back(PlayList(Segment(i), 5, i > 0 ? std::optional<uint32_t>(i - 1) : std::nullopt,
                                   i + 1 < photos ? i + 1 : end, end, false));
    d.lists.push_back(EndList());

    TempDir dir;
    VideoCdImageWriter writer(d);
    ASSERT_TRUE(writer.Plan().ok);
    {
        FileSink bin(dir.File("disc.bin"));
        Track1IsoSink sink(bin, dir.File("track1.iso"), writer.Layout().isoSectors);
        ASSERT_TRUE(writer.Write(sink).ok);
        ASSERT_TRUE(bin.Close());
    }
    std::ofstream(dir.File("disc.cue"), std::ios::binary) << writer.CueSheet("disc.bin");

    const std::string info = Output("vcd-info -B -c " + dir.File("disc.cue"));
    ExpectNoComplaint(info);
    EXPECT_NE(std::string::npos, info.find("VCD 2.0 detected"));
    EXPECT_NE(std::string::npos, info.find("number of segments: 1900"));
    EXPECT_NE(std::string::npos, info.find("maximum lid: 1901"));
    EXPECT_EQ(photos, Count(info, "video: PAL still, continuation no"));
    EXPECT_NE(std::string::npos, info.find("ITEM1900.DAT;1"));
    EXPECT_NE(std::string::npos, info.find("play-item[0]: SEGMENT[1899] (0x0b53)"));

    const std::string iso = Output("iso-info -l -i " + dir.File("track1.iso"));
    ExpectNoComplaint(iso);
    EXPECT_EQ(photos, Count(iso, "  item"));
    EXPECT_EQ(1u, Count(iso, "item1900.dat"));
    EXPECT_EQ(1u, Count(iso, "psd_x.vcd"));

    const std::string cd = Output("cd-info --no-header --iso9660 --cue-file " + dir.File("disc.cue"));
    EXPECT_NE(std::string::npos, cd.find("  2: 63:28:30  285480 XA"));
    EXPECT_NE(std::string::npos, cd.find("Video CD"));
    EXPECT_EQ(photos, Count(cd, "  item"));
}

// A slideshow with delays longer than one list's wait, followed through
// both PSD files as vcd-info prints them: the waits walk the whole show in
// order, each photo on screen as long as before its keys were changed,
// and NEXT and PREVIOUS from every list of a photo's chain reach the
// photos beside it.
TEST(VideoCdOracle, KeysOnALongDelayReachTheNeighbouringPhotosFromEveryListOfItsChain)
{
    SKIP_WITHOUT_TOOL("vcd-info");
    const std::vector<double> delays = {5, 2500, 65000, 0, 7};
    const int seconds[] = {5, 2500, 65000, 0, 7};  // the waits' sums before chains had selection lists
    const size_t chainLength[] = {1, 2, 33, 1, 1};
    std::vector<SlideshowPhoto> photos;
    for (double delay : delays)
        photos.push_back({"photo.jpg", delay});
    EngineConfig config;
    config.normalOnly = true;
    SlideshowTracks tracks;
    tracks.motionTrack = ReadData("seq1.mpg");
    const std::vector<uint8_t> still = ReadData("item2.mpg");
    VideoCdDisc disc = MakeSlideshowDisc(photos, config, 0, std::move(tracks), [&still](size_t) {
        StillItem item;
        item.ok = true;
        item.packs = still;
        return item;
    });
    TempDir dir;
    ASSERT_EQ("", WriteImage(disc, dir.File("disc.bin"), dir.File("disc.cue")));
    const std::string info = Output("vcd-info -B -c " + dir.File("disc.cue"));
    ExpectNoComplaint(info);
    ASSERT_NE(std::string::npos, info.find("VCD 2.0 detected"));

    for (const auto& [lotName, psdName] : {std::pair<std::string, std::string>{"VCD/LOT.VCD", "VCD/PSD.VCD"},
                                           {"EXT/LOT_X.VCD", "EXT/PSD_X.VCD"}}) {
        SCOPED_TRACE(psdName);
        const std::map<unsigned, PrintedList> psd = PrintedPsd(Section(info, psdName));
        std::map<unsigned, unsigned> lot = PrintedLot(Section(info, lotName));
        unsigned end = 0;
        const std::vector<ShownPhoto> shown = FollowTheWaits(psd, lot[1], end);
        ASSERT_EQ(delays.size(), shown.size());
        ASSERT_EQ("end list", psd.at(end).kind);
        for (size_t p = 0; p < shown.size(); ++p) {
            SCOPED_TRACE("photo " + std::to_string(p + 1));
            EXPECT_EQ(static_cast<int>(p), shown[p].segment);
            EXPECT_EQ(seconds[p], shown[p].seconds);
            EXPECT_EQ(chainLength[p], shown[p].lists.size());
            EXPECT_EQ(lot[p + 1], shown[p].lists[0]);  // list id p + 1 is photo p + 1
            const std::optional<unsigned> before =
                p > 0 ? std::optional<unsigned>(shown[p - 1].lists[0]) : std::nullopt;
            const unsigned after = p + 1 < shown.size() ? shown[p + 1].lists[0] : end;
            for (unsigned at : shown[p].lists) {
                EXPECT_EQ(before, psd.at(at).previous) << "PREVIOUS from the list at " << at;
                EXPECT_EQ(after, psd.at(at).next) << "NEXT from the list at " << at;
            }
        }
    }
}

// Index pages on discs of 1 to 1,900 photos, followed through both PSD
// files as vcd-info prints them: the show never enters a page; RETURN from
// every list of a photo (the second photo's delay takes a chain of two)
// reaches a page whose sheet shows it; every number a sheet shows leads to
// its photo (or, on a directory page, to its page); NEXT and PREVIOUS walk
// the pages; NEXT and PREVIOUS between photos still reach the neighbours.
TEST(VideoCdOracle, IndexPagesLeadToEveryPhotoAndTheShowRunsPastThem)
{
    SKIP_WITHOUT_TOOL("vcd-info");
    const std::vector<uint8_t> still = ReadData("item2.mpg");
    for (size_t count : {1, 12, 99, 100, 150, 1900}) {
        SCOPED_TRACE(std::to_string(count) + " photos");
        std::vector<SlideshowPhoto> photos(count, SlideshowPhoto{"photo.jpg", 1});
        if (count > 1)
            photos[1].seconds = 2500;
        EngineConfig config;
        config.normalOnly = true;
        SlideshowTracks tracks;
        tracks.motionTrack = ReadData("seq1.mpg");
        std::map<int, SheetContent> sheets;  // by segment, as the writer asks for them
        int nextSheet = static_cast<int>(count);
        auto made = [&still](size_t) {
            StillItem item;
            item.ok = true;
            item.packs = still;
            return item;
        };
        VideoCdDisc disc = MakeSlideshowDisc(photos, config, 0, std::move(tracks), made,
                                             [&](const SheetContent& content) {
                                                 sheets[nextSheet++] = content;
                                                 return made(0);
                                             });
        TempDir dir;
        ASSERT_EQ("", WriteImage(disc, dir.File("disc.bin"), dir.File("disc.cue")));
        const std::string info = Output("vcd-info -B -c " + dir.File("disc.cue"));
        ExpectNoComplaint(info);
        ASSERT_FALSE(sheets.empty());

        for (const auto& [lotName, psdName] : {std::pair<std::string, std::string>{"VCD/LOT.VCD", "VCD/PSD.VCD"},
                                               {"EXT/LOT_X.VCD", "EXT/PSD_X.VCD"}}) {
            SCOPED_TRACE(psdName);
            const std::map<unsigned, PrintedList> psd = PrintedPsd(Section(info, psdName));
            std::map<unsigned, unsigned> lot = PrintedLot(Section(info, lotName));
            unsigned end = 0;
            const std::vector<ShownPhoto> shown = FollowTheWaits(psd, lot[1], end);
            ASSERT_EQ(count, shown.size()) << "the show runs from photo 1 to the end, past no page";
            ASSERT_EQ("end list", psd.at(end).kind);
            EXPECT_EQ(end, psd.rbegin()->first) << "the end list comes last";
            // The pages by the segment of their sheet.
            std::map<int, unsigned> pageOfSheet;
            for (const auto& [at, list] : psd)
                if (sheets.count(list.segment))
                    pageOfSheet[list.segment] = at;
            ASSERT_EQ(sheets.size(), pageOfSheet.size());
            for (size_t p = 0; p < count; ++p) {
                const unsigned after = p + 1 < count ? shown[p + 1].lists[0] : end;
                for (unsigned at : shown[p].lists) {
                    const PrintedList& list = psd.at(at);
                    EXPECT_EQ(after, list.next);
                    if (p > 0) {
                        EXPECT_EQ(shown[p - 1].lists[0], list.previous);
                    }
                    ASSERT_TRUE(list.back);
                    const PrintedList& page = psd.at(*list.back);
                    const auto& tiles = sheets[page.segment].tiles;
                    EXPECT_TRUE(std::any_of(tiles.begin(), tiles.end(),
                                            [p](const SheetContent::Tile& t) { return t.photo == p; }))
                        << "RETURN from photo " << p + 1 << " shows a page without it";
                }
            }
            // Every number a sheet shows: a photo's list, or the page the tile names.
            for (const auto& [segment, content] : sheets) {
                const PrintedList& page = psd.at(pageOfSheet[segment]);
                EXPECT_EQ(-1, page.wait) << "a page waits for a key";
                EXPECT_FALSE(page.timeout);
                for (size_t k = 0; k < content.tiles.size(); ++k) {
                    const SheetContent::Tile& tile = content.tiles[k];
                    const size_t number = std::stoul(tile.number);
                    ASSERT_GE(number, page.base);
                    ASSERT_LT(number - page.base, page.numbers.size()) << "number " << number;
                    const std::optional<unsigned> to = page.numbers[number - page.base];
                    ASSERT_TRUE(to);
                    if (tile.photo) {
                        EXPECT_EQ(lot[static_cast<unsigned>(*tile.photo + 1)], *to) << "number " << number;
                    } else {
                        const auto& shows = sheets[psd.at(*to).segment].tiles;
                        ASSERT_FALSE(shows.empty());
                        EXPECT_EQ(tile.label.substr(0, tile.label.find('\xE2')),
                                  std::to_string(*shows.front().photo + 1));
                    }
                }
            }
            // NEXT from the first page walks every page of photos, PREVIOUS back.
            unsigned first = *psd.at(shown[0].lists[0]).back;
            while (psd.at(first).previous)
                first = *psd.at(first).previous;
            size_t photosOnPages = 0;
            for (std::optional<unsigned> page = first; page; page = psd.at(*page).next) {
                photosOnPages += sheets[psd.at(*page).segment].tiles.size();
                if (psd.at(*page).next) {
                    EXPECT_EQ(*page, psd.at(*psd.at(*page).next).previous);
                }
            }
            EXPECT_EQ(count, photosOnPages);
        }
    }
}

}  // namespace
