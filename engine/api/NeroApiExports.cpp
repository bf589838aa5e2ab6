// The engine's entry points. Every structure returned is allocated with
// malloc and released by NeroFreeMem.
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <string>

#include "Engine.h"
#include "engine/include/NeroAPI.h"

struct EngineDevice {
    Recorder* recorder;
    unsigned int generation;  // the engine's when the handle was opened
};

namespace {

template <class T>
T* AllocateZeroed(size_t bytes = sizeof(T))
{
    return static_cast<T*>(std::calloc(1, bytes));
}

// The recorder of a handle, if it is still the engine's: a handle kept
// across NeroDone and NeroInit is refused, not followed.
Recorder* RecorderOf(EngineDeviceHandle device)
{
    const Engine& engine = Engine::Instance();
    return device && engine.IsInitialised() && device->generation == engine.Generation() ? device->recorder
                                                                                          : nullptr;
}

bool VersionAccepted(unsigned int major, unsigned int minor, unsigned int release, unsigned int build)
{
    // Programs written for this interface version or an earlier 5.x one.
    if (major != ENGINE_VERSION_MAJOR)
        return false;
    unsigned long asked = ((minor * 100ul + release) * 100ul) + build;
    unsigned long ours = ((ENGINE_VERSION_MINOR * 100ul + ENGINE_VERSION_RELEASE) * 100ul) + ENGINE_VERSION_BUILD;
    return asked <= ours;
}

}  // namespace

extern "C" {

ENGINE_API int NeroSetExpectedAPIVersionEx(unsigned int major, unsigned int minor, unsigned int release,
                                           unsigned int build, void*)
{
    return VersionAccepted(major, minor, release, build) ? 1 : 0;
}

ENGINE_API int NeroSetExpectedAPIVersion(unsigned int packedVersion)
{
    return packedVersion >= 5000 && packedVersion <= ENGINE_PACKED_VERSION ? 1 : 0;
}

ENGINE_API unsigned int NeroGetAPIVersion(void)
{
    return ENGINE_PACKED_VERSION;
}

ENGINE_API int NeroInit(const EngineSettings* settings, const char*)
{
    try {
        return Engine::Instance().Init(settings);
    } catch (const std::exception&) {
        return 1;  // not started
    }
}

ENGINE_API void NeroDone(void)
{
    Engine::Instance().Done();
}

ENGINE_API void NeroClearErrors(void)
{
    Engine::Instance().ClearErrors();
}

ENGINE_API char* NeroGetErrorLog(void)
{
    std::string log = Engine::Instance().ErrorLog();
    if (log.empty())
        return nullptr;
    char* text = AllocateZeroed<char>(log.size() + 1);
    if (text)
        std::memcpy(text, log.c_str(), log.size() + 1);
    return text;
}

ENGINE_API void NeroFreeMem(void* memory)
{
    std::free(memory);
}

ENGINE_API EngineRecorderList* NeroGetAvailableDrivesEx(int mediaType, void*)
{
    Engine& engine = Engine::Instance();
    if (!engine.IsInitialised())
        return nullptr;
    const auto& recorders = engine.Recorders();
    size_t bytes = sizeof(EngineRecorderList) + recorders.size() * sizeof(EngineRecorderInfo);
    EngineRecorderList* list = AllocateZeroed<EngineRecorderList>(bytes);
    if (!list)
        return nullptr;
    EngineRecorderInfo* entries = list->recorders;
    for (size_t i = 0; i < recorders.size(); ++i) {
        const Recorder& r = *recorders[i];
        if (mediaType != 0 && !(r.SupportedMedia() & static_cast<unsigned int>(mediaType)))
            continue;
        EngineRecorderInfo& e = entries[list->count++];
        e.driveLetter = r.DriveLetter();
        std::strncpy(e.deviceName, r.Name().c_str(), sizeof e.deviceName - 1);
        e.deviceType = r.DeviceType();
        e.supportedMedia = r.SupportedMedia();
        e.engineIndex = static_cast<int>(i);
    }
    return list;
}

ENGINE_API EngineDeviceHandle NeroOpenDevice(const EngineRecorderInfo* recorder)
{
    Engine& engine = Engine::Instance();
    if (!recorder || !engine.IsInitialised())
        return nullptr;
    const auto& recorders = engine.Recorders();
    if (recorder->engineIndex < 0 || static_cast<size_t>(recorder->engineIndex) >= recorders.size())
        return nullptr;
    return new (std::nothrow)
        EngineDevice{recorders[static_cast<size_t>(recorder->engineIndex)].get(), engine.Generation()};
}

ENGINE_API void NeroCloseDevice(EngineDeviceHandle device)
{
    delete device;
}

ENGINE_API EngineDiscInfo* NeroGetCDInfo(EngineDeviceHandle device, unsigned int)
{
    Recorder* r = RecorderOf(device);
    EngineDiscInfo disc{};
    if (!r || !r->ReadDisc(disc))
        return nullptr;
    EngineDiscInfo* copy = AllocateZeroed<EngineDiscInfo>();
    if (copy)
        *copy = disc;
    return copy;
}

ENGINE_API EngineSpeedList* NeroGetAvailableSpeeds(EngineDeviceHandle device, int, int mediaType, void*)
{
    Recorder* r = RecorderOf(device);
    EngineSpeedList speeds{};
    if (!r || !r->WriteSpeeds(mediaType, speeds))
        return nullptr;
    EngineSpeedList* copy = AllocateZeroed<EngineSpeedList>();
    if (copy)
        *copy = speeds;
    return copy;
}

ENGINE_API int NeroGetCDRWErasingTime(EngineDeviceHandle device, int mode)
{
    Recorder* r = RecorderOf(device);
    return r ? r->ErasingTime(mode) : ENGINE_ERASE_TIME_NO_DISC;
}

ENGINE_API int NeroEraseCDRW(EngineDeviceHandle device, int mode)
{
    Recorder* r = RecorderOf(device);
    return r ? r->Erase(mode) : ENGINE_ERASE_FAILED;
}

ENGINE_API int NeroEjectLoadCD(EngineDeviceHandle device, int eject)
{
    Recorder* r = RecorderOf(device);
    return r ? r->EjectLoad(eject != 0) : -1;
}

ENGINE_API int NeroBurn(EngineDeviceHandle device, int format, const void* job, unsigned int flags,
                        unsigned int speed, EngineProgress* progress)
{
    Recorder* r = RecorderOf(device);
    if (!r)
        return ENGINE_BURN_NOT_INITIALISED;
    if (format != ENGINE_FORMAT_VIDEO_CD || !job) {
        Engine::Instance().AddError("only Video CD jobs can be burned");
        return ENGINE_BURN_BAD_JOB;
    }
    // Nothing may leave the engine for the program: a failure is the burn's.
    try {
        return r->BurnVideoCd(*static_cast<const EngineVideoCdJob*>(job), flags, speed, progress);
    } catch (const std::bad_alloc&) {
        Engine::Instance().AddError("there was not enough memory for the burn");
    } catch (const std::exception& e) {
        Engine::Instance().AddError(std::string("the burn failed: ") + e.what());
    }
    return ENGINE_BURN_FAILED;
}

ENGINE_API void NeroFreeIsoTrack(void* track)
{
    std::free(track);
}

}  // extern "C"
