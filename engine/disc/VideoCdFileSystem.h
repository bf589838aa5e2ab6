#pragma once
#include <cstdint>
#include <vector>

#include "IsoVolume.h"
#include "PathTable.h"
#include "VideoCdDisc.h"
#include "VideoCdLayout.h"

// The ISO 9660 side of a Video CD: the directory tree
//
//   /EXT/LOT_X.VCD, PSD_X.VCD          (Form 1, XA file number 1)
//   /MPEGAV/AVSEQnn.DAT                (each MPEG track, file number nn)
//   /SEGMENT/ITEMnnnn.DAT              (each segment item, file number 1)
//   /VCD/ENTRIES.VCD, INFO.VCD, LOT.VCD, PSD.VCD
//
// its path tables and the primary volume descriptor. SEGMENT exists only
// when there are segment items.

// The directories with their sizes (extents still unplaced): root, then its
// children by name.
std::vector<PlannedDirectory> SizeVideoCdDirectories(const VideoCdDisc& disc);

std::vector<PathTableEntry> VideoCdPathTable(const VideoCdLayout& layout);

// A directory's sectors. packCounts (the packs of each segment item) is
// read only for SEGMENT: its files cover the packs, not the whole segments.
std::vector<uint8_t> MakeVideoCdDirectory(DirectoryId id, const VideoCdDisc& disc, const VideoCdLayout& layout,
                                          const std::vector<uint32_t>& packCounts);

IsoVolumeFields VideoCdVolumeFields(const VideoCdDisc& disc, const VideoCdLayout& layout);

// The date of the volume and of every record (vcdimager's fixed one when
// compatible).
IsoDateTime VideoCdDate(const VideoCdDisc& disc);
