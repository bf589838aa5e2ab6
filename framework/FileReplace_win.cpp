#include "FileReplace.h"

#include <windows.h>

#include "CFileException.h"

namespace {

CFileException::Cause CauseOf(DWORD error)
{
    switch (error) {
    case ERROR_ACCESS_DENIED:
        return CFileException::accessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return CFileException::sharingViolation;
    case ERROR_PATH_NOT_FOUND:
        return CFileException::badPath;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return CFileException::diskFull;
    default:
        return CFileException::genericException;
    }
}

}  // namespace

void ReplaceFileWith(const std::string& from, const std::string& to)
{
    if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw CFileException(CauseOf(GetLastError()), to);
}
