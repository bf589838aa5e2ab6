#pragma once
#include <ctime>
#include <string>

#include "engine/disc/SectorSink.h"

class BurnWork;
class VideoCdImageWriter;

// Where the sectors of a burned disc go. The image recorder's output writes
// them to a BIN/CUE pair; a drive's records them. Used from the burn's
// worker thread: Open with the planned disc, the sectors through Sink, then
// Close once all are written, or Abandon when the burn stops before. The
// work is there for phases, progress and the user's stop while an output
// prepares or finishes.
class DiscOutput {
public:
    virtual ~DiscOutput() = default;

    // The phase the progress shows while the sectors are written.
    virtual std::string WritingPhase() const = 0;
    // Ready to take the sectors of the planned disc, made at `when`; false
    // with the reason.
    virtual bool Open(const VideoCdImageWriter& writer, std::time_t when, BurnWork& work, std::string& error) = 0;
    virtual SectorSink& Sink() = 0;
    // Every sector is written: completes the disc as the writer laid it out.
    virtual bool Close(const VideoCdImageWriter& writer, BurnWork& work, std::string& error) = 0;
    // The burn stopped after Open: whatever was begun is ended cleanly.
    virtual void Abandon(BurnWork& work) = 0;
};
