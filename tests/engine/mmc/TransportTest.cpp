#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "engine/mmc/DriveDiscovery_win.h"
#endif
#ifdef __linux__
#include <unistd.h>

#include "engine/mmc/SgIoTransport_posix.h"
#endif

#include "engine/mmc/ScsiTransport.h"

namespace {

[[maybe_unused]] ScsiRequest Inquiry(uint8_t* data, size_t length)
{
    ScsiRequest request;
    request.cdb = {0x12, 0, 0, 0, static_cast<uint8_t>(length), 0};
    request.cdbLength = 6;
    request.direction = DataDirection::In;
    request.data = data;
    request.length = length;
    request.timeoutSeconds = 10;
    return request;
}

// What any transport may say to INQUIRY: that it could not deliver it,
// with the system's reason, or the drive's answer.
[[maybe_unused]] void ExpectCleanInquiryOutcome(ScsiTransport& transport)
{
    uint8_t data[36] = {};
    ScsiResult result = transport.Execute(Inquiry(data, sizeof data));
    if (!result.delivered) {
        EXPECT_NE(0u, result.transportError);
        return;
    }
    EXPECT_LE(result.residual, sizeof data);
    EXPECT_LE(result.senseLength, result.sense.size());
    if (result.Good() && result.residual < sizeof data) {
        EXPECT_EQ(0x05, data[0] & 0x1F) << "a CD drive calls itself a CD/DVD device";
    }
}

}  // namespace

#ifdef _WIN32

namespace {

char SystemDriveLetter()
{
    char folder[MAX_PATH] = "";
    GetWindowsDirectoryA(folder, MAX_PATH);
    return folder[0];
}

char UnusedLetter()
{
    DWORD used = GetLogicalDrives();
    for (int i = 25; i >= 3; --i)
        if ((used & (1u << i)) == 0)
            return static_cast<char>('A' + i);
    return 0;
}

}  // namespace

TEST(DriveDiscovery, CdDrivesAreListedOnceInOrderAndOpenOrSayWhyNot)
{
    std::vector<char> letters = CdDriveLetters();
    for (size_t i = 0; i < letters.size(); ++i) {
        EXPECT_TRUE(letters[i] >= 'A' && letters[i] <= 'Z') << letters[i];
        if (i > 0) {
            EXPECT_LT(letters[i - 1], letters[i]);
        }
    }
    EXPECT_EQ(0, std::count(letters.begin(), letters.end(), SystemDriveLetter()));

    for (char letter : letters) {
        std::string error;
        std::unique_ptr<PassThroughTransport> drive = OpenCdDrive(letter, error);
        if (!drive) {
            EXPECT_NE(std::string::npos, error.find(std::string(1, letter) + ":")) << error;
            continue;
        }
        EXPECT_EQ(letter, drive->Letter());
        EXPECT_GT(drive->MaxTransferBytes(), 0u);
        EXPECT_LE(drive->MaxTransferBytes(), 64u * 1024);
        drive->LockForWriting();  // optional: either answer is fine
        drive->UnlockAfterWriting();
        ExpectCleanInquiryOutcome(*drive);
    }
}

TEST(DriveDiscovery, LettersThatAreNotCdDrivesAreRefusedWithAMessage)
{
    std::string error;
    char unused = UnusedLetter();
    ASSERT_NE(0, unused);
    EXPECT_EQ(nullptr, OpenCdDrive(unused, error));
    EXPECT_EQ(std::string("There is no drive ") + unused + ":.", error);
    EXPECT_EQ(nullptr, PassThroughTransport::Open(unused, error));
    EXPECT_NE(std::string::npos, error.find(std::string(1, unused) + ":")) << error;

    char system = SystemDriveLetter();
    EXPECT_EQ(nullptr, OpenCdDrive(system, error));
    EXPECT_EQ(std::string("Drive ") + system + ": is not a CD or DVD drive.", error);

    EXPECT_EQ(nullptr, OpenCdDrive('7', error));
    EXPECT_FALSE(error.empty());
}

TEST(PassThroughTransport, ADiskWithoutScsiFailsCommandsCleanly)
{
    // The system disk takes no SCSI commands here: whatever the system
    // answers, the transport must report it, not hang or crash.
    std::string error;
    std::unique_ptr<PassThroughTransport> disk = PassThroughTransport::Open(SystemDriveLetter(), error);
    if (!disk) {
        EXPECT_FALSE(error.empty());
        return;
    }
    ExpectCleanInquiryOutcome(*disk);

    // Requests the system would reject are refused before they reach it.
    uint8_t data[8];
    ScsiRequest bad = Inquiry(data, sizeof data);
    bad.cdbLength = 0;
    EXPECT_FALSE(disk->Execute(bad).delivered);
    EXPECT_EQ(static_cast<uint32_t>(ERROR_INVALID_PARAMETER), disk->Execute(bad).transportError);
    bad = Inquiry(nullptr, 8);
    EXPECT_EQ(static_cast<uint32_t>(ERROR_INVALID_PARAMETER), disk->Execute(bad).transportError);
}

#endif  // _WIN32

#ifdef __linux__

TEST(SgIoTransport, MissingOrUnsuitableDevicesAreRefusedWithAMessage)
{
    std::string error;
    EXPECT_EQ(nullptr, SgIoTransport::Open("/dev/nonexistent-sr", error));
    EXPECT_EQ("There is no drive at /dev/nonexistent-sr.", error);

    // A device that opens but carries no SCSI commands.
    EXPECT_EQ(nullptr, SgIoTransport::Open("/dev/null", error));
    EXPECT_NE(std::string::npos, error.find("/dev/null is not a CD drive")) << error;

    if (access("/dev/sr0", R_OK | W_OK) == 0) {
        std::unique_ptr<SgIoTransport> drive = SgIoTransport::Open("/dev/sr0", error);
        ASSERT_NE(nullptr, drive) << error;
        ExpectCleanInquiryOutcome(*drive);
    }
}

#endif  // __linux__
