#include "CArchive.h"

#include <cstring>

#include "CArchiveException.h"
#include "CFile.h"
#include "engine/base/ByteOrder.h"

namespace {

const uint16_t kNewClassTag = 0xFFFF;
const size_t kMaxClassNameLength = 64;

}  // namespace

CArchive::CArchive(CFile& file, Mode mode, size_t bufferSize)
    : m_file(file), m_mode(mode), m_buffer(bufferSize ? bufferSize : 1)
{
}

CArchive::~CArchive() = default;

const std::string& CArchive::GetFileName() const
{
    return m_file.GetFilePath();
}

void CArchive::Fail(int cause) const
{
    throw CArchiveException(static_cast<CArchiveException::Cause>(cause), GetFileName());
}

void CArchive::Close()
{
    if (IsStoring() && m_nPos > 0) {
        m_file.Write(m_buffer.data(), m_nPos);
        m_nPos = 0;
    }
}

void CArchive::Write(const void* data, size_t count)
{
    if (!IsStoring())
        Fail(CArchiveException::readOnly);
    const uint8_t* p = static_cast<const uint8_t*>(data);
    while (count > 0) {
        if (m_nPos == m_buffer.size())
            Close();
        size_t n = std::min(count, m_buffer.size() - m_nPos);
        std::memcpy(&m_buffer[m_nPos], p, n);
        m_nPos += n;
        p += n;
        count -= n;
    }
}

void CArchive::FillBuffer()
{
    m_nPos = 0;
    m_nEnd = m_file.Read(m_buffer.data(), m_buffer.size());
}

uint64_t CArchive::BytesLeft() const
{
    uint64_t length = m_file.GetLength(), position = m_file.GetPosition();
    return (m_nEnd - m_nPos) + (length > position ? length - position : 0);
}

void CArchive::Read(void* data, size_t count)
{
    if (!IsLoading())
        Fail(CArchiveException::writeOnly);
    uint8_t* p = static_cast<uint8_t*>(data);
    while (count > 0) {
        if (m_nPos == m_nEnd) {
            FillBuffer();
            if (m_nEnd == 0)
                Fail(CArchiveException::endOfFile);
        }
        size_t n = std::min(count, m_nEnd - m_nPos);
        std::memcpy(p, &m_buffer[m_nPos], n);
        m_nPos += n;
        p += n;
        count -= n;
    }
}

CArchive& CArchive::operator<<(uint8_t v)
{
    Write(&v, 1);
    return *this;
}

CArchive& CArchive::operator<<(uint16_t v)
{
    uint8_t b[2];
    PutLe16(b, v);
    Write(b, 2);
    return *this;
}

CArchive& CArchive::operator<<(uint32_t v)
{
    uint8_t b[4];
    PutLe32(b, v);
    Write(b, 4);
    return *this;
}

CArchive& CArchive::operator<<(int32_t v)
{
    return *this << static_cast<uint32_t>(v);
}

CArchive& CArchive::operator>>(uint8_t& v)
{
    Read(&v, 1);
    return *this;
}

CArchive& CArchive::operator>>(uint16_t& v)
{
    uint8_t b[2];
    Read(b, 2);
    v = GetLe16(b);
    return *this;
}

CArchive& CArchive::operator>>(uint32_t& v)
{
    uint8_t b[4];
    Read(b, 4);
    v = GetLe32(b);
    return *this;
}

CArchive& CArchive::operator>>(int32_t& v)
{
    uint32_t u;
    *this >> u;
    v = static_cast<int32_t>(u);
    return *this;
}

// Strings: a byte length below 255; else 0xFF and a 16-bit length below
// 0xFFFE; else 0xFF, 0xFFFF and a 32-bit length. No terminator.
CArchive& CArchive::operator<<(const std::string& s)
{
    size_t len = s.size();
    if (len > 0xFFFFFFFEu)
        Fail(CArchiveException::genericException);
    if (len < 0xFF) {
        *this << uint8_t(len);
    } else if (len < 0xFFFE) {
        *this << uint8_t(0xFF) << uint16_t(len);
    } else {
        *this << uint8_t(0xFF) << uint16_t(0xFFFF) << uint32_t(len);
    }
    Write(s.data(), len);
    return *this;
}

CArchive& CArchive::operator>>(std::string& s)
{
    uint8_t b;
    *this >> b;
    uint32_t len = b;
    if (b == 0xFF) {
        uint16_t w;
        *this >> w;
        len = w;
        if (w == 0xFFFE)  // marks wide text, which this program never writes
            Fail(CArchiveException::badSchema);
        if (w == 0xFFFF) {
            *this >> len;
            if (len == 0xFFFFFFFFu)  // a 64-bit length follows: far beyond any real text
                Fail(CArchiveException::badSchema);
        }
    }
    // Read in pieces so that a damaged length cannot make us allocate more
    // than the file really holds.
    std::string result;
    char piece[4096];
    while (len > 0) {
        size_t n = std::min<size_t>(len, sizeof piece);
        Read(piece, n);
        result.append(piece, n);
        len -= static_cast<uint32_t>(n);
    }
    s.swap(result);
    return *this;
}

void CArchive::WriteCount(uint32_t count)
{
    if (count < 0xFFFF) {
        *this << uint16_t(count);
    } else {
        *this << uint16_t(0xFFFF) << count;
    }
}

uint32_t CArchive::ReadCount()
{
    uint16_t w;
    *this >> w;
    if (w != 0xFFFF)
        return w;
    uint32_t count;
    *this >> count;
    return count;
}

void CArchive::WriteObject(CObject& object)
{
    const CRuntimeClass* rc = object.GetRuntimeClass();
    size_t nameLength = std::strlen(rc->m_lpszClassName);
    *this << kNewClassTag << rc->m_wSchema << uint16_t(nameLength);
    Write(rc->m_lpszClassName, nameLength);
    object.Serialize(*this);
}

std::unique_ptr<CObject> CArchive::ReadObject(const CRuntimeClass* expected)
{
    uint16_t tag, schema, nameLength;
    *this >> tag;
    if (tag != kNewClassTag)
        Fail(CArchiveException::badClass);
    *this >> schema >> nameLength;
    if (nameLength == 0 || nameLength > kMaxClassNameLength)
        Fail(CArchiveException::badClass);
    char name[kMaxClassNameLength];
    Read(name, nameLength);
    if (std::strlen(expected->m_lpszClassName) != nameLength ||
        std::memcmp(name, expected->m_lpszClassName, nameLength) != 0)
        Fail(CArchiveException::badClass);
    if (schema != expected->m_wSchema)
        Fail(CArchiveException::badSchema);
    std::unique_ptr<CObject> object(expected->m_pfnCreateObject());
    object->Serialize(*this);
    return object;
}
