#pragma once
#include <windows.h>

// Ends the first running process whose executable has the given file name
// (letter case does not matter), such as the system's own disc-recording
// service "imapi.exe" that would hold the recorders. Returns one of the
// codes below; nothing is shown to the user.
enum EndProcessResult {
    kProcessEnded = 0,
    kProcessNotTerminated = 602,
    kProcessNotFound = 603,
    kProcessNotOpened = 604,
    kPsapiMissing = 605,
    kVersionUnknown = 606,
    kPlatformUnknown = 607,
    kProcessNameInvalid = 632,
    kPsapiEntryMissing = 700,
    kProcessListFailed = 701,
    kKernel32Missing = 702,
    kSnapshotEntryMissing = 703,
    kSnapshotFailed = 704,
};
int EndProcessByName(const char* name);

// Enables a privilege in the current process's token: 0 enabled, 1 the
// token cannot be opened, 2 the privilege cannot be enabled.
int EnableProcessPrivilege(const char* privilege);
// Enables or disables a privilege of a token; true on success.
BOOL SetTokenPrivilege(HANDLE token, const char* privilege, BOOL enable);
