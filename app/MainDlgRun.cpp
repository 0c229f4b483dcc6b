#include "app/MainDlg.h"

#include "engine/ResultList.h"
#include "res/resource.h"

// The list and run commands, the busy state they share, and the result list's commands.

void CMainDlg::OnRunAll()
{
    if (ConfirmDeletion())
        RunRules(TRUE, TRUE);
}

void CMainDlg::OnRunSelected()
{
    if (ConfirmDeletion())
        RunRules(FALSE, TRUE);
}

void CMainDlg::OnListAll()
{
    RunRules(TRUE, FALSE);
}

void CMainDlg::OnListSelected()
{
    RunRules(FALSE, FALSE);
}

BOOL CMainDlg::ConfirmDeletion()
{
    return AfxMessageBox(IDS_CONFIRM_DELETE, MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

void CMainDlg::RunRules(BOOL bAll, BOOL bRemove)
{
    HTREEITEM hSelected = m_tree.GetSelectedItem();
    m_nResultMode = RESULTS_NONE;
    CommitDetails(hSelected);

    CRuleNode* pTarget = (hSelected && !bAll) ? NodeOf(hSelected) : nullptr;
    if (!m_rules.HasWork(bAll, pTarget)) {
        AfxMessageBox(IDS_NOTHING_MARKED, MB_OK | MB_ICONEXCLAMATION);
        return;
    }

    CResultList results({&m_list, &m_status, &m_total, &m_count});
    // Busy before anything dispatches messages, so that a Stop or a close that arrives while the
    // list is being cleared ends the work instead of being forgotten.
    SetBusy(TRUE, results);
    results.Clear();
    m_nResultMode = bRemove ? RESULTS_OF_RUN : RESULTS_OF_LIST;
    m_rules.RunTree(&results, bRemove, pTarget, bAll);
    SetBusy(FALSE, results);
}

void CMainDlg::SetBusy(BOOL bBusy, CResultList& results)
{
    // Showing the status dispatches waiting messages. On entering, the busy state and a cleared
    // stop flag come first, so that a Stop dispatched there is kept; on leaving, the status must
    // still tell whether Stop cleared the busy state.
    if (!bBusy)
        results.SetStatus(m_bBusy ? IDS_SEARCH_FINISHED : IDS_SEARCH_STOPPED);
    m_bBusy = bBusy;
    CRuleItem::SetStopFlag(0);
    UpdateCommandStates();
    if (bBusy) {
        m_tree.EnableWindow(FALSE);
        EnableDetails(nullptr);
        results.SetStatus(IDS_SEARCHING);
    } else {
        m_tree.EnableWindow(TRUE);
        EnableDetails(m_tree.GetSelectedItem());
    }
}

void CMainDlg::OnStop()
{
    m_bBusy = FALSE;
    CRuleItem::SetStopFlag(1);
}

void CMainDlg::OnClearList()
{
    m_nResultMode = RESULTS_NONE;
    m_list.DeleteAllRows();
    ResetStatus();
}

void CMainDlg::OnUpdateClearList(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_list.GetItemCount() > 0);
}

void CMainDlg::OnSelectAllFiles()
{
    // Row -1 stands for every row, from the first to the last.
    m_list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
}

void CMainDlg::OnDeleteFiles()
{
    if (!ConfirmDeletion())
        return;
    int nRow = m_list.GetNextItem(-1, LVNI_SELECTED);
    CResultList results({&m_list, &m_status, &m_total, &m_count});
    SetBusy(TRUE, results);
    // The next selected row is looked up before each deletion, so a selection that the user changes
    // meanwhile is followed as it stands; rows are never removed, so their numbers stay valid.
    while (nRow != -1 && m_bBusy) {
        const int nNext = m_list.GetNextItem(nRow, LVNI_SELECTED);
        results.DeleteRow(nRow);
        nRow = nNext;
    }
    SetBusy(FALSE, results);
}

void CMainDlg::OnUpdateDeleteFiles(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_list.GetSelectedCount() > 0);
}

void CMainDlg::OnListRightClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (m_bBusy)
        return;
    switch (m_nResultMode) {
    case RESULTS_OF_RUN:
        ShowPopupMenu(IDR_RESULT_RUN_MENU);
        break;
    case RESULTS_OF_LIST:
        ShowPopupMenu(IDR_RESULT_LIST_MENU);
        break;
    default:
        ShowPopupMenu(IDR_RESULT_EMPTY_MENU);
        break;
    }
}

void CMainDlg::ShowPopupMenu(UINT nIDMenu)
{
    POINT pt;
    if (!::GetCursorPos(&pt))
        return;
    CMenu menu;
    if (!menu.LoadMenu(nIDMenu))
        return;
    if (CMenu* pPopup = menu.GetSubMenu(0))
        pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, this);
}

void CMainDlg::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu)
{
    // The dialog handles no system commands: its system menu keeps the states the system gives.
    if (bSysMenu)
        return;
    CCmdUI state;
    state.m_pMenu = pPopupMenu;
    // An update handler may change the menu, so the count is read again after every entry.
    for (state.m_nIndex = 0; state.m_nIndex < static_cast<UINT>(pPopupMenu->GetMenuItemCount());
         ++state.m_nIndex) {
        state.m_nID = pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
        state.DoUpdate(this, TRUE);
    }
}

void CMainDlg::OnInitMenu(CMenu* pMenu)
{
    CDialog::OnInitMenu(pMenu);
}

BOOL CMainDlg::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_bBusy && nHitTest == HTCLIENT) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
        return TRUE;
    }
    return CDialog::OnSetCursor(pWnd, nHitTest, message);
}
