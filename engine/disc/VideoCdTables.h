#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "CueSheet.h"
#include "VideoCdDisc.h"
#include "VideoCdLayout.h"

// The Video CD's own files and the CUE sheet, from the description and its
// layout.
std::vector<uint8_t> MakeVideoCdInfo(const VideoCdDisc& disc, const VideoCdLayout& layout);
std::vector<uint8_t> MakeVideoCdEntries(const VideoCdDisc& disc, const VideoCdLayout& layout);
// LOT.VCD and PSD.VCD, or LOT_X.VCD and PSD_X.VCD.
std::vector<uint8_t> MakeVideoCdLot(const VideoCdDisc& disc, const VideoCdLayout& layout, PsdFile file);
std::vector<uint8_t> MakeVideoCdPsd(const VideoCdDisc& disc, const VideoCdLayout& layout, PsdFile file);
// The tracks and index points: track 1 the ISO 9660 area, then each MPEG
// track with its stored pregap and entry points.
std::vector<CueTrack> VideoCdCueTracks(const VideoCdDisc& disc, const VideoCdLayout& layout);
std::string MakeVideoCdCue(const VideoCdDisc& disc, const VideoCdLayout& layout, const std::string& binFileName);
