#include "OpenLink.h"

#include <windows.h>
#include <shellapi.h>

int OpenLink(const std::string& target, int showCommand)
{
    HINSTANCE result = ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, showCommand);
    return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}
