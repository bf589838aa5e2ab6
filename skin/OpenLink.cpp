#include "OpenLink.h"

#include <windows.h>
#include <shellapi.h>

#include "LinkRules.h"
#include "framework/CPrompter.h"

namespace {

const DWORD kValueChars = 260;  // terminator included

// The default value of a key under HKEY_CLASSES_ROOT; false when the key
// cannot be opened or its value read.
bool ClassesRootDefault(const std::string& key, std::string& value)
{
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return false;
    char buffer[kValueChars] = "";
    DWORD size = sizeof buffer - 1, type = 0;
    LONG rc = RegQueryValueExA(handle, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(handle);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    buffer[size < kValueChars ? size : kValueChars - 1] = '\0';
    value = buffer;
    return true;
}

}  // namespace

int OpenLink(const std::string& target, int showCommand)
{
    HINSTANCE opened = ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, showCommand);
    int result = static_cast<int>(reinterpret_cast<INT_PTR>(opened));
    if (result > 32)
        return result;
    std::string fileType, command, line;
    if (!ClassesRootDefault(".htm", fileType) || !ClassesRootDefault(fileType + "\\shell\\open\\command", command) ||
        !BuildBrowserCommand(command, target, line))
        return result;
    return static_cast<int>(WinExec(line.c_str(), static_cast<UINT>(showCommand)));
}

void ReportOpenError(int code)
{
    AfxMessageBox(OpenErrorMessage(code), MB_OK | MB_ICONEXCLAMATION);
}
