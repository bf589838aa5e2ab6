#pragma once
#include <windows.h>

#include <string>

// Reads and clears the test program's own settings key
// (HKCU\Software\<company>\<this exe's name>), so tests start clean and
// never touch the real program's settings.
inline std::string RegistryValue(const std::string& keyPath, const char* name, bool* present = nullptr)
{
    char buffer[1024] = "";
    DWORD size = sizeof buffer;
    LONG rc = RegGetValueA(HKEY_CURRENT_USER, keyPath.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size);
    if (present)
        *present = rc == ERROR_SUCCESS;
    return rc == ERROR_SUCCESS ? buffer : "";
}

inline void DeleteRegistryTree(const std::string& keyPath)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, keyPath.c_str());
}
