#include "IsoVolume.h"

#include <cstring>

#include "ByteFields.h"

namespace {

constexpr uint8_t kTypePrimary = 1;
constexpr uint8_t kTypeTerminator = 255;
constexpr char kStandardId[] = "CD001";
constexpr uint8_t kDescriptorVersion = 1;
constexpr uint8_t kFileStructureVersion = 1;
constexpr uint16_t kVolumeSetSize = 1;
constexpr uint16_t kVolumeSequenceNumber = 1;
constexpr char kXaMarker[] = "CD-XA001";

constexpr size_t kTypeOffset = 0;
constexpr size_t kStandardIdOffset = 1;
constexpr size_t kVersionOffset = 6;
constexpr size_t kSystemIdOffset = 8;
constexpr size_t kVolumeIdOffset = 40;
constexpr size_t kVolumeSpaceSizeOffset = 80;
constexpr size_t kVolumeSetSizeOffset = 120;
constexpr size_t kVolumeSequenceOffset = 124;
constexpr size_t kBlockSizeOffset = 128;
constexpr size_t kPathTableSizeOffset = 132;
constexpr size_t kLPathTableOffset = 140;
constexpr size_t kMPathTableOffset = 148;
constexpr size_t kRootRecordOffset = 156;
constexpr size_t kVolumeSetIdOffset = 190;
constexpr size_t kPublisherOffset = 318;
constexpr size_t kPreparerOffset = 446;
constexpr size_t kApplicationOffset = 574;
constexpr size_t kCopyrightFileOffset = 702;
constexpr size_t kFileIdSize = 37;
constexpr size_t kCreationDateOffset = 813;
constexpr size_t kModificationDateOffset = 830;
constexpr size_t kExpirationDateOffset = 847;
constexpr size_t kEffectiveDateOffset = 864;
constexpr size_t kFileStructureVersionOffset = 881;
constexpr size_t kXaMarkerOffset = 1024;
static_assert(kRootRecordOffset + kIsoRootRecordSize == kVolumeSetIdOffset, "the root record is 34 bytes");
static_assert(kCopyrightFileOffset + 3 * kFileIdSize == kCreationDateOffset, "three file ids");
static_assert(kEffectiveDateOffset + kIsoVolumeDateSize == kFileStructureVersionOffset, "dates end at 881");

void PutHeader(uint8_t* p, uint8_t type)
{
    p[kTypeOffset] = type;
    std::memcpy(p + kStandardIdOffset, kStandardId, sizeof kStandardId - 1);
    p[kVersionOffset] = kDescriptorVersion;
}

bool IsDChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

std::vector<uint8_t> MakePrimaryVolumeDescriptor(const IsoVolumeFields& f)
{
    std::vector<uint8_t> d(kIsoBlockSize);
    uint8_t* p = d.data();
    PutHeader(p, kTypePrimary);
    PutPadded(p + kSystemIdOffset, kIsoIdentifierSize, f.systemId);
    PutPadded(p + kVolumeIdOffset, kIsoIdentifierSize, f.volumeId);
    PutBoth32(p + kVolumeSpaceSizeOffset, f.volumeSpaceSize);
    PutBoth16(p + kVolumeSetSizeOffset, kVolumeSetSize);
    PutBoth16(p + kVolumeSequenceOffset, kVolumeSequenceNumber);
    PutBoth16(p + kBlockSizeOffset, static_cast<uint16_t>(kIsoBlockSize));
    PutBoth32(p + kPathTableSizeOffset, f.pathTableSize);
    PutLe32(p + kLPathTableOffset, f.lPathTable);
    PutBe32(p + kMPathTableOffset, f.mPathTable);
    PutIsoRootRecord(p + kRootRecordOffset, f.root, f.created);
    PutPadded(p + kVolumeSetIdOffset, kIsoLongIdentifierSize, "");
    PutPadded(p + kPublisherOffset, kIsoLongIdentifierSize, f.publisherId);
    PutPadded(p + kPreparerOffset, kIsoLongIdentifierSize, f.preparerId);
    PutPadded(p + kApplicationOffset, kIsoLongIdentifierSize, f.applicationId);
    PutPadded(p + kCopyrightFileOffset, 3 * kFileIdSize, "");
    PutIsoVolumeDate(p + kCreationDateOffset, f.created);
    PutIsoVolumeDate(p + kModificationDateOffset, f.created);
    PutIsoBlankVolumeDate(p + kExpirationDateOffset);
    PutIsoBlankVolumeDate(p + kEffectiveDateOffset);
    p[kFileStructureVersionOffset] = kFileStructureVersion;
    std::memcpy(p + kXaMarkerOffset, kXaMarker, sizeof kXaMarker - 1);
    return d;
}

std::vector<uint8_t> MakeVolumeDescriptorSetTerminator()
{
    std::vector<uint8_t> d(kIsoBlockSize);
    PutHeader(d.data(), kTypeTerminator);
    return d;
}

bool IsIsoDText(const std::string& text)
{
    for (char c : text)
        if (!IsDChar(c))
            return false;
    return true;
}

bool IsIsoAText(const std::string& text)
{
    for (char c : text)
        if (!IsDChar(c) && (c == '\0' || !std::strchr(" !\"%&'()*+,-./:;<=>?", c)))
            return false;
    return true;
}
