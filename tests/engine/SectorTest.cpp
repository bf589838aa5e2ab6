#include "engine/disc/Sector.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "engine/disc/CueSheet.h"

namespace {

using RawSector = std::array<uint8_t, kRawSectorSize>;

constexpr size_t kData = 24, kEdc1 = 2072, kP = 2076, kQ = 2248, kEdc2 = 2348;

std::string ReadVcdData(const char* name)
{
    std::ifstream in(std::string(SNAPDISC_TEST_DATA_DIR) + "/vcd/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// First differing byte, or -1.
int FirstDifference(const uint8_t* a, const uint8_t* b)
{
    for (size_t i = 0; i < kRawSectorSize; ++i)
        if (a[i] != b[i])
            return static_cast<int>(i);
    return -1;
}

// A reader's check of a Form 1 sector, straight from the code's definition:
// in both byte planes every P column and Q diagonal has zero syndromes
// (sum V_i and sum alpha^(N-1-i) V_i, by Horner), with the header as zero.
int FailingCodewords(const uint8_t* sector)
{
    std::vector<uint8_t> words(sector + 12, sector + kRawSectorSize);
    std::fill(words.begin(), words.begin() + 4, 0);
    auto failing = [&](size_t codewords, size_t length, auto symbol) {
        int count = 0;
        for (size_t plane = 0; plane < 2; ++plane)
            for (size_t k = 0; k < codewords; ++k) {
                uint8_t s0 = 0, s1 = 0;
                for (size_t i = 0; i < length; ++i) {
                    const uint8_t v = words[2 * symbol(k, i) + plane];
                    s0 ^= v;
                    s1 = static_cast<uint8_t>((s1 << 1) ^ ((s1 & 0x80) ? 0x1D : 0) ^ v);
                }
                count += s0 != 0 || s1 != 0;
            }
        return count;
    };
    return failing(43, 26, [](size_t c, size_t i) { return 43 * i + c; }) +
           failing(26, 45, [](size_t d, size_t i) { return i < 43 ? (44 * i + 43 * d) % 1118 : 1118 + 26 * (i - 43) + d; });
}

std::vector<uint8_t> Bytes(std::initializer_list<uint8_t> bytes) { return bytes; }
std::vector<uint8_t> Bytes(const uint8_t* p, size_t n) { return std::vector<uint8_t>(p, p + n); }

}  // namespace

TEST(SectorTest, EdcVectors)
{
    EXPECT_EQ(ComputeEdc(reinterpret_cast<const uint8_t*>("123456789"), 9), 0x6EC2EDC4u);
    const uint8_t one = 0x01;
    EXPECT_EQ(ComputeEdc(&one, 1), 0x90910101u);

    const std::vector<uint8_t> zeros(kForm2DataSize);
    RawSector form1{}, form2{};
    MakeForm1Sector(form1.data(), 0, {0, 0, 0x08, 0}, zeros.data());
    EXPECT_EQ(Bytes(&form1[kEdc1], 4), Bytes({0x0B, 0x88, 0x81, 0x94}));
    EXPECT_EQ(Bytes(&form1[kP], 8), Bytes({0, 0, 0, 0, 0, 0, 0xFB, 0}));
    EXPECT_EQ(Bytes(&form1[kQ], 8), Bytes({0, 0, 0, 0, 0, 0, 0, 0}));
    MakeForm2Sector(form2.data(), 708, {0, 0, 0x20, 0}, zeros.data());
    EXPECT_EQ(Bytes(&form2[kEdc2], 4), Bytes({0x3F, 0x13, 0xB0, 0xBE}));
}

// Each sector cut from vcdxbuild's image, coded again in place from its own
// subheader and user data over a buffer whose other bytes are garbage.
TEST(SectorTest, RebuildsReferenceSectors)
{
    const std::string ref = ReadVcdData("ref-sectors.bin");
    ASSERT_EQ(ref.size(), 5 * kRawSectorSize);
    const struct {
        uint32_t lsn;
        bool form1;
        const char* what;
    } cases[] = {{0, true, "system area"}, {16, true, "PVD"}, {150, true, "INFO.VCD"},
                 {708, false, "empty pregap"}, {225, false, "still pack"}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const uint8_t* expected = reinterpret_cast<const uint8_t*>(ref.data()) + i * kRawSectorSize;
        RawSector sector;
        sector.fill(0xA5);
        std::copy(expected + kData, expected + (c.form1 ? kEdc1 : kEdc2), sector.begin() + kData);
        const Subheader subheader{expected[16], expected[17], expected[18], expected[19]};
        if (c.form1)
            MakeForm1Sector(sector.data(), c.lsn, subheader, sector.data() + kData);
        else
            MakeForm2Sector(sector.data(), c.lsn, subheader, sector.data() + kData);
        EXPECT_EQ(FirstDifference(sector.data(), expected), -1) << c.what << " (LSN " << c.lsn << ")";
    }
}

TEST(SectorTest, HeaderIsBcdAddressOfLsnPlus150)
{
    const struct {
        uint32_t lsn;
        uint8_t minute, second, frame;
    } cases[] = {{0, 0x00, 0x02, 0x00},
                 {4349, 0x00, 0x59, 0x74},
                 {4350, 0x01, 0x00, 0x00},
                 {359849, 0x79, 0x59, 0x74}};
    const std::vector<uint8_t> data(kForm2DataSize, 0x5A);
    for (const auto& c : cases) {
        RawSector form1, form2;
        MakeForm1Sector(form1.data(), c.lsn, {}, data.data());
        MakeForm2Sector(form2.data(), c.lsn, {}, data.data());
        const auto expected = Bytes({c.minute, c.second, c.frame, 0x02});
        EXPECT_EQ(Bytes(&form1[12], 4), expected) << "Form 1, LSN " << c.lsn;
        EXPECT_EQ(Bytes(&form2[12], 4), expected) << "Form 2, LSN " << c.lsn;
    }
}

TEST(SectorTest, ParityFollowsEveryCoveredByteButNotTheAddress)
{
    std::mt19937 random(2352);
    std::vector<uint8_t> data(kForm1DataSize);
    for (uint8_t& byte : data)
        byte = static_cast<uint8_t>(random());
    const Subheader subheader{0, 0, 0x08, 0};
    RawSector original;
    MakeForm1Sector(original.data(), 1000, subheader, data.data());
    ASSERT_EQ(FailingCodewords(original.data()), 0);

    RawSector elsewhere;
    MakeForm1Sector(elsewhere.data(), 300000, subheader, data.data());
    EXPECT_EQ(Bytes(&elsewhere[kEdc1], 280), Bytes(&original[kEdc1], 280)) << "EDC and parity leave out the header";

    for (size_t offset : {size_t{0}, size_t{1}, size_t{1031}, kForm1DataSize - 1}) {
        std::vector<uint8_t> changed = data;
        changed[offset] ^= 0x40;
        RawSector stale = original;
        stale[kData + offset] ^= 0x40;
        EXPECT_GT(FailingCodewords(stale.data()), 0) << "data byte " << offset;
        RawSector rebuilt;
        MakeForm1Sector(rebuilt.data(), 1000, subheader, changed.data());
        EXPECT_NE(Bytes(&rebuilt[kP], kParityPSize), Bytes(&original[kP], kParityPSize)) << "data byte " << offset;
        EXPECT_NE(Bytes(&rebuilt[kQ], kParityQSize), Bytes(&original[kQ], kParityQSize)) << "data byte " << offset;
        EXPECT_EQ(FailingCodewords(rebuilt.data()), 0) << "data byte " << offset;
    }
}

TEST(CueSheetTest, MatchesTheReferenceImage)
{
    const std::vector<CueTrack> tracks = {{1, std::nullopt, {0}}, {2, 708, {858}}};
    EXPECT_EQ(MakeCueSheet("ref.bin", tracks), ReadVcdData("ref.cue"));
}

TEST(CueSheetTest, EntryPointsFollowIndex01)
{
    const std::vector<CueTrack> tracks = {{1, std::nullopt, {0}}, {2, 4350, {4500, 270074}}};
    EXPECT_EQ(MakeCueSheet("Holiday 2024.bin", tracks),
              "FILE \"Holiday 2024.bin\" BINARY\r\n"
              "  TRACK 01 MODE2/2352\r\n"
              "    FLAGS DCP\r\n"
              "    INDEX 01 00:00:00\r\n"
              "  TRACK 02 MODE2/2352\r\n"
              "    FLAGS DCP\r\n"
              "    INDEX 00 00:58:00\r\n"
              "    INDEX 01 01:00:00\r\n"
              "    INDEX 02 60:00:74\r\n");
}
