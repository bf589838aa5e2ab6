#include "photo/CPhotoInfo.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "framework/CArchive.h"
#include "framework/CFile.h"
#include "lang/CLang.h"
#include "support/TempDir.h"

TEST(CPhotoInfo, RecordOfAnExistingFile)
{
    TempDir dir;
    std::string path = dir.Write("Holiday Picture.jpeg", std::string(3000, 'x'));
    // 2003-06-15 09:05:30 UTC as the last-write time.
    SYSTEMTIME st = {2003, 6, 0, 15, 9, 5, 30, 0};
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
    SYSTEMTIME local;
    SystemTimeToTzSpecificLocalTime(nullptr, &st, &local);
    char expectedDate[32];
    snprintf(expectedDate, sizeof expectedDate, "%04u-%02u-%02u %02u:%02u", local.wYear, local.wMonth, local.wDay,
             local.wHour, local.wMinute);

    CPhotoInfo photo(path);
    EXPECT_EQ("Holiday Picture.jpeg", photo.m_strName);
    EXPECT_EQ("3000", photo.m_strSize);
    EXPECT_EQ(expectedDate, photo.m_strDate);
    EXPECT_EQ(path, photo.m_strPath);
    EXPECT_EQ("", photo.m_strReserved);

    // Records copy by value and archive their five texts in order.
    CPhotoInfo copy = photo;
    copy.m_strReserved = "r";
    std::string file = dir.File("record.bin");
    {
        CFile f(file, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(f, CArchive::store);
        copy.Serialize(ar);
        ar.Close();
    }
    EXPECT_EQ("\x14" "Holiday Picture.jpeg" "\x04" "3000" "\x10" + std::string(expectedDate) +
                  char(path.size()) + path + "\x01r",
              TempDir::Read(file));
    CPhotoInfo back;
    CFile f(file, CFile::modeRead);
    CArchive ar(f, CArchive::load);
    back.Serialize(ar);
    EXPECT_EQ(path, back.m_strPath);
    EXPECT_EQ("r", back.m_strReserved);
}

TEST(CPhotoInfo, SizeIsTheLow32BitsReadAsSigned)
{
    TempDir dir;
    std::string path = dir.Write("big.bmp", "");
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    LARGE_INTEGER size;
    size.QuadPart = 0x1C0000000LL;  // 7 GiB: low 32 bits 0xC0000000
    ASSERT_TRUE(SetFilePointerEx(h, size, nullptr, FILE_BEGIN) && SetEndOfFile(h));
    CloseHandle(h);
    EXPECT_EQ("-1073741824", CPhotoInfo(path).m_strSize);
}

TEST(CPhotoInfo, RecordOfAMissingFile)
{
    TempDir dir;
    dir.Write("lang.ini", "english=English\n");
    dir.Write("lang/english.txt", "NoFile=(file not found)\n");
    CLang lang;
    std::string folder = dir.Path();
    ASSERT_EQ(0, lang.Init(&folder[0]));
    ASSERT_EQ(0, lang.SetLangIndex(0));

    for (const std::string& path : {dir.File("gone.jpg"), dir.File("*.ini"), std::string()}) {
        CPhotoInfo photo(path);
        EXPECT_EQ("(file not found)", photo.m_strName) << path;
        EXPECT_EQ("", photo.m_strSize);
        EXPECT_EQ("", photo.m_strDate);
        EXPECT_EQ("", photo.m_strPath);
    }
}
