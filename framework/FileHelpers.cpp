#include "FileHelpers.h"

#include <cstdio>

#include "CFile.h"
#include "CFileException.h"

bool FileExists(const std::string& path)
{
    if (path.empty())
        return false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    std::fclose(f);
    return true;
}

uint64_t FileSizeKB(const std::string& path)
{
    try {
        CFile file(path, CFile::modeRead);
        return file.GetLength() >> 10;
    } catch (const CFileException&) {
        return 0;
    }
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}
