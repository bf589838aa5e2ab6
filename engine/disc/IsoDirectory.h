#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "IsoDate.h"

// ISO 9660 directories with the CD-ROM XA system-use field, as a Video CD
// carries them. A directory record:
//
//   0 length | 1 extended attribute length (0) | 2 extent (both-endian 32)
//   10 data length (both 32) | 18 recording date (7) | 25 flags
//   26 file unit size (0) | 27 interleave gap (0) | 28 volume sequence (both 16)
//   32 name length | 33 name, padded to even | XA field (14), padded to even
//
// XA field (big-endian): group id | user id | attributes | "XA" | file number | 5 zero bytes.
// Records never cross a 2048-byte sector; the rest of a sector stays zero.

constexpr size_t kIsoBlockSize = 2048;
constexpr size_t kIsoRecordFixedSize = 33;
constexpr size_t kIsoRootRecordSize = 34;  // the copy in the volume descriptor: no XA field
constexpr size_t kXaSystemUseSize = 14;

// XA attributes: read and execute for owner, group and world (0x0555), and
// the kind of the extent.
constexpr uint16_t kXaDirectory = 0x8D55;   // directory, Form 1
constexpr uint16_t kXaForm1File = 0x0D55;
constexpr uint16_t kXaForm2File = 0x1555;

struct IsoDirectoryEntry {
    std::string name;      // upper case; files with their version, "INFO.VCD;1"
    uint32_t extent = 0;   // first LSN
    uint32_t size = 0;     // bytes; 2048 per sector for Form 2 files as well
    bool directory = false;
    uint16_t xaAttributes = kXaForm1File;
    uint8_t xaFileNumber = 0;
};

constexpr size_t IsoDirectoryRecordSize(size_t nameLength)
{
    const size_t withName = kIsoRecordFixedSize + nameLength + (nameLength % 2 == 0);  // padded to even
    return withName + kXaSystemUseSize;
}
static_assert(IsoDirectoryRecordSize(1) == 48, "\".\" and \"..\"");
static_assert(IsoDirectoryRecordSize(14) == 62, "ITEMnnnn.DAT;1");
static_assert(IsoDirectoryRecordSize(13) == 60, "ENTRIES.VCD;1, AVSEQnn.DAT;1");

// Sectors a directory with these entries takes ("." and ".." included).
uint32_t IsoDirectorySectors(const std::vector<IsoDirectoryEntry>& entries);

// The directory's sectors: "." (self), ".." (parent, the directory itself for
// the root) and the entries in byte order of their names.
std::vector<uint8_t> MakeIsoDirectory(const IsoDirectoryEntry& self, const IsoDirectoryEntry& parent,
                                      std::vector<IsoDirectoryEntry> entries, const IsoDateTime& date);

// The root's 34-byte record in the primary volume descriptor.
void PutIsoRootRecord(uint8_t* p, const IsoDirectoryEntry& root, const IsoDateTime& date);
