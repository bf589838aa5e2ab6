#pragma once
#include <ctime>

// The local and UTC calendar time of a moment. A burn asks for them on its
// worker thread while the program may be asking on its own: the C library's
// localtime and gmtime share one result between threads on POSIX systems,
// so there the reentrant forms are used. Windows' C runtime keeps that
// result per thread.
inline std::tm LocalCalendarTime(std::time_t when)
{
#ifdef _WIN32
    return *std::localtime(&when);
#else
    std::tm t{};
    localtime_r(&when, &t);
    return t;
#endif
}

inline std::tm UtcCalendarTime(std::time_t when)
{
#ifdef _WIN32
    return *std::gmtime(&when);
#else
    std::tm t{};
    gmtime_r(&when, &t);
    return t;
#endif
}
