#include "rules/RuleTreeCtrl.h"

#include "framework/Rect.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS |
                         TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS | TVS_DISABLEDRAGDROP |
                         TVS_SHOWSELALWAYS;

// Stands in for the main dialog: records each mark notification with the mark that the tree shows
// while the notification is handled.
class TreeHost : public CWnd
{
public:
    struct Toggle
    {
        WPARAM wParam;
        NMTVDISPINFOA info;
        BOOL bCheckSeen;
    };

    CRuleTreeCtrl* m_pTree = nullptr;
    std::vector<Toggle> m_toggles;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        const auto* pInfo = reinterpret_cast<const NMTVDISPINFOA*>(lParam);
        if (pInfo->hdr.code == TVN_SETDISPINFOA)
            m_toggles.push_back({wParam, *pInfo, m_pTree->GetCheck(pInfo->item.hItem)});
        return CWnd::OnNotify(wParam, lParam, pResult);
    }
};

// Hidden; groups "A" (items "A1", "A2", expanded) and "B" (item "B1"), marked A, A2, B1.
class RuleTreeCtrlTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_host.CreateEx(0, "STATIC", nullptr, WS_POPUP, CRect(0, 0, 240, 240), nullptr, 0));
        ASSERT_TRUE(m_tree.CreateEx(0, WC_TREEVIEWA, nullptr, kTreeStyle, CRect(0, 0, 200, 200),
                                    &m_host, IDC_RULE_TREE));
        m_host.m_pTree = &m_tree;
        ASSERT_TRUE(m_tree.SetStateImages(IDB_CHECKMARKS, 13, 1, RGB(255, 255, 255)));
        m_hA = Insert("A", TVI_ROOT, TRUE);
        m_hA1 = Insert("A1", m_hA, FALSE);
        m_hA2 = Insert("A2", m_hA, TRUE);
        m_hB = Insert("B", TVI_ROOT, FALSE);
        m_hB1 = Insert("B1", m_hB, TRUE);
        TreeView_Expand(m_tree.m_hWnd, m_hA, TVE_EXPAND);
    }

    HTREEITEM Insert(LPCSTR lpszName, HTREEITEM hParent, BOOL bCheck)
    {
        HTREEITEM hItem = m_tree.InsertItem(lpszName, hParent);
        m_tree.SetCheck(hItem, bCheck);
        return hItem;
    }

    // Button down and up, as a click brings them.
    void Click(CPoint pt, HTREEITEM hExpectedHit, UINT nExpectedFlag)
    {
        UINT nFlags = 0;
        ASSERT_EQ(m_tree.HitTest(pt, &nFlags), hExpectedHit);
        ASSERT_TRUE(nFlags & nExpectedFlag);
        m_tree.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        m_tree.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
    }

    // Bit 30 of lParam says that the key was already down.
    void PressKey(UINT nKey, bool bRepeated = false)
    {
        m_tree.SendMessage(WM_KEYDOWN, nKey, bRepeated ? 0x40000001 : 0x00000001);
    }

    std::vector<BOOL> Marks()
    {
        return {m_tree.GetCheck(m_hA), m_tree.GetCheck(m_hA1), m_tree.GetCheck(m_hA2),
                m_tree.GetCheck(m_hB), m_tree.GetCheck(m_hB1)};
    }

    // Sent, not posted: the parent already sees the new mark; all but the entry is zero.
    void ExpectToggleReported(size_t nIndex, HTREEITEM hItem, BOOL bNewCheck)
    {
        ASSERT_LT(nIndex, m_host.m_toggles.size());
        const TreeHost::Toggle& toggle = m_host.m_toggles[nIndex];
        EXPECT_EQ(toggle.wParam, static_cast<WPARAM>(IDC_RULE_TREE));
        EXPECT_EQ(toggle.info.hdr.hwndFrom, m_tree.m_hWnd);
        EXPECT_EQ(toggle.info.hdr.idFrom, static_cast<UINT_PTR>(IDC_RULE_TREE));
        EXPECT_EQ(static_cast<int>(toggle.info.hdr.code), -404);
        const TVITEMA& item = toggle.info.item;
        EXPECT_EQ(item.hItem, hItem);
        EXPECT_TRUE(item.mask == 0 && item.state == 0 && item.stateMask == 0 && !item.pszText &&
                    item.cchTextMax == 0 && item.iImage == 0 && item.iSelectedImage == 0 &&
                    item.cChildren == 0 && item.lParam == 0);
        EXPECT_EQ(toggle.bCheckSeen, bNewCheck);
    }

    TreeHost m_host;
    CRuleTreeCtrl m_tree;
    HTREEITEM m_hA = nullptr, m_hA1 = nullptr, m_hA2 = nullptr, m_hB = nullptr, m_hB1 = nullptr;
};

const std::vector<BOOL> kInitialMarks = {TRUE, FALSE, TRUE, FALSE, TRUE};

}  // namespace

TEST_F(RuleTreeCtrlTest, ClickOnMarkTogglesAndReportsItLeavingSelectionAndFocus)
{
    m_tree.SelectItem(m_hA1);
    CRect rc;
    ASSERT_TRUE(TreeView_GetItemRect(m_tree.m_hWnd, m_hB, &rc, TRUE));
    // The state image sits just left of the label.
    const CPoint mark(rc.left - 6, (rc.top + rc.bottom) / 2);
    Click(mark, m_hB, TVHT_ONITEMSTATEICON);
    EXPECT_EQ(Marks(), (std::vector<BOOL>{TRUE, FALSE, TRUE, TRUE, TRUE}));
    ASSERT_EQ(m_host.m_toggles.size(), 1u);
    ExpectToggleReported(0, m_hB, TRUE);
    EXPECT_EQ(m_tree.GetSelectedItem(), m_hA1);
    EXPECT_NE(::GetFocus(), m_tree.m_hWnd);
    EXPECT_EQ(m_tree.GetEditControl(), nullptr);

    Click(mark, m_hB, TVHT_ONITEMSTATEICON);
    EXPECT_EQ(Marks(), kInitialMarks);
    ASSERT_EQ(m_host.m_toggles.size(), 2u);
    ExpectToggleReported(1, m_hB, FALSE);

    Click(CPoint(mark.x, rc.bottom + 20), nullptr, TVHT_NOWHERE);
    EXPECT_EQ(Marks(), kInitialMarks) << "below the last entry";
    EXPECT_EQ(m_host.m_toggles.size(), 2u);
    EXPECT_EQ(m_tree.GetSelectedItem(), m_hA1);
}

TEST_F(RuleTreeCtrlTest, SpaceTogglesOnlyTheSelectedEntryOncePerKeyDown)
{
    ASSERT_EQ(m_tree.GetSelectedItem(), nullptr);
    PressKey(VK_SPACE);
    EXPECT_EQ(Marks(), kInitialMarks) << "nothing selected";

    m_tree.SelectItem(m_hA);
    PressKey(VK_SPACE);
    EXPECT_EQ(Marks(), (std::vector<BOOL>{FALSE, FALSE, TRUE, FALSE, TRUE}));
    ExpectToggleReported(0, m_hA, FALSE);
    PressKey(VK_SPACE, true);
    EXPECT_EQ(Marks(), kInitialMarks);
    ExpectToggleReported(1, m_hA, TRUE);
    EXPECT_EQ(m_host.m_toggles.size(), 2u);
    EXPECT_EQ(m_tree.GetSelectedItem(), m_hA);

    PressKey(VK_DOWN);
    EXPECT_EQ(m_tree.GetSelectedItem(), m_hA1) << "other keys move as usual";
    EXPECT_EQ(m_host.m_toggles.size(), 2u);
}
