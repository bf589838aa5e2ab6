#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "IsoDate.h"

// What a Video CD 2.0 disc holds, as the image writer takes it: the volume's
// texts and date, the still (segment) items, the MPEG tracks and the
// play-back control lists. Much like a vcdxbuild description, but the
// segment items are made on demand while the image is written.

enum class VideoSystem : uint8_t { Pal, Ntsc };

// The video of a segment item as INFO.VCD records it per segment.
enum class SegmentVideo : uint8_t {
    None,
    Still,          // normal resolution (stream 0xE1)
    StillWithHigh,  // a high-resolution picture (0xE2), alone or with a normal one
    Motion,         // motion video (0xE0)
};

enum class SegmentAudio : uint8_t { None = 0, Mono = 1, Stereo = 2, DualChannel = 3 };

struct SegmentPacks {
    bool ok = false;
    std::string error;           // why the item could not be made; ends the write
    std::vector<uint8_t> packs;  // 2324-byte MPEG packs, at most segments x 150 of them
};

struct VideoCdSegmentItem {
    SegmentVideo video = SegmentVideo::Still;
    VideoSystem system = VideoSystem::Pal;
    SegmentAudio audio = SegmentAudio::None;
    uint32_t segments = 1;  // 150-sector segments the item takes
    // Called when the writer reaches the item, so that only one item's packs
    // are held at a time. In the vcdimager-compatible layout it is called
    // twice (once while planning), so it must give the same packs each time.
    std::function<SegmentPacks()> makePacks;
};

// An MPEG track (tracks 2, 3, ... in description order).
struct VideoCdSequenceItem {
    VideoSystem system = VideoSystem::Pal;
    std::vector<uint8_t> packs;  // 2324-byte MPEG packs
    // Entry points besides the track start, as pack indices in ascending
    // order; each should be a pack where a player can start decoding.
    std::vector<uint32_t> extraEntryPacks;
};

struct VideoCdPlayItem {
    enum class Kind : uint8_t { Segment, Sequence };
    Kind kind = Kind::Segment;
    uint32_t index = 0;  // into segmentItems or sequenceItems
};

// A list of the play-back control (PSD). Lists get their list ids (LID) in
// description order, from 1; references are indices into VideoCdDisc::lists.
//
// A play list plays its items, waits, then goes on to its NEXT target, so
// that key and the show's own way on are one. A selection list shows one
// item once, waits, then goes on to its timeout target, its keys going
// where they say: the slideshow's long delays are chains of these without
// selections, and its index pages are selection lists whose number keys
// lead to the photos. A selection list with selections and a finite wait
// needs a timeout target: without one, players pick a selection at random.

// A rectangle of a selection list's picture on a 0..255 grid over the whole
// picture, (0, 0) top left, for players with a pointer (extended lists
// only); all zero: none.
struct VideoCdHotSpot {
    uint8_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool None() const { return x1 == 0 && y1 == 0 && x2 == 0 && y2 == 0; }
};

struct VideoCdList {
    enum class Kind : uint8_t { Play, Selection, End };
    Kind kind = Kind::Play;
    bool rejected = false;  // left out of LOT.VCD: reachable only through other lists
    // Play and selection lists:
    std::vector<VideoCdPlayItem> items;  // play list 1..255, selection list exactly 1
    std::optional<uint32_t> previous, next, back;  // PREVIOUS, NEXT (a play list's way on), RETURN
    uint8_t waitCode = 0;                          // after the items; see VideoCdWait.h
    // Play lists only:
    uint16_t playingTime = 0;        // 1/15 s; 0 plays each item to its end
    uint8_t autoPauseWaitCode = 0;   // at sectors flagged as triggers
    // Selection lists only:
    std::optional<uint32_t> timeout;  // where the wait leads
    bool delayedKeys = false;         // keys act only once the item has been shown
    std::optional<uint32_t> defaultTarget;  // DEFAULT
    uint8_t baseNumber = 1;                 // the number key of the first selection, 1..99
    // Number baseNumber + i leads to selections[i]; none: that number does
    // nothing. At most 99, and the numbers end at 99.
    std::vector<std::optional<uint32_t>> selections;
    std::vector<VideoCdHotSpot> hotSpots;  // none, or one per selection
};

struct VideoCdDisc {
    // INFO.VCD
    std::string albumId;        // up to 16 d-characters (A-Z, 0-9, _)
    uint16_t volumeCount = 1;   // discs in the album
    uint16_t volumeNumber = 1;  // this disc's number in it
    uint8_t restriction = 0;    // 0 (none) .. 3
    bool nextVolumeStartsAtLid2 = false;
    bool nextVolumeStartsAtTrack3 = false;

    // Primary volume descriptor
    std::string volumeId;                          // up to 32 d-characters
    std::string systemId = "CD-RTOS CD-BRIDGE";    // up to 32 a-characters
    std::string applicationId, preparerId, publisherId;  // up to 128 a-characters each
    IsoDateTime created;      // the volume's and every directory record's date

    std::vector<VideoCdSegmentItem> segmentItems;
    std::vector<VideoCdSequenceItem> sequenceItems;  // at least one
    std::vector<VideoCdList> lists;                  // at least one; the first is not rejected

    // Byte-identical output with Debian's vcdxbuild 2.0.1 (tests only): its
    // fixed date, system and preparer ids, and its directory placement,
    // which limits a disc to 1648 one-segment items.
    bool vcdimagerCompatible = false;
};
