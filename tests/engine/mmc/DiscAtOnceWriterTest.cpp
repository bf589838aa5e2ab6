#include <gtest/gtest.h>

#include "TwoTrackDisc.h"
#include "engine/mmc/DiscAtOnceWriter.h"
#include "engine/mmc/SimulatedDrive.h"

namespace {

const std::vector<CueTrack> kTracks = {{1, std::nullopt, {0}}, {2, 1000u, {1150}}};

// Burns the two-track disc on a simulated drive, 37 sectors at a time as
// the image writer hands them over; the error of the step that failed.
struct Burn {
    explicit Burn(SimulatedDriveSetup setup, DiscAtOnceSettings settings = {}) : drive(setup), device(drive)
    {
        DiscAtOnceHooks hooks;
        hooks.stop = [this] {
            return (stopAt >= 0 && drive.Writes().size() >= size_t(stopAt)) ||
                   (!stopIn.empty() && phases.find(stopIn) != std::string::npos);
        };
        hooks.phase = [this](const std::string& text) { phases += text + "\n"; };
        hooks.log = [this](const std::string& text) { log += text + "\n"; };
        writer = std::make_unique<DiscAtOnceWriter>(device, settings, hooks);
    }
    bool Run(const std::vector<uint8_t>& bin)
    {
        if (!writer->Begin(kTracks, kLeadOut, error)) {
            writer->Abandon();
            return false;
        }
        for (size_t at = 0; at < size_t(kLeadOut); at += 37) {
            const size_t n = std::min<size_t>(37, kLeadOut - at);
            if (stopAt >= 0 && drive.Writes().size() >= size_t(stopAt)) {
                writer->Abandon();
                error = "stopped";
                return false;
            }
            if (!writer->Put(&bin[at * kRaw], n, error)) {
                writer->Abandon();
                return false;
            }
        }
        if (writer->Finish(error))
            return true;
        writer->Abandon();
        return false;
    }

    SimulatedDrive drive;
    MmcDevice device;
    std::unique_ptr<DiscAtOnceWriter> writer;
    int stopAt = -1;     // stop once this many WRITEs were taken
    std::string stopIn;  // or once this phase began
    std::string error, log, phases;
};

bool WritesRunWithoutGaps(const SimulatedDrive& drive, int32_t from, int32_t to)
{
    int32_t next = from;
    for (const SimWrite& w : drive.Writes()) {
        if (w.lba != next)
            return false;
        next += static_cast<int32_t>(w.blocks);
    }
    return next == to;
}

}  // namespace

TEST(DiscAtOnceWriter, RecordsTheImageAsItIsAndReadsItBack)
{
    const std::vector<uint8_t> bin = TwoTrackBin();
    Burn burn({});
    ASSERT_TRUE(burn.Run(bin)) << burn.error;
    EXPECT_EQ(TwoTrackCue(0x21), burn.drive.CueSheet());
    EXPECT_TRUE(WritesRunWithoutGaps(burn.drive, -150, kLeadOut));
    EXPECT_TRUE(burn.drive.Image() == bin);
    EXPECT_EQ(150u * kRaw, burn.drive.Pregap().size());
    EXPECT_EQ(SimDiscState::Complete, burn.drive.DiscState());
    EXPECT_TRUE(burn.drive.Warnings().empty()) << burn.drive.Warnings().front();
    // After the last block the drive still empties its buffer, and says so.
    EXPECT_NE(std::string::npos, burn.phases.find("% of the recorder's buffer left to write")) << burn.phases;

    // A drive that refuses whole sectors gets them without sync and header,
    // and makes the same disc.
    SimulatedDriveSetup rawRefused;
    rawRefused.fault = SimFault::RawRefused;
    Burn fallback(rawRefused);
    ASSERT_TRUE(fallback.Run(bin)) << fallback.error;
    EXPECT_EQ(TwoTrackCue(0x20), fallback.drive.CueSheet());
    EXPECT_TRUE(fallback.drive.Image() == bin);
    EXPECT_NE(std::string::npos, fallback.log.find("without sync and header"));

    // A simulation goes through every step and leaves the disc blank.
    DiscAtOnceSettings simulate;
    simulate.testWrite = true;
    Burn test({}, simulate);
    ASSERT_TRUE(test.Run(bin)) << test.error;
    EXPECT_TRUE(test.drive.TestWritten());
    EXPECT_EQ(SimDiscState::Blank, test.drive.DiscState());
}

TEST(DiscAtOnceWriter, EveryFaultEndsWithAReasonAndTheDriveReleased)
{
    const std::vector<uint8_t> bin = TwoTrackBin();
    const struct {
        SimFault fault;
        const char* says;  // part of the error
    } faults[] = {
        {SimFault::NoMedium, "no disc"},
        {SimFault::WrongMedium, "not a CD-R or CD-RW"},
        {SimFault::CompleteCdr, "written already"},
        {SimFault::SmallDisc, "holds 14 seconds"},
        {SimFault::SaoRefused, "cannot write this disc at once"},
        {SimFault::CueRefused, "refused the layout"},
        {SimFault::Underrun, "buffer underrun"},
        {SimFault::WriteError, "could not write the disc at sector"},
        {SimFault::TransportError, "did not answer (system error 1117)"},
        {SimFault::BitFlip, "differs from what was written, first at sector"},
    };
    for (const auto& f : faults) {
        SimulatedDriveSetup setup;
        setup.fault = f.fault;
        Burn burn(setup);
        EXPECT_FALSE(burn.Run(bin)) << f.says;
        EXPECT_NE(std::string::npos, burn.error.find(f.says)) << burn.error;
        // Once it has given up, the writer sends nothing more.
        burn.drive.MarkCommands();
        burn.writer->Abandon();
        EXPECT_EQ(0u, burn.drive.CommandsSinceMark()) << f.says;
    }
    // Faults a careful writer rides out.
    for (SimFault fault : {SimFault::NotReadyStorm, SimFault::BufferFullStorm, SimFault::UnderrunProtected,
                           SimFault::SyncError, SimFault::Busy}) {
        SimulatedDriveSetup setup;
        setup.fault = fault;
        Burn burn(setup);
        EXPECT_TRUE(burn.Run(bin)) << burn.error;
        EXPECT_TRUE(burn.drive.Image() == bin);
    }
}

TEST(DiscAtOnceWriter, AStopPartWayEndsTheWriteAndSaysWhatBecomesOfTheDisc)
{
    const std::vector<uint8_t> bin = TwoTrackBin();
    Burn burn({});
    burn.stopAt = 20;
    EXPECT_FALSE(burn.Run(bin));
    EXPECT_EQ(SimDiscState::Damaged, burn.drive.DiscState());
    EXPECT_TRUE(burn.writer->Spoiled());
    // The tray is free again.
    uint8_t cdb[6] = {0x1B, 0, 0, 0, 0x02, 0};
    ScsiRequest eject;
    std::copy(cdb, cdb + 6, eject.cdb.begin());
    eject.cdbLength = 6;
    EXPECT_TRUE(burn.drive.Execute(eject).Good());

    // Stopped while the drive gets ready: nothing is written.
    SimulatedDriveSetup loading;
    loading.fault = SimFault::NotReadyStorm;
    Burn early(loading);
    early.stopAt = 0;
    EXPECT_FALSE(early.Run(bin));
    EXPECT_EQ("The burn was stopped.", early.error);
    EXPECT_TRUE(early.drive.Writes().empty());
    EXPECT_FALSE(early.writer->Spoiled());
    EXPECT_EQ(SimDiscState::Blank, early.drive.DiscState());

    // Stopped while the disc is read back: the disc is complete.
    Burn late({});
    late.stopIn = "Verifying";
    EXPECT_FALSE(late.Run(bin));
    EXPECT_NE(std::string::npos, late.phases.find("Verifying the disc"));
    EXPECT_EQ("The check of the disc was stopped; the disc is written.", late.error);
    EXPECT_EQ(SimDiscState::Complete, late.drive.DiscState());
}
