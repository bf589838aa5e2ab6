#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/base/ByteOrder.h"
#include "engine/disc/CueSheet.h"
#include "engine/disc/Sector.h"
#include "engine/mmc/SenseData.h"
#include "engine/mmc/SimulatedDrive.h"
#include "TwoTrackDisc.h"

namespace {

ScsiResult Send(SimulatedDrive& drive, std::initializer_list<uint8_t> cdb, DataDirection direction = DataDirection::None,
               uint8_t* data = nullptr, size_t length = 0)
{
    ScsiRequest request;
    std::copy(cdb.begin(), cdb.end(), request.cdb.begin());
    request.cdbLength = static_cast<uint8_t>(cdb.size());
    request.direction = direction;
    request.data = data;
    request.length = length;
    return drive.Execute(request);
}

std::string Code(const ScsiResult& result)
{
    return result.Good() ? "good" : DecodeSense(result).Code();
}


ScsiResult SendCue(SimulatedDrive& drive, std::vector<uint8_t> cue)
{
    const auto size = static_cast<uint8_t>(cue.size());
    return Send(drive, {0x5D, 0, 0, 0, 0, 0, 0, 0, size, 0}, DataDirection::Out, cue.data(), cue.size());
}

// Page 05h from the drive's current values: disc-at-once, XA, underrun
// protection when the drive has it.
ScsiResult SelectWriteParameters(SimulatedDrive& drive, bool testWrite, uint8_t writeType = 2)
{
    uint8_t mode[60] = {};
    EXPECT_EQ("good", Code(Send(drive, {0x5A, 0, 0x05, 0, 0, 0, 0, 0, 60, 0}, DataDirection::In, mode, 60)));
    std::memset(mode, 0, 8);
    uint8_t* page = mode + 8;
    page[0] &= 0x3F;
    page[2] = static_cast<uint8_t>((drive.Setup().underrunFree ? 0x40 : 0) | (testWrite ? 0x10 : 0) | writeType);
    page[3] = 0;
    page[4] = 0;
    page[8] = 0x20;
    return Send(drive, {0x55, 0x10, 0, 0, 0, 0, 0, 0, 60, 0}, DataDirection::Out, mode, 60);
}

ScsiResult WriteBlocks(SimulatedDrive& drive, int32_t lba, uint16_t count, std::vector<uint8_t>& data)
{
    uint8_t cdb[10] = {0x2A, 0};
    PutBe32(cdb + 2, static_cast<uint32_t>(lba));
    PutBe16(cdb + 7, count);
    return Send(drive, {cdb[0], 0, cdb[2], cdb[3], cdb[4], cdb[5], 0, cdb[7], cdb[8], 0}, DataDirection::Out, data.data(),
               data.size());
}

// Polls TEST UNIT READY as a host does while the drive is busy.
ScsiResult WaitReady(SimulatedDrive& drive)
{
    for (;;) {
        ScsiResult result = Send(drive, {0, 0, 0, 0, 0, 0});
        if (result.Good() || !DecodeSense(result).Is(2, 0x04))
            return result;
        drive.Pause(500);
    }
}

// The disc-at-once burn of bin in form 20h (2336-byte blocks, the EDC/ECC
// area spoilt so the drive must make it) or 21h (raw sectors): the
// outcome of the first command that failed, or of the final wait.
ScsiResult Burn(SimulatedDrive& drive, const std::vector<uint8_t>& bin, bool testWrite, uint8_t form = 0x20)
{
    ScsiResult result = SelectWriteParameters(drive, testWrite);
    if (result.Good())
        result = SendCue(drive, TwoTrackCue(form));
    const size_t skip = form == 0x20 ? 16 : 0, block = kRaw - skip;
    for (int32_t lba = -150; result.Good() && lba < kLeadOut;) {
        const uint16_t count = static_cast<uint16_t>(std::min<int32_t>(lba < 0 ? -lba : kLeadOut - lba, 27));
        std::vector<uint8_t> data(count * block, 0);
        for (uint16_t k = 0; k < count; ++k) {
            if (lba >= 0)
                std::memcpy(&data[k * block], &bin[(lba + k) * kRaw + skip], block);
            else if (form == 0x21)  // raw pregap sectors: empty Form 2
                MakeForm2Sector(&data[k * block], static_cast<uint32_t>(lba + k), Subheader{0, 0, 0x20, 0},
                                std::vector<uint8_t>(kForm2DataSize).data());
            if (form == 0x20)
                std::memset(&data[k * block + block - 4], 0xEE, 4);
        }
        result = WriteBlocks(drive, lba, count, data);
        if (DecodeSense(result).Is(2, 0x04, 0x08)) {
            drive.Pause(40);
            result = ScsiResult{};
            result.delivered = true;
            continue;
        }
        lba += count;
    }
    if (result.Good())
        result = Send(drive, {0x35, 0x02, 0, 0, 0, 0, 0, 0, 0, 0});
    return result.Good() ? WaitReady(drive) : result;
}

}  // namespace

TEST(SimulatedDrive, TwoTrackDiscAtOnceBurnIsRecordedAndReadBack)
{
    SimulatedDrive drive;
    const std::vector<uint8_t> bin = TwoTrackBin();
    ASSERT_EQ("good", Code(Burn(drive, bin, false)));

    EXPECT_EQ(TwoTrackCue(0x20), drive.CueSheet());
    int32_t next = -150;
    for (const SimWrite& write : drive.Writes()) {
        EXPECT_EQ(next, write.lba);
        next += static_cast<int32_t>(write.blocks);
    }
    EXPECT_EQ(kLeadOut, next);
    EXPECT_EQ(SimDiscState::Complete, drive.DiscState());
    EXPECT_TRUE(drive.Warnings().empty());
    // Sync, header and EDC/ECC made by the drive, pregap and all.
    EXPECT_TRUE(drive.Image() == bin);
    ASSERT_EQ(150 * kRaw, drive.Pregap().size());
    uint8_t zeros[kForm1DataSize] = {}, sector[kRaw];
    MakeForm1Sector(sector, static_cast<uint32_t>(-150), Subheader{}, zeros);
    EXPECT_EQ(0, std::memcmp(sector, drive.Pregap().data(), kRaw));
    EXPECT_EQ(MakeCueSheet("disc.bin", {{1, {}, {0}}, {2, 1000u, {1150}}}), drive.CueText("disc.bin"));

    uint8_t info[34];
    ASSERT_TRUE(Send(drive, {0x51, 0, 0, 0, 0, 0, 0, 0, 34, 0}, DataDirection::In, info, 34).Good());
    EXPECT_EQ(0x0E, info[2]);
    EXPECT_EQ(0x20, info[8]);
    uint8_t toc[28];
    ASSERT_TRUE(Send(drive, {0x43, 0, 0, 0, 0, 0, 0, 0, 28, 0}, DataDirection::In, toc, 28).Good());
    EXPECT_EQ(26, GetBe16(toc));
    EXPECT_EQ(0x16, toc[5]);
    EXPECT_EQ(1150u, GetBe32(toc + 16));
    EXPECT_EQ(0xAA, toc[22]);
    EXPECT_EQ(uint32_t{kLeadOut}, GetBe32(toc + 24));

    std::vector<uint8_t> back(kLeadOut * kRaw);
    ASSERT_TRUE(Send(drive, {0xBE, 0, 0, 0, 0, 0, 0x00, 0x06, 0x40, 0xF8, 0, 0}, DataDirection::In, back.data(),
                    back.size())
                    .Good());
    EXPECT_TRUE(back == bin);
    // Nothing beyond the lead-out; the disc takes no second cue sheet.
    EXPECT_EQ("5/21/00", Code(Send(drive, {0xBE, 0, 0, 0, 0x06, 0x40, 0, 0, 1, 0xF8, 0, 0}, DataDirection::In,
                                  back.data(), kRaw)));
    EXPECT_EQ("5/2C/00", Code(SendCue(drive, TwoTrackCue(0x20))));
}

TEST(SimulatedDrive, RefusesWhatAStrictDriveRefuses)
{
    SimulatedDrive drive;
    std::vector<uint8_t> block(2336);
    EXPECT_EQ("5/20/00", Code(Send(drive, {0x28, 0, 0, 0, 0, 0, 0, 0, 0, 0})));
    EXPECT_EQ("5/2C/00", Code(WriteBlocks(drive, -150, 1, block)));
    // Still track-at-once: no cue sheet.
    EXPECT_EQ("5/2C/00", Code(SendCue(drive, TwoTrackCue(0x20))));
    EXPECT_EQ("5/30/00", Code(Send(drive, {0xA1, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})));

    uint8_t mode[60] = {};
    ASSERT_TRUE(Send(drive, {0x5A, 0, 0x05, 0, 0, 0, 0, 0, 60, 0}, DataDirection::In, mode, 60).Good());
    mode[0] = mode[1] = 0;
    mode[7] = 8;  // a block descriptor
    EXPECT_EQ("5/26/00", Code(Send(drive, {0x55, 0x10, 0, 0, 0, 0, 0, 0, 60, 0}, DataDirection::Out, mode, 60)));
    ASSERT_EQ("good", Code(SelectWriteParameters(drive, false)));

    std::vector<uint8_t> cue = TwoTrackCue(0x20);
    std::swap_ranges(cue.begin() + 24, cue.begin() + 32, cue.begin() + 32);  // INDEX 01 before INDEX 00
    EXPECT_EQ("5/26/00", Code(SendCue(drive, cue)));
    cue = TwoTrackCue(0x20);
    cue[25] = cue[33] = 3;  // track 3 after track 1
    EXPECT_EQ("5/26/00", Code(SendCue(drive, cue)));
    cue = TwoTrackCue(0x20);
    cue[46] = 0x15;
    cue[47] = 0x18;  // track 2 shorter than 300 blocks
    EXPECT_EQ("5/26/00", Code(SendCue(drive, cue)));
    ASSERT_EQ("good", Code(SendCue(drive, TwoTrackCue(0x20))));

    EXPECT_EQ("5/21/02", Code(WriteBlocks(drive, -149, 1, block)));
    std::vector<uint8_t> raw(2352);
    EXPECT_EQ("5/24/00", Code(WriteBlocks(drive, -150, 1, raw)));
    ASSERT_EQ("good", Code(WriteBlocks(drive, -150, 1, block)));
    // Finishing before the last block leaves the CD-R unusable.
    EXPECT_EQ("5/2C/00", Code(Send(drive, {0x35, 0, 0, 0, 0, 0, 0, 0, 0, 0})));
    EXPECT_EQ(SimDiscState::Damaged, drive.DiscState());
    uint8_t info[34];
    ASSERT_TRUE(Send(drive, {0x51, 0, 0, 0, 0, 0, 0, 0, 34, 0}, DataDirection::In, info, 34).Good());
    EXPECT_EQ(0x0E, info[2]);

    // A prevented tray stays shut; a reloaded disc becomes ready, then reports the change once.
    ASSERT_TRUE(Send(drive, {0x1E, 0, 0, 0, 1, 0}).Good());
    EXPECT_EQ("2/53/02", Code(Send(drive, {0x1B, 0, 0, 0, 0x02, 0})));
    ASSERT_TRUE(Send(drive, {0x1E, 0, 0, 0, 0, 0}).Good());
    ASSERT_TRUE(Send(drive, {0x1B, 0, 0, 0, 0x02, 0}).Good());
    EXPECT_EQ("2/3A/02", Code(Send(drive, {0, 0, 0, 0, 0, 0})));
    ASSERT_TRUE(Send(drive, {0x1B, 0, 0, 0, 0x03, 0}).Good());
    EXPECT_EQ("2/04/01", Code(Send(drive, {0, 0, 0, 0, 0, 0})));
    drive.Pause(5000);
    EXPECT_EQ("6/28/00", Code(Send(drive, {0, 0, 0, 0, 0, 0})));
    EXPECT_EQ("good", Code(Send(drive, {0, 0, 0, 0, 0, 0})));
}

TEST(SimulatedDrive, FaultsOfDrivesAndDiscs)
{
    SimFault fault = SimFault::None;
    EXPECT_FALSE(SimulatedDrive::ParseFault("melted", fault));
    for (const std::string& name : SimulatedDrive::FaultNames())
        EXPECT_TRUE(SimulatedDrive::ParseFault(name, fault)) << name;

    ASSERT_TRUE(SimulatedDrive::ParseFault("no-medium", fault));
    SimulatedDriveSetup setup;
    setup.fault = fault;
    SimulatedDrive empty(setup);
    EXPECT_EQ("2/3A/01", Code(Send(empty, {0, 0, 0, 0, 0, 0})));

    setup.fault = SimFault::RawRefused;
    SimulatedDrive raw(setup);
    ASSERT_TRUE(SelectWriteParameters(raw, false).Good());
    EXPECT_EQ("5/26/00", Code(SendCue(raw, TwoTrackCue(0x21))));
    EXPECT_EQ("good", Code(SendCue(raw, TwoTrackCue(0x20))));

    // A raw burn: the drive remakes what it records from the host's sectors.
    const std::vector<uint8_t> bin = TwoTrackBin();
    SimulatedDrive rawBurn;
    EXPECT_EQ("good", Code(Burn(rawBurn, bin, false, 0x21)));
    EXPECT_TRUE(rawBurn.Image() == bin);
    EXPECT_TRUE(rawBurn.Warnings().empty()) << rawBurn.Warnings().front();

    // A host stall halfway: fatal without underrun protection, harmless with it.
    setup.fault = SimFault::Underrun;
    SimulatedDrive unprotected(setup);
    EXPECT_EQ("3/0C/09", Code(Burn(unprotected, bin, false)));
    EXPECT_EQ(SimDiscState::Damaged, unprotected.DiscState());
    unprotected.MarkCommands();
    EXPECT_EQ("5/2C/00", Code(Send(unprotected, {0x2A, 0, 0, 0, 0x03, 0x20, 0, 0, 0, 0})));
    EXPECT_EQ(1u, unprotected.CommandsSinceMark());
    setup.fault = SimFault::UnderrunProtected;
    SimulatedDrive protectedDrive(setup);
    EXPECT_EQ("good", Code(Burn(protectedDrive, bin, false)));
    EXPECT_EQ(SimDiscState::Complete, protectedDrive.DiscState());
    EXPECT_TRUE(protectedDrive.Image() == bin);

    // A test write goes all the way and leaves the disc blank.
    SimulatedDrive test;
    EXPECT_EQ("good", Code(Burn(test, bin, true)));
    EXPECT_TRUE(test.TestWritten());
    EXPECT_EQ(SimDiscState::Blank, test.DiscState());
    uint8_t info[34];
    ASSERT_TRUE(Send(test, {0x51, 0, 0, 0, 0, 0, 0, 0, 34, 0}, DataDirection::In, info, 34).Good());
    EXPECT_EQ(0x00, info[2]);
}

TEST(SimulatedDrive, BlankingACdRwShowsProgressUntilDone)
{
    SimulatedDriveSetup setup;
    setup.medium = SimMedium::CdrwComplete;
    SimulatedDrive drive(setup);
    ASSERT_TRUE(Send(drive, {0xA1, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).Good());
    int last = -1;
    for (;;) {
        const ScsiResult result = Send(drive, {0, 0, 0, 0, 0, 0});
        if (result.Good())
            break;
        const SenseData sense = DecodeSense(result);
        ASSERT_TRUE(sense.Is(2, 0x04, 0x07)) << sense.Code();
        EXPECT_GT(sense.progress, last);
        last = sense.progress;
        drive.Pause(2000);
    }
    EXPECT_GT(last, 0);
    EXPECT_EQ(SimDiscState::Blank, drive.DiscState());
    uint8_t info[34];
    ASSERT_TRUE(Send(drive, {0x51, 0, 0, 0, 0, 0, 0, 0, 34, 0}, DataDirection::In, info, 34).Good());
    EXPECT_EQ(0x10, info[2]);
}

TEST(SimulatedDrive, DescribesItselfAndItsSpeeds)
{
    SimulatedDrive drive;
    uint8_t config[48] = {};
    ASSERT_TRUE(Send(drive, {0x46, 0x00, 0, 0, 0, 0, 0, 0, 48, 0}, DataDirection::In, config, 48).Good());
    EXPECT_EQ(0x0009, GetBe16(config + 6));
    EXPECT_EQ(0x0000, GetBe16(config + 8));
    // After the four profiles: 002Dh, then 002Eh with SAO, BUF, test write and the cue sheet limit.
    ASSERT_EQ(0x002E, GetBe16(config + 36));
    EXPECT_EQ(0x66, config[40] & 0x66);
    EXPECT_EQ(3072u, GetBe32(config + 40) & 0xFFFFFF);

    // 16x asked as 16 x 177 kB/s: the drive takes 16x and says so in page 2Ah.
    ASSERT_TRUE(Send(drive, {0xBB, 0, 0xFF, 0xFF, 0x0B, 0x10, 0, 0, 0, 0, 0, 0}).Good());
    uint8_t mode[60] = {};
    ASSERT_TRUE(Send(drive, {0x5A, 0, 0x2A, 0, 0, 0, 0, 0, 60, 0}, DataDirection::In, mode, 60).Good());
    const uint8_t* page = mode + 8;
    EXPECT_EQ(0x07, page[3]);
    EXPECT_EQ(0x80, page[4] & 0x80);
    EXPECT_EQ(2048, GetBe16(page + 12));
    EXPECT_EQ(16 * 176, GetBe16(page + 28));
    ASSERT_EQ(5, GetBe16(page + 30));
    EXPECT_EQ(48 * 176, GetBe16(page + 34));
    uint8_t speeds[8 + 16 * 5] = {};
    ASSERT_TRUE(Send(drive, {0xAC, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0x03, 0}, DataDirection::In, speeds, sizeof speeds).Good());
    EXPECT_EQ(4u + 16 * 5, GetBe32(speeds));
    EXPECT_EQ(4u * 176, GetBe32(speeds + 8 + 16 * 4 + 12));

    // A DVD-ROM reader writes nothing and says so.
    SimulatedDriveSetup setup;
    setup.fault = SimFault::DvdReader;
    SimulatedDrive reader(setup);
    ASSERT_TRUE(Send(reader, {0x5A, 0, 0x2A, 0, 0, 0, 0, 0, 40, 0}, DataDirection::In, mode, 40).Good());
    EXPECT_EQ(0, page[3]);
    ASSERT_TRUE(Send(reader, {0x46, 0x02, 0, 0x2E, 0, 0, 0, 0, 8, 0}, DataDirection::In, config, 8).Good());
    EXPECT_EQ(4u, GetBe32(config));
    EXPECT_EQ(0x0008, GetBe16(config + 6));
    EXPECT_EQ("5/20/00", Code(SendCue(reader, TwoTrackCue(0x20))));
}
