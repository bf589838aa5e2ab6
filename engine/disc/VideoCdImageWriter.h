#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "CueSheet.h"
#include "SectorSink.h"
#include "VideoCdDisc.h"
#include "VideoCdLayout.h"

struct VideoCdResult {
    bool ok = false;
    bool cancelled = false;  // the progress hook asked to stop
    std::string error;
};

// Writes a Video CD 2.0 image: Plan() checks the description against the
// format's limits and places every structure without writing anything;
// Write() then codes the image sector after sector into a sink, making each
// segment item only when it gets there, and checks after every region that
// it ended where the plan said.
class VideoCdImageWriter {
public:
    // Called at least every 128 sectors and before each segment item is
    // made, with the sectors handed over so far; false stops the write.
    using Progress = std::function<bool(uint32_t written, uint32_t total)>;

    // The disc must outlive the writer.
    explicit VideoCdImageWriter(const VideoCdDisc& disc);

    VideoCdResult Plan();
    uint32_t TotalSectors() const { return m_layout.totalSectors; }
    const VideoCdLayout& Layout() const { return m_layout; }

    // The CUE sheet of the image, once planned; binFileName as the FILE line shows it.
    std::string CueSheet(const std::string& binFileName) const;
    // Its tracks and index points, once planned.
    std::vector<CueTrack> CueTracks() const;

    VideoCdResult Write(SectorSink& sink, const Progress& progress = {});

private:
    const VideoCdDisc& m_disc;
    VideoCdLayout m_layout;
    std::vector<uint32_t> m_plannedPackCounts;  // vcdimager layout: learnt while planning
};
