#include "rules/RuleTreeCtrl.h"

namespace {

const UINT kUnmarked = 1;
const UINT kMarked = 2;

UINT StateImageIndex(UINT nState)
{
    return (nState & TVIS_STATEIMAGEMASK) >> 12;
}

}  // namespace

BEGIN_MESSAGE_MAP(CRuleTreeCtrl, CTreeCtrl)
    ON_WM_LBUTTONDOWN()
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

CRuleTreeCtrl::~CRuleTreeCtrl()
{
    // A window that outlives this object must not keep drawing from the list destroyed with it.
    if (m_hWnd && m_stateImages.GetSafeHandle() &&
        TreeView_GetImageList(m_hWnd, TVSIL_STATE) == m_stateImages.GetSafeHandle())
        SetImageList(nullptr, TVSIL_STATE);
}

BOOL CRuleTreeCtrl::SetStateImages(UINT nBitmapID, int cx, int nGrow, COLORREF crMask)
{
    if (!m_stateImages.Create(nBitmapID, cx, nGrow, crMask))
        return FALSE;
    SetImageList(&m_stateImages, TVSIL_STATE);
    return TRUE;
}

BOOL CRuleTreeCtrl::SetCheck(HTREEITEM hItem, BOOL bCheck)
{
    return SetItemState(hItem, INDEXTOSTATEIMAGEMASK(bCheck ? kMarked : kUnmarked),
                        TVIS_STATEIMAGEMASK);
}

BOOL CRuleTreeCtrl::GetCheck(HTREEITEM hItem) const
{
    return StateImageIndex(GetItemState(hItem, TVIS_STATEIMAGEMASK)) == kMarked;
}

void CRuleTreeCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    UINT nHitFlags = 0;
    HTREEITEM hItem = HitTest(point, &nHitFlags);
    if (!hItem || !(nHitFlags & TVHT_ONITEMSTATEICON)) {
        CTreeCtrl::OnLButtonDown(nFlags, point);
        return;
    }
    // A click on the mark leaves the selection, the focus and label editing alone.
    ToggleCheck(hItem);
}

void CRuleTreeCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar != VK_SPACE) {
        CTreeCtrl::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    if (HTREEITEM hItem = GetSelectedItem())
        ToggleCheck(hItem);
}

void CRuleTreeCtrl::ToggleCheck(HTREEITEM hItem)
{
    SetCheck(hItem, !GetCheck(hItem));

    NMTVDISPINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.hdr.hwndFrom = m_hWnd;
    info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    info.hdr.code = TVN_SETDISPINFOA;
    info.item.hItem = hItem;
    // Sent, so that the parent has copied the mark into the node before the toggle is over.
    ::SendMessageA(::GetParent(m_hWnd), WM_NOTIFY, info.hdr.idFrom,
                   reinterpret_cast<LPARAM>(&info));
}
