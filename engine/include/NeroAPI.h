/* The burning engine's public interface: the entry points the program binds
 * by name at run time and the structures they exchange. Shared by the
 * program and the engine (NeroAPI.dll), so both are built from one
 * definition. These are in-memory structures between two modules built by
 * the same compiler, never a file format. */
#ifndef SNAPDISC_ENGINE_NEROAPI_H
#define SNAPDISC_ENGINE_NEROAPI_H

#include <stddef.h>

#if defined(_WIN32) && defined(SNAPDISC_ENGINE_BUILD)
#define ENGINE_API __declspec(dllexport)
#elif defined(_WIN32) && defined(SNAPDISC_ENGINE_IMPORT)
#define ENGINE_API __declspec(dllimport)
#else
#define ENGINE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The interface version this engine implements: 5.5.9.14, packed 5599
 * (major*1000 + minor*100 + release*10 + build, each capped at 9). */
#define ENGINE_VERSION_MAJOR 5
#define ENGINE_VERSION_MINOR 5
#define ENGINE_VERSION_RELEASE 9
#define ENGINE_VERSION_BUILD 14
#define ENGINE_PACKED_VERSION 5599

/* Callbacks. Every callback comes on the thread that called into the
 * engine, never after the call returned. A non-zero return of the idle,
 * progress and aborted callbacks asks the engine to stop. */
typedef int (*EngineIdleCallback)(void* userData);
typedef int (*EngineUserDialogCallback)(void* userData, int request, void* data);
typedef int (*EngineProgressCallback)(void* userData, unsigned int percent);
typedef int (*EngineAbortedCallback)(void* userData);
typedef void (*EngineAddLogLineCallback)(void* userData, int kind, const char* text);
#define ENGINE_LOG_INFO 0
#define ENGINE_LOG_WARNING 1   /* e.g. a photo burned despite a fault */
typedef void (*EngineSetPhaseCallback)(void* userData, const char* text);

typedef struct EngineSettings {
    const char* filesPath;       /* folder of the engine's own files ("xpfiles") */
    const char* vendor;          /* "windows" */
    const char* software;        /* "burning" */
    const char* languageFile;    /* "burning.txt" */
    EngineIdleCallback idle;     /* called often during long calls */
    void* idleUserData;
    EngineUserDialogCallback userDialog; /* questions to the user (request numbers below) */
    void* userDialogUserData;
    int enableOverburn;          /* 0 */
    unsigned int overburnSize;   /* 0 */
} EngineSettings;

/* User-dialog requests the engine may make. */
#define ENGINE_DIALOG_INSERT_DISC 15

/* Media bits: of a recorder's supported media and of a disc's type. */
#define ENGINE_MEDIA_CD 0x0001
#define ENGINE_MEDIA_DVD_MINUS 0x0004  /* DVD-R/RW */
#define ENGINE_MEDIA_DVD_PLUS 0x0008   /* DVD+R/RW */
#define ENGINE_MEDIA_REWRITABLE_CD 0x0080
#define ENGINE_MEDIA_WRITE_ONCE_CD 0x0100
#define ENGINE_MEDIA_DVD_ROM 0x0200
#define ENGINE_MEDIA_CDR (ENGINE_MEDIA_CD | ENGINE_MEDIA_WRITE_ONCE_CD)    /* 0x101 */
#define ENGINE_MEDIA_CDRW (ENGINE_MEDIA_CD | ENGINE_MEDIA_REWRITABLE_CD)   /* 0x81 */
#define ENGINE_MEDIA_ANY_DVD 12

#define ENGINE_DEVICE_RECORDER 1

typedef struct EngineRecorderInfo {
    char driveLetter;            /* 0 for a device without one */
    char deviceName[128];
    int deviceType;              /* ENGINE_DEVICE_RECORDER for a recorder */
    unsigned int supportedMedia; /* ENGINE_MEDIA_* bits */
    int engineIndex;             /* position in the engine's list */
} EngineRecorderInfo;

typedef struct EngineRecorderList {
    int count;
    EngineRecorderInfo recorders[1]; /* count entries */
} EngineRecorderList;

typedef struct EngineDevice* EngineDeviceHandle;

typedef struct EngineDiscInfo {
    unsigned int mediaType;      /* ENGINE_MEDIA_* value of the inserted disc, 0 when none */
    int trackCount;              /* 0 for a blank disc */
    int writeable;               /* the disc can be written */
    unsigned int freeBlocks;     /* capacity left, in 2352-byte blocks */
} EngineDiscInfo;

#define ENGINE_MAX_SPEEDS 32
typedef struct EngineSpeedList {
    int count;
    int baseKBs;                         /* KB/s of 1x: 150 for CD, 1385 for DVD */
    int multiples[ENGINE_MAX_SPEEDS];    /* ascending, in multiples of baseKBs */
    int speedsKBs[ENGINE_MAX_SPEEDS];    /* the same in KB/s */
} EngineSpeedList;

typedef struct EngineProgress {
    EngineProgressCallback progress;   /* percent 0..100 */
    EngineAbortedCallback aborted;
    EngineAddLogLineCallback addLogLine;
    EngineSetPhaseCallback setPhase;   /* the phase text starts with "W" while writing */
    void* userData;
    void* reserved[3];
} EngineProgress;

/* One item of a Video CD job. */
#define ENGINE_ITEM_MPEG 0
#define ENGINE_ITEM_PICTURE 1
#define ENGINE_ITEM_AVI 2
#define ENGINE_ITEM_PATH_SIZE 256
typedef struct EngineVideoItem {
    unsigned int pauseBlocks;                 /* pause after the item: seconds x 75 */
    char sourcePath[ENGINE_ITEM_PATH_SIZE];   /* zero-terminated */
    int itemType;                             /* ENGINE_ITEM_* */
} EngineVideoItem;

#define ENGINE_JOB_HEAD_SIZE 400
typedef struct EngineVideoCdJob {
    int superVideoCd;         /* 0: a plain Video CD */
    int itemCount;
    void* track;              /* none; handed to NeroFreeIsoTrack after the burn */
    char reserved[ENGINE_JOB_HEAD_SIZE - 2 * sizeof(int) - sizeof(void*)];
    EngineVideoItem items[1]; /* itemCount entries */
} EngineVideoCdJob;

/* Item i of a job: the items follow the 400-byte head. */
static inline EngineVideoItem* EngineJobItem(EngineVideoCdJob* job, int i)
{
    return (EngineVideoItem*)((char*)job + ENGINE_JOB_HEAD_SIZE) + i;
}
static inline const EngineVideoItem* EngineJobItemConst(const EngineVideoCdJob* job, int i)
{
    return (const EngineVideoItem*)((const char*)job + ENGINE_JOB_HEAD_SIZE) + i;
}

/* NeroBurn formats and flags. */
#define ENGINE_FORMAT_VIDEO_CD 1
#define ENGINE_BURN_WRITE 0x04
#define ENGINE_BURN_SIMULATE 0x02
#define ENGINE_BURN_DISC_AT_ONCE 0x08
#define ENGINE_BURN_CLOSE_SESSION 0x10
/* A disc burned on a drive is read back and compared with what was sent,
   unless this is set (simulations write nothing and are never read back). */
#define ENGINE_BURN_NO_VERIFY 0x20

/* NeroBurn results. */
#define ENGINE_BURN_OK 0
#define ENGINE_BURN_FAILED 1
#define ENGINE_BURN_USER_ABORT 3
#define ENGINE_BURN_BAD_JOB 4
#define ENGINE_BURN_NOT_INITIALISED 5

/* Erase results and erase-time answers. */
#define ENGINE_ERASE_OK 0
#define ENGINE_ERASE_FAILED 1
#define ENGINE_ERASE_TIME_NO_DISC (-1)
#define ENGINE_ERASE_TIME_NOT_REWRITABLE (-2)

ENGINE_API int NeroSetExpectedAPIVersionEx(unsigned int major, unsigned int minor, unsigned int release,
                                           unsigned int build, void* reserved);
ENGINE_API int NeroSetExpectedAPIVersion(unsigned int packedVersion);
ENGINE_API unsigned int NeroGetAPIVersion(void);
/* 0 ready, 1 invalid arguments, 2 other failure. */
ENGINE_API int NeroInit(const EngineSettings* settings, const char* reserved);
ENGINE_API void NeroDone(void);
ENGINE_API void NeroClearErrors(void);
/* The text of the errors since the last NeroClearErrors, or null; release with NeroFreeMem. */
ENGINE_API char* NeroGetErrorLog(void);
ENGINE_API void NeroFreeMem(void* memory);
ENGINE_API EngineRecorderList* NeroGetAvailableDrivesEx(int mediaType, void* reserved);
ENGINE_API EngineDeviceHandle NeroOpenDevice(const EngineRecorderInfo* recorder);
ENGINE_API void NeroCloseDevice(EngineDeviceHandle device);
ENGINE_API EngineDiscInfo* NeroGetCDInfo(EngineDeviceHandle device, unsigned int flags);
ENGINE_API EngineSpeedList* NeroGetAvailableSpeeds(EngineDeviceHandle device, int accessType, int mediaType,
                                                   void* reserved);
ENGINE_API int NeroGetCDRWErasingTime(EngineDeviceHandle device, int mode);
ENGINE_API int NeroEraseCDRW(EngineDeviceHandle device, int mode);
ENGINE_API int NeroEjectLoadCD(EngineDeviceHandle device, int eject);
ENGINE_API int NeroBurn(EngineDeviceHandle device, int format, const void* job, unsigned int flags,
                        unsigned int speed, EngineProgress* progress);
ENGINE_API void NeroFreeIsoTrack(void* track);

#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
static_assert(sizeof(EngineVideoItem) == 264, "an item is 264 bytes");
static_assert(offsetof(EngineVideoItem, itemType) == 260, "the item type follows the path");
static_assert(offsetof(EngineVideoCdJob, items) == ENGINE_JOB_HEAD_SIZE, "items follow the 400-byte head");
#endif

#endif
