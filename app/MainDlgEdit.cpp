#include "app/FolderBrowser.h"
#include "app/MainDlg.h"

#include "res/resource.h"

// Editing the rule tree: adding, deleting and renaming groups and items, the tree's context menus,
// and the folder browser of the detail pane. Tree entries always go before their nodes, so that
// whatever the tree reports about an entry while it goes still finds a live node.

HTREEITEM CMainDlg::InsertEntry(HTREEITEM hParent, CRuleNode* pNode)
{
    HTREEITEM hItem = m_tree.InsertItem(pNode->m_strName, hParent ? hParent : TVI_ROOT);
    m_tree.SetItemData(hItem, reinterpret_cast<DWORD_PTR>(pNode));
    m_tree.SetCheck(hItem, pNode->m_bUse);
    return hItem;
}

void CMainDlg::SelectEntry(HTREEITEM hItem)
{
    m_tree.SelectItem(hItem);
    m_tree.EnsureVisible(hItem);
}

void CMainDlg::OnNewRules()
{
    m_tree.DeleteAllItems();
    m_rules.RemoveAllChildren();
    m_rules.AddChild(new CRuleGroup);
    FillTree(nullptr, &m_rules);
    ShowNothingSelected();
    UpdateCommandStates();
}

void CMainDlg::ShowNothingSelected()
{
    // A tree may drop its selection with the selected entry without reporting it: the detail pane
    // must not go on offering an item that is gone.
    if (m_tree.GetSelectedItem())
        return;
    LoadDetails(nullptr);
    EnableDetails(nullptr);
}

void CMainDlg::OnAddGroup()
{
    CRuleNode* pGroup = m_rules.AddChild(new CRuleGroup);
    HTREEITEM hGroup = InsertEntry(nullptr, pGroup);
    FillTree(hGroup, pGroup);
    SelectEntry(hGroup);
    UpdateCommandStates();
}

void CMainDlg::OnDeleteGroup()
{
    DeleteSelectedEntry(NODE_GROUP);
}

void CMainDlg::OnAddItem()
{
    HTREEITEM hGroup = m_tree.GetSelectedItem();
    if (ItemOf(hGroup))
        hGroup = m_tree.GetParentItem(hGroup);
    CRuleNode* pGroup = NodeOf(hGroup);
    if (!pGroup || !pGroup->IsKind(NODE_GROUP))
        return;
    SelectEntry(InsertEntry(hGroup, pGroup->AddChild(new CRuleItem)));
    UpdateCommandStates();
}

void CMainDlg::OnDeleteItem()
{
    DeleteSelectedEntry(NODE_ITEM);
}

void CMainDlg::DeleteSelectedEntry(int nKind)
{
    HTREEITEM hItem = m_tree.GetSelectedItem();
    CRuleNode* pNode = NodeOf(hItem);
    if (!pNode || !pNode->IsKind(nKind))
        return;
    HTREEITEM hNext = m_tree.GetNextSiblingItem(hItem);
    if (!hNext)
        hNext = m_tree.GetPrevSiblingItem(hItem);
    m_tree.DeleteItem(hItem);
    pNode->GetParentNode()->RemoveChild(pNode);
    if (hNext)
        SelectEntry(hNext);
    ShowNothingSelected();
    UpdateCommandStates();
}

void CMainDlg::OnEditName()
{
    if (HTREEITEM hItem = m_tree.GetSelectedItem())
        m_tree.EditLabel(hItem);
}

void CMainDlg::OnUpdateEditName(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_tree.GetSelectedItem() != nullptr);
}

void CMainDlg::OnTreeEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    const NMTVDISPINFOA* pInfo = reinterpret_cast<const NMTVDISPINFOA*>(pNMHDR);
    HTREEITEM hItem = pInfo->item.hItem;
    CRuleNode* pNode = NodeOf(hItem);
    // Without a text the user cancelled the edit.
    if (!pNode || !pInfo->item.pszText)
        return;
    // The tree hands over at most a path's length of the label; the edit box holds all of it.
    CString strName = pInfo->item.pszText;
    CWnd edit;
    if (edit.Attach(m_tree.GetEditControl())) {
        edit.GetWindowText(strName);
        edit.Detach();
    }

    // The entry whose details are shown keeps what was typed there; only its name changes.
    const bool bShown = hItem == m_tree.GetSelectedItem();
    if (bShown)
        CommitDetails(hItem);
    pNode->m_strName = strName;
    m_tree.SetItemText(hItem, strName);
    if (bShown)
        LoadDetails(hItem);
    *pResult = 0;
}

void CMainDlg::OnTreeRightClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    POINT pt;
    if (!::GetCursorPos(&pt))
        return;
    m_tree.ScreenToClient(&pt);
    // The hit test names an entry for its whole row, indent and the space right of its label
    // included; only the space below the last entry belongs to no entry.
    HTREEITEM hItem = m_tree.HitTest(CPoint(pt.x, pt.y));
    if (!hItem) {
        ShowPopupMenu(IDR_TREE_BLANK_MENU);
        return;
    }
    if (hItem != m_tree.GetSelectedItem())
        m_tree.SelectItem(hItem);
    CRuleNode* pNode = NodeOf(hItem);
    ShowPopupMenu(pNode && pNode->IsKind(NODE_GROUP) ? IDR_TREE_GROUP_MENU : IDR_TREE_ITEM_MENU);
}

void CMainDlg::OnBrowseFolder()
{
    HTREEITEM hItem = m_tree.GetSelectedItem();
    CRuleItem* pItem = ItemOf(hItem);
    if (!pItem)
        return;
    CommitDetails(hItem);
    CString strFolder = pItem->m_strFolder;
    CFolderBrowser browser;
    if (browser.Browse(this, LoadResourceString(IDS_PRODUCT_NAME), strFolder)) {
        pItem->m_strFolder = strFolder;
        LoadDetails(hItem);
    }
}
