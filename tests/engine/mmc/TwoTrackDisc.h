#pragma once
// A small disc for recording tests: two tracks, as a Video CD lays them
// out (1000 sectors from LBA 0, then a 150-sector pregap and 450 sectors),
// with Form 1 and Form 2 sectors of their own contents.
#include <cstdint>
#include <vector>

#include "engine/disc/Sector.h"

inline constexpr int32_t kLeadOut = 1600;
inline constexpr size_t kRaw = 2352;

inline std::vector<uint8_t> TwoTrackBin()
{
    std::vector<uint8_t> bin(kLeadOut * kRaw);
    uint8_t data[kForm2DataSize];
    for (uint32_t lsn = 0; lsn < kLeadOut; ++lsn) {
        for (size_t i = 0; i < sizeof data; ++i)
            data[i] = static_cast<uint8_t>(lsn * 7 + i);
        uint8_t* sector = &bin[lsn * kRaw];
        if (lsn >= 1000 && lsn < 1150)
            MakeForm2Sector(sector, lsn, Subheader{0, 0, 0x20, 0}, std::vector<uint8_t>(kForm2DataSize).data());
        else if (lsn % 3 == 0)
            MakeForm1Sector(sector, lsn, Subheader{1, 0, 0x08, 0}, data);
        else
            MakeForm2Sector(sector, lsn, Subheader{1, 1, 0x62, 0x0F}, data);
    }
    return bin;
}

// Its cue sheet in a main-data form, tracks with the copy flag.
inline std::vector<uint8_t> TwoTrackCue(uint8_t form)
{
    return {0x41, 0x00, 0x00, 0x24, 0, 0, 0x00, 0x00, 0x61, 0x01, 0x00, form, 0, 0, 0x00, 0x00,
            0x61, 0x01, 0x01, form, 0, 0, 0x02, 0x00, 0x61, 0x02, 0x00, form, 0, 0, 0x0F, 0x19,
            0x61, 0x02, 0x01, form, 0, 0, 0x11, 0x19, 0x41, 0xAA, 0x01, 0x24, 0, 0, 0x17, 0x19};
}
