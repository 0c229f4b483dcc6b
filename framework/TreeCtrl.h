#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/ImageList.h"
#include "framework/String.h"
#include "framework/Wnd.h"

class CTreeCtrl : public CWnd
{
public:
    HTREEITEM InsertItem(LPCSTR lpszItem, HTREEITEM hParent = TVI_ROOT,
                         HTREEITEM hInsertAfter = TVI_LAST);
    BOOL DeleteItem(HTREEITEM hItem) { return TreeView_DeleteItem(m_hWnd, hItem); }
    BOOL DeleteAllItems() { return TreeView_DeleteAllItems(m_hWnd); }
    UINT GetCount() const { return TreeView_GetCount(m_hWnd); }

    BOOL GetItem(TVITEMA* pItem) const
    {
        return static_cast<BOOL>(SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(pItem)));
    }
    BOOL SetItem(TVITEMA* pItem)
    {
        return static_cast<BOOL>(SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(pItem)));
    }
    // The whole label, however long.
    CString GetItemText(HTREEITEM hItem) const;
    BOOL SetItemText(HTREEITEM hItem, LPCSTR lpszItem);
    DWORD_PTR GetItemData(HTREEITEM hItem) const;
    BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData);
    UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const
    {
        return static_cast<UINT>(SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(hItem),
                                             nStateMask));
    }
    BOOL SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask);

    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const
    {
        return TreeView_GetNextItem(m_hWnd, hItem, nCode);
    }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) const
    {
        return GetNextItem(hItem, TVGN_PREVIOUS);
    }
    HTREEITEM GetParentItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    BOOL SelectItem(HTREEITEM hItem) { return TreeView_SelectItem(m_hWnd, hItem); }
    BOOL EnsureVisible(HTREEITEM hItem) { return TreeView_EnsureVisible(m_hWnd, hItem); }

    // pt in client coordinates; *pFlags receives the TVHT_* flags.
    HTREEITEM HitTest(CPoint pt, UINT* pFlags = nullptr) const;
    // Both return the label-edit control, null when none is open.
    HWND EditLabel(HTREEITEM hItem) { return TreeView_EditLabel(m_hWnd, hItem); }
    HWND GetEditControl() const { return TreeView_GetEditControl(m_hWnd); }

    // nImageList: TVSIL_NORMAL or TVSIL_STATE. Returns the list the control held before, which
    // stays its owner's.
    HIMAGELIST SetImageList(CImageList* pImageList, int nImageList)
    {
        return TreeView_SetImageList(m_hWnd, pImageList ? pImageList->GetSafeHandle() : nullptr,
                                     nImageList);
    }
};
