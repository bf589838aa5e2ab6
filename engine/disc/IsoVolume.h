#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "IsoDate.h"
#include "IsoDirectory.h"

// The ISO 9660 volume descriptors of a CD-ROM XA volume: the primary volume
// descriptor (LSN 16) and the set terminator (LSN 17), 2048 bytes each.
//
// Primary volume descriptor:
//   0 type 1 | 1 "CD001" | 6 version 1 | 8 system id (32) | 40 volume id (32)
//   80 volume space size (both 32) | 120 volume set size (both 16)
//   124 volume sequence number (both 16) | 128 logical block size (both 16)
//   132 path table size (both 32) | 140 type-L table (LE) | 144 optional L
//   148 type-M table (BE) | 152 optional M | 156 root directory record (34)
//   190 volume set id (128) | 318 publisher (128) | 446 preparer (128)
//   574 application (128) | 702 copyright, abstract, bibliographic file ids (37 each)
//   813 creation | 830 modification | 847 expiration | 864 effective dates (17 each)
//   881 file structure version 1 | 883 application use (512): "CD-XA001" at 1024

constexpr size_t kIsoIdentifierSize = 32;      // system and volume ids
constexpr size_t kIsoLongIdentifierSize = 128;  // publisher, preparer, application

struct IsoVolumeFields {
    std::string systemId, volumeId, publisherId, preparerId, applicationId;
    uint32_t volumeSpaceSize = 0;  // sectors of the volume (track 1)
    uint32_t pathTableSize = 0;
    uint32_t lPathTable = 0, mPathTable = 0;  // LSNs
    IsoDirectoryEntry root;
    IsoDateTime created;  // also the modification date
};

std::vector<uint8_t> MakePrimaryVolumeDescriptor(const IsoVolumeFields& fields);
std::vector<uint8_t> MakeVolumeDescriptorSetTerminator();

// d-characters: A-Z, 0-9 and _. a-characters add the space and !"%&'()*+,-./:;<=>?
bool IsIsoDText(const std::string& text);
bool IsIsoAText(const std::string& text);
