#include "CBurner.h"

#include <commctrl.h>

#include <cctype>
#include <cstdio>
#include <cstring>

#include "ControlFile.h"
#include "EngineBinding.h"
#include "VideoCdJob.h"
#include "lang/CLang.h"
#include "framework/CPrompter.h"
#include "framework/CWinApp.h"

namespace {

const unsigned int kDiscInfoFlags = 3;
const int kWriteAccess = 0;

// The wait cursor while the engine works at something the user waits for.
class WaitCursor {
public:
    WaitCursor() { SetCursor(LoadCursor(nullptr, IDC_WAIT)); }
    ~WaitCursor() { SetCursor(LoadCursor(nullptr, IDC_ARROW)); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

bool CanRead(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f)
        std::fclose(f);
    return f != nullptr;
}

}  // namespace

bool CBurner::HoldsDvdVideo(std::string drive)
{
    while (!drive.empty() && drive.back() == '\\')
        drive.pop_back();
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    bool video = CanRead(drive + "\\video_ts\\video_ts.ifo") && CanRead(drive + "\\video_ts\\vts_01_0.ifo");
    SetErrorMode(oldMode);
    return video;
}

CBurner::CBurner()
{
    std::memset(&m_settings, 0, sizeof m_settings);
    std::memset(&m_progress, 0, sizeof m_progress);
}

CBurner::~CBurner()
{
    if (m_bEngineStarted)
        EngineStop();
}

int CBurner::EngineStart()
{
    if (m_bEngineStarted)
        return 0;
    WaitCursor wait;
    if (!EngineLoad())
        return -1;
    m_bAbort = 0;
    g_nEngineVersion = NeroGetAPIVersion();

    std::memset(&m_settings, 0, sizeof m_settings);
    m_settings.filesPath = "xpfiles";
    m_settings.vendor = "windows";
    m_settings.software = "burning";
    m_settings.languageFile = "burning.txt";
    m_settings.idle = &CBurner::OnIdle;
    m_settings.idleUserData = this;
    m_settings.userDialog = &CBurner::OnUserDialog;
    m_settings.userDialogUserData = this;

    std::memset(&m_progress, 0, sizeof m_progress);
    m_progress.progress = &CBurner::OnProgress;
    m_progress.aborted = &CBurner::OnAborted;
    m_progress.addLogLine = &CBurner::OnAddLogLine;
    m_progress.setPhase = &CBurner::OnSetPhase;
    m_progress.userData = this;
    m_pRecorderList = nullptr;

    int result = NeroInit(&m_settings, nullptr);
    if (result == 0) {
        m_pRecorderList = NeroGetAvailableDrivesEx(ENGINE_MEDIA_CD, nullptr);
        m_bEngineStarted = 1;
        return 0;
    }
    return result == 1 ? -1 : -2;
}

void CBurner::EngineStop()
{
    WaitCursor wait;
    if (m_pRecorderList) {
        NeroFreeMem(m_pRecorderList);
        m_pRecorderList = nullptr;
    }
    NeroClearErrors();
    NeroDone();
    EngineUnload();
    m_bEngineStarted = 0;
}

int CBurner::EnumerateRecorders(std::vector<std::unique_ptr<CRecorderInfo>>& recorders)
{
    if (!m_pRecorderList)
        return 0;
    int added = 0;
    for (int i = 0; i < m_pRecorderList->count; ++i) {
        const EngineRecorderInfo& entry = m_pRecorderList->recorders[i];
        if (entry.driveLetter == 0)
            continue;
        auto record = std::make_unique<CRecorderInfo>();
        char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(entry.driveLetter)));
        record->m_strDrive = std::string(1, drive) + ":";
        std::string name(entry.deviceName, strnlen(entry.deviceName, sizeof entry.deviceName));
        record->m_strName = name.substr(std::min(name.find_first_not_of(' '), name.size()));
        record->m_bValid = 1;
        record->m_nEngineIndex = i;
        record->m_bDvdCapable = (entry.supportedMedia & (ENGINE_MEDIA_DVD_MINUS | ENGINE_MEDIA_DVD_PLUS |
                                                         ENGINE_MEDIA_DVD_ROM)) != 0 ||
                                record->m_strName.find("DV") != std::string::npos;
        record->m_bIsRecorder = entry.deviceType == ENGINE_DEVICE_RECORDER;
        QueryMedia(*record);
        recorders.push_back(std::move(record));
        ++added;
    }
    return added;
}

EngineDeviceHandle CBurner::OpenRecorder(const CRecorderInfo& recorder)
{
    if (!m_pRecorderList || recorder.m_nEngineIndex < 0 || recorder.m_nEngineIndex >= m_pRecorderList->count)
        return nullptr;
    const EngineRecorderInfo& entry = m_pRecorderList->recorders[recorder.m_nEngineIndex];
    if (recorder.m_strDrive.empty() ||
        std::toupper(static_cast<unsigned char>(entry.driveLetter)) != recorder.m_strDrive[0])
        return nullptr;
    return NeroOpenDevice(&entry);
}

void CBurner::ReadSpeeds(EngineDeviceHandle device, int mediaType, CRecorderInfo& recorder, bool forDisc)
{
    EngineSpeedList* speeds = NeroGetAvailableSpeeds(device, kWriteAccess, mediaType, nullptr);
    if (!speeds)
        return;
    int n = speeds->count;
    if (n > 0 && n <= ENGINE_MAX_SPEEDS) {
        bool dvd = forDisc ? recorder.m_bDvd != 0 : mediaType == ENGINE_MEDIA_ANY_DVD;
        if (dvd) {
            recorder.m_nDvdBaseSpeed = speeds->baseKBs;
            recorder.m_nDvdMaxSpeed = speeds->speedsKBs[n - 1];
            if (!forDisc && recorder.m_nDvdMaxSpeed > 0)
                recorder.m_bDvdCapable = 1;
        } else if (forDisc) {
            recorder.m_bCdMediaSpeedKnown = 1;
            recorder.m_nCdMediaMaxSpeed = speeds->multiples[n - 1];
        } else {
            recorder.m_bCdWriteSpeedKnown = 1;
            recorder.m_nCdWriteMaxSpeed = speeds->multiples[n - 1];
        }
    }
    NeroFreeMem(speeds);
}

int CBurner::QueryRecorderSpeeds(CRecorderInfo& recorder)
{
    recorder.m_bCdWriteSpeedKnown = -1;
    recorder.m_nCdWriteMaxSpeed = -1;
    recorder.m_nDvdBaseSpeed = -1;
    recorder.m_nDvdMaxSpeed = -1;
    EngineDeviceHandle device = OpenRecorder(recorder);
    if (!device)
        return -1;
    ReadSpeeds(device, ENGINE_MEDIA_CD, recorder, false);
    ReadSpeeds(device, ENGINE_MEDIA_ANY_DVD, recorder, false);
    NeroCloseDevice(device);
    return 0;
}

int CBurner::QueryMedia(CRecorderInfo& recorder)
{
    recorder.m_bWriteable = recorder.m_bCdR = recorder.m_bCdRw = 0;
    recorder.m_bDvd = recorder.m_bRewritableDvd = recorder.m_bDvdMinus = recorder.m_bDvdPlus = 0;
    recorder.m_bCdMediaSpeedKnown = recorder.m_nCdMediaMaxSpeed = -1;
    recorder.m_bMediaPresent = 1;
    QueryRecorderSpeeds(recorder);

    EngineDeviceHandle device = OpenRecorder(recorder);
    EngineDiscInfo* disc = device ? NeroGetCDInfo(device, kDiscInfoFlags) : nullptr;
    if (!disc) {
        recorder.m_bMediaPresent = 0;
        if (device)
            NeroCloseDevice(device);
        return -1;
    }
    recorder.SetMediaType(disc->mediaType);
    recorder.m_bBlank = disc->trackCount == 0;
    recorder.m_bWriteable = disc->writeable;
    ReadSpeeds(device, static_cast<int>(disc->mediaType), recorder, true);
    NeroFreeMem(disc);
    NeroCloseDevice(device);

    if (HoldsDvdVideo(recorder.m_strDrive)) {
        recorder.m_bMediaPresent = 1;
        recorder.m_bDvd = 1;
        recorder.m_bBlank = 0;
    }
    return 0;
}

bool CBurner::IsReadyToBurn(CRecorderInfo& recorder)
{
    QueryMedia(recorder);
    return recorder.m_bBlank && recorder.m_bMediaPresent && recorder.m_bWriteable;
}

int CBurner::EraseDisc(const CRecorderInfo& recorder, bool quick)
{
    EngineDeviceHandle device = OpenRecorder(recorder);
    int mode = quick ? 1 : 0;
    NeroGetCDRWErasingTime(device, mode);  // the erase goes on whatever it says
    int status = NeroEraseCDRW(device, mode);
    if (device)
        NeroCloseDevice(device);
    return status;
}

int CBurner::LoadTray(const CRecorderInfo& recorder, bool eject)
{
    EngineDeviceHandle device = OpenRecorder(recorder);
    NeroEjectLoadCD(device, eject ? 1 : 0);
    if (device)
        NeroCloseDevice(device);
    return 0;
}

void CBurner::SetBurnError(const char* key, const std::string& log)
{
    m_strBurnError = LangText(key);
    if (!log.empty())
        m_strBurnError += "\n\n" + log;
}

int CBurner::BurnVideoCd(CRecorderInfo& recorder, const std::string& controlFile, const std::string&,
                         int superVideoCd, int speed, int simulate)
{
    m_strBurnError.clear();
    m_strBurnWarnings.clear();
    std::vector<ControlEntry> entries;
    if (!ReadControlFile(controlFile, entries)) {
        SetBurnError("NoControlFile");
        return -1;
    }
    if (entries.empty()) {
        SetBurnError("NoPhotoLeft");
        m_bWritingPhase = false;
        return -1;
    }
    EngineStop();
    if (EngineStart() != 0) {
        SetBurnError("EngineRestartFailed");
        m_bWritingPhase = false;
        return -1;
    }
    std::string error;
    VideoCdJobPtr job = MakeVideoCdJob(entries, error);
    if (!job) {
        SetBurnError("BurnFailed", error);
        return -1;
    }
    job->superVideoCd = superVideoCd;
    int result = -1;
    // The kept record must still be the same recorder in the fresh list.
    EngineDeviceHandle device = OpenRecorder(recorder);
    if (device) {
        if (speed < 1)
            speed = recorder.m_nCdWriteMaxSpeed;
        WaitCursor wait;
        m_bBurnStarted = true;
        unsigned int flags = ENGINE_BURN_DISC_AT_ONCE | ENGINE_BURN_CLOSE_SESSION |
                             (simulate ? ENGINE_BURN_SIMULATE : ENGINE_BURN_WRITE);
        unsigned int engineSpeed = speed > 0 ? static_cast<unsigned int>(speed) : 0;
        result = NeroBurn(device, ENGINE_FORMAT_VIDEO_CD, job.get(), flags, engineSpeed, &m_progress);
        NeroCloseDevice(device);
    }
    NeroFreeIsoTrack(job->track);
    m_bWritingPhase = false;
    if (!device) {
        SetBurnError("RecorderNotOpened");
        return -1;
    }
    return ReportBurnResult(result);
}

int CBurner::ReportBurnResult(int result)
{
    std::string log;
    if (char* text = NeroGetErrorLog()) {
        log = text;
        NeroFreeMem(text);
    }
    while (!log.empty() && log.back() == '\n')
        log.pop_back();
    NeroClearErrors();
    if (result == ENGINE_BURN_OK) {
        m_strBurnWarnings = log;
        return 0;
    }
    if (result != ENGINE_BURN_USER_ABORT)  // the user knows why an aborted burn stopped
        SetBurnError("BurnFailed", log);
    return -1;
}

int CBurner::OnIdle(void* userData)
{
    auto* self = static_cast<CBurner*>(userData);
    MSG msg;
    while (!self->m_bAbort && PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
        if (!AfxPumpMessage())
            break;
    return self->m_bAbort;
}

int CBurner::OnUserDialog(void* userData, int request, void*)
{
    auto* self = static_cast<CBurner*>(userData);
    switch (request) {
    case 2:
    case 7:
    case 12:
    case 22:
        return 5;
    case 6:
        return 3;
    case 13:
        return 1;
    case ENGINE_DIALOG_INSERT_DISC:
        return AfxMessageBox(self->m_strPrompt, MB_OKCANCEL) == IDCANCEL ? 0 : 1;
    default:
        return 0;
    }
}

int CBurner::OnProgress(void* userData, unsigned int percent)
{
    auto* self = static_cast<CBurner*>(userData);
    if (self->m_bBurnStarted || self->m_bWritingPhase) {
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
        if (self->m_hProgressTarget)
            SendMessageA(self->m_hProgressTarget, PBM_SETPOS, percent, 0);
    } else {
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
    }
    return self->m_bAbort;
}

int CBurner::OnAborted(void* userData)
{
    return static_cast<CBurner*>(userData)->m_bAbort;
}

void CBurner::OnAddLogLine(void*, int, const char*) {}

void CBurner::OnSetPhase(void* userData, const char* text)
{
    static_cast<CBurner*>(userData)->m_bWritingPhase = text && std::toupper(static_cast<unsigned char>(text[0])) == 'W';
}
