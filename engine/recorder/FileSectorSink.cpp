#include "FileSectorSink.h"

#include "engine/disc/Sector.h"

namespace {

const size_t kBufferBytes = 1 << 20;

}  // namespace

FileSectorSink::~FileSectorSink()
{
    if (m_file)
        std::fclose(m_file);
}

bool FileSectorSink::Open(const std::string& path, std::string& error)
{
    m_path = path;
    m_file = std::fopen(path.c_str(), "wb");
    if (!m_file) {
        error = path + ": the image file cannot be created";
        return false;
    }
    std::setvbuf(m_file, nullptr, _IOFBF, kBufferBytes);
    return true;
}

bool FileSectorSink::Put(const uint8_t* sectors, size_t count, std::string& error)
{
    if (m_file && std::fwrite(sectors, kRawSectorSize, count, m_file) == count)
        return true;
    error = m_path + ": the image cannot be written (is the disk full?)";
    return false;
}

bool FileSectorSink::Close(std::string& error)
{
    if (!m_file)
        return true;
    bool ok = std::fclose(m_file) == 0;
    m_file = nullptr;
    if (!ok)
        error = m_path + ": the image cannot be written (is the disk full?)";
    return ok;
}
