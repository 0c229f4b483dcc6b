#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <vector>

#include "engine/ResultList.h"
#include "res/resource.h"
#include "tests/MainDlgDriver.h"
#include "tests/TestSupport.h"

namespace {

class MainDlgTest : public testing::Test
{
protected:
    MainDlgTest() { m_rules.RemoveAllChildren(); }

    // Appends a group holding one item to the rules that the test then saves.
    void AddRule(const char* name, const std::string& folder, const char* filter = "*.obj",
                 int groupUse = 1, int itemUse = 1)
    {
        auto* group = static_cast<CRuleGroup*>(m_rules.AddChild(new CRuleGroup));
        group->RemoveAllChildren();
        group->m_bUse = groupUse;
        auto* item = static_cast<CRuleItem*>(group->AddChild(new CRuleItem));
        item->m_strName = name;
        item->m_strFolder = folder.c_str();
        item->m_strFilter = filter;
        item->m_bUse = itemUse;
    }

    CMainApp m_app;
    RuleFileGuard m_ruleFile;
    TempFolder m_folder;
    CRuleRoot m_rules;
};

// The profile key of the test executable, removed before and after the placement test.
const char kPlacementKey[] = "Software\\Orvane\\scourly_tests\\Settings";

}  // namespace

TEST_F(MainDlgTest, FirstStartShowsTheDefaultTreeAndThePaneKeepsWhatIsTypedUpToTheFile)
{
    // On the test prefix's quiet drive: the browser matches each folder on the way by its shell id,
    // time stamp included, which must not change while it opens (the host's /tmp changes always).
    const std::string base = "C:\\scourly-browse", chosen = base + "\\chosen";
    ::CreateDirectoryA(base.c_str(), nullptr);
    ::CreateDirectoryA(chosen.c_str(), nullptr);
    MainDlgDriver dlg;
    dlg.Play([&](MainDlgDriver& d) {
        HTREEITEM group = d.FirstGroup();
        ASSERT_NE(group, nullptr);
        EXPECT_STREQ(d.m_tree.GetItemText(group), "Group");
        EXPECT_TRUE(d.m_tree.GetCheck(group));
        EXPECT_EQ(d.m_tree.GetItemState(group, TVIS_EXPANDED), 0u);
        EXPECT_STREQ(d.m_tree.GetItemText(d.FirstItemOf(group)), "Item");
        EXPECT_EQ(d.m_tree.GetNextSiblingItem(group), nullptr);
        EXPECT_EQ(d.Text(IDC_FILE_COUNT), kCountPrefix + "0");
        EXPECT_EQ(d.Text(IDC_TOTAL_SIZE), kTotalPrefix);
        EXPECT_EQ(d.Text(IDC_STATUS_TEXT), "");
        EXPECT_EQ(::GetFileAttributesA(m_ruleFile.Path().c_str()), INVALID_FILE_ATTRIBUTES);

        // The pane is stored before, and reloaded after, browsing, renaming, the filter editor
        // and new rules.
        HTREEITEM item = d.FirstItemOf(group);
        d.Select(item);
        d.TypeText(IDC_ITEM_NAME, "typed");
        d.TypeText(IDC_ITEM_FOLDER, (chosen + "\\").c_str());
        {
            DialogAnswerer ok(IDOK);
            d.Command(IDC_BROWSE_FOLDER);
        }
        EXPECT_STREQ(d.m_tree.GetItemText(item), "typed");
        EXPECT_EQ(d.Text(IDC_ITEM_FOLDER), chosen);

        const auto rename = [&](const char* text, UINT key) {
            d.Command(ID_EDIT_NAME);
            if (text)
                ::SetWindowTextA(d.m_tree.GetEditControl(), text);
            d.PressKey(d.m_tree.GetEditControl(), key);
        };
        rename("cancelled", VK_ESCAPE);
        EXPECT_STREQ(d.m_tree.GetItemText(item), "typed");
        d.TypeText(IDC_ITEM_FOLDER, "D:\\typed");
        rename("", VK_RETURN);
        EXPECT_EQ(d.Text(IDC_ITEM_NAME), "");
        EXPECT_EQ(d.Text(IDC_ITEM_FOLDER), "D:\\typed");
        // A name longer than a path survives an edit that leaves it as it is.
        d.TypeText(IDC_ITEM_NAME, std::string(300, 'n').c_str());
        d.Select(d.FirstGroup());
        d.Select(item);
        rename(nullptr, VK_RETURN);
        EXPECT_EQ(d.m_tree.GetItemText(item).GetLength(), 300);

        // The filter editor: a text, then OK or Cancel; only OK writes it back.
        const auto editFilter = [&d](const char* filter, int answer) {
            DialogAnswerer editor(answer, [filter](HWND hEditor) {
                ::SetDlgItemTextA(hEditor, IDC_FILTER_TEXT, filter);
            });
            d.Command(IDC_EDIT_FILTER);
        };
        const CRuleItem* pItem = reinterpret_cast<CRuleItem*>(d.m_tree.GetItemData(item));
        d.TypeText(IDC_ITEM_FOLDER, "C:\\typed");
        editFilter("*.new", IDOK);
        EXPECT_EQ(d.Text(IDC_ITEM_FOLDER), "C:\\typed");
        EXPECT_EQ(d.Text(IDC_ITEM_FILTER), "*.new");
        EXPECT_STREQ(pItem->m_strFilter, "*.new");
        d.TypeText(IDC_ITEM_FILTER, "*.typed");
        editFilter("*.gone", IDCANCEL);
        EXPECT_EQ(d.Text(IDC_ITEM_FILTER), "*.typed");
        EXPECT_STREQ(pItem->m_strFilter, "*.typed");

        d.Command(ID_NEW_RULES);
        EXPECT_FALSE(d.IsEnabled(IDC_ITEM_NAME));
        EXPECT_EQ(d.Text(IDC_ITEM_NAME), "");

        // Closing by Escape writes the fields.
        d.Select(d.FirstItemOf(d.FirstGroup()));
        EXPECT_EQ(d.Text(IDC_ITEM_NAME), "Item");
        EXPECT_EQ(d.Text(IDC_ITEM_FOLDER), "C:\\temp");
        d.TypeText(IDC_ITEM_NAME, "Objects");
        d.TypeText(IDC_ITEM_FILTER, "*.o");
        d.TypeText(IDC_ITEM_FOLDER, "D:\\src");
        ::CheckDlgButton(d.m_hWnd, IDC_ATTR_HIDDEN, BST_UNCHECKED);
        ::CheckDlgButton(d.m_hWnd, IDC_ITEM_SUBFOLDERS, BST_UNCHECKED);
        // Enter in a field does not close the dialog.
        ::SendMessageA(d.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_TRUE(d.IsWindowVisible());
    });

    ASSERT_TRUE(m_rules.LoadFileFrom(m_ruleFile.Path().c_str()));
    auto* item = static_cast<CRuleItem*>(m_rules.m_children.front()->m_children.front());
    EXPECT_STREQ(item->m_strName, "Objects");
    EXPECT_STREQ(item->m_strFilter, "*.o");
    EXPECT_STREQ(item->m_strFolder, "D:\\src");
    EXPECT_EQ(item->m_bSubfolders, 0);
    EXPECT_EQ(item->m_dwAttrMask, 0x825u);
    RemoveTree(base);
}

TEST_F(MainDlgTest, TreeClicksRightClicksSelectionAndCommandsDriveThePaneTheMenusAndTheRules)
{
    MainDlgDriver dlg;
    dlg.Play([](MainDlgDriver& d) {
        const auto rightClick = [&](POINT pt) {
            d.m_tree.ClientToScreen(&pt);
            ::SetCursorPos(pt.x, pt.y);
            NMHDR click = {d.m_tree.m_hWnd, IDC_RULE_TREE, static_cast<UINT>(NM_RCLICK)};
            d.SendMessage(WM_NOTIFY, IDC_RULE_TREE, reinterpret_cast<LPARAM>(&click));
        };
        HTREEITEM group = d.FirstGroup();
        rightClick(d.LabelPoint(group));
        EXPECT_EQ(d.m_tree.GetSelectedItem(), group);
        EXPECT_EQ(d.m_strLastMenu, "32775+ 32776+ 32779+ 32772+ 32773+ 32784+ ");
        // An entry owns its whole row, right of its label too.
        HTREEITEM item = d.FirstItemOf(group);
        d.m_tree.EnsureVisible(item);
        CRect client;
        d.m_tree.GetClientRect(&client);
        rightClick({client.right - 2, d.LabelPoint(item).y});
        EXPECT_EQ(d.m_tree.GetSelectedItem(), item);
        EXPECT_EQ(d.m_strLastMenu, "32779+ 32780+ 32772+ 32773+ 32784+ ");
        d.Select(nullptr);
        rightClick({client.right - 2, client.bottom - 2});
        EXPECT_EQ(d.m_strLastMenu, "32771+ 32772+ 32781+ 32773+ ");
        EXPECT_EQ(d.m_tree.GetSelectedItem(), nullptr);

        // Nothing selected: the space bar marks nothing.
        CRuleNode* node = d.m_rules.m_children.front();
        d.PressKey(d.m_tree.m_hWnd, VK_SPACE);
        EXPECT_EQ(node->m_bUse, 1);
        const POINT box = d.StateIconPoint(group);
        ASSERT_GE(box.x, 0);
        d.ClickTree(box);
        EXPECT_FALSE(d.m_tree.GetCheck(group));
        EXPECT_EQ(node->m_bUse, 0);
        EXPECT_EQ(d.m_tree.GetSelectedItem(), nullptr);
        EXPECT_EQ(d.m_tree.GetEditControl(), nullptr);
        d.ClickTree({box.x, box.y + 200});
        EXPECT_EQ(node->m_bUse, 0);
        d.ClickTree(box);
        EXPECT_TRUE(d.m_tree.GetCheck(group));
        EXPECT_EQ(node->m_bUse, 1);

        d.ClickTree(d.LabelPoint(group));
        EXPECT_EQ(d.m_tree.GetSelectedItem(), group);
        EXPECT_TRUE(d.m_tree.GetCheck(group));

        // The space bar toggles the selected group alone; its item keeps its mark.
        d.PressKey(d.m_tree.m_hWnd, VK_SPACE);
        EXPECT_EQ(node->m_bUse, 0);
        EXPECT_EQ(node->m_children.front()->m_bUse, 1);
        d.PressKey(d.m_tree.m_hWnd, VK_SPACE);

        // The selection drives the detail pane and the toolbar.
        d.Select(nullptr);
        EXPECT_TRUE(d.IsButtonEnabled(ID_RUN_ALL));
        EXPECT_FALSE(d.IsButtonEnabled(ID_LIST_ALL));
        EXPECT_FALSE(d.IsButtonEnabled(ID_STOP));

        d.Select(d.FirstItemOf(group));
        EXPECT_TRUE(d.IsEnabled(IDC_ITEM_NAME));
        EXPECT_TRUE(d.IsEnabled(IDC_ATTR_SYSTEM));
        EXPECT_TRUE(d.IsButtonEnabled(ID_DELETE_ITEM));
        EXPECT_FALSE(d.IsButtonEnabled(ID_DELETE_GROUP));
        EXPECT_TRUE(d.IsButtonEnabled(ID_LIST_ALL));
        ::CheckDlgButton(d.m_hWnd, IDC_ATTR_SYSTEM, BST_UNCHECKED);

        d.Select(group);
        EXPECT_EQ(d.Text(IDC_ITEM_NAME), "");
        EXPECT_EQ(d.Text(IDC_ITEM_FILTER), "");
        EXPECT_EQ(d.Text(IDC_ITEM_FOLDER), "");
        EXPECT_EQ(::IsDlgButtonChecked(d.m_hWnd, IDC_ITEM_SUBFOLDERS), BST_CHECKED);
        EXPECT_EQ(::IsDlgButtonChecked(d.m_hWnd, IDC_ATTR_SYSTEM), BST_UNCHECKED);
        EXPECT_EQ(::IsDlgButtonChecked(d.m_hWnd, IDC_ATTR_READONLY), BST_CHECKED);
        EXPECT_FALSE(d.IsEnabled(IDC_ITEM_NAME));
        EXPECT_FALSE(d.IsEnabled(IDC_BROWSE_FOLDER));
        EXPECT_FALSE(d.IsButtonEnabled(ID_DELETE_ITEM));
        EXPECT_TRUE(d.IsButtonEnabled(ID_DELETE_GROUP));
        // Leaving the item stored what its boxes showed.
        EXPECT_EQ(static_cast<CRuleItem*>(node->m_children.front())->m_dwAttrMask, 0x823u);

        // Tree commands shape the rules, and the file keeps them.
        d.Select(d.FirstItemOf(group));
        d.Command(ID_ADD_ITEM);
        HTREEITEM added = d.m_tree.GetSelectedItem();
        d.TypeText(IDC_ITEM_NAME, "second");
        d.PressKey(d.m_tree.m_hWnd, VK_SPACE);
        // The last item of a group hands the selection to the one before it.
        d.Command(ID_ADD_ITEM);
        d.Command(ID_DELETE_ITEM);
        EXPECT_EQ(d.m_tree.GetSelectedItem(), added);
        d.Command(ID_ADD_GROUP);
        d.ClickTree(d.StateIconPoint(d.m_tree.GetSelectedItem()));
        d.Select(d.FirstItemOf(d.m_tree.GetSelectedItem()));
        d.Command(ID_DELETE_ITEM);
        d.Command(ID_ADD_GROUP);
        d.Command(ID_DELETE_GROUP);
    });
    ASSERT_TRUE(m_rules.LoadFileFrom(m_ruleFile.Path().c_str()));
    ASSERT_EQ(m_rules.m_children.size(), 2u);
    const CRuleNode* second = m_rules.m_children.front()->m_children.back();
    EXPECT_STREQ(second->m_strName, "second");
    EXPECT_EQ(second->m_bUse, 0);
    EXPECT_EQ(m_rules.m_children.back()->m_bUse, 0);
    EXPECT_TRUE(m_rules.m_children.back()->m_children.empty());
}

TEST_F(MainDlgTest, ListShowsRowsWhoseFilesTheListMenuDeletesOrClearsAndRunAsksFirst)
{
    m_folder.AddFile("a.obj", 1000);
    m_folder.AddFile("b.obj", 30);
    m_folder.AddFile("c.txt", 7);
    m_folder.AddFile("locked.obj", 0, FILE_ATTRIBUTE_READONLY);
    m_folder.AddFile("sub\\d.obj", 512);
    AddRule("objs", m_folder.Path());
    AddRule("unmarked", m_folder.Path(), "*.txt", 0, 1);
    AddRule("off", m_folder.Path(), "*.obj", 1, 0);
    ASSERT_TRUE(m_rules.SaveFileTo(m_ruleFile.Path().c_str()));

    MainDlgDriver dlg;
    dlg.Play([&](MainDlgDriver& d) {
        d.Select(d.FirstGroup());
        d.Command(ID_LIST_ALL);
        ASSERT_EQ(d.m_list.GetItemCount(), 4);
        EXPECT_EQ(d.Text(IDC_FILE_COUNT), kCountPrefix + "4");
        EXPECT_EQ(d.Text(IDC_TOTAL_SIZE), kTotalPrefix + "1.506 KB");
        EXPECT_EQ(d.Text(IDC_STATUS_TEXT), LoadText(IDS_SEARCH_FINISHED));
        EXPECT_EQ(d.m_nResultMode, CMainDlg::RESULTS_OF_LIST);
        EXPECT_TRUE(d.m_tree.IsWindowEnabled());
        EXPECT_TRUE(d.IsButtonEnabled(ID_EXIT));

        d.RightClickList();
        EXPECT_EQ(d.m_strLastMenu, "32783+ 32785+ 32786- ");
        d.m_list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
        d.RightClickList();
        EXPECT_EQ(d.m_strLastMenu, "32783+ 32785+ 32786+ ");
        d.Command(ID_SELECT_ALL_FILES);
        EXPECT_EQ(d.m_list.GetSelectedCount(), 4u);

        // A run asks first.
        {
            DialogAnswerer cancel(IDCANCEL);
            d.Command(ID_RUN_ALL);
            EXPECT_EQ(cancel.Count(), 1);
            EXPECT_EQ(cancel.LastText(), LoadText(IDS_CONFIRM_DELETE));
        }
        EXPECT_TRUE(m_folder.Exists("a.obj"));
        EXPECT_EQ(d.m_list.GetItemCount(), 4);

        // The selected rows are deleted; a second attempt fails.
        DialogAnswerer ok(IDOK);
        d.m_list.SetItemState(-1, 0, LVIS_SELECTED);
        d.m_list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
        d.Command(ID_DELETE_FILES);
        EXPECT_EQ(d.Result(1), LoadText(IDS_DELETED));
        EXPECT_EQ(d.Result(0), "");
        EXPECT_TRUE(m_folder.Exists("a.obj"));
        EXPECT_FALSE(m_folder.Exists("b.obj"));
        d.Command(ID_DELETE_FILES);
        EXPECT_EQ(d.Result(1), LoadText(IDS_DELETE_FAILED));
        EXPECT_EQ(d.Text(IDC_FILE_COUNT), kCountPrefix + "4");
        EXPECT_EQ(d.Text(IDC_TOTAL_SIZE), kTotalPrefix + "1.506 KB");
        EXPECT_EQ(d.Text(IDC_STATUS_TEXT), LoadText(IDS_SEARCH_FINISHED));

        // A marked group whose items are all unmarked has nothing to do: refused, and the list
        // keeps its rows.
        d.Select(d.m_tree.GetNextSiblingItem(d.m_tree.GetNextSiblingItem(d.FirstGroup())));
        const int nBoxes = ok.Count();
        d.Command(ID_RUN_SELECTED);
        EXPECT_EQ(ok.Count(), nBoxes + 2);
        EXPECT_EQ(ok.LastText(), LoadText(IDS_NOTHING_MARKED));
        EXPECT_EQ(d.m_list.GetItemCount(), 4);
        EXPECT_EQ(d.m_nResultMode, CMainDlg::RESULTS_NONE);
        EXPECT_TRUE(m_folder.Exists("a.obj"));

        // A run deletes and reports each file.
        d.Command(ID_RUN_ALL);
        ASSERT_EQ(d.m_list.GetItemCount(), 3);
        EXPECT_FALSE(m_folder.Exists("a.obj"));
        EXPECT_TRUE(m_folder.Exists("locked.obj"));
        for (int row = 0; row < 3; ++row) {
            const bool locked = d.m_list.GetItemText(row, 0) == "locked.obj";
            EXPECT_EQ(d.Result(row), LoadText(locked ? IDS_DELETE_FAILED : IDS_DELETED));
        }
        EXPECT_EQ(d.Text(IDC_FILE_COUNT), kCountPrefix + "3");
        EXPECT_EQ(d.m_nResultMode, CMainDlg::RESULTS_OF_RUN);
        d.RightClickList();
        EXPECT_EQ(d.m_strLastMenu, "32783+ ");

        d.Command(ID_CLEAR_LIST);
        EXPECT_EQ(d.m_list.GetItemCount(), 0);
        EXPECT_EQ(d.Text(IDC_FILE_COUNT), kCountPrefix + "0");
        EXPECT_EQ(d.Text(IDC_TOTAL_SIZE), kTotalPrefix);
        d.RightClickList();
        EXPECT_EQ(d.m_strLastMenu, "32783- ");
    });
}

TEST_F(MainDlgTest, StopOrCloseEndsADeepWalkOrTheWorkItArrivesBeforeAndNoFurtherItemRuns)
{
    // A walk long enough to be caught in the middle: 10,000 files in 40 nested folders, whose
    // names are short enough for every path to fit in MAX_PATH.
    std::string deep;
    for (int level = 0; level < 40; ++level) {
        deep += "d" + std::to_string(level) + "\\";
        for (int n = 0; n < 250; ++n)
            m_folder.AddFile(deep + "f" + std::to_string(n) + ".obj");
    }
    m_folder.AddFile("other\\later.tmp");
    AddRule("deep", m_folder / "d0");
    AddRule("later", m_folder / "other", "*.tmp");
    ASSERT_TRUE(m_rules.SaveFileTo(m_ruleFile.Path().c_str()));

    const auto stoppedInTheMiddle = [](MainDlgDriver& d) {
        EXPECT_GT(d.m_list.GetItemCount(), 0);
        EXPECT_LT(d.m_list.GetItemCount(), 10000);
        EXPECT_EQ(d.Text(IDC_STATUS_TEXT), LoadText(IDS_SEARCH_STOPPED));
    };
    MainDlgDriver dlg;
    const int result = dlg.Play([&](MainDlgDriver& d) {
        bool busyStates = false;
        d.PostProbe([&] {
            busyStates = d.m_bBusy && d.IsButtonEnabled(ID_STOP) && !d.IsButtonEnabled(ID_EXIT) &&
                         !d.IsButtonEnabled(ID_NEW_RULES) && !d.IsButtonEnabled(ID_ADD_GROUP) &&
                         !d.IsButtonEnabled(ID_VERSION) && !d.m_tree.IsWindowEnabled();
            d.Command(ID_STOP);
        });
        d.Command(ID_LIST_ALL);
        EXPECT_TRUE(busyStates);
        stoppedInTheMiddle(d);
        for (int row = 0; row < d.m_list.GetItemCount(); ++row)
            ASSERT_STRNE(d.m_list.GetItemText(row, 0), "later.tmp");
        EXPECT_EQ(CRuleItem::GetStopFlag(), 0);
        EXPECT_FALSE(d.m_bBusy);
        EXPECT_TRUE(d.IsButtonEnabled(ID_EXIT));

        // A Stop queued before the list is dispatched by the list's first look at the queue: kept.
        d.PostMessage(WM_COMMAND, ID_STOP);
        d.Command(ID_LIST_ALL);
        EXPECT_EQ(d.m_list.GetItemCount(), 0);
        EXPECT_EQ(d.Text(IDC_STATUS_TEXT), LoadText(IDS_SEARCH_STOPPED));

        // Closing while busy stops the work, and still saves.
        ::DeleteFileA(m_ruleFile.Path().c_str());
        d.PostProbe([&] { d.Escape(); });
        d.Command(ID_LIST_ALL);
        stoppedInTheMiddle(d);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(ReadFileBytes(m_ruleFile.Path()).empty());
}

TEST_F(MainDlgTest, ControlsFollowTheSizeAndThePlacementIsStoredAtCloseAndRestoredAtStart)
{
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kPlacementKey);
    m_app.SetRegistryKey("Orvane");
    m_app.WriteProfileString("Settings", "WindowPos", "0,1,0,0,0,0,10,10,20,20");
    CRect closedAt, unplaced;
    MainDlgDriver first;
    first.Play([&](MainDlgDriver& d) {
        unplaced = d.m_rcInitial;
        CRect rc;
        d.GetWindowRect(&rc);
        // Too small a rectangle grows to the template's size from its own corner.
        EXPECT_EQ(rc, CRect(10, 10, 10 + d.m_rcInitial.Width(), 10 + d.m_rcInitial.Height()));

        // The controls follow the size, which never falls below the template's.
        const auto childRect = [&d](int id) {
            CRect rcChild;
            ::GetWindowRect(::GetDlgItem(d.m_hWnd, id), &rcChild);
            d.ScreenToClient(&rcChild);
            return rcChild;
        };
        const int ids[] = {IDC_RULE_TREE, IDC_RESULT_LIST, IDC_DETAIL_FRAME, IDC_ATTR_SYSTEM,
                           IDC_STATUS_TEXT, IDC_TOTAL_SIZE, IDC_FILE_COUNT, IDC_TOOLBAR_LINE};
        std::vector<CRect> before;
        for (int id : ids)
            before.push_back(childRect(id));
        d.SetWindowPos(nullptr, 0, 0, rc.Width() + 100, rc.Height() + 50,
                       SWP_NOMOVE | SWP_NOZORDER);

        const struct {
            int dxLeft, dyTop, dWidth, dHeight;
        } expected[] = {
            {0, 0, 100, 0}, {0, 0, 100, 50}, {100, 0, 0, 0}, {100, 0, 0, 0},
            {0, 50, 100, 0}, {100, 50, 0, 0}, {100, 50, 0, 0}, {0, 0, 100, 0},
        };
        for (size_t i = 0; i < std::size(ids); ++i) {
            const CRect now = childRect(ids[i]);
            SCOPED_TRACE(ids[i]);
            EXPECT_EQ(now.left - before[i].left, expected[i].dxLeft);
            EXPECT_EQ(now.top - before[i].top, expected[i].dyTop);
            EXPECT_EQ(now.Width() - before[i].Width(), expected[i].dWidth);
            EXPECT_EQ(now.Height() - before[i].Height(), expected[i].dHeight);
        }

        d.SetWindowPos(nullptr, 0, 0, rc.Width() - 200, rc.Height() + 10,
                       SWP_NOMOVE | SWP_NOZORDER);
        CRect smaller;
        d.GetWindowRect(&smaller);
        EXPECT_EQ(smaller.Width(), rc.Width());
        EXPECT_EQ(smaller.Height(), rc.Height() + 10);
        EXPECT_EQ(childRect(IDC_RULE_TREE).Width(), before[0].Width());

        d.SetWindowPos(nullptr, 30, 40, rc.Width() + 60, rc.Height(), SWP_NOZORDER);
        d.GetWindowRect(&closedAt);
    });
    const CString stored = m_app.GetProfileString("Settings", "WindowPos");
    unsigned flags = 9, show = 0;
    long minX, minY, maxX, maxY;
    CRect normal;
    ASSERT_EQ(sscanf(stored, "%u,%u,%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld", &flags, &show, &minX, &minY,
                     &maxX, &maxY, &normal.left, &normal.top, &normal.right, &normal.bottom),
              10)
        << static_cast<LPCSTR>(stored);
    EXPECT_EQ(flags, 0u);
    EXPECT_EQ(normal, closedAt);

    // The dialog's place when it starts with value stored.
    const auto startAt = [&](const char* value) {
        m_app.WriteProfileString("Settings", "WindowPos", value);
        CRect rc;
        MainDlgDriver dlg;
        dlg.Play([&](MainDlgDriver& d) { d.GetWindowRect(&rc); });
        return rc;
    };
    // A value that does not read as ten numbers is passed over.
    const CRect passedOver = startAt("1,2,3,4,5,6,7,8,9");
    EXPECT_NE(passedOver.left, 30);
    EXPECT_EQ(passedOver.Width(), unplaced.Width());

    // A stored place that is where the dialog stands before it is placed is kept, not centred.
    CString atStart;
    atStart.Format("0,1,0,0,0,0,%ld,%ld,%ld,%ld", unplaced.left, unplaced.top, unplaced.right,
                   unplaced.bottom);
    EXPECT_EQ(startAt(atStart), unplaced);

    // Nor is a place that would put the title bar out of reach: the dialog opens on the screen.
    const CRect screen(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    for (const char* outOfReach : {"0,1,0,0,0,0,-32768,-32768,32767,32767",
                                   "0,1,0,0,0,0,100,-300,900,500",
                                   "0,1,0,0,0,0,1250,100,2100,700"}) {
        const CRect rc = startAt(outOfReach);
        CRect onScreen;
        ::IntersectRect(&onScreen, &rc, &screen);
        EXPECT_EQ(onScreen, rc) << outOfReach;
    }
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kPlacementKey);
}
