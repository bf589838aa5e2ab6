#include "app/ProgramFolder.h"

#include <gtest/gtest.h>

TEST(ProgramFolder, FromModulePath)
{
    struct {
        const char* module;
        const char* folder;
    } cases[] = {
        {"D:\\Apps\\Photos\\snapdisc.exe", "D:\\Apps\\Photos"},
        {"C:\\Program Files\\Snapdisc\\snapdisc.exe", "C:\\Program Files\\Snapdisc"},
        {"D:\\snapdisc.exe", "D:\\"},  // a drive's root keeps its separator
        {"D:\\\\Apps\\\\snapdisc.exe", "D:\\Apps"},
        {"\\\\server\\share\\tools\\snapdisc.exe", "\\\\server\\share\\tools"},
        {"\\Apps\\snapdisc.exe", "\\Apps"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.folder, ProgramFolderFromModulePath(c.module)) << c.module;
}
