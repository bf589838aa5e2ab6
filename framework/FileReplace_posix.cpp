#include "FileReplace.h"

#include <cerrno>
#include <cstdio>

#include "CFileException.h"

void ReplaceFileWith(const std::string& from, const std::string& to)
{
    errno = 0;
    if (std::rename(from.c_str(), to.c_str()) != 0)
        throw CFileException(CFileException::CauseFromErrno(errno), to);
}
