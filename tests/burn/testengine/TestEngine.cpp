// A stand-in burning engine for tests: every entry point the program binds,
// answering as the test's script says and noting what it was asked. Built
// twice: as a current engine, and (TEST_ENGINE_OLD) as an old one that lacks
// the "Ex" entry points.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "TestEngineScript.h"

#define EXPORT extern "C" __declspec(dllexport)

namespace {

TestEngineScript g_script = {ENGINE_PACKED_VERSION, 1, 0, 0, {}, 3, ENGINE_BURN_OK, 4, "", "", 0, 0, 0, 0, 0, 0, 0, {}, 0};
EngineSettings g_settings;

struct Device {
    int index;
};

const TestRecorder* RecorderOf(EngineDeviceHandle device)
{
    auto* d = reinterpret_cast<Device*>(device);
    return d && d->index >= 0 && d->index < g_script.recorderCount ? &g_script.recorders[d->index] : nullptr;
}

bool Idle()
{
    return g_settings.idle && g_settings.idle(g_settings.idleUserData) != 0;
}

}  // namespace

EXPORT TestEngineScript* TestEngineScriptOf(void)
{
    return &g_script;
}

#ifndef TEST_ENGINE_OLD
EXPORT int NeroSetExpectedAPIVersionEx(unsigned int, unsigned int, unsigned int, unsigned int, void*)
{
    return g_script.acceptVersion;
}
#endif

EXPORT int NeroSetExpectedAPIVersion(unsigned int)
{
    return g_script.acceptVersion;
}

EXPORT unsigned int NeroGetAPIVersion(void)
{
    return g_script.version;
}

EXPORT int NeroInit(const EngineSettings* settings, const char*)
{
    if (settings)
        g_settings = *settings;
    return g_script.initResult;
}

EXPORT void NeroDone(void)
{
    ++g_script.doneCalls;
}

EXPORT void NeroClearErrors(void)
{
    g_script.errorLog[0] = '\0';
}

EXPORT char* NeroGetErrorLog(void)
{
    if (!g_script.errorLog[0])
        return nullptr;
    char* copy = static_cast<char*>(std::malloc(sizeof g_script.errorLog));
    std::memcpy(copy, g_script.errorLog, sizeof g_script.errorLog);
    return copy;
}

EXPORT void NeroFreeMem(void* memory)
{
    std::free(memory);
}

static EngineRecorderList* ListRecorders(int, void*)
{
    size_t bytes = sizeof(EngineRecorderList) + sizeof(EngineRecorderInfo) * 4;
    auto* list = static_cast<EngineRecorderList*>(std::calloc(1, bytes));
    list->count = g_script.recorderCount;
    for (int i = 0; i < g_script.recorderCount; ++i) {
        const TestRecorder& r = g_script.recorders[i];
        EngineRecorderInfo& e = list->recorders[i];
        e.driveLetter = r.driveLetter;
        std::memcpy(e.deviceName, r.name, sizeof e.deviceName);
        e.deviceType = r.deviceType;
        e.supportedMedia = r.supportedMedia;
        e.engineIndex = i;
    }
    return list;
}

#ifndef TEST_ENGINE_OLD
EXPORT EngineRecorderList* NeroGetAvailableDrivesEx(int mediaType, void* reserved)
{
    return ListRecorders(mediaType, reserved);
}
#else
EXPORT EngineRecorderList* NeroGetAvailableDrives(int mediaType, void* reserved)
{
    return ListRecorders(mediaType, reserved);
}
#endif

EXPORT EngineDeviceHandle NeroOpenDevice(const EngineRecorderInfo* recorder)
{
    if (!recorder)
        return nullptr;
    auto* device = new Device{recorder->engineIndex};
    return reinterpret_cast<EngineDeviceHandle>(device);
}

EXPORT void NeroCloseDevice(EngineDeviceHandle device)
{
    delete reinterpret_cast<Device*>(device);
}

EXPORT EngineDiscInfo* NeroGetCDInfo(EngineDeviceHandle device, unsigned int)
{
    const TestRecorder* r = RecorderOf(device);
    if (!r || r->discType == 0)
        return nullptr;
    auto* disc = static_cast<EngineDiscInfo*>(std::calloc(1, sizeof(EngineDiscInfo)));
    disc->mediaType = r->discType;
    disc->trackCount = r->trackCount;
    disc->writeable = r->writeable;
    return disc;
}

EXPORT EngineSpeedList* NeroGetAvailableSpeeds(EngineDeviceHandle device, int, int mediaType, void*)
{
    const TestRecorder* r = RecorderOf(device);
    bool forRecorder = mediaType == ENGINE_MEDIA_CD || mediaType == ENGINE_MEDIA_ANY_DVD;
    int max = !r ? 0 : forRecorder ? (mediaType == ENGINE_MEDIA_CD ? r->cdWriteMax : 0) : r->discSpeedMax;
    if (max <= 0)
        return nullptr;
    auto* speeds = static_cast<EngineSpeedList*>(std::calloc(1, sizeof(EngineSpeedList)));
    speeds->count = 2;
    speeds->baseKBs = 150;
    speeds->multiples[0] = 1;
    speeds->multiples[1] = max;
    speeds->speedsKBs[0] = 150;
    speeds->speedsKBs[1] = max * 150;
    return speeds;
}

EXPORT int NeroGetCDRWErasingTime(EngineDeviceHandle, int)
{
    return 10;
}

EXPORT int NeroEraseCDRW(EngineDeviceHandle device, int)
{
    ++g_script.eraseCalls;
    for (int i = 0; i < g_script.eraseSteps; ++i) {
        Idle();  // an erase is not stopped half way
        Sleep(20);
    }
    if (TestRecorder* r = const_cast<TestRecorder*>(RecorderOf(device)))
        r->trackCount = 0;
    return ENGINE_ERASE_OK;
}

EXPORT int NeroEjectLoadCD(EngineDeviceHandle, int)
{
    ++g_script.trayCalls;
    return 0;
}

EXPORT int NeroBurn(EngineDeviceHandle, int, const void* job, unsigned int flags, unsigned int speed,
                    EngineProgress* progress)
{
    ++g_script.burnCalls;
    g_script.lastBurnSpeed = speed;
    g_script.lastBurnFlags = flags;
    const auto* vcd = static_cast<const EngineVideoCdJob*>(job);
    g_script.lastItemCount = vcd ? vcd->itemCount : 0;
    for (int i = 0; vcd && i < vcd->itemCount && i < 4; ++i)
        g_script.lastPauses[i] = EngineJobItemConst(vcd, i)->pauseBlocks;
    if (progress && progress->setPhase)
        progress->setPhase(progress->userData, "Writing");
    for (int step = 1; step <= g_script.burnSteps; ++step) {
        Sleep(20);
        bool stop = Idle() || (progress && progress->aborted && progress->aborted(progress->userData));
        if (progress && progress->progress)
            stop = progress->progress(progress->userData, 100u * step / g_script.burnSteps) || stop;
        if (stop) {
            g_script.abortSeen = 1;
            return ENGINE_BURN_USER_ABORT;
        }
    }
    std::memcpy(g_script.errorLog, g_script.burnLog, sizeof g_script.errorLog);
    return g_script.burnResult;
}

EXPORT void NeroFreeIsoTrack(void*) {}
