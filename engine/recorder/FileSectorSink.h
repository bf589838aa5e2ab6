#pragma once
#include <cstdio>
#include <string>

#include "engine/disc/SectorSink.h"

// Writes an image's sectors to a file through a large buffer.
class FileSectorSink : public SectorSink {
public:
    FileSectorSink() = default;
    ~FileSectorSink() override;
    FileSectorSink(const FileSectorSink&) = delete;
    FileSectorSink& operator=(const FileSectorSink&) = delete;

    bool Open(const std::string& path, std::string& error);
    bool Put(const uint8_t* sectors, size_t count, std::string& error) override;
    // Flushes and closes; false when the data did not all reach the file.
    bool Close(std::string& error);

private:
    std::FILE* m_file = nullptr;
    std::string m_path;
};

// Takes sectors and keeps nothing: a simulated burn.
class NullSectorSink : public SectorSink {
public:
    bool Put(const uint8_t*, size_t, std::string&) override { return true; }
};
