#include "engine/ResultListCtrl.h"

#include "engine/ResultFormat.h"

BEGIN_MESSAGE_MAP(CResultListCtrl, CListCtrl)
    ON_NOTIFY_REFLECT(LVN_GETDISPINFOA, OnGetDispInfo)
END_MESSAGE_MAP()

int CResultListCtrl::AddRow(const CString& strName, const CString& strFolder,
                            const std::wstring& strResolvedFolder, LONGLONG nSize,
                            const FILETIME* pLastWrite, DWORD dwAttributes, BOOL bNameExact)
{
    if (m_folders.empty() || m_folders.back().strPath != strFolder
        || m_folders.back().strResolved != strResolvedFolder)
        m_folders.push_back({strFolder, strResolvedFolder});
    Row row = {strName, static_cast<int>(m_folders.size()) - 1, nSize, {}, pLastWrite != nullptr,
               bNameExact != FALSE, dwAttributes, -1};
    if (pLastWrite)
        row.ftLastWrite = *pLastWrite;
    m_rows.push_back(row);
    return GetRowCount() - 1;
}

void CResultListCtrl::ShowRows(int nScrollTo)
{
    // Under Wine a list view draws its scroll bar at once for a new count, and scrolls and paints
    // at once to bring a row into view; on a busy machine each costs tens of milliseconds. While
    // the window is marked hidden, both only change the view's state, and it is painted whole,
    // once, later. The view's own WM_SETREDRAW, which would repaint everything at once, is passed
    // by; the default one leaves nothing of the view to paint, the header included.
    ::DefWindowProcA(m_hWnd, WM_SETREDRAW, FALSE, 0);
    SendMessage(LVM_SETITEMCOUNT, m_rows.size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    if (IsRow(nScrollTo))
        EnsureVisible(nScrollTo, FALSE);
    ::DefWindowProcA(m_hWnd, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(m_hWnd, nullptr, nullptr,
                   RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CResultListCtrl::DeleteAllRows()
{
    DeleteAllItems();
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_folders.clear();
    m_folders.shrink_to_fit();
}

CString CResultListCtrl::GetRowPath(int nRow) const
{
    if (!IsRow(nRow))
        return CString();
    const Row& row = m_rows[static_cast<size_t>(nRow)];
    return m_folders[static_cast<size_t>(row.nFolder)].strPath + row.strName;
}

std::wstring CResultListCtrl::GetRowResolvedFolder(int nRow) const
{
    if (!IsRow(nRow))
        return std::wstring();
    return m_folders[static_cast<size_t>(m_rows[static_cast<size_t>(nRow)].nFolder)].strResolved;
}

BOOL CResultListCtrl::IsRowNameExact(int nRow) const
{
    return IsRow(nRow) && m_rows[static_cast<size_t>(nRow)].bNameExact;
}

BOOL CResultListCtrl::SetRowResult(int nRow, int nID)
{
    if (nID == -1 || !IsRow(nRow))
        return FALSE;
    m_rows[static_cast<size_t>(nRow)].nResultID = nID;
    return TRUE;
}

CString CResultListCtrl::GetCellText(int nRow, int nColumn) const
{
    if (!IsRow(nRow))
        return CString();
    const Row& row = m_rows[static_cast<size_t>(nRow)];
    CString text;
    switch (nColumn) {
    case COL_NAME:
        text = row.strName;
        break;
    case COL_FOLDER:
        text = m_folders[static_cast<size_t>(row.nFolder)].strPath;
        break;
    case COL_SIZE:
        text = FormatSize(row.nSize);
        break;
    case COL_MODIFIED:
        if (row.bHasTime)
            text = FormatTime(row.ftLastWrite);
        break;
    case COL_ATTRIBUTES:
        text = FormatAttributes(row.dwAttributes);
        break;
    case COL_RESULT:
        if (row.nResultID != -1)
            text.LoadString(static_cast<UINT>(row.nResultID));
        break;
    default:
        break;
    }
    return text;
}

void CResultListCtrl::OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult)
{
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(pNMHDR)->item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
        ::lstrcpynA(item.pszText, GetCellText(item.iItem, item.iSubItem), item.cchTextMax);
    *pResult = 0;
}
