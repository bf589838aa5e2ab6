#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "CObject.h"

class CFile;

// Writes or reads the values of objects to or from a file through a buffer,
// in little-endian byte order. Running out of file while loading, or finding
// a class other than the one expected, throws CArchiveException; file errors
// come through as CFileException.
class CArchive {
public:
    enum Mode { store = 0, load = 1 };

    CArchive(CFile& file, Mode mode, size_t bufferSize = 4096);
    ~CArchive();  // does not flush: call Close() to finish a stored archive
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return m_mode == store; }
    bool IsLoading() const { return m_mode == load; }

    // Flushes what is buffered to the file (storing).
    void Close();

    CArchive& operator<<(uint8_t v);
    CArchive& operator<<(uint16_t v);
    CArchive& operator<<(uint32_t v);
    CArchive& operator<<(int32_t v);
    CArchive& operator<<(const std::string& s);
    CArchive& operator>>(uint8_t& v);
    CArchive& operator>>(uint16_t& v);
    CArchive& operator>>(uint32_t& v);
    CArchive& operator>>(int32_t& v);
    CArchive& operator>>(std::string& s);

    // Element counts of arrays: 16 bits below 0xFFFF, else 0xFFFF and 32 bits.
    void WriteCount(uint32_t count);
    uint32_t ReadCount();

    // An object as its first appearance in the archive: the new-class tag,
    // the class's schema and name, then the object's own fields.
    void WriteObject(CObject& object);
    template <class T>
    std::unique_ptr<T> ReadObject()
    {
        return std::unique_ptr<T>(static_cast<T*>(ReadObject(&T::classRecord).release()));
    }
    std::unique_ptr<CObject> ReadObject(const CRuntimeClass* expected);

    void Write(const void* data, size_t count);
    // Reads exactly count bytes or throws the archive's end-of-file exception.
    void Read(void* data, size_t count);
    // Loading: the bytes of the file not read yet.
    uint64_t BytesLeft() const;

    const std::string& GetFileName() const;

private:
    void FillBuffer();
    [[noreturn]] void Fail(int cause) const;

    CFile& m_file;
    Mode m_mode;
    std::vector<uint8_t> m_buffer;
    size_t m_nPos = 0;  // next byte to read or write in the buffer
    size_t m_nEnd = 0;  // loading: bytes of the buffer that hold file data
};
