#include "FileSize.h"

#include <sys/stat.h>

long long FileSize(std::FILE* f)
{
#ifdef _WIN32
    struct _stat64 st;
    return _fstat64(_fileno(f), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
#else
    struct stat st;
    return fstat(fileno(f), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
#endif
}
