#pragma once
#include <string>

#include "DiscOutput.h"
#include "FileSectorSink.h"
#include "ImageFiles.h"

// A disc written as a BIN/CUE image in a folder (see ImageFiles): the BIN
// takes the sectors, the CUE sheet names its tracks, and both get their
// real names only when complete.
class ImageOutput : public DiscOutput {
public:
    explicit ImageOutput(std::string folder) : m_folder(std::move(folder)) {}

    std::string WritingPhase() const override { return "Writing the image"; }
    bool Open(const VideoCdImageWriter& writer, std::time_t when, BurnWork& work, std::string& error) override;
    SectorSink& Sink() override { return m_sink; }
    bool Close(const VideoCdImageWriter& writer, BurnWork& work, std::string& error) override;
    // The files that were begun go when the output does.
    void Abandon(BurnWork&) override {}

    // The image once closed.
    const std::string& BinPath() const { return m_files.BinPath(); }
    const std::string& CuePath() const { return m_files.CuePath(); }

private:
    std::string m_folder;
    ImageFiles m_files;
    FileSectorSink m_sink;
};
