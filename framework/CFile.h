#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// A binary file opened by narrow path (system code page on Windows). Errors
// are thrown as CFileException naming the file. The file is unbuffered:
// buffering is the business of the archive that reads or writes through it.
class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeCreate = 0x1000  // with modeWrite: create, or truncate an existing file
    };

    CFile(const std::string& path, unsigned flags);
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Reads up to count bytes; returns how many were read (less only at end of file).
    size_t Read(void* buffer, size_t count);
    void Write(const void* buffer, size_t count);
    uint64_t GetLength() const;
    uint64_t GetPosition() const;
    // Makes sure what was written is on the disk, not only in the system's
    // cache; a failure is thrown.
    void Flush();
    // Flushes and closes; a failure to do so is thrown. Closing twice is harmless.
    void Close();

    const std::string& GetFilePath() const { return m_strPath; }

private:
    [[noreturn]] void ThrowLastError() const;

    std::FILE* m_pFile = nullptr;
    std::string m_strPath;
};
