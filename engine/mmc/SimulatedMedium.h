#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The disc side of the simulated drive: the disc-at-once layout a cue sheet
// announces, checked as strictly as a drive checks it, and the sectors the
// drive records from the blocks the host sends.

// Main-data forms of the cue sheet that the simulated drive records.
constexpr uint8_t kFormAudio = 0x00;      // CD-DA, 2352 bytes a block
constexpr uint8_t kFormAudioGap = 0x01;   // CD-DA made by the drive (lead-in/out), 0 bytes
constexpr uint8_t kFormMode1Gap = 0x14;   // Mode 1 made by the drive, 0 bytes
constexpr uint8_t kFormXa = 0x20;         // XA Form 1/2: sub-header, data, EDC/ECC area (2336 bytes)
constexpr uint8_t kFormXaRaw = 0x21;      // XA Form 1/2 as a raw 2352-byte sector
constexpr uint8_t kFormXaGap = 0x24;      // XA made by the drive (lead-in/out), 0 bytes
constexpr uint8_t kFormMode2Gap = 0x34;   // Mode 2 formless made by the drive, 0 bytes

constexpr int32_t kFirstPregapLba = -150;
constexpr size_t kSectorBytes = 2352;

// One track of a layout, its index points as LBAs.
struct SimTrack {
    int number = 0;
    uint8_t control = 0;                // CTL nibble: 4 data, 2 digital copy permitted
    uint8_t form = 0;                   // main-data form of all its blocks
    std::optional<int32_t> pregapLba;   // INDEX 00
    std::vector<int32_t> indexLbas;     // INDEX 01, 02, ...

    int32_t StartLba() const { return pregapLba ? *pregapLba : indexLbas.front(); }
};

struct SimLayout {
    std::vector<SimTrack> tracks;
    int32_t leadOutLba = 0;

    int32_t FirstLba() const { return tracks.empty() ? 0 : tracks.front().StartLba(); }
    // The track holding lba (its pregap included); null outside the program area.
    const SimTrack* TrackAt(int32_t lba) const;
    // Bytes the host sends for the block at lba.
    size_t HostBlockBytes(int32_t lba) const;
};

// Bytes the host sends per block of a main-data form.
size_t HostBytesOfForm(uint8_t form);

// Reads and checks a cue sheet (8-byte entries) for a blank disc of
// capacityBlocks from LBA 0. On a refusal, why says which entry and rule.
bool ParseCueSheet(const uint8_t* cue, size_t size, int32_t capacityBlocks, SimLayout& layout, std::string& why);

// Fills out (2352 bytes) with the sector a drive records at lba from the
// host's block in the given form: for XA it makes sync, header and EDC/ECC
// itself. What a strict reader would object to in the host's block (the
// drive records it all the same) is added to problems.
void RecordSector(uint8_t form, int32_t lba, const uint8_t* host, uint8_t* out, std::vector<std::string>& problems);

// mm:ss:ff of an LBA as written in headers and answers: LBA + 150 frames,
// or LBA + 450150 for the lead-in area (negative LBAs below -150).
void LbaToMsf(int32_t lba, uint8_t* msf);
