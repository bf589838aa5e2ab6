#pragma once
// What the test engine (a stand-in NeroAPI.dll) does, set by the test that
// loads it, and what it was asked. The test keeps the library loaded, so
// this survives the program's own loads and unloads of the engine.
#include "engine/include/NeroAPI.h"

struct TestRecorder {
    char driveLetter;
    char name[128];
    int deviceType;
    unsigned int supportedMedia;
    int cdWriteMax;       // 0: the recorder lists no CD speed
    unsigned int discType;
    int trackCount;
    int writeable;
    int discSpeedMax;     // 0: the disc lists no speed
};

struct TestEngineScript {
    unsigned int version;    // NeroGetAPIVersion
    int acceptVersion;       // what the version pinning answers
    int initResult;          // NeroInit
    int recorderCount;
    TestRecorder recorders[4];
    int eraseSteps;          // idle calls an erase makes; it finishes whatever they say
    int burnResult;          // when not aborted
    int burnSteps;           // progress steps of a burn
    char burnLog[256];       // what a burn writes to the engine's log
    char errorLog[256];      // the log as it stands
    // What the engine was asked.
    int doneCalls, eraseCalls, burnCalls, trayCalls;
    unsigned int lastBurnSpeed, lastBurnFlags;
    int lastItemCount;
    unsigned int lastPauses[4];
    int abortSeen;           // a burn stopped because it was told to
};

typedef TestEngineScript* (*TestEngineScriptFunction)(void);
