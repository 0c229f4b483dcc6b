#pragma once

#include <windows.h>

#include "engine/FileDeletion.h"
#include "framework/String.h"
#include "framework/Wnd.h"

class CFileFind;
class CResultListCtrl;

// Writes one list, run or deletion into the main dialog: the rows of the result list, the file
// count and total size under it, and the status text. It borrows the dialog's controls for the
// length of one operation; the rows it adds are the only record of the files found.
//
// Painting a list view row by row costs far more than finding the files, and so does looking at the
// message queue after every entry. Waiting messages are dispatched every FRAME_INTERVAL_MS (under
// Wine the tick count moves in steps of about 16 ms), so that Stop is seen at once. The view shows
// what changed at most every REPAINT_INTERVAL_MS, and at most a tenth of the time, since under Wine
// a repaint costs tens of milliseconds: it takes the new rows and scrolls the newest into view
// without drawing, rewrites count and total, and is painted whole, once. A new status, a clear and
// the end of the operation show everything at once. A Stop is never kept waiting by a repaint: the
// queue is looked at right before one, and once the stop flag is set the view is left to paint from
// the queue after the operation has answered.
class CResultList
{
public:
    static constexpr DWORD FRAME_INTERVAL_MS = 10;
    static constexpr DWORD REPAINT_INTERVAL_MS = 100;

    // The controls that an operation writes into, lent by the dialog that owns them; one that is
    // missing is left out of every operation.
    struct Controls
    {
        CResultListCtrl* pList;
        CWnd* pStatus;
        CWnd* pTotal;
        CWnd* pCount;
    };

    explicit CResultList(const Controls& controls);
    virtual ~CResultList();
    CResultList(const CResultList&) = delete;
    CResultList& operator=(const CResultList&) = delete;

    void Clear();
    // Appends the row of the search's current entry; returns its index. strResolvedFolder is what
    // the searched folder resolved to (ResolveFolderPath), the only folder the row may delete in.
    // A name that does not name its file exactly says so in its result.
    int AddFile(const CFileFind& file, const std::wstring& strResolvedFolder);
    void UpdateTotals();
    // Loads string nID; with text, formats it with text as its one argument.
    void SetStatus(UINT nID, LPCSTR text = nullptr);
    // Dispatches waiting messages once a frame has passed, and shows what has changed when a
    // repaint is due.
    void PumpMessages();

    // Deletes the file, never the target of a link, and only inside the folder that row nRow was
    // found in. FALSE when it could not be deleted; TRUE when
    // it was marked for deletion: whether it is really gone is decided with the other files of its
    // folder (see CFileDeleter), at the latest when the status changes or the operation ends, and
    // shown in its row then.
    BOOL DeleteFoundFile(int nRow, const CString& path);
    // Deletes the file that row nRow names (its folder and name columns); a row of a name that
    // does not name its file exactly is left alone.
    BOOL DeleteRow(int nRow);
    // nID -1 writes nothing.
    void SetResult(int nRow, int nID);

    LONGLONG GetTotal() const { return m_nTotal; }
    int GetCount() const { return m_nCount; }

private:
    // Shows everything that changed, then dispatches waiting messages.
    void ShowFrame();
    // Writes the outcome of every deletion not yet decided into its row.
    void DecideDeletions();
    void ShowDecisions();
    void ShowChanges();
    void DispatchWaitingMessages();
    // Dispatches waiting input and posted messages, paints left for later; true once Stop is set.
    bool StopArrived();

    CFileDeleter m_deleter;
    CResultListCtrl* m_pList;
    CWnd* m_pStatus;
    CWnd* m_pTotal;
    CWnd* m_pCount;
    LONGLONG m_nTotal = 0;
    int m_nCount = 0;

    int m_nLastRow = -1;
    bool m_bFrameDirty = false;
    bool m_bTotalsDirty = false;
    DWORD m_dwLastFrame;
    DWORD m_dwLastRepaint;
    DWORD m_dwRepaintCost = 0;
};
