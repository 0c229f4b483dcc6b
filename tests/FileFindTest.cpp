#include "framework/FileFind.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/TestSupport.h"

TEST(FileFind, VisitsEveryEntryOnceWithItsFullPath)
{
    TempFolder folder;
    folder.AddFile("a.txt", 3);
    folder.AddFile("b.obj");
    folder.AddFolder("sub");
    for (const char* pattern : {"\\*.*", "\\\\*.*"}) {
        CFileFind find;
        BOOL more = find.FindFile((folder.Path() + pattern).c_str());
        ASSERT_TRUE(more);
        EXPECT_EQ(find.GetRoot().CompareNoCase(folder.Path().c_str()), 0) << pattern;
        std::map<std::string, int> seen;
        while (more) {
            more = find.FindNextFile();
            const std::string name = static_cast<LPCSTR>(find.GetFileName());
            ++seen[name];
            EXPECT_EQ(find.GetFilePath(), find.GetRoot() + "\\" + name.c_str());
            EXPECT_EQ(find.IsDots() != FALSE, name == "." || name == "..");
            EXPECT_EQ(find.IsDirectory() != FALSE, name == "sub" || find.IsDots());
            EXPECT_EQ(find.GetLength(), name == "a.txt" ? 3u : 0u);
        }
        EXPECT_EQ(find.GetFindError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
        EXPECT_EQ(seen, (std::map<std::string, int>{{".", 1}, {"..", 1}, {"a.txt", 1}, {"b.obj", 1}, {"sub", 1}}));
    }
}

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
