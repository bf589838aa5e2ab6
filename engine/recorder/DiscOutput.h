#pragma once
#include <ctime>
#include <string>

#include "engine/disc/SectorSink.h"

class VideoCdImageWriter;

// Where the sectors of a burned disc go. The image recorder's output writes
// them to a BIN/CUE pair; a drive's would record them. Used from the burn's
// worker thread: Open, the sectors through Sink, then Close once all are
// written. An output that is not closed leaves nothing behind.
class DiscOutput {
public:
    virtual ~DiscOutput() = default;

    // The phase the progress shows while the sectors are written.
    virtual std::string WritingPhase() const = 0;
    // Ready to take the sectors of a disc made at `when`; false with the reason.
    virtual bool Open(std::time_t when, std::string& error) = 0;
    virtual SectorSink& Sink() = 0;
    // Every sector is written: completes the disc as the writer laid it out.
    virtual bool Close(const VideoCdImageWriter& writer, std::string& error) = 0;
};
