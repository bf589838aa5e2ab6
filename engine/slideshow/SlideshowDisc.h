#pragma once
#include <ctime>
#include <string>
#include <vector>

#include <functional>
#include <optional>

#include "engine/api/EngineConfig.h"
#include "engine/disc/VideoCdDisc.h"
#include "engine/still/StillItem.h"

// One photo of a slideshow and how long it stays on screen. An item may
// also be a Video CD MPEG file, played as an MPEG track of its own.
struct SlideshowPhoto {
    std::string path;
    double seconds = 0;
    bool mpeg = false;
};

// The disc of a slideshow: one still item per photo, each shown by a play
// list of its own (photo 1 at list 1), PREVIOUS and NEXT between
// neighbours, the last photo's NEXT ending the show at the end list.
// Waits: 0-60 s exact, 61-2000 s to the nearest 10 s (ties upward); a
// longer delay chains further lists showing the same still, so that the
// waits add up to within 5 s of it. Such a photo's lists are selection
// lists, whose wait leads on through the chain while NEXT and PREVIOUS
// from any of them reach the neighbouring photos.
// The MPEG tracks come from the caller: the packs of each MPEG item, in
// order, after the motion track the format requires (empty when an MPEG
// item is there instead). Segment items ask makeStill for the still item
// of picture k (counting pictures only) when the image writer reaches them.
using StillMaker = std::function<StillItem(size_t picture)>;

// The index (when the config asks for one and the disc has room): RETURN
// from any list of a photo shows the index page with that photo; the page
// is a selection list waiting for a key, whose numbers lead to the photos
// (photo numbers up to 99 photos, places on the page above, with directory
// pages of the index pages), NEXT and PREVIOUS turning the pages. The show
// itself never enters it. Its sheets come after all photos' stills, drawn
// by makeSheet from what SheetContent says.
struct SheetContent {
    struct Tile {
        std::optional<size_t> photo;  // whose thumbnail; none on a directory page
        std::string number, caption, label;
    };
    size_t columns = 0, rows = 0;
    std::string range, pageOfPages;
    std::vector<Tile> tiles;
};
using SheetMaker = std::function<StillItem(const SheetContent&)>;
struct SlideshowTracks {
    std::vector<uint8_t> motionTrack;
    VideoSystem motionSystem = VideoSystem::Pal;
    std::vector<VideoCdSequenceItem> mpegItems;  // one per MPEG item, in order
};
VideoCdDisc MakeSlideshowDisc(const std::vector<SlideshowPhoto>& photos, const EngineConfig& config,
                              std::time_t when, SlideshowTracks tracks, StillMaker makeStill,
                              SheetMaker makeSheet = nullptr);

// The waits, in seconds, of the lists that show one photo for a delay.
std::vector<double> SplitDelay(double seconds);

// The volume label of a disc made at a time: "SNAPDISC_YYYYMMDD_HHMM".
std::string VolumeLabelFor(std::time_t when);
