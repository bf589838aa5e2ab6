#include "CProjectInfo.h"

#include <algorithm>

#include "framework/CArchive.h"
#include "framework/CArchiveException.h"
#include "framework/FileHelpers.h"

namespace {

// Far more photos than a disc holds (1,900), and few enough that even a file
// of empty paths cannot make the list take much memory.
const uint32_t kMaxProjectPhotos = 100000;

// A count of paths or delays is refused before anything is read for it when
// it is above kMaxProjectPhotos or the rest of the file is too short to hold
// that many.
void CheckCount(CArchive& ar, uint32_t count, uint32_t bytesEach)
{
    if (count > kMaxProjectPhotos)
        throw CArchiveException(CArchiveException::genericException, ar.GetFileName());
    if (uint64_t(count) * bytesEach > ar.BytesLeft())
        throw CArchiveException(CArchiveException::endOfFile, ar.GetFileName());
}

}  // namespace

const CRuntimeClass CProjectInfo::classRecord = {"CProjectInfo", 1, &CProjectInfo::CreateObject};

void CProjectInfo::Reset()
{
    m_strTitle.clear();
    m_strPath.clear();
    m_nPhotoCount = 0;
    m_nTotalKB = 0;
    m_bModified = 0;
    m_arrPaths.clear();
    m_arrDelays.clear();
}

CProjectInfo& CProjectInfo::operator=(const CProjectInfo& other)
{
    if (this == &other)
        return *this;
    m_strTitle = other.m_strTitle;
    m_strPath = other.m_strPath;
    m_nPhotoCount = other.m_nPhotoCount;
    m_nTotalKB = other.m_nTotalKB;
    size_t n = std::min(other.m_arrPaths.size(), other.m_arrDelays.size());
    if (m_arrPaths.size() < n)
        m_arrPaths.resize(n);
    if (m_arrDelays.size() < n)
        m_arrDelays.resize(n);
    for (size_t i = 0; i < n; ++i) {
        m_arrPaths[i] = other.m_arrPaths[i];
        m_arrDelays[i] = other.m_arrDelays[i];
    }
    return *this;
}

void CProjectInfo::PrepareForSave()
{
    m_nPhotoCount = static_cast<int32_t>(m_arrPaths.size());
    uint32_t total = 0;
    for (const std::string& path : m_arrPaths)
        total += static_cast<uint32_t>(FileSizeKB(path));
    m_nTotalKB = static_cast<int32_t>(total);
    m_bModified = 0;
}

size_t CProjectInfo::GetRebuildCount() const
{
    if (m_nPhotoCount <= 0)
        return 0;
    return std::min({static_cast<size_t>(m_nPhotoCount), m_arrPaths.size(), m_arrDelays.size()});
}

void CProjectInfo::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_strTitle << m_strPath << m_nPhotoCount << m_nTotalKB;
        ar.WriteCount(static_cast<uint32_t>(m_arrPaths.size()));
        for (const std::string& path : m_arrPaths)
            ar << path;
        ar.WriteCount(static_cast<uint32_t>(m_arrDelays.size()));
        for (uint32_t delay : m_arrDelays)
            ar << delay;
        return;
    }
    ar >> m_strTitle >> m_strPath >> m_nPhotoCount >> m_nTotalKB;
    uint32_t count = ar.ReadCount();
    CheckCount(ar, count, 1);  // a path takes at least its length byte
    m_arrPaths.clear();
    for (uint32_t i = 0; i < count; ++i) {
        std::string path;
        ar >> path;
        m_arrPaths.push_back(std::move(path));
    }
    count = ar.ReadCount();
    CheckCount(ar, count, 4);
    m_arrDelays.clear();
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t delay;
        ar >> delay;
        m_arrDelays.push_back(delay);
    }
}
