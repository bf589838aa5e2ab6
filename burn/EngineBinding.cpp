#include "EngineBinding.h"

#include <windows.h>

#include <vector>

unsigned int g_nEngineVersion = 0;

namespace {

HMODULE g_hEngine = nullptr;

const char kSharedKey[] = "SOFTWARE\\ahead\\Shared";
const char kSharedValue[] = "NeroAPI";
const char kAppPathKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Nero.exe";
const char kAppPathValue[] = "Path";
const size_t kValueBytes = 255;
const size_t kMaxFolderChars = 242;  // a longer folder leaves no room for the file name

// A folder from a text value of HKEY_LOCAL_MACHINE, without a trailing
// separator; empty when the value is missing, not text or too long. A
// trailing separator is removed in the registry too.
std::string ReadFolder(const char* key, const char* value)
{
    HKEY handle;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &handle) != ERROR_SUCCESS &&
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return std::string();
    char buffer[kValueBytes + 1] = "";
    DWORD size = kValueBytes, type = 0;
    LONG rc = RegQueryValueExA(handle, value, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    std::string folder;
    if (rc == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        buffer[size < kValueBytes ? size : kValueBytes] = '\0';  // the stored text may lack its terminator
        folder = buffer;
    }
    if (folder.size() > kMaxFolderChars) {
        folder.clear();
    } else if (!folder.empty() && folder.back() == '\\') {
        folder.pop_back();
        RegSetValueExA(handle, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>(folder.size() + 1));
    }
    RegCloseKey(handle);
    return folder;
}

void WriteSharedFolder(const std::string& folder)
{
    HKEY handle;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(handle, kSharedValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>(folder.size() + 1));
    RegCloseKey(handle);
}

// The engine's folder goes in front of this program's search path (the
// engine loads its own companions from there); nothing else is changed.
void PutOnPath(const std::string& folder)
{
    DWORD length = GetEnvironmentVariableA("PATH", nullptr, 0);
    std::vector<char> path(length + 1, '\0');
    if (length)
        GetEnvironmentVariableA("PATH", path.data(), length + 1);
    std::string old = path.data();
    if (old.find(folder) != std::string::npos)
        return;
    SetEnvironmentVariableA("PATH", (folder + ";" + old).c_str());
}

template <class Fn>
Fn Entry(const char* name)
{
    return g_hEngine ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(g_hEngine, name))) : nullptr;
}

bool PinVersion()
{
    if (auto ex = Entry<decltype(&NeroSetExpectedAPIVersionEx)>("NeroSetExpectedAPIVersionEx"))
        return ex(ENGINE_VERSION_MAJOR, ENGINE_VERSION_MINOR, ENGINE_VERSION_RELEASE, ENGINE_VERSION_BUILD,
                  nullptr) != 0;
    return NeroSetExpectedAPIVersion(ENGINE_PACKED_VERSION) != 0;
}

}  // namespace

std::string FindEngineFolder()
{
    std::string folder = ReadFolder(kSharedKey, kSharedValue);
    if (folder.empty()) {
        folder = ReadFolder(kAppPathKey, kAppPathValue);
        if (!folder.empty())
            WriteSharedFolder(folder);
    }
    return folder;
}

bool EngineLoad()
{
    EngineUnload();
    std::string folder = FindEngineFolder();
    if (folder.empty())
        return false;
    PutOnPath(folder);
    g_hEngine = LoadLibraryA((folder + "\\NeroAPI.dll").c_str());
    if (!g_hEngine)
        return false;
    if (!PinVersion()) {
        EngineUnload();
        return false;
    }
    return true;
}

void EngineUnload()
{
    if (g_hEngine)
        FreeLibrary(g_hEngine);
    g_hEngine = nullptr;
}

bool EngineIsLoaded()
{
    return g_hEngine != nullptr;
}

// The wrappers. Each looks its entry point up now, so an engine loaded or
// unloaded in between is always the one called.
extern "C" {

int NeroSetExpectedAPIVersionEx(unsigned int major, unsigned int minor, unsigned int release, unsigned int build,
                                void* reserved)
{
    auto fn = Entry<decltype(&NeroSetExpectedAPIVersionEx)>("NeroSetExpectedAPIVersionEx");
    return fn ? fn(major, minor, release, build, reserved) : 0;
}

int NeroSetExpectedAPIVersion(unsigned int packedVersion)
{
    auto fn = Entry<decltype(&NeroSetExpectedAPIVersion)>("NeroSetExpectedAPIVersion");
    return fn ? fn(packedVersion) : 0;
}

unsigned int NeroGetAPIVersion(void)
{
    auto fn = Entry<decltype(&NeroGetAPIVersion)>("NeroGetAPIVersion");
    return fn ? fn() : 0;
}

int NeroInit(const EngineSettings* settings, const char* reserved)
{
    auto fn = Entry<decltype(&NeroInit)>("NeroInit");
    return fn ? fn(settings, reserved) : 1;
}

void NeroDone(void)
{
    // Engines 5.5.6.4 to 5.5.6.6 must not be told.
    if (g_nEngineVersion >= 5564 && g_nEngineVersion <= 5566)
        return;
    if (auto fn = Entry<decltype(&NeroDone)>("NeroDone"))
        fn();
}

void NeroClearErrors(void)
{
    if (auto fn = Entry<decltype(&NeroClearErrors)>("NeroClearErrors"))
        fn();
}

char* NeroGetErrorLog(void)
{
    auto fn = Entry<decltype(&NeroGetErrorLog)>("NeroGetErrorLog");
    return fn ? fn() : nullptr;
}

void NeroFreeMem(void* memory)
{
    if (auto fn = Entry<decltype(&NeroFreeMem)>("NeroFreeMem"))
        fn(memory);
}

EngineRecorderList* NeroGetAvailableDrivesEx(int mediaType, void* reserved)
{
    if (auto fn = Entry<decltype(&NeroGetAvailableDrivesEx)>("NeroGetAvailableDrivesEx"))
        return fn(mediaType, reserved);
    // Engines before 5.5.5.5 list CD recorders without the Ex entry.
    if (g_nEngineVersion < 5555 && mediaType == ENGINE_MEDIA_CD)
        if (auto old = Entry<decltype(&NeroGetAvailableDrivesEx)>("NeroGetAvailableDrives"))
            return old(mediaType, reserved);
    return nullptr;
}

EngineDeviceHandle NeroOpenDevice(const EngineRecorderInfo* recorder)
{
    auto fn = Entry<decltype(&NeroOpenDevice)>("NeroOpenDevice");
    return fn ? fn(recorder) : nullptr;
}

void NeroCloseDevice(EngineDeviceHandle device)
{
    if (auto fn = Entry<decltype(&NeroCloseDevice)>("NeroCloseDevice"))
        fn(device);
}

EngineDiscInfo* NeroGetCDInfo(EngineDeviceHandle device, unsigned int flags)
{
    auto fn = Entry<decltype(&NeroGetCDInfo)>("NeroGetCDInfo");
    return fn ? fn(device, flags) : nullptr;
}

EngineSpeedList* NeroGetAvailableSpeeds(EngineDeviceHandle device, int accessType, int mediaType, void* reserved)
{
    auto fn = Entry<decltype(&NeroGetAvailableSpeeds)>("NeroGetAvailableSpeeds");
    return fn ? fn(device, accessType, mediaType, reserved) : nullptr;
}

int NeroGetCDRWErasingTime(EngineDeviceHandle device, int mode)
{
    auto fn = Entry<decltype(&NeroGetCDRWErasingTime)>("NeroGetCDRWErasingTime");
    return fn ? fn(device, mode) : -1;
}

int NeroEraseCDRW(EngineDeviceHandle device, int mode)
{
    auto fn = Entry<decltype(&NeroEraseCDRW)>("NeroEraseCDRW");
    return fn ? fn(device, mode) : -1;
}

int NeroEjectLoadCD(EngineDeviceHandle device, int eject)
{
    auto fn = Entry<decltype(&NeroEjectLoadCD)>("NeroEjectLoadCD");
    return fn ? fn(device, eject) : -1;
}

int NeroBurn(EngineDeviceHandle device, int format, const void* job, unsigned int flags, unsigned int speed,
             EngineProgress* progress)
{
    auto fn = Entry<decltype(&NeroBurn)>("NeroBurn");
    return fn ? fn(device, format, job, flags, speed, progress) : 1;
}

void NeroFreeIsoTrack(void* track)
{
    if (auto fn = Entry<decltype(&NeroFreeIsoTrack)>("NeroFreeIsoTrack"))
        fn(track);
}

}  // extern "C"
