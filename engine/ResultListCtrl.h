#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/ListCtrl.h"
#include "framework/String.h"

// The result list view, a virtual list: the control object holds the rows it shows, and the view
// asks it for the text of the cells it paints. A list view that stores 100,000 rows of six texts
// itself takes hundreds of megabytes and repaints slowly; these rows take a few dozen bytes each.
// The rows are still the only record of the files found.
class CResultListCtrl : public CListCtrl
{
public:
    // The columns, in the dialog's order.
    enum Column { COL_NAME, COL_FOLDER, COL_SIZE, COL_MODIFIED, COL_ATTRIBUTES, COL_RESULT };

    // Appends a row to the store; the view shows it from the next ShowRows on. Returns its index.
    // strResolvedFolder is what the folder resolved to when it was walked.
    int AddRow(const CString& strName, const CString& strFolder,
               const std::wstring& strResolvedFolder, LONGLONG nSize, const FILETIME* pLastWrite,
               DWORD dwAttributes, BOOL bNameExact);
    // Lets the view show every row of the store, scrolled so that row nScrollTo, when it is one,
    // is in view. Nothing is drawn at once: the whole view is painted with its next WM_PAINT.
    void ShowRows(int nScrollTo);
    void DeleteAllRows();
    int GetRowCount() const { return static_cast<int>(m_rows.size()); }

    // The folder (ending in "\") and the name of the row, joined: the file it names.
    CString GetRowPath(int nRow) const;
    // What the row's folder resolved to when it was walked; empty for no row.
    std::wstring GetRowResolvedFolder(int nRow) const;
    // FALSE when the row's name was not the file's own (see CFileFind::IsNameExact).
    BOOL IsRowNameExact(int nRow) const;
    // nID -1, or a row that does not exist, writes nothing: FALSE. The row is repainted with the
    // next ShowRows.
    BOOL SetRowResult(int nRow, int nID);
    CString GetCellText(int nRow, int nColumn) const;

protected:
    void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    struct Row
    {
        CString strName;
        int nFolder;
        LONGLONG nSize;
        FILETIME ftLastWrite;
        bool bHasTime;
        bool bNameExact;
        DWORD dwAttributes;
        int nResultID;
    };

    bool IsRow(int nRow) const { return nRow >= 0 && nRow < GetRowCount(); }

    struct Folder
    {
        CString strPath;
        std::wstring strResolved;
    };

    std::vector<Row> m_rows;
    // The walk lists a folder's files one after another: each folder is held once.
    std::vector<Folder> m_folders;
};
