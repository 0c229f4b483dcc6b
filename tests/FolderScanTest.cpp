#include "engine/FolderScan.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "engine/ResultList.h"
#include "res/resource.h"
#include "rules/RuleNode.h"
#include "tests/ResultHost.h"
#include "tests/TestSupport.h"

namespace {

class FolderScanTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_folder.AddFile("top.obj");
        m_folder.AddFile("top.txt");
        m_folder.AddFile("sub\\mid.obj");
        m_folder.AddFile("sub\\deeper\\low.obj");
        m_folder.AddFile("hidden\\secret.obj");
        ::SetFileAttributesA((m_folder / "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
        m_item.m_strFilter = "*.obj";
        m_item.m_strFolder = m_folder.Path().c_str();
        m_item.m_strName = "objs";
    }

    // Runs the item on an emptied list.
    int Run(BOOL deleteFiles = FALSE)
    {
        CResultList results(m_host.Controls());
        results.Clear();
        return m_item.Run(&results, deleteFiles);
    }

    // Runs with the test folder as the current folder, for relative item folders.
    int RunFromTheFolder(BOOL deleteFiles = FALSE)
    {
        char previous[MAX_PATH];
        ::GetCurrentDirectoryA(MAX_PATH, previous);
        EXPECT_TRUE(::SetCurrentDirectoryA(m_folder.Path().c_str()));
        const int result = Run(deleteFiles);
        ::SetCurrentDirectoryA(previous);
        return result;
    }

    // What the list's Delete command does with every row.
    void DeleteAllRows()
    {
        CResultList results(m_host.Controls());
        for (int row = 0; row < m_host.RowCount(); ++row)
            results.DeleteRow(row);
    }

    // In the order listed.
    std::vector<std::string> ListedPaths() const
    {
        std::vector<std::string> paths;
        for (int row = 0; row < m_host.RowCount(); ++row)
            paths.push_back(m_host.Cell(row, CResultListCtrl::COL_FOLDER) +
                            m_host.Cell(row, CResultListCtrl::COL_NAME));
        return paths;
    }

    // The rows named in deleted were deleted; every other of the nRows tells why it was not.
    void ExpectDeletedOnly(int nRows, const std::set<std::string>& deleted, UINT nOther) const
    {
        ASSERT_EQ(m_host.RowCount(), nRows);
        for (int row = 0; row < nRows; ++row) {
            const std::string name = m_host.Cell(row, CResultListCtrl::COL_NAME);
            EXPECT_EQ(m_host.Cell(row, CResultListCtrl::COL_RESULT),
                      LoadText(deleted.count(name) ? IDS_DELETED : nOther)) << name;
        }
    }

    TempFolder m_folder;
    ResultHost m_host;
    CRuleItem m_item;
};

}  // namespace

TEST(RebuildFolderPath, FollowsThePathSplittersRules)
{
    const struct {
        const char* text;
        const char* path;
    } cases[] = {
        {"C:\\", "C:"}, {"C:", "C:"}, {"C:\\temp", "C:\\temp"}, {"C:\\temp\\", "C:\\temp\\"},
        {"C:\\dir.d", "C:\\dir.d"}, {"\\", ""}, {"", ""}, {"temp", "temp"},
        {"C:/", "C:/"}, {"\\\\server\\share", "\\\\server\\share"},
        // A last component that is all extension keeps the root it hangs from.
        {"C:\\.git", "C:\\.git"}, {"\\.git", "\\.git"},
        // The second byte 0x5C of a double-byte character is no separator.
        {"C:\\\x95\x5C", "C:\\\x95\x5C"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(RebuildFolderPath(c.text), c.path) << c.text;
}

TEST_F(FolderScanTest, ListsOnlyWhatMarkedItemsMatchDepthFirstAndNeverFollowsFolderLinks)
{
    // Nothing is done for an unmarked item, the drive's root, a missing folder or a stop request.
    m_item.m_bUse = 0;
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(m_host.Text(IDC_STATUS_TEXT), "");

    m_item.m_bUse = 5;
    m_item.m_strFolder = "\\";
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(m_host.Text(IDC_STATUS_TEXT), "");

    m_item.m_strFolder = (m_folder / "missing").c_str();
    EXPECT_EQ(Run(), 1);
    EXPECT_NE(m_host.Text(IDC_STATUS_TEXT).find("[objs]"), std::string::npos);
    EXPECT_EQ(m_host.RowCount(), 0);

    m_item.m_strFolder = m_folder.Path().c_str();
    CRuleItem::SetStopFlag(1);
    EXPECT_EQ(Run(), 0);
    CRuleItem::SetStopFlag(0);
    EXPECT_EQ(m_host.RowCount(), 0);

    EXPECT_EQ(Run(), 1);
    // A subfolder's files come where the subfolder stands among its parent's entries, which the
    // file system returns sorted by name.
    const std::string root = m_folder.Path() + "\\";
    EXPECT_EQ(ListedPaths(),
              (std::vector<std::string>{root + "hidden\\secret.obj", root + "sub\\deeper\\low.obj",
                                        root + "sub\\mid.obj", root + "top.obj"}));
    EXPECT_NE(m_host.Text(IDC_STATUS_TEXT).find("[objs]"), std::string::npos);

    // A relative folder is searched from the current folder, and shown absolute.
    m_item.m_strFolder = "sub";
    RunFromTheFolder();
    EXPECT_EQ(ListedPaths(),
              (std::vector<std::string>{root + "sub\\deeper\\low.obj", root + "sub\\mid.obj"}));

    // Without subfolders the walk stays in the folder; a trailing backslash changes nothing.
    m_item.m_bSubfolders = 0;
    m_item.m_strFolder = root.c_str();
    Run();
    EXPECT_EQ(ListedPaths(), std::vector<std::string>{root + "top.obj"});

    // Links to folders are never followed, even by a run that deletes.
    m_item.m_bSubfolders = 1;
    TempFolder outside;
    outside.AddFile("precious.obj");
    ASSERT_TRUE(m_folder.AddLink("sub\\link", outside.Path()));
    ASSERT_TRUE(m_folder.AddLink("sub\\loop", m_folder.Path()));
    ASSERT_NE(::GetFileAttributesA((m_folder / "sub\\link").c_str()) &
                  FILE_ATTRIBUTE_REPARSE_POINT,
              0u);

    EXPECT_EQ(Run(TRUE), 1);
    EXPECT_EQ(m_host.RowCount(), 4);
    EXPECT_TRUE(outside.Exists("precious.obj"));
    EXPECT_FALSE(m_folder.Exists("top.obj"));
}

// A name from the ANSI calls is not always the file's name: "¥" comes back as a backslash and "é"
// as "e". Such entries must never be reached through what their names read as.
TEST_F(FolderScanTest, NamesTheCodePageCannotCarryNeverLeadElsewhere)
{
    TempFolder tree;
    tree.AddFile("a\\victim.obj");
    tree.AddFile("a\\b\\victim.obj");
    tree.AddFile("a\\other\\keep.obj");
    tree.AddFile("a\\b\\item\\plain.obj");
    tree.AddFile("a\\b\\item\\resume.obj", 0, FILE_ATTRIBUTE_SYSTEM);
    tree.AddWideFile(L"a\\b\\item\\..\x00A5victim.obj");
    tree.AddWideFile(L"a\\b\\item\\..\x00A5..\x00A5victim.obj");
    tree.AddWideFile(L"a\\b\\item\\r\x00E9sum\x00E9.obj");
    tree.AddWideFile(L"a\\b\\item\\..\x00A5..\x00A5other\\");
    tree.AddWideFile(L"a\\b\\item\\\x00A5\\");
    ASSERT_TRUE(tree.WideExists(L"a\\b\\item\\\x00A5"));
    m_item.m_strFolder = (tree / "a\\b\\item").c_str();
    // Names that begin with a dot are hidden under Wine.
    m_item.m_dwAttrMask = 0x827 & ~FILE_ATTRIBUTE_SYSTEM;

    EXPECT_EQ(Run(TRUE), 1);

    for (const char* kept :
         {"a\\victim.obj", "a\\b\\victim.obj", "a\\other\\keep.obj", "a\\b\\item\\resume.obj"})
        EXPECT_TRUE(tree.Exists(kept)) << kept;
    EXPECT_FALSE(tree.Exists("a\\b\\item\\plain.obj"));
    EXPECT_TRUE(tree.WideExists(L"a\\b\\item\\..\x00A5victim.obj"));
    EXPECT_TRUE(tree.WideExists(L"a\\b\\item\\r\x00E9sum\x00E9.obj"));
    // The files are still listed, each saying why it was left alone.
    ExpectDeletedOnly(4, {"plain.obj"}, IDS_NAME_NOT_EXACT);
    for (int row = 0; row < m_host.RowCount(); ++row)
        EXPECT_EQ(m_host.Cell(row, CResultListCtrl::COL_NAME).find('\\'), std::string::npos);
    // Nor are they deleted through their rows.
    DeleteAllRows();
    for (const char* kept : {"a\\victim.obj", "a\\b\\victim.obj", "a\\b\\item\\resume.obj"})
        EXPECT_TRUE(tree.Exists(kept)) << kept;
}

TEST_F(FolderScanTest, FolderEndingInAFiltersLeadByteOrWhoseFullPathIsTooLongLeadsNowhereElse)
{
    TempFolder tree;
    tree.AddFile("a.obj");
    tree.AddFile("sub\\s.obj");
    tree.AddWideFile(L"d\x0080\\own.obj");
    m_item.m_strFolder = (tree.Path() + "\\d\x80").c_str();

    Run(TRUE);

    EXPECT_FALSE(tree.WideExists(L"d\x0080\\own.obj"));
    EXPECT_TRUE(tree.Exists("a.obj"));
    EXPECT_TRUE(tree.Exists("sub\\s.obj"));
    ASSERT_EQ(m_host.RowCount(), 1);
    EXPECT_EQ(m_host.Cell(0, CResultListCtrl::COL_FOLDER), tree.Path() + "\\d\x80\\");

    // When the full path of a relative folder does not fit the ANSI calls, the found entries would
    // have no folder to hang from and read as entries of the drive's root.
    const std::string relative = std::string(120, 'd') + "\\" + std::string(120, 'e');
    ASSERT_GT(m_folder.Path().size() + 1 + relative.size(), static_cast<size_t>(MAX_PATH));
    m_folder.AddWideFile(std::wstring(120, L'd') + L"\\" + std::wstring(120, L'e') + L"\\v.obj");
    m_item.m_strFolder = relative.c_str();
    EXPECT_EQ(RunFromTheFolder(TRUE), 1);
    EXPECT_EQ(m_host.RowCount(), 0);
    EXPECT_TRUE(m_folder.WideExists(std::wstring(120, L'd') + L"\\" + std::wstring(120, L'e')
                                    + L"\\v.obj"));
}

// A deletion that waits for another program's handle to close counts as done.
TEST_F(FolderScanTest, FileLinkIsNeverDeletedThroughItsTargetAndAPendingDeletionIsDone)
{
    TempFolder outside;
    outside.AddFile("precious.txt", 7);
    TempFolder tree;
    tree.AddFile("plain.obj");
    tree.AddFile("busy.obj");
    ASSERT_TRUE(tree.AddLink("link.obj", outside / "precious.txt"));
    HANDLE hBusy = ::CreateFileA((tree / "busy.obj").c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hBusy, INVALID_HANDLE_VALUE);
    m_item.m_strFolder = tree.Path().c_str();

    Run(TRUE);
    ::CloseHandle(hBusy);
    const bool linkStays = tree.Exists("link.obj");
    tree.RemoveLink("link.obj");

    EXPECT_TRUE(outside.Exists("precious.txt"));
    EXPECT_TRUE(linkStays);
    EXPECT_FALSE(tree.Exists("busy.obj"));
    ExpectDeletedOnly(3, {"plain.obj", "busy.obj"}, IDS_DELETE_FAILED);
}

// Rows delete only inside the folder that was walked when they were listed: a folder on their
// path that has since become a link, the item's own folder included, leads elsewhere.
TEST_F(FolderScanTest, RowsOfAFolderSwappedForALinkDeleteNothing)
{
    TempFolder tree;
    tree.AddFile("item\\own.obj");
    tree.AddFile("item\\sub\\victim.obj");
    TempFolder outside;
    outside.AddFile("victim.obj");
    outside.AddFile("own.obj");
    outside.AddFile("sub\\victim.obj");
    m_item.m_strFolder = (tree / "item").c_str();

    Run();
    ASSERT_EQ(m_host.RowCount(), 2);
    RemoveTree(tree / "item\\sub");
    ASSERT_TRUE(tree.AddLink("item\\sub", outside.Path()));
    DeleteAllRows();
    EXPECT_TRUE(outside.Exists("victim.obj"));
    EXPECT_FALSE(tree.Exists("item\\own.obj"));
    for (int row = 0; row < m_host.RowCount(); ++row) {
        const std::string folder = m_host.Cell(row, CResultListCtrl::COL_FOLDER);
        EXPECT_EQ(m_host.Cell(row, CResultListCtrl::COL_RESULT),
                  LoadText(folder == tree / "item\\" ? IDS_DELETED : IDS_DELETE_FAILED)) << folder;
    }

    tree.AddFile("item\\own.obj");
    ASSERT_TRUE(tree.RemoveLink("item\\sub"));
    tree.AddFile("item\\sub\\victim.obj");
    Run();
    ASSERT_EQ(m_host.RowCount(), 2);
    ASSERT_TRUE(::MoveFileA((tree / "item").c_str(), (tree / "walked").c_str()));
    ASSERT_TRUE(tree.AddLink("item", outside.Path()));
    DeleteAllRows();
    EXPECT_TRUE(outside.Exists("own.obj"));
    EXPECT_TRUE(outside.Exists("sub\\victim.obj"));
    for (int row = 0; row < m_host.RowCount(); ++row)
        EXPECT_EQ(m_host.Cell(row, CResultListCtrl::COL_RESULT), LoadText(IDS_DELETE_FAILED));
}

// Names that some system reads as a device, and names whose bytes the code page refuses to read
// back, are listed with the reason and left alone; such folders are not entered.
TEST_F(FolderScanTest, DeviceNamesAndNamesThatDoNotReadBackAreLeftAlone)
{
    TempFolder tree;
    const std::wstring names[] = {L"con.obj", L"COM1.obj", L"lpt1.obj", L"nul", L"a\xF8F1.obj",
                                  L"b\xF8F0.obj"};
    for (const std::wstring& name : names)
        tree.AddWideFile(name);
    tree.AddWideFile(L"d\xF8F2\\inside.obj");
    tree.AddWideFile(L"aux\\inside.obj");
    tree.AddFile("plain.obj");
    m_item.m_strFilter = "*.obj;nul";
    m_item.m_strFolder = tree.Path().c_str();

    Run(TRUE);

    for (const std::wstring& name : names)
        EXPECT_TRUE(tree.WideExists(name));
    EXPECT_FALSE(tree.Exists("plain.obj"));
    ExpectDeletedOnly(7, {"plain.obj"}, IDS_NAME_NOT_EXACT);
}
