#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "CRecorderInfo.h"
#include "engine/include/NeroAPI.h"

// The program's side of the burning engine: starting and stopping it, the
// recorders it lists, what a recorder and its disc can do, erasing a
// rewritable disc and closing the tray. The engine calls back on this thread;
// the abort flag is what those callbacks tell it.
class CBurner {
public:
    CBurner();
    ~CBurner();
    CBurner(const CBurner&) = delete;
    CBurner& operator=(const CBurner&) = delete;

    // 0 started (or already running), -1 no usable engine or it refused its
    // settings, -2 it failed to start otherwise.
    int EngineStart();
    void EngineStop();
    // Appends a record for every listed device with a drive letter; their number.
    int EnumerateRecorders(std::vector<std::unique_ptr<CRecorderInfo>>& recorders);
    // 0, or -1 when the recorder cannot be opened or its disc read.
    int QueryRecorderSpeeds(CRecorderInfo& recorder);
    int QueryMedia(CRecorderInfo& recorder);
    // Asks about the disc again: blank, present and writeable.
    bool IsReadyToBurn(CRecorderInfo& recorder);
    int EraseDisc(const CRecorderInfo& recorder, bool quick);
    int LoadTray(const CRecorderInfo& recorder, bool eject);
    // A DVD-Video disc in the drive ("E:", or a folder): both of its first
    // files open. An empty drive does not bring up the system's "no disk" box.
    static bool HoldsDvdVideo(std::string drive);

    // Burns the photos the control file lists as a Video CD, restarting the
    // engine first: 0 on success, -1 otherwise. After it, m_strBurnError
    // says why a burn failed or could not start (empty for the user's
    // abort), and m_strBurnWarnings what the engine noticed on a burn that
    // succeeded (damaged photos).
    int BurnVideoCd(CRecorderInfo& recorder, const std::string& controlFile, const std::string& text,
                    int superVideoCd, int speed, int simulate);
    // Reads the engine's log, then clears it: 0 for the engine's success
    // code, -1 for anything else.
    int ReportBurnResult(int result);
    std::string m_strBurnError;
    std::string m_strBurnWarnings;

    uint8_t m_bAbort = 0;
    uint8_t m_bEngineStarted = 0;
    HWND m_hProgressTarget = nullptr;  // the progress bar a burn moves
    std::string m_strPrompt;           // shown when the engine asks for a disc
    bool m_bBurnStarted = false;
    bool m_bWritingPhase = false;
    EngineProgress m_progress;

private:
    // The engine's device of a record; null when the record's entry is not
    // in the current list (or no longer has the record's drive letter).
    EngineDeviceHandle OpenRecorder(const CRecorderInfo& recorder);
    void ReadSpeeds(EngineDeviceHandle device, int mediaType, CRecorderInfo& recorder, bool forDisc);

    static int OnIdle(void* userData);
    static int OnUserDialog(void* userData, int request, void* data);
    static int OnProgress(void* userData, unsigned int percent);
    static int OnAborted(void* userData);
    static void OnAddLogLine(void* userData, int kind, const char* text);
    static void OnSetPhase(void* userData, const char* text);

    // A failure's text: the language text of the key, then the engine's log.
    void SetBurnError(const char* key, const std::string& log = std::string());

    EngineSettings m_settings;
    EngineRecorderList* m_pRecorderList = nullptr;
};
