#include "framework/FileFind.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/TestSupport.h"

TEST(FileFind, RootIsTheFolderPartOfTheFullPattern)
{
    // A name of our own at the drive's root, so that nothing else there can match.
    const std::string own = "C:\\scourly-find.tmp";
    ::CloseHandle(::CreateFileA(own.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    CFileFind find;
    ASSERT_TRUE(find.FindFile("C:\\scourly-find.*"));
    EXPECT_EQ(find.GetRoot(), "C:");
    EXPECT_FALSE(find.FindNextFile());
    EXPECT_EQ(find.GetFilePath(), own.c_str());
    find.Close();
    ::DeleteFileA(own.c_str());

    TempFolder folder;
    EXPECT_FALSE(find.FindFile((folder / "missing\\*.*").c_str()));
    EXPECT_EQ(find.GetFindError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(find.FindNextFile());
}
