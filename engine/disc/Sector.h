#pragma once
#include <cstddef>
#include <cstdint>

// Raw CD-ROM XA sectors as a Video CD image holds them (2352 bytes each):
//
//   Mode 2 Form 1: sync 12 | header 4 | subheader 8 | user data 2048 | EDC 4 | P 172 | Q 104
//   Mode 2 Form 2: sync 12 | header 4 | subheader 8 | user data 2324 | EDC 4
//
// The header is the sector's absolute address (LSN + 150) as BCD minute,
// second, frame, then the mode byte 2; the subheader is written twice.
constexpr size_t kSyncSize = 12;
constexpr size_t kHeaderSize = 4;
constexpr size_t kSubheaderSize = 8;
constexpr size_t kForm1DataSize = 2048;
constexpr size_t kForm2DataSize = 2324;
constexpr size_t kEdcSize = 4;
constexpr size_t kParityPSize = 172;
constexpr size_t kParityQSize = 104;
constexpr size_t kRawSectorSize = kSyncSize + kHeaderSize + kSubheaderSize + kForm1DataSize + kEdcSize +
                                  kParityPSize + kParityQSize;
static_assert(kRawSectorSize == 2352, "a raw sector is 2352 bytes");
static_assert(kSyncSize + kHeaderSize + kSubheaderSize + kForm2DataSize + kEdcSize == kRawSectorSize,
              "Form 2 fills the same 2352 bytes");

// File number, channel number, submode and coding information.
struct Subheader {
    uint8_t file = 0;
    uint8_t channel = 0;
    uint8_t submode = 0;
    uint8_t coding = 0;
};

// Frames from LSN 0 to the absolute address written in headers.
constexpr uint32_t kLsnToLba = 150;

// Fills out (2352 bytes) with a Mode 2 Form 1 sector at the logical sector
// number lsn: 2048 bytes of data, EDC and P/Q parity.
void MakeForm1Sector(uint8_t* out, uint32_t lsn, Subheader subheader, const uint8_t* data);
// Fills out (2352 bytes) with a Mode 2 Form 2 sector: 2324 bytes of data and EDC.
void MakeForm2Sector(uint8_t* out, uint32_t lsn, Subheader subheader, const uint8_t* data);
// In both, data may already sit at out + 24, its place in the sector, so a
// sector can be coded in place.

// The 32-bit EDC (CRC with the CD-ROM polynomial) over count bytes.
uint32_t ComputeEdc(const uint8_t* data, size_t count);
