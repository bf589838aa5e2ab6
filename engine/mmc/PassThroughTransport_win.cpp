#include "PassThroughTransport_win.h"

#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstring>

namespace {

// The pass-through request as the driver reads it, with the sense area
// right behind it. The filler keeps the sense at offset 60, where drivers
// have always been handed it.
struct PassThroughWithSense {
    SCSI_PASS_THROUGH_DIRECT sptd;
    ULONG filler;
    UCHAR sense[32];
};

#if defined(_WIN64)
// The layout the 64-bit drivers expect; a header that packed it otherwise
// would send the drive garbage.
static_assert(IOCTL_SCSI_PASS_THROUGH_DIRECT == 0x4D014, "pass-through control code");
static_assert(sizeof(SCSI_PASS_THROUGH_DIRECT) == 56, "pass-through request size");
static_assert(offsetof(SCSI_PASS_THROUGH_DIRECT, DataTransferLength) == 12, "DataTransferLength offset");
static_assert(offsetof(SCSI_PASS_THROUGH_DIRECT, TimeOutValue) == 16, "TimeOutValue offset");
static_assert(offsetof(SCSI_PASS_THROUGH_DIRECT, DataBuffer) == 24, "DataBuffer offset");
static_assert(offsetof(SCSI_PASS_THROUGH_DIRECT, SenseInfoOffset) == 32, "SenseInfoOffset offset");
static_assert(offsetof(SCSI_PASS_THROUGH_DIRECT, Cdb) == 36, "Cdb offset");
static_assert(offsetof(PassThroughWithSense, sense) == 60, "sense area offset");
static_assert(sizeof(PassThroughWithSense) == 96, "request with sense size");
#endif

// Exclusive use of a CD drive (Windows Vista and later); the SDK headers of
// the cross compiler do not declare it.
const DWORD kIoctlCdromExclusiveAccess = CTL_CODE(FILE_DEVICE_CD_ROM, 0x0017, METHOD_BUFFERED,
                                                  FILE_READ_ACCESS | FILE_WRITE_ACCESS);
const ULONG kExclusiveAccessLockDevice = 1;
const ULONG kExclusiveAccessUnlockDevice = 2;
const char kLockOwner[] = "Snapdisc";  // shown to other programs as the lock's owner
const ULONG kLockIgnoreVolume = 1;  // the disc is about to be rewritten: its file system does not matter
const size_t kCallerNameLength = 64;

struct ExclusiveLock {
    ULONG requestType;
    ULONG flags;
    UCHAR callerName[kCallerNameLength];
};

const size_t kLargestTransfer = 64 * 1024;
const int kOpenAttempts = 3;

std::string DrivePath(char letter)
{
    return std::string("\\\\.\\") + letter + ":";
}

std::string SystemMessage(DWORD code)
{
    char* text = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length != 0 && text != nullptr ? std::string(text, length) : std::string();
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ' ||
                                message.back() == '.'))
        message.pop_back();
    return message;
}

std::string OpenFailure(char letter, DWORD code)
{
    std::string drive = std::string(1, letter) + ":";
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return "There is no drive " + drive + ".";
    case ERROR_ACCESS_DENIED:
        return "Windows refused access to drive " + drive +
               ". Writing CDs needs direct access to the drive; run Snapdisc as an administrator "
               "or ask one to allow it.";
    case ERROR_SHARING_VIOLATION:
    case ERROR_BUSY:
        return "Drive " + drive + " is in use by another program.";
    default:
        break;
    }
    std::string text = SystemMessage(code);
    return "Drive " + drive + " could not be opened" + (text.empty() ? "" : ": " + text) + " (error " +
           std::to_string(code) + ").";
}

// Another program holding the drive for a moment, or the drive settling
// after a disc change, passes; a missing drive does not.
bool MayPass(DWORD code)
{
    return code == ERROR_SHARING_VIOLATION || code == ERROR_BUSY || code == ERROR_NOT_READY ||
           code == ERROR_ACCESS_DENIED;
}

HANDLE OpenDrive(char letter, DWORD& error)
{
    std::string path = DrivePath(letter);
    for (int attempt = 0;; ++attempt) {
        HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        if (handle != INVALID_HANDLE_VALUE)
            return handle;
        error = GetLastError();
        if (attempt + 1 == kOpenAttempts || !MayPass(error))
            return INVALID_HANDLE_VALUE;
        Sleep(250);
    }
}

// The adapter's limit when the port driver tells it, never above 64 KiB.
size_t AdapterTransferLimit(HANDLE handle)
{
    IO_SCSI_CAPABILITIES capabilities{};
    DWORD returned = 0;
    if (!DeviceIoControl(handle, IOCTL_SCSI_GET_CAPABILITIES, nullptr, 0, &capabilities, sizeof capabilities,
                         &returned, nullptr) ||
        returned < offsetof(IO_SCSI_CAPABILITIES, MaximumPhysicalPages) || capabilities.MaximumTransferLength == 0)
        return kLargestTransfer;
    return std::min<size_t>(capabilities.MaximumTransferLength, kLargestTransfer);
}

UCHAR DataInFor(DataDirection direction)
{
    switch (direction) {
    case DataDirection::In:
        return SCSI_IOCTL_DATA_IN;
    case DataDirection::Out:
        return SCSI_IOCTL_DATA_OUT;
    case DataDirection::None:
        break;
    }
    return SCSI_IOCTL_DATA_UNSPECIFIED;
}

ScsiResult NotDelivered(DWORD code)
{
    ScsiResult result;
    result.delivered = false;
    result.transportError = code != 0 ? code : ERROR_GEN_FAILURE;
    return result;
}

}  // namespace

std::unique_ptr<PassThroughTransport> PassThroughTransport::Open(char letter, std::string& error)
{
    letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    if (letter < 'A' || letter > 'Z') {
        error = std::string("\"") + letter + "\" is not a drive letter.";
        return nullptr;
    }
    DWORD code = 0;
    HANDLE handle = OpenDrive(letter, code);
    if (handle == INVALID_HANDLE_VALUE) {
        error = OpenFailure(letter, code);
        return nullptr;
    }
    error.clear();
    return std::unique_ptr<PassThroughTransport>(new PassThroughTransport(letter, handle));
}

PassThroughTransport::PassThroughTransport(char letter, void* handle)
    : letter_(letter), handle_(handle), maxTransfer_(AdapterTransferLimit(handle))
{
}

PassThroughTransport::~PassThroughTransport()
{
    // Closing the handle also ends the exclusive lock.
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
    if (buffer_ != nullptr)
        VirtualFree(buffer_, 0, MEM_RELEASE);
}

bool PassThroughTransport::Reopen()
{
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
    DWORD code = 0;
    handle_ = OpenDrive(letter_, code);
    if (handle_ == INVALID_HANDLE_VALUE) {
        locked_ = false;
        return false;
    }
    // The lock belonged to the old handle.
    if (locked_)
        locked_ = SendLock();
    return true;
}

bool PassThroughTransport::LockForWriting()
{
    locked_ = SendLock();
    return locked_;
}

void PassThroughTransport::UnlockAfterWriting()
{
    if (locked_ && SendUnlock())
        locked_ = false;
}

bool PassThroughTransport::SendLock()
{
    ExclusiveLock lock{};
    lock.requestType = kExclusiveAccessLockDevice;
    lock.flags = kLockIgnoreVolume;
    std::memcpy(lock.callerName, kLockOwner, sizeof kLockOwner - 1);
    DWORD returned = 0;
    return DeviceIoControl(handle_, kIoctlCdromExclusiveAccess, &lock, sizeof lock, nullptr, 0, &returned,
                           nullptr) != FALSE;
}

bool PassThroughTransport::SendUnlock()
{
    ULONG unlock[2] = {kExclusiveAccessUnlockDevice, 0};
    DWORD returned = 0;
    return DeviceIoControl(handle_, kIoctlCdromExclusiveAccess, unlock, sizeof unlock, nullptr, 0, &returned,
                           nullptr) != FALSE;
}

void* PassThroughTransport::AlignedBuffer(size_t length)
{
    if (length > bufferSize_) {
        if (buffer_ != nullptr)
            VirtualFree(buffer_, 0, MEM_RELEASE);
        size_t size = std::max(length, kLargestTransfer);
        buffer_ = VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        bufferSize_ = buffer_ != nullptr ? size : 0;
    }
    return buffer_;
}

ScsiResult PassThroughTransport::Execute(const ScsiRequest& request)
{
    if (request.cdbLength == 0 || request.cdbLength > request.cdb.size() ||
        (request.direction != DataDirection::None && request.length != 0 && request.data == nullptr) ||
        request.length > 0xFFFFFFFFu)
        return NotDelivered(ERROR_INVALID_PARAMETER);
    size_t length = request.direction == DataDirection::None ? 0 : request.length;
    UCHAR* buffer = nullptr;
    if (length != 0) {
        buffer = static_cast<UCHAR*>(AlignedBuffer(length));
        if (buffer == nullptr)
            return NotDelivered(ERROR_NOT_ENOUGH_MEMORY);
    }

    for (int attempt = 0;; ++attempt) {
        PassThroughWithSense packet{};
        packet.sptd.Length = sizeof packet.sptd;
        packet.sptd.CdbLength = request.cdbLength;
        packet.sptd.SenseInfoLength = sizeof packet.sense;
        packet.sptd.SenseInfoOffset = offsetof(PassThroughWithSense, sense);
        packet.sptd.DataIn = length != 0 ? DataInFor(request.direction) : SCSI_IOCTL_DATA_UNSPECIFIED;
        packet.sptd.DataTransferLength = static_cast<ULONG>(length);
        packet.sptd.DataBuffer = buffer;
        packet.sptd.TimeOutValue = std::max(1u, request.timeoutSeconds);
        std::memcpy(packet.sptd.Cdb, request.cdb.data(), request.cdbLength);
        if (request.direction == DataDirection::Out && length != 0)
            std::memcpy(buffer, request.data, length);

        DWORD returned = 0;
        if (!DeviceIoControl(handle_, IOCTL_SCSI_PASS_THROUGH_DIRECT, &packet, sizeof packet, &packet,
                             sizeof packet, &returned, nullptr)) {
            DWORD code = GetLastError();
            // After a disc change the system may invalidate the handle:
            // a fresh one carries the command.
            if (attempt == 0 && (code == ERROR_MEDIA_CHANGED || code == ERROR_INVALID_HANDLE) && Reopen())
                continue;
            return NotDelivered(code);
        }

        ScsiResult result;
        result.delivered = true;
        result.status = packet.sptd.ScsiStatus;
        size_t transferred = std::min<size_t>(packet.sptd.DataTransferLength, length);
        result.residual = length - transferred;
        if (request.direction == DataDirection::In && transferred != 0)
            std::memcpy(request.data, buffer, transferred);
        if (result.status != 0) {
            result.senseLength = std::min<uint8_t>(packet.sptd.SenseInfoLength, sizeof packet.sense);
            std::memcpy(result.sense.data(), packet.sense, result.senseLength);
        }
        return result;
    }
}

void PassThroughTransport::Pause(unsigned int milliseconds)
{
    Sleep(milliseconds);
}
