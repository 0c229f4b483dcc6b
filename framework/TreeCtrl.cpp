#include "framework/TreeCtrl.h"

HTREEITEM CTreeCtrl::InsertItem(LPCSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter)
{
    TVINSERTSTRUCTA tvis = {};
    tvis.hParent = hParent;
    tvis.hInsertAfter = hInsertAfter;
    tvis.item.mask = TVIF_TEXT;
    tvis.item.pszText = const_cast<LPSTR>(lpszItem);
    return reinterpret_cast<HTREEITEM>(
        SendMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&tvis)));
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const
{
    CString strText;
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = hItem;
    // The control cuts a label that does not fit, possibly before a whole double-byte character: a
    // result that comes within two bytes of the buffer's end is read again with a larger buffer.
    for (int nSize = 256; nSize <= 0x100000; nSize *= 2) {
        item.pszText = strText.GetBuffer(nSize);
        item.pszText[0] = '\0';
        item.cchTextMax = nSize;
        if (!GetItem(&item)) {
            strText.ReleaseBuffer(0);
            break;
        }
        strText.ReleaseBuffer();
        if (strText.GetLength() < nSize - 2)
            break;
    }
    return strText;
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCSTR lpszItem)
{
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = hItem;
    item.pszText = const_cast<LPSTR>(lpszItem);
    return SetItem(&item);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const
{
    TVITEMA item = {};
    item.mask = TVIF_PARAM;
    item.hItem = hItem;
    return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData)
{
    TVITEMA item = {};
    item.mask = TVIF_PARAM;
    item.hItem = hItem;
    item.lParam = static_cast<LPARAM>(dwData);
    return SetItem(&item);
}

BOOL CTreeCtrl::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask)
{
    TVITEMA item = {};
    item.mask = TVIF_STATE;
    item.hItem = hItem;
    item.state = nState;
    item.stateMask = nStateMask;
    return SetItem(&item);
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    TVHITTESTINFO hti = {};
    hti.pt = pt;
    HTREEITEM hItem = TreeView_HitTest(m_hWnd, &hti);
    if (pFlags)
        *pFlags = hti.flags;
    return hItem;
}
