#include "EndProcessByName.h"

#include <tlhelp32.h>

#include <cctype>
#include <cstring>
#include <string>

namespace {

const size_t kMaxName = 260;
const DWORD kMaxProcesses = 1000;

std::string UpperCase(const char* text)
{
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// A library loaded for the length of one call.
class Library {
public:
    explicit Library(const char* name) : m_hModule(LoadLibraryA(name)) {}
    ~Library()
    {
        if (m_hModule)
            FreeLibrary(m_hModule);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    bool Loaded() const { return m_hModule != nullptr; }
    template <class F>
    F Bind(const char* entry) const
    {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m_hModule, entry)));
    }

private:
    HMODULE m_hModule;
};

int Terminate(DWORD id)
{
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id);
    if (!process)
        return kProcessNotOpened;
    BOOL ended = TerminateProcess(process, 0);
    CloseHandle(process);
    return ended ? kProcessEnded : kProcessNotTerminated;
}

// The NT family: process ids, and each one's first module (its executable).
int EndByProcessStatus(const std::string& target)
{
    using EnumProcessesFn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
    using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
    using GetModuleBaseNameFn = DWORD(WINAPI*)(HANDLE, HMODULE, char*, DWORD);
    Library psapi("PSAPI.DLL");
    if (!psapi.Loaded())
        return kPsapiMissing;
    auto enumProcesses = psapi.Bind<EnumProcessesFn>("EnumProcesses");
    auto enumModules = psapi.Bind<EnumProcessModulesFn>("EnumProcessModules");
    auto baseName = psapi.Bind<GetModuleBaseNameFn>("GetModuleBaseNameA");
    if (!enumProcesses || !enumModules || !baseName)
        return kPsapiEntryMissing;
    DWORD ids[kMaxProcesses], bytes = 0;
    if (!enumProcesses(ids, sizeof ids, &bytes))
        return kProcessListFailed;
    for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i) {
        char name[kMaxName + 1] = "Unknown";
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]);
        if (process) {
            // One module handle: its size is the pointer's (8 bytes here).
            HMODULE module;
            DWORD needed;
            if (enumModules(process, &module, sizeof module, &needed))
                baseName(process, module, name, kMaxName);
            CloseHandle(process);
        }
        if (UpperCase(name) == target) {
            EnableProcessPrivilege(SE_DEBUG_NAME);
            return Terminate(ids[i]);
        }
    }
    return kProcessNotFound;
}

// The 9x family: a snapshot of the processes and of each one's modules.
int EndBySnapshot(const std::string& target)
{
    using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
    using ProcessWalkFn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
    using ModuleWalkFn = BOOL(WINAPI*)(HANDLE, MODULEENTRY32*);
    Library kernel("Kernel32.DLL");
    if (!kernel.Loaded())
        return kKernel32Missing;
    auto snapshot = kernel.Bind<CreateSnapshotFn>("CreateToolhelp32Snapshot");
    auto processFirst = kernel.Bind<ProcessWalkFn>("Process32First");
    auto processNext = kernel.Bind<ProcessWalkFn>("Process32Next");
    auto moduleFirst = kernel.Bind<ModuleWalkFn>("Module32First");
    auto moduleNext = kernel.Bind<ModuleWalkFn>("Module32Next");
    if (!snapshot || !processFirst || !processNext || !moduleFirst || !moduleNext)
        return kSnapshotEntryMissing;
    HANDLE processes = snapshot(TH32CS_SNAPPROCESS, 0);
    if (processes == INVALID_HANDLE_VALUE)
        return kSnapshotFailed;
    int result = kProcessNotFound;
    PROCESSENTRY32 process = {};
    process.dwSize = sizeof process;
    BOOL moreProcesses = processFirst(processes, &process);
    while (moreProcesses && result == kProcessNotFound) {
        HANDLE modules = snapshot(TH32CS_SNAPMODULE, process.th32ProcessID);
        if (modules == INVALID_HANDLE_VALUE) {
            result = kSnapshotFailed;
            break;
        }
        MODULEENTRY32 module = {};
        module.dwSize = sizeof module;
        BOOL moreModules = moduleFirst(modules, &module);
        while (moreModules) {
            if (target == module.szModule) {  // not upper-cased: only a name in capitals matches
                result = Terminate(process.th32ProcessID);
                break;
            }
            module.dwSize = sizeof module;
            moreModules = moduleNext(modules, &module);
        }
        CloseHandle(modules);
        process.dwSize = sizeof process;
        moreProcesses = processNext(processes, &process);
    }
    CloseHandle(processes);
    return result;
}

}  // namespace

int EndProcessByName(const char* name)
{
    size_t length = name ? std::strlen(name) : 0;
    if (length < 1 || length > kMaxName)
        return kProcessNameInvalid;
    const std::string target = UpperCase(name);
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&version))
        return kVersionUnknown;
#pragma GCC diagnostic pop
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT)
        return EndByProcessStatus(target);
    if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
        return EndBySnapshot(target);
    return kPlatformUnknown;
}

int EnableProcessPrivilege(const char* privilege)
{
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return 1;
    BOOL enabled = SetTokenPrivilege(token, privilege, TRUE);
    CloseHandle(token);
    return enabled ? 0 : 2;
}

BOOL SetTokenPrivilege(HANDLE token, const char* privilege, BOOL enable)
{
    LUID id;
    if (!LookupPrivilegeValueA(nullptr, privilege, &id))
        return FALSE;
    TOKEN_PRIVILEGES asked = {}, previous = {};
    asked.PrivilegeCount = 1;
    asked.Privileges[0].Luid = id;
    asked.Privileges[0].Attributes = 0;
    DWORD previousSize = sizeof previous;
    AdjustTokenPrivileges(token, FALSE, &asked, sizeof asked, &previous, &previousSize);
    if (GetLastError() != ERROR_SUCCESS)
        return FALSE;
    previous.PrivilegeCount = 1;
    previous.Privileges[0].Luid = id;
    if (enable)
        previous.Privileges[0].Attributes |= SE_PRIVILEGE_ENABLED;
    else
        previous.Privileges[0].Attributes &= ~static_cast<DWORD>(SE_PRIVILEGE_ENABLED);
    AdjustTokenPrivileges(token, FALSE, &previous, sizeof previous, nullptr, nullptr);
    return GetLastError() == ERROR_SUCCESS;
}
