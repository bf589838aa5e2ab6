#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Sector.h"
#include "SectorSink.h"

// Codes sectors one after another and hands them to a sink in batches,
// asking the progress hook after each batch whether to go on. Zero sectors
// (gaps, margins, segment filler: most of a slideshow disc) differ only in
// their address, which neither the EDC nor the parity covers, so each kind
// is coded once and copied.
class SectorEmitter {
public:
    using Progress = std::function<bool(uint32_t written, uint32_t total)>;

    SectorEmitter(SectorSink& sink, const Progress& progress, uint32_t totalSectors);

    bool Form1(const uint8_t* data, Subheader subheader);
    bool Form2(const uint8_t* data, Subheader subheader);
    bool ZeroForm1(Subheader subheader, uint32_t count);
    bool ZeroForm2(Subheader subheader, uint32_t count);
    // Hands over what is left; call at the end.
    bool Finish();
    // Asks the progress hook now (before a slow step).
    bool KeepGoing();

    uint32_t Lsn() const { return m_lsn; }
    bool Cancelled() const { return m_cancelled; }
    const std::string& Error() const { return m_error; }

private:
    uint8_t* NextSlot();
    bool Flush();
    bool Zero(bool form2, Subheader subheader, uint32_t count);
    const uint8_t* ZeroTemplate(bool form2, Subheader subheader);

    struct ZeroSector {
        uint32_t key;
        std::vector<uint8_t> bytes;
    };

    SectorSink& m_sink;
    Progress m_progress;
    uint32_t m_total;
    uint32_t m_lsn = 0;
    std::vector<uint8_t> m_batch;
    size_t m_batched = 0;
    std::vector<ZeroSector> m_zeroSectors;
    bool m_cancelled = false;
    std::string m_error;
};
