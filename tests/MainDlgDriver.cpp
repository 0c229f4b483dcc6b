#include "tests/MainDlgDriver.h"

#include <commctrl.h>

#include <cstring>

#include "res/resource.h"

BEGIN_MESSAGE_MAP(MainDlgDriver, Base)
    ON_MESSAGE(WM_INITMENUPOPUP, OnMenuPopup)
    ON_MESSAGE(WM_TIMER, OnProbe)
END_MESSAGE_MAP()

LRESULT MainDlgDriver::OnMenuPopup(WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    CMainDlg::OnWndMsg(WM_INITMENUPOPUP, wParam, lParam, &lResult);
    HMENU hMenu = reinterpret_cast<HMENU>(wParam);
    m_strLastMenu.clear();
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
        const UINT id = ::GetMenuItemID(hMenu, i);
        if (id == 0)
            continue;
        const bool enabled = !(::GetMenuState(hMenu, i, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
        m_strLastMenu += std::to_string(id) + (enabled ? "+ " : "- ");
    }
    ::EndMenu();
    return 0;
}

void MainDlgDriver::PostProbe(std::function<void()> probe)
{
    m_probe = std::move(probe);
    ::SetTimer(m_hWnd, PROBE_TIMER, 5, nullptr);
}

LRESULT MainDlgDriver::OnProbe(WPARAM wParam, LPARAM)
{
    // The probe is meant for the middle of the work: until rows have been listed, it waits. The
    // store has them a frame before the view shows them.
    if (wParam != PROBE_TIMER || !m_bBusy || m_list.GetRowCount() == 0)
        return 0;
    ::KillTimer(m_hWnd, PROBE_TIMER);
    if (m_probe)
        m_probe();
    return 0;
}

void MainDlgDriver::ClickTree(POINT pt)
{
    const LPARAM lParam = MAKELPARAM(pt.x, pt.y);
    m_tree.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    m_tree.SendMessage(WM_LBUTTONUP, 0, lParam);
}

void MainDlgDriver::RightClickList()
{
    NMHDR click = {m_list.m_hWnd, IDC_RESULT_LIST, static_cast<UINT>(NM_RCLICK)};
    SendMessage(WM_NOTIFY, IDC_RESULT_LIST, reinterpret_cast<LPARAM>(&click));
}

void MainDlgDriver::PressKey(HWND hWnd, UINT key)
{
    ::SendMessageA(hWnd, WM_KEYDOWN, key, 1);
    ::SendMessageA(hWnd, WM_KEYUP, key, 0xC0000001);
}

POINT MainDlgDriver::LabelPoint(HTREEITEM hItem) const
{
    // TVM_GETITEMRECT takes the entry in the rectangle it fills.
    RECT rc = {};
    memcpy(&rc, &hItem, sizeof(hItem));
    m_tree.SendMessage(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rc));
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

POINT MainDlgDriver::StateIconPoint(HTREEITEM hItem) const
{
    // The state image sits left of the label; ask the tree's own hit test where exactly.
    const POINT pt = LabelPoint(hItem);
    for (int x = pt.x; x >= 0; --x) {
        TVHITTESTINFO hit = {{x, pt.y}, 0, nullptr};
        m_tree.SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.hItem == hItem && (hit.flags & TVHT_ONITEMSTATEICON))
            return {x, pt.y};
    }
    return {-1, -1};
}

