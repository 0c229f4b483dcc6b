#include "framework/FileFind.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/TestSupport.h"

TEST(FileFind, RootIsTheFolderPartOfTheFullPattern)
{
    CFileFind find;
    ASSERT_TRUE(find.FindFile("C:\\*.*"));
    EXPECT_EQ(find.GetRoot(), "C:");
    find.FindNextFile();
    EXPECT_EQ(find.GetFilePath(), "C:\\" + find.GetFileName());

    TempFolder folder;
    EXPECT_FALSE(find.FindFile((folder / "missing\\*.*").c_str()));
    EXPECT_EQ(find.GetFindError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(find.FindNextFile());
}
