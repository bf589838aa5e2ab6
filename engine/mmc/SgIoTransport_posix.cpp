#include "SgIoTransport_posix.h"

#include <fcntl.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>

namespace {

// The adapter's and the kernel driver's verdicts in sg_io_hdr (their values
// are the kernel's DID_* and DRIVER_* codes).
const unsigned kHostNoConnect = 0x01;
const unsigned kHostBusBusy = 0x02;
const unsigned kHostTimeOut = 0x03;
const unsigned kHostBadTarget = 0x04;
const unsigned kDriverErrorMask = 0x07;  // 0x08 only says sense was returned
const unsigned kDriverBusy = 0x01;
const unsigned kDriverTimeout = 0x06;

std::string OpenFailure(const std::string& path, int code)
{
    switch (code) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
        return "There is no drive at " + path + ".";
    case EACCES:
    case EPERM:
        return "You may not use the drive at " + path +
               ": writing CDs needs access to it. Add yourself to the cdrom group (then log in again).";
    case EBUSY:
        return "The drive at " + path + " is in use by another program.";
    case EROFS:
        return "The drive at " + path + " can only be opened for reading.";
    default:
        return "The drive at " + path + " could not be opened: " + std::strerror(code) + ".";
    }
}

// An errno-like code for a command the adapter or driver gave up on.
uint32_t TransportFailure(const sg_io_hdr_t& header)
{
    switch (header.host_status) {
    case 0:
        break;
    case kHostNoConnect:
    case kHostBadTarget:
        return ENODEV;
    case kHostBusBusy:
        return EBUSY;
    case kHostTimeOut:
        return ETIMEDOUT;
    default:
        return EIO;
    }
    switch (header.driver_status & kDriverErrorMask) {
    case 0:
        return 0;
    case kDriverBusy:
        return EBUSY;
    case kDriverTimeout:
        return ETIMEDOUT;
    default:
        return EIO;
    }
}

ScsiResult NotDelivered(uint32_t code)
{
    ScsiResult result;
    result.delivered = false;
    result.transportError = code != 0 ? code : EIO;
    return result;
}

}  // namespace

std::unique_ptr<SgIoTransport> SgIoTransport::Open(const std::string& path, std::string& error)
{
    int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = OpenFailure(path, errno);
        return nullptr;
    }
    // sr and sg devices answer the SG version query; anything else
    // (a disk image, /dev/null) cannot carry SCSI commands.
    int version = 0;
    if (::ioctl(fd, SG_GET_VERSION_NUM, &version) < 0) {
        ::close(fd);
        error = path + " is not a CD drive (it does not take SCSI commands).";
        return nullptr;
    }
    error.clear();
    return std::unique_ptr<SgIoTransport>(new SgIoTransport(path, fd));
}

SgIoTransport::~SgIoTransport()
{
    ::close(fd_);
}

ScsiResult SgIoTransport::Execute(const ScsiRequest& request)
{
    if (request.cdbLength == 0 || request.cdbLength > request.cdb.size() ||
        (request.direction != DataDirection::None && request.length != 0 && request.data == nullptr) ||
        request.length > UINT_MAX)
        return NotDelivered(EINVAL);
    size_t length = request.direction == DataDirection::None ? 0 : request.length;

    uint8_t cdb[16];
    std::memcpy(cdb, request.cdb.data(), request.cdbLength);
    ScsiResult result;

    sg_io_hdr_t header{};
    header.interface_id = 'S';
    header.cmdp = cdb;
    header.cmd_len = request.cdbLength;
    header.sbp = result.sense.data();
    header.mx_sb_len = static_cast<unsigned char>(result.sense.size());
    header.dxfer_direction = length == 0                                 ? SG_DXFER_NONE
                             : request.direction == DataDirection::In ? SG_DXFER_FROM_DEV
                                                                       : SG_DXFER_TO_DEV;
    header.dxferp = length != 0 ? request.data : nullptr;
    header.dxfer_len = static_cast<unsigned int>(length);
    header.timeout = std::min(std::max(1u, request.timeoutSeconds), UINT_MAX / 1000) * 1000;

    if (::ioctl(fd_, SG_IO, &header) < 0)
        return NotDelivered(static_cast<uint32_t>(errno));

    uint8_t status = header.status != 0 ? header.status : static_cast<uint8_t>(header.masked_status << 1);
    // A status byte or sense data means the drive itself answered, whatever
    // the adapter adds; without them a host or driver error means it never did.
    if (status == 0 && header.sb_len_wr == 0) {
        uint32_t failure = TransportFailure(header);
        if (failure != 0)
            return NotDelivered(failure);
    }
    result.delivered = true;
    result.status = status;
    result.senseLength = std::min<uint8_t>(header.sb_len_wr, static_cast<uint8_t>(result.sense.size()));
    if (result.status == 0)
        result.senseLength = 0;
    result.residual = header.resid > 0 ? std::min<size_t>(static_cast<size_t>(header.resid), length) : 0;
    return result;
}

void SgIoTransport::Pause(unsigned int milliseconds)
{
    timespec wait{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    while (::nanosleep(&wait, &wait) < 0 && errno == EINTR) {
    }
}
