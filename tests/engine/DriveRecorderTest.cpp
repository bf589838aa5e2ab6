// A CD writer as the program meets it through the engine's C interface:
// the simulated drive joins the image recorder.
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "EngineApiFixture.h"
#include "engine/mmc/SimulatedDrive.h"
#include "engine/recorder/DriveRecorder.h"

namespace {

void SetDiscDate(const char* seconds)
{
#ifdef _WIN32
    _putenv_s("SOURCE_DATE_EPOCH", seconds ? seconds : "");
#else
    if (seconds)
        setenv("SOURCE_DATE_EPOCH", seconds, 1);
    else
        unsetenv("SOURCE_DATE_EPOCH");
#endif
}

bool SameFiles(const std::string& a, const std::string& b)
{
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    std::vector<char> ba(1 << 20), bb(1 << 20);
    while (fa && fb) {
        fa.read(ba.data(), static_cast<std::streamsize>(ba.size()));
        fb.read(bb.data(), static_cast<std::streamsize>(bb.size()));
        if (fa.gcount() != fb.gcount() || !std::equal(ba.begin(), ba.begin() + fa.gcount(), bb.begin()))
            return false;
    }
    return fa.eof() && fb.eof();
}

class DriveRecorderTest : public EngineApiTest {
protected:
    void TearDown() override
    {
        SetDiscDate(nullptr);
        EngineApiTest::TearDown();
    }
    // Adds a simulated drive recording into a file, and turns the burns to it.
    SimulatedDrive& UseDrive(SimulatedDriveSetup setup)
    {
        setup.imageFile = m_dir.File(m_drives++ ? "drive" + std::to_string(m_drives) + ".bin" : "drive.bin");
        auto drive = std::make_unique<SimulatedDrive>(setup);
        SimulatedDrive& d = *drive;
        std::unique_ptr<DriveRecorder> recorder = DriveRecorder::Probe('D', std::move(drive));
        EXPECT_TRUE(recorder);
        Engine::Instance().AddRecorder(std::move(recorder));
        NeroCloseDevice(m_device);
        NeroFreeMem(m_list);
        m_list = NeroGetAvailableDrivesEx(ENGINE_MEDIA_CD, nullptr);
        m_device = NeroOpenDevice(&m_list->recorders[m_list->count - 1]);
        return d;
    }

    int m_drives = 0;
};

}  // namespace

// 1,900 photos, the most a project holds: the drive records the image
// recorder's disc sector for sector. The sanitizer builds, ten times slower,
// burn a show of 120.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
const int kFullShow = 120;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
const int kFullShow = 120;
#else
const int kFullShow = 1900;
#endif
#else
const int kFullShow = 1900;
#endif

TEST_F(DriveRecorderTest, AFullSlideshowOnTheDriveIsTheImageRecordersDisc)
{
    SetDiscDate("1700000000");
    std::vector<ControlEntry> photos;
    for (int i = 0; i < kFullShow; ++i)
        photos.push_back({Corpus(i % 2 ? "bmp/tiny_1x1_24.bmp" : "bmp/rgb24.bmp"), static_cast<uint32_t>(i % 7)});
    ASSERT_EQ(ENGINE_BURN_OK, Burn(photos, kWrite));
    const std::string image = Engine::Instance().LastBin();

    SimulatedDrive& drive = UseDrive({});
    ASSERT_EQ(2, m_list->count);
    m_observer = Observer{};
    ASSERT_EQ(ENGINE_BURN_OK, Burn(photos, kWrite));
    EXPECT_EQ(SimDiscState::Complete, drive.DiscState());
    EXPECT_TRUE(SameFiles(image, m_dir.File("drive.bin")));
    EXPECT_NE(m_observer.phases.end(),
              std::find(m_observer.phases.begin(), m_observer.phases.end(), "Verifying the disc"));
}

TEST_F(DriveRecorderTest, DiscSpeedsEraseAndTray)
{
    SimulatedDriveSetup setup;
    setup.medium = SimMedium::CdrwComplete;
    SimulatedDrive& drive = UseDrive(setup);
    EngineDiscInfo* disc = NeroGetCDInfo(m_device, 0);
    ASSERT_NE(nullptr, disc);
    EXPECT_EQ(unsigned{ENGINE_MEDIA_CDRW}, disc->mediaType);
    EXPECT_EQ(0, disc->writeable);
    NeroFreeMem(disc);
    EngineSpeedList* speeds = NeroGetAvailableSpeeds(m_device, 0, ENGINE_MEDIA_CD, nullptr);
    ASSERT_NE(nullptr, speeds);
    ASSERT_EQ(5, speeds->count);
    EXPECT_EQ(4, speeds->multiples[0]);
    EXPECT_EQ(48, speeds->multiples[4]);
    NeroFreeMem(speeds);

    // A written CD-RW refuses a burn, is erased, and then takes one.
    const std::vector<ControlEntry> photo = {{Corpus("bmp/rgb24.bmp"), 2}};
    EXPECT_EQ(ENGINE_BURN_FAILED, Burn(photo, kWrite));
    EXPECT_LT(0, NeroGetCDRWErasingTime(m_device, 1));
    m_observer = Observer{};  // the erase keeps the program alive through its idle callback
    EXPECT_EQ(ENGINE_ERASE_OK, NeroEraseCDRW(m_device, 1));
    EXPECT_LT(0, m_observer.idleCalls);
    EXPECT_EQ(SimDiscState::Blank, drive.DiscState());
    m_observer = Observer{};
    EXPECT_EQ(ENGINE_BURN_OK, Burn(photo, kWrite));

    EXPECT_EQ(0, NeroEjectLoadCD(m_device, 1));
    disc = NeroGetCDInfo(m_device, 0);
    ASSERT_NE(nullptr, disc);
    EXPECT_EQ(0u, disc->mediaType);  // the tray is open
    NeroFreeMem(disc);
    EXPECT_EQ(0, NeroEjectLoadCD(m_device, 0));
}

// Stopped while it writes: the write is ended, the program hears that the
// CD-R is lost (a failure, not a silent abort), and no callback comes after.
TEST_F(DriveRecorderTest, AbortWhileWritingAndATestWrite)
{
    SimulatedDrive& drive = UseDrive({});
    std::vector<ControlEntry> photos(40, ControlEntry{Corpus("bmp/rgb24.bmp"), 1});
    EXPECT_EQ(ENGINE_BURN_OK, Burn(photos, kSimulate));
    EXPECT_TRUE(drive.TestWritten());
    EXPECT_EQ(SimDiscState::Blank, drive.DiscState());

    m_observer = Observer{};
    m_observer.abortAt = 30;
    EXPECT_EQ(ENGINE_BURN_FAILED, Burn(photos, kWrite));
    EXPECT_EQ(SimDiscState::Damaged, drive.DiscState());
    char* log = NeroGetErrorLog();
    ASSERT_NE(nullptr, log);
    EXPECT_NE(nullptr, std::strstr(log, "The burn stopped part way: the CD-R cannot be used any more.")) << log;
    NeroFreeMem(log);
}

// Faults of drives and discs, as the program meets them: a failed burn
// with the reason in the error log, and no callback after NeroBurn.
TEST_F(DriveRecorderTest, FaultsFailTheBurnWithAReason)
{
    const std::vector<ControlEntry> photos(3, ControlEntry{Corpus("bmp/rgb24.bmp"), 1});
    for (SimFault fault : {SimFault::NoMedium, SimFault::SmallDisc, SimFault::CueRefused, SimFault::WriteError,
                           SimFault::TransportError, SimFault::BitFlip}) {
        SimulatedDriveSetup setup;
        setup.fault = fault;
        UseDrive(setup);
        m_observer = Observer{};
        EXPECT_EQ(ENGINE_BURN_FAILED, Burn(photos, kWrite));
        char* log = NeroGetErrorLog();
        ASSERT_NE(nullptr, log);
        EXPECT_NE(std::string::npos, std::string(log).find("disc")) << log;
        NeroFreeMem(log);
        NeroClearErrors();
    }
}
