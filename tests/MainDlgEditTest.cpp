#include <gtest/gtest.h>

#include <iterator>

#include "app/FolderBrowser.h"
#include "res/resource.h"
#include "tests/MainDlgDriver.h"
#include "tests/TestSupport.h"

namespace {

CRuleNode* Child(const CRuleNode* node, size_t index)
{
    return *std::next(node->m_children.begin(), static_cast<long>(index));
}

CRuleItem* ItemAt(const CRuleNode* node, size_t group, size_t item)
{
    return static_cast<CRuleItem*>(Child(Child(node, group), item));
}

class MainDlgEditTest : public testing::Test
{
protected:
    // The rules that the closed dialog left in the rule file.
    const CRuleRoot& SavedRules()
    {
        m_saved.RemoveAllChildren();
        EXPECT_TRUE(m_saved.LoadFileFrom(m_ruleFile.Path().c_str()));
        return m_saved;
    }

    CMainApp m_app;
    RuleFileGuard m_ruleFile;
    CRuleRoot m_saved;
};

void EditLabel(MainDlgDriver& d, const char* text, UINT endKey)
{
    d.Command(ID_EDIT_NAME);
    HWND hEdit = d.m_tree.GetEditControl();
    ASSERT_NE(hEdit, nullptr);
    ::SetWindowTextA(hEdit, text);
    d.PressKey(hEdit, endKey);
    ASSERT_EQ(d.m_tree.GetEditControl(), nullptr);
}

}  // namespace

TEST_F(MainDlgEditTest, AddingAndDeletingShapeTheTreeAndEveryEditReachesTheFile)
{
    MainDlgDriver dlg;
    dlg.Play([](MainDlgDriver& d) {
        HTREEITEM group = d.FirstGroup();
        d.Select(d.FirstItemOf(group));
        // An item is added to the group of the selected item.
        d.Command(ID_ADD_ITEM);
        HTREEITEM added = d.m_tree.GetSelectedItem();
        EXPECT_EQ(d.m_tree.GetParentItem(added), group);
        EXPECT_NE(d.m_tree.GetItemState(group, TVIS_EXPANDED), 0u);
        EXPECT_EQ(d.m_rules.m_children.front()->m_children.size(), 2u);
        EXPECT_EQ(d.Text(IDC_ITEM_NAME), "Item");
        d.TypeText(IDC_ITEM_NAME, "second");
        d.PressKey(d.m_tree.m_hWnd, VK_SPACE);
        // The last item of a group hands the selection to the one before it.
        d.Command(ID_ADD_ITEM);
        EXPECT_STREQ(d.m_tree.GetItemText(added), "second");
        d.Command(ID_DELETE_ITEM);
        EXPECT_EQ(d.m_tree.GetSelectedItem(), added);

        d.Command(ID_ADD_GROUP);
        HTREEITEM newGroup = d.m_tree.GetSelectedItem();
        EXPECT_EQ(d.m_tree.GetNextSiblingItem(group), newGroup);
        EXPECT_TRUE(d.m_tree.GetCheck(newGroup));
        EXPECT_TRUE(d.IsButtonEnabled(ID_DELETE_GROUP));
        d.ClickTree(d.StateIconPoint(newGroup));
        d.Command(ID_DELETE_ITEM);  // not an item: nothing happens
        EXPECT_EQ(d.m_rules.m_children.size(), 2u);

        // Or else to the next one.
        d.Select(d.FirstItemOf(group));
        d.Command(ID_DELETE_ITEM);
        EXPECT_EQ(d.m_tree.GetSelectedItem(), added);
        EXPECT_EQ(d.Text(IDC_ITEM_NAME), "second");

        // The only item goes, its group stays; no item is left selected.
        d.Select(d.FirstItemOf(newGroup));
        d.Command(ID_DELETE_ITEM);
        EXPECT_EQ(d.FirstItemOf(newGroup), nullptr);
        EXPECT_TRUE(d.m_rules.m_children.back()->m_children.empty());
        EXPECT_FALSE(d.IsEnabled(IDC_ITEM_NAME));
        EXPECT_FALSE(d.IsButtonEnabled(ID_DELETE_ITEM));
        d.Escape();
    });

    const CRuleRoot& saved = SavedRules();
    ASSERT_EQ(saved.m_children.size(), 2u);
    ASSERT_EQ(Child(&saved, 0)->m_children.size(), 1u);
    EXPECT_STREQ(ItemAt(&saved, 0, 0)->m_strName, "second");
    EXPECT_EQ(ItemAt(&saved, 0, 0)->m_bUse, 0);
    EXPECT_EQ(Child(&saved, 1)->m_bUse, 0);
    EXPECT_TRUE(Child(&saved, 1)->m_children.empty());
}

TEST_F(MainDlgEditTest, DeletedGroupsHandTheSelectionOnAndNewStartsAfresh)
{
    MainDlgDriver dlg;
    dlg.Play([](MainDlgDriver& d) {
        d.Command(ID_ADD_GROUP);
        d.Command(ID_ADD_GROUP);
        HTREEITEM first = d.FirstGroup();
        HTREEITEM second = d.m_tree.GetNextSiblingItem(first);
        HTREEITEM third = d.m_tree.GetNextSiblingItem(second);
        d.Select(second);
        d.Command(ID_DELETE_GROUP);
        EXPECT_EQ(d.m_tree.GetSelectedItem(), third);
        d.Command(ID_DELETE_GROUP);
        EXPECT_EQ(d.m_tree.GetSelectedItem(), first);
        d.Select(d.FirstItemOf(first));
        d.Command(ID_DELETE_GROUP);  // not a group: nothing happens
        d.Select(first);
        d.Command(ID_DELETE_GROUP);
        EXPECT_EQ(d.m_tree.GetCount(), 0u);
        EXPECT_TRUE(d.m_rules.m_children.empty());
        EXPECT_FALSE(d.IsButtonEnabled(ID_RUN_ALL));

        d.Command(ID_ADD_GROUP);
        d.Select(d.FirstItemOf(d.FirstGroup()));
        d.TypeText(IDC_ITEM_NAME, "gone");
        d.Command(ID_NEW_RULES);
        ASSERT_EQ(d.m_rules.m_children.size(), 1u);
        EXPECT_STREQ(d.m_tree.GetItemText(d.FirstItemOf(d.FirstGroup())), "Item");
        EXPECT_EQ(d.m_tree.GetSelectedItem(), nullptr);
        // Nothing of the item that went is left to be typed into.
        EXPECT_FALSE(d.IsEnabled(IDC_ITEM_NAME));
        EXPECT_EQ(d.Text(IDC_ITEM_NAME), "");
        EXPECT_FALSE(d.IsButtonEnabled(ID_DELETE_ITEM));
        d.Escape();
    });

    const CRuleRoot& saved = SavedRules();
    ASSERT_EQ(saved.m_children.size(), 1u);
    EXPECT_STREQ(ItemAt(&saved, 0, 0)->m_strName, "Item");
}

TEST_F(MainDlgEditTest, RenamesKeepWhatIsTypedAndTheWholeName)
{
    const std::string longName(300, 'n');
    MainDlgDriver dlg;
    dlg.Play([&](MainDlgDriver& d) {
        HTREEITEM item = d.FirstItemOf(d.FirstGroup());
        CRuleNode* node = d.m_rules.m_children.front()->m_children.front();
        d.Select(item);
        d.TypeText(IDC_ITEM_FOLDER, "D:\\typed");
        EditLabel(d, "cancelled", VK_ESCAPE);
        EXPECT_STREQ(node->m_strName, "Item");

        EditLabel(d, "renamed", VK_RETURN);
        EXPECT_STREQ(node->m_strName, "renamed");
        EXPECT_STREQ(d.m_tree.GetItemText(item), "renamed");
        EXPECT_EQ(d.Text(IDC_ITEM_NAME), "renamed");
        EXPECT_EQ(d.Text(IDC_ITEM_FOLDER), "D:\\typed");

        EditLabel(d, "", VK_RETURN);
        EXPECT_STREQ(node->m_strName, "");
        EXPECT_EQ(d.Text(IDC_ITEM_NAME), "");

        // A name longer than a path survives an edit that leaves it as it is.
        d.TypeText(IDC_ITEM_NAME, longName.c_str());
        d.Select(d.FirstGroup());
        d.Select(item);
        d.Command(ID_EDIT_NAME);
        d.PressKey(d.m_tree.GetEditControl(), VK_RETURN);
        EXPECT_EQ(node->m_strName.GetLength(), 300);
        d.Escape();
    });

    EXPECT_STREQ(ItemAt(&SavedRules(), 0, 0)->m_strFolder, "D:\\typed");
}

TEST_F(MainDlgEditTest, RightClickOpensTheMenuOfWhatIsUnderTheCursor)
{
    MainDlgDriver dlg;
    dlg.Play([](MainDlgDriver& d) {
        HTREEITEM group = d.FirstGroup();
        d.Command(ID_ADD_GROUP);
        HTREEITEM item = d.FirstItemOf(group);
        d.m_tree.EnsureVisible(item);

        d.RightClickTree(d.LabelPoint(group));
        EXPECT_EQ(d.m_tree.GetSelectedItem(), group);
        EXPECT_EQ(d.m_strLastMenu, "32775+ 32776+ 32779+ 32772+ 32773+ 32784+ ");
        d.RightClickTree(d.LabelPoint(item));
        EXPECT_EQ(d.m_tree.GetSelectedItem(), item);
        EXPECT_EQ(d.m_strLastMenu, "32779+ 32780+ 32772+ 32773+ 32784+ ");

        // Beside an entry's label and below the last entry nothing is hit and nothing selected.
        CRect client;
        d.m_tree.GetClientRect(&client);
        d.RightClickTree({client.right - 2, d.LabelPoint(group).y});
        EXPECT_EQ(d.m_strLastMenu, "32771+ 32772+ 32781+ 32773+ ");
        d.m_strLastMenu.clear();
        d.RightClickTree({client.right / 2, client.bottom - 2});
        EXPECT_EQ(d.m_strLastMenu, "32771+ 32772+ 32781+ 32773+ ");
        EXPECT_EQ(d.m_tree.GetSelectedItem(), item);
        d.Escape();
    });
}

TEST(FolderBrowserTest, StartsOnTheFolderWithoutItsTrailingBackslash)
{
    EXPECT_STREQ(CFolderBrowser::StartFolder("C:\\temp\\"), "C:\\temp");
    EXPECT_STREQ(CFolderBrowser::StartFolder("C:\\"), "C:");
    EXPECT_STREQ(CFolderBrowser::StartFolder("C:\\temp"), "C:\\temp");
    // The last byte of "表" is 0x5C, but no backslash.
    EXPECT_STREQ(CFolderBrowser::StartFolder("C:\\\x95\x5C"), "C:\\\x95\x5C");
    // What does not fit a path opens the browser on nothing rather than on a cut path.
    const std::string fits = "C:\\" + std::string(255, 'a') + "\\";
    EXPECT_EQ(CFolderBrowser::StartFolder(fits.c_str()).GetLength(), 258);
    EXPECT_STREQ(CFolderBrowser::StartFolder(("C:\\" + std::string(300, 'a')).c_str()), "");
}

TEST_F(MainDlgEditTest, BrowseOpensOnTheItemsFolderAfterStoringWhatWasTyped)
{
    // On the test prefix's quiet drive: the browser matches each folder on the way by its shell id,
    // time stamp included, which must not change while it opens (the host's /tmp changes always).
    const std::string base = "C:\\scourly-browse", chosen = base + "\\chosen";
    RemoveTree(base);
    ::CreateDirectoryA(base.c_str(), nullptr);
    ASSERT_TRUE(::CreateDirectoryA(chosen.c_str(), nullptr));
    MainDlgDriver dlg;
    dlg.Play([&](MainDlgDriver& d) {
        HTREEITEM item = d.FirstItemOf(d.FirstGroup());
        CRuleItem* node = ItemAt(&d.m_rules, 0, 0);
        d.Select(item);
        d.TypeText(IDC_ITEM_NAME, "typed");
        d.TypeText(IDC_ITEM_FOLDER, (chosen + "\\").c_str());
        {
            MessageBoxAnswerer ok(IDOK);
            d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BROWSE_FOLDER, BN_CLICKED),
                          reinterpret_cast<LPARAM>(::GetDlgItem(d.m_hWnd, IDC_BROWSE_FOLDER)));
            EXPECT_EQ(ok.Count(), 1);
            EXPECT_EQ(ok.LastText(), "chosen");
        }
        EXPECT_STREQ(node->m_strName, "typed");
        EXPECT_STREQ(d.m_tree.GetItemText(item), "typed");
        EXPECT_STREQ(node->m_strFolder, chosen.c_str());
        EXPECT_EQ(d.Text(IDC_ITEM_FOLDER), chosen);
        d.Escape();
    });
    RemoveTree(base);
}
