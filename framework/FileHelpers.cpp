#include "FileHelpers.h"

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
