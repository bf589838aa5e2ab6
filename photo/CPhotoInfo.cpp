#include "CPhotoInfo.h"

#include <windows.h>

#include <cstdio>

#include "framework/CArchive.h"
#include "lang/CLang.h"

const CRuntimeClass CPhotoInfo::classRecord = {"CPhotoInfo", 1, &CPhotoInfo::CreateObject};

namespace {

std::string LocalDateText(const FILETIME& utc)
{
    SYSTEMTIME st, local;
    if (!FileTimeToSystemTime(&utc, &st) || !SystemTimeToTzSpecificLocalTime(nullptr, &st, &local))
        return std::string();
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", local.wYear, local.wMonth, local.wDay, local.wHour,
                  local.wMinute);
    return text;
}

}  // namespace

CPhotoInfo::CPhotoInfo(std::string path)
{
    WIN32_FIND_DATAA entry;
    // Wildcards would make the lookup match some other file.
    HANDLE find = path.find_first_of("*?") == std::string::npos ? FindFirstFileA(path.c_str(), &entry)
                                                               : INVALID_HANDLE_VALUE;
    if (find == INVALID_HANDLE_VALUE) {
        m_strName = LangText("NoFile");
        return;
    }
    FindClose(find);
    m_strName = entry.cFileName;
    m_strSize = std::to_string(static_cast<int32_t>(entry.nFileSizeLow));
    m_strDate = LocalDateText(entry.ftLastWriteTime);
    m_strPath = std::move(path);
}

void CPhotoInfo::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_strName << m_strSize << m_strDate << m_strPath << m_strReserved;
    else
        ar >> m_strName >> m_strSize >> m_strDate >> m_strPath >> m_strReserved;
}
