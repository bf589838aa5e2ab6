#include "photo/ProjectFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "framework/CArchive.h"
#include "framework/CArchiveException.h"
#include "framework/CFile.h"
#include "framework/CFileException.h"
#include "photo/CProjectInfo.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

namespace {

// Title trip, path D:\trip.snz, D:\pics\a.jpg (10 s) and D:\pics\b.bmp (5 s),
// 2 photos, 612 KB.
const unsigned char kExample[83] = {
    0xff, 0xff, 0x01, 0x00, 0x0c, 0x00, 0x43, 0x50, 0x72, 0x6f, 0x6a, 0x65, 0x63, 0x74, 0x49, 0x6e,
    0x66, 0x6f, 0x04, 0x74, 0x72, 0x69, 0x70, 0x0b, 0x44, 0x3a, 0x5c, 0x74, 0x72, 0x69, 0x70, 0x2e,
    0x73, 0x6e, 0x7a, 0x02, 0x00, 0x00, 0x00, 0x64, 0x02, 0x00, 0x00, 0x02, 0x00, 0x0d, 0x44, 0x3a,
    0x5c, 0x70, 0x69, 0x63, 0x73, 0x5c, 0x61, 0x2e, 0x6a, 0x70, 0x67, 0x0d, 0x44, 0x3a, 0x5c, 0x70,
    0x69, 0x63, 0x73, 0x5c, 0x62, 0x2e, 0x62, 0x6d, 0x70, 0x02, 0x00, 0x0a, 0x00, 0x00, 0x00, 0x05,
    0x00, 0x00, 0x00};

std::string ExampleBytes()
{
    return std::string(reinterpret_cast<const char*>(kExample), sizeof kExample);
}

void FillExample(CProjectInfo& p)
{
    p.m_strTitle = "trip";
    p.m_strPath = "D:\\trip.snz";
    p.m_nPhotoCount = 2;
    p.m_nTotalKB = 612;
    p.m_arrPaths = {"D:\\pics\\a.jpg", "D:\\pics\\b.bmp"};
    p.m_arrDelays = {10, 5};
}

CArchiveException::Cause ReadCause(const std::string& path)
{
    try {
        ReadProjectFile(path);
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return CArchiveException::none;
}

}  // namespace

TEST(ProjectFile, ExampleRoundTripsByteForByte)
{
    TempDir dir;
    CProjectInfo p;
    FillExample(p);
    p.m_bModified = 1;  // never written
    WriteProjectFile(dir.File("trip.snz"), p);
    EXPECT_EQ(ExampleBytes(), TempDir::Read(dir.File("trip.snz")));

    std::string copy = dir.Write("copy.snz", ExampleBytes() + "trailing bytes are ignored");
    auto loaded = ReadProjectFile(copy);
    EXPECT_EQ("trip", loaded->m_strTitle);
    EXPECT_EQ("D:\\trip.snz", loaded->m_strPath);  // the stored path, not where it was opened
    EXPECT_EQ(2, loaded->m_nPhotoCount);
    EXPECT_EQ(612, loaded->m_nTotalKB);
    EXPECT_EQ(0, loaded->m_bModified);
    EXPECT_EQ(p.m_arrPaths, loaded->m_arrPaths);
    EXPECT_EQ(p.m_arrDelays, loaded->m_arrDelays);

    WriteProjectFile(dir.File("again.snz"), *loaded);
    EXPECT_EQ(ExampleBytes(), TempDir::Read(dir.File("again.snz")));
}

TEST(ProjectFile, AFailedSaveLeavesTheOldFileWhole)
{
    TempDir dir;
    const std::string path = dir.Write("trip.snz", ExampleBytes());
    CProjectInfo shorter;
    shorter.m_arrPaths = {"D:\\pics\\a.jpg"};
    shorter.m_arrDelays = {3};
    // Something in the way of the new contents' file: the save fails before
    // the old file is touched, and says which project it could not save.
    std::filesystem::create_directory(path + ".saving");
    try {
        WriteProjectFile(path, shorter);
        ADD_FAILURE() << "the save was expected to fail";
    } catch (const CFileException& e) {
        EXPECT_EQ(path, e.m_strFileName);
    }
    EXPECT_EQ(ExampleBytes(), TempDir::Read(path));
    std::filesystem::remove(path + ".saving");

#ifndef _WIN32
    // The disk fills up while the new contents are written: the old file
    // stays whole and the unfinished new one goes.
    CProjectInfo longer;
    longer.m_strTitle = std::string(10000, 't');
    {
        FileSizeLimit full(4096);
        ASSERT_TRUE(full.Ok());
        EXPECT_THROW(WriteProjectFile(path, longer), CFileException);
    }
    EXPECT_EQ(ExampleBytes(), TempDir::Read(path));
    EXPECT_FALSE(std::filesystem::exists(path + ".saving"));
#endif

    // Nothing in the way: replaced whole, nothing left beside it.
    WriteProjectFile(path, shorter);
    EXPECT_EQ(1u, ReadProjectFile(path)->m_arrPaths.size());
    EXPECT_FALSE(std::filesystem::exists(path + ".saving"));
}

TEST(ProjectFile, EmptyProject)
{
    TempDir dir;
    CProjectInfo p;
    WriteProjectFile(dir.File("empty.snz"), p);
    const char expected[] = "\xff\xff\x01\x00\x0c\x00" "CProjectInfo" "\x00\x00"
                            "\x00\x00\x00\x00\x00\x00\x00\x00" "\x00\x00\x00\x00";
    EXPECT_EQ(std::string(expected, sizeof expected - 1), TempDir::Read(dir.File("empty.snz")));
}

TEST(ProjectFile, StringLengthPrefixes)
{
    struct Case {
        size_t length;
        std::string prefix;
    } cases[] = {
        {254, std::string("\xfe", 1)},
        {255, std::string("\xff\xff\x00", 3)},
        {0xFFFD, std::string("\xff\xfd\xff", 3)},
        {0xFFFE, std::string("\xff\xff\xff\xfe\xff\x00\x00", 7)},
        {70000, std::string("\xff\xff\xff\x70\x11\x01\x00", 7)},
    };
    TempDir dir;
    for (const Case& c : cases) {
        CProjectInfo p;
        p.m_strTitle = std::string(c.length, 't');
        p.m_arrPaths = {std::string(c.length, 'p')};
        p.m_arrDelays = {0x01020304};
        std::string path = dir.File("s.snz");
        WriteProjectFile(path, p);
        std::string bytes = TempDir::Read(path);
        EXPECT_EQ(c.prefix, bytes.substr(18, c.prefix.size())) << c.length;
        EXPECT_EQ(18 + 2 * (c.prefix.size() + c.length) + 1 + 8 + 2 + 2 + 4, bytes.size()) << c.length;
        EXPECT_EQ(std::string("\x04\x03\x02\x01", 4), bytes.substr(bytes.size() - 4));
        auto loaded = ReadProjectFile(path);
        EXPECT_EQ(p.m_strTitle, loaded->m_strTitle);
        EXPECT_EQ(p.m_arrPaths, loaded->m_arrPaths);
    }
}

TEST(ProjectFile, CountsUseTheLongFormFrom0xFFFF)
{
    TempDir dir;
    for (uint32_t count : {0xFFFEu, 0xFFFFu, 0x10000u}) {
        CProjectInfo p;
        p.m_arrPaths.assign(count, "");
        p.m_arrDelays.assign(count, 7);
        std::string path = dir.File("c.snz");
        WriteProjectFile(path, p);
        std::string bytes = TempDir::Read(path);
        size_t countBytes = count < 0xFFFF ? 2 : 6;
        EXPECT_EQ(18 + 2 + 8 + 2 * countBytes + count + 4 * count, bytes.size()) << count;
        if (count >= 0xFFFF) {
            EXPECT_EQ(std::string("\xff\xff", 2), bytes.substr(28, 2));
        }
        auto loaded = ReadProjectFile(path);
        EXPECT_EQ(count, loaded->m_arrPaths.size());
        EXPECT_EQ(count, loaded->m_arrDelays.size());
    }
}

// Up to 100,000 photos are read; a count above that is refused before any
// of them is, whatever the file holds.
TEST(ProjectFile, PhotoCountLimit)
{
    TempDir dir;
    for (uint32_t count : {100000u, 100001u}) {
        CProjectInfo p;
        p.m_arrPaths.assign(count, "");
        p.m_arrDelays.assign(count > 100000 ? 0 : count, 7);
        std::string path = dir.File("many.snz");
        WriteProjectFile(path, p);
        if (count <= 100000) {
            EXPECT_EQ(count, ReadProjectFile(path)->m_arrDelays.size());
        } else {
            EXPECT_EQ(CArchiveException::genericException, ReadCause(path));
        }
    }
}

TEST(ProjectFile, ShortFilesAreRejected)
{
    TempDir dir;
    std::string bytes = ExampleBytes();
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::string path = dir.Write("short.snz", bytes.substr(0, n));
        EXPECT_EQ(CArchiveException::endOfFile, ReadCause(path)) << n << " bytes";
    }
    // A count beyond what the rest of the file can hold is refused before
    // anything is read for it; one beyond any project, whatever follows.
    std::string more = bytes.substr(0, 43) + std::string("\x50\xc3", 2) + "\x01x";
    EXPECT_EQ(CArchiveException::endOfFile, ReadCause(dir.Write("more.snz", more)));
    std::string huge = bytes.substr(0, 43) + std::string("\xff\xff\xff\xff\xff\x7f", 6) + "\x01x";
    EXPECT_EQ(CArchiveException::genericException, ReadCause(dir.Write("huge.snz", huge)));
    std::string longString = bytes.substr(0, 18) + std::string("\xff\xff\xff\xf0\xff\xff\x7f", 7) + "abc";
    EXPECT_EQ(CArchiveException::endOfFile, ReadCause(dir.Write("long.snz", longString)));
}

TEST(ProjectFile, ForeignFilesAreRejected)
{
    TempDir dir;
    std::string good = ExampleBytes();
    auto with = [&](size_t at, const std::string& patch) {
        std::string b = good;
        b.replace(at, patch.size(), patch);
        return dir.Write("foreign.snz", b);
    };
    EXPECT_EQ(CArchiveException::badClass, ReadCause(with(0, std::string("\x01\x80", 2))));   // not a new class
    EXPECT_EQ(CArchiveException::badSchema, ReadCause(with(2, std::string("\x02\x00", 2))));  // schema 2
    EXPECT_EQ(CArchiveException::badClass, ReadCause(with(6, "cProjectInfo")));               // case matters
    EXPECT_EQ(CArchiveException::badClass, ReadCause(with(4, std::string("\x0b\x00", 2))));   // CProjectInf
    EXPECT_EQ(CArchiveException::badClass, ReadCause(with(4, std::string("\xff\xff", 2))));   // absurd name length
    EXPECT_EQ(CArchiveException::badClass, ReadCause(dir.Write("text.snz", "Hello, this is no project file")));
    // The marker of wide text, which this program never writes.
    EXPECT_EQ(CArchiveException::badSchema, ReadCause(with(18, std::string("\xff\xfe\xff", 3))));

    try {
        ReadProjectFile(dir.File("does-not-exist.snz"));
        ADD_FAILURE() << "a missing file must throw";
    } catch (const CFileException& e) {
        EXPECT_EQ(CFileException::fileNotFound, e.m_cause);
        EXPECT_NE(std::string::npos, e.GetErrorMessage().find("does-not-exist.snz"));
    }
}

TEST(CProjectInfo, MismatchedListsRebuildWhatAllThreeAllow)
{
    CProjectInfo stored;
    FillExample(stored);
    stored.m_arrPaths.push_back("D:\\pics\\c.jpg");  // 3 paths, 2 delays
    stored.m_nPhotoCount = 5;
    EXPECT_EQ(2u, stored.GetRebuildCount());
    stored.m_nPhotoCount = 1;
    EXPECT_EQ(1u, stored.GetRebuildCount());
    stored.m_nPhotoCount = -3;
    EXPECT_EQ(0u, stored.GetRebuildCount());

    CProjectInfo current;
    current.m_bModified = 1;
    current = stored;
    EXPECT_EQ(1, current.m_bModified);  // assignment leaves the flag alone
    EXPECT_EQ("trip", current.m_strTitle);
    EXPECT_EQ(-3, current.m_nPhotoCount);
    EXPECT_EQ(2u, current.m_arrPaths.size());  // never beyond either list
    EXPECT_EQ(2u, current.m_arrDelays.size());

    current.Reset();
    EXPECT_TRUE(current.m_strTitle.empty() && current.m_arrPaths.empty() && current.m_arrDelays.empty());
    EXPECT_EQ(0, current.m_nPhotoCount + current.m_nTotalKB + current.m_bModified);
}

TEST(CProjectInfo, TotalsAtSave)
{
    TempDir dir;
    CProjectInfo p;
    p.m_arrPaths = {dir.Write("a", std::string(1023, 'a')), dir.Write("b", std::string(1024, 'b')),
                    dir.File("missing.jpg"), dir.Write("c", std::string(5000, 'c')),
                    dir.Write("d", std::string(2047, 'd'))};
    p.m_arrDelays.assign(5, 10);
    p.m_nPhotoCount = 99;
    p.m_bModified = 1;
    p.PrepareForSave();
    EXPECT_EQ(5, p.m_nPhotoCount);
    EXPECT_EQ(0 + 1 + 0 + 4 + 1, p.m_nTotalKB);
    EXPECT_EQ(0, p.m_bModified);
}
