#include <gtest/gtest.h>

#include <string>

#include "app/FolderBrowser.h"

TEST(FolderBrowser, StartsOnTheFolderWithoutItsTrailingBackslash)
{
    EXPECT_STREQ(CFolderBrowser::StartFolder("C:\\temp\\"), "C:\\temp");
    // The second byte of "表" is 0x5C, but no backslash.
    EXPECT_STREQ(CFolderBrowser::StartFolder("C:\\\x95\x5C"), "C:\\\x95\x5C");
    // What does not fit a path opens the browser on nothing rather than on a cut path.
    EXPECT_STREQ(CFolderBrowser::StartFolder(("C:\\" + std::string(300, 'a')).c_str()), "");
}
