#include "CFile.h"

#include <cerrno>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "CFileException.h"

namespace {

int64_t Tell(std::FILE* f)
{
#ifdef _WIN32
    return _ftelli64(f);
#else
    return ftello(f);
#endif
}

int Seek(std::FILE* f, int64_t offset, int origin)
{
#ifdef _WIN32
    return _fseeki64(f, offset, origin);
#else
    return fseeko(f, offset, origin);
#endif
}

}  // namespace

CFile::CFile(const std::string& path, unsigned flags) : m_strPath(path)
{
    if (path.empty())
        throw CFileException(CFileException::badPath, path);
    const char* mode = (flags & modeWrite) ? ((flags & modeCreate) ? "wb" : "r+b") : "rb";
    errno = 0;
    m_pFile = std::fopen(path.c_str(), mode);
    if (!m_pFile)
        ThrowLastError();
    std::setvbuf(m_pFile, nullptr, _IONBF, 0);
}

CFile::~CFile()
{
    if (m_pFile)
        std::fclose(m_pFile);
}

size_t CFile::Read(void* buffer, size_t count)
{
    if (!m_pFile)
        throw CFileException(CFileException::invalidFile, m_strPath);
    errno = 0;
    size_t got = std::fread(buffer, 1, count, m_pFile);
    if (got < count && std::ferror(m_pFile))
        ThrowLastError();
    return got;
}

void CFile::Write(const void* buffer, size_t count)
{
    if (!m_pFile)
        throw CFileException(CFileException::invalidFile, m_strPath);
    errno = 0;
    if (std::fwrite(buffer, 1, count, m_pFile) != count)
        ThrowLastError();
}

uint64_t CFile::GetPosition() const
{
    int64_t pos = m_pFile ? Tell(m_pFile) : -1;
    if (pos < 0)
        throw CFileException(CFileException::badSeek, m_strPath);
    return static_cast<uint64_t>(pos);
}

uint64_t CFile::GetLength() const
{
    int64_t here = static_cast<int64_t>(GetPosition());
    if (Seek(m_pFile, 0, SEEK_END) != 0)
        throw CFileException(CFileException::badSeek, m_strPath);
    int64_t end = Tell(m_pFile);
    if (end < 0 || Seek(m_pFile, here, SEEK_SET) != 0)
        throw CFileException(CFileException::badSeek, m_strPath);
    return static_cast<uint64_t>(end);
}

void CFile::Flush()
{
    if (!m_pFile)
        throw CFileException(CFileException::invalidFile, m_strPath);
    errno = 0;
#ifdef _WIN32
    int synced = _commit(_fileno(m_pFile));
#else
    int synced = fsync(fileno(m_pFile));
#endif
    if (std::fflush(m_pFile) != 0 || synced != 0)
        ThrowLastError();
}

void CFile::Close()
{
    if (!m_pFile)
        return;
    std::FILE* f = m_pFile;
    m_pFile = nullptr;
    errno = 0;
    if (std::fclose(f) != 0)
        ThrowLastError();
}

void CFile::ThrowLastError() const
{
    CFileException::Cause cause = CFileException::CauseFromErrno(errno);
    throw CFileException(cause == CFileException::none ? CFileException::genericException : cause, m_strPath);
}
