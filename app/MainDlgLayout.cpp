#include "app/MainDlg.h"

#include <algorithm>
#include <cstdio>

#include "framework/WinApp.h"
#include "res/resource.h"

// How the dialog's controls follow its size, its minimum size, and its stored placement.

namespace {

const char kSettingsSection[] = "Settings";
const char kWindowPosEntry[] = "WindowPos";
const char kPlacementFormat[] = "%u,%u,%ld,%ld,%ld,%ld,%ld,%ld,%ld,%ld";

// Enough of the title bar to take hold of with the mouse.
const int kGraspableTitleWidth = 100;

// A place on a screen that is no longer there (a monitor unplugged, a resolution lowered), or a
// size the screen cannot hold, would open the dialog out of reach, and the next close would store
// that place again: such a rectangle is not applied.
bool IsWithinReach(const CRect& rc)
{
    CRect rcTitle(rc.left, rc.top, rc.right,
                  rc.top + ::GetSystemMetrics(SM_CYSIZEFRAME) + ::GetSystemMetrics(SM_CYCAPTION));
    HMONITOR hMonitor = ::MonitorFromRect(&rcTitle, MONITOR_DEFAULTTONULL);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!hMonitor || !::GetMonitorInfoA(hMonitor, &info))
        return false;
    const CRect rcWork(info.rcWork);
    if (rc.Width() > rcWork.Width() || rc.Height() > rcWork.Height())
        return false;
    CRect rcVisible;
    if (!::IntersectRect(&rcVisible, &rcTitle, &rcWork))
        return false;
    return rcVisible.Height() == rcTitle.Height()
        && rcVisible.Width() >= std::min(kGraspableTitleWidth, rcTitle.Width());
}

}  // namespace

void CMainDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    LayoutControls();
}

void CMainDlg::OnWindowPosChanging(WINDOWPOS* pPos)
{
    if (m_rcInitial.IsRectEmpty())
        return;
    pPos->cx = std::max(pPos->cx, m_rcInitial.Width());
    pPos->cy = std::max(pPos->cy, m_rcInitial.Height());
}

void CMainDlg::LayoutControls()
{
    if (m_rcInitial.IsRectEmpty())
        return;
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    if (rcWindow == m_rcLast)
        return;
    const int dx = rcWindow.Width() - m_rcLast.Width();
    const int dy = rcWindow.Height() - m_rcLast.Height();

    m_commandBar.AutoSize();
    ResizeControlBy(IDC_TOOLBAR_LINE, dx, 0);
    ResizeControlBy(IDC_RULE_TREE, dx, 0);
    for (int nID : kDetailPane)
        MoveControlBy(nID, dx, 0);
    ResizeControlBy(IDC_RESULT_LIST, dx, dy);
    MoveControlBy(IDC_STATUS_TEXT, 0, dy);
    ResizeControlBy(IDC_STATUS_TEXT, dx, 0);
    MoveControlBy(IDC_TOTAL_SIZE, dx, dy);
    MoveControlBy(IDC_FILE_COUNT, dx, dy);
    m_rcLast = rcWindow;
}

void CMainDlg::ResizeControlBy(int nID, int dx, int dy)
{
    HWND hWnd = ::GetDlgItem(m_hWnd, nID);
    CRect rc;
    if (!hWnd || !::GetWindowRect(hWnd, &rc))
        return;
    ::SetWindowPos(hWnd, nullptr, 0, 0, rc.Width() + dx, rc.Height() + dy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMainDlg::MoveControlBy(int nID, int dx, int dy)
{
    HWND hWnd = ::GetDlgItem(m_hWnd, nID);
    CRect rc;
    if (!hWnd || !::GetWindowRect(hWnd, &rc))
        return;
    ScreenToClient(&rc);
    // Hidden while it moves, so that it leaves no trace where it stood.
    ::ShowWindow(hWnd, SW_HIDE);
    ::SetWindowPos(hWnd, nullptr, rc.left + dx, rc.top + dy, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(hWnd, SW_SHOWNORMAL);
}

BOOL CMainDlg::ReadWindowPlacement(WINDOWPLACEMENT* pPlacement)
{
    const CString strPlacement =
        AfxGetApp() ? AfxGetApp()->GetProfileString(kSettingsSection, kWindowPosEntry) : CString();
    if (strPlacement.IsEmpty())
        return FALSE;
    WINDOWPLACEMENT placement = {};
    if (sscanf(strPlacement, kPlacementFormat, &placement.flags, &placement.showCmd,
               &placement.ptMinPosition.x, &placement.ptMinPosition.y, &placement.ptMaxPosition.x,
               &placement.ptMaxPosition.y, &placement.rcNormalPosition.left,
               &placement.rcNormalPosition.top, &placement.rcNormalPosition.right,
               &placement.rcNormalPosition.bottom) < 10)
        return FALSE;
    placement.length = sizeof(placement);
    placement.showCmd = SW_SHOWNORMAL;
    *pPlacement = placement;
    return TRUE;
}

void CMainDlg::WriteWindowPlacement(const WINDOWPLACEMENT& placement)
{
    CString strPlacement;
    strPlacement.Format(kPlacementFormat, placement.flags, placement.showCmd,
                        placement.ptMinPosition.x, placement.ptMinPosition.y,
                        placement.ptMaxPosition.x, placement.ptMaxPosition.y,
                        placement.rcNormalPosition.left, placement.rcNormalPosition.top,
                        placement.rcNormalPosition.right, placement.rcNormalPosition.bottom);
    if (AfxGetApp())
        AfxGetApp()->WriteProfileString(kSettingsSection, kWindowPosEntry, strPlacement);
}

void CMainDlg::RestorePlacement()
{
    WINDOWPLACEMENT placement;
    if (!ReadWindowPlacement(&placement))
        return;
    CRect rc(placement.rcNormalPosition);
    rc.right = rc.left + std::max(rc.Width(), m_rcInitial.Width());
    rc.bottom = rc.top + std::max(rc.Height(), m_rcInitial.Height());
    if (!IsWithinReach(rc))
        return;
    SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMainDlg::SavePlacement()
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(&placement))
        return;
    placement.flags = IsZoomed() ? WPF_RESTORETOMAXIMIZED : 0;
    WriteWindowPlacement(placement);
}
