#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/String.h"
#include "framework/Wnd.h"

class CListCtrl : public CWnd
{
public:
    // nWidth -1 and nSubItem -1 leave the control's defaults.
    int InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT,
                     int nWidth = -1, int nSubItem = -1);
    BOOL DeleteColumn(int nCol) { return ListView_DeleteColumn(m_hWnd, nCol); }

    int InsertItem(int nItem, LPCSTR lpszItem);
    BOOL DeleteItem(int nItem) { return ListView_DeleteItem(m_hWnd, nItem); }
    BOOL DeleteAllItems() { return ListView_DeleteAllItems(m_hWnd); }
    int GetItemCount() const { return ListView_GetItemCount(m_hWnd); }

    // The whole text of the cell, however long.
    CString GetItemText(int nItem, int nSubItem) const;
    // At most nLen - 1 bytes; returns the length copied.
    int GetItemText(int nItem, int nSubItem, LPSTR lpszText, int nLen) const;
    BOOL SetItemText(int nItem, int nSubItem, LPCSTR lpszText);

    UINT GetItemState(int nItem, UINT nMask) const
    {
        return ListView_GetItemState(m_hWnd, nItem, nMask);
    }
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    // nFlags: LVNI_* (LVNI_SELECTED for the next selected row); nItem -1 searches from the start.
    int GetNextItem(int nItem, int nFlags) const
    {
        return ListView_GetNextItem(m_hWnd, nItem, nFlags);
    }
    UINT GetSelectedCount() const { return ListView_GetSelectedCount(m_hWnd); }
    BOOL EnsureVisible(int nItem, BOOL bPartialOK)
    {
        return ListView_EnsureVisible(m_hWnd, nItem, bPartialOK);
    }
    // Returns the label-edit control, null when editing did not start.
    HWND EditLabel(int nItem) { return ListView_EditLabel(m_hWnd, nItem); }
};
