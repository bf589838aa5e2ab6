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

// A text value of HKEY_LOCAL_MACHINE (the engine's registration), or "".
inline std::string MachineValue(const char* keyPath, const char* name)
{
    char buffer[1024] = "";
    DWORD size = sizeof buffer;
    LONG rc = RegGetValueA(HKEY_LOCAL_MACHINE, keyPath, name, RRF_RT_REG_SZ, nullptr, buffer, &size);
    return rc == ERROR_SUCCESS ? buffer : "";
}

inline void SetMachineValue(const char* keyPath, const char* name, const std::string& value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}
