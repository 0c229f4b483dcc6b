#include "engine/ResultList.h"

#include <algorithm>

#include "engine/FileDeletion.h"
#include "engine/ResultFormat.h"
#include "engine/ResultListCtrl.h"
#include "framework/FileFind.h"
#include "framework/WinApp.h"
#include "engine/EngineResources.h"
#include "rules/RuleNode.h"

CResultList::CResultList(const Controls& controls)
    : m_pList(controls.pList), m_pStatus(controls.pStatus), m_pTotal(controls.pTotal),
      m_pCount(controls.pCount), m_dwLastFrame(::GetTickCount()), m_dwLastRepaint(m_dwLastFrame)
{
}

CResultList::~CResultList()
{
    DecideDeletions();
    if (m_bFrameDirty)
        ShowFrame();
}

void CResultList::Clear()
{
    if (m_pList) {
        m_pList->DeleteAllRows();
        m_nLastRow = -1;
    }
    m_nTotal = 0;
    m_nCount = 0;
    UpdateTotals();
    ShowFrame();
}

int CResultList::AddFile(const CFileFind& file, const std::wstring& strResolvedFolder)
{
    int nRow = -1;
    // Sizes come from the search itself: a file that vanished before it could be read again still
    // shows what it held, and sizes of 4 GiB and more arrive whole.
    const LONGLONG nSize = static_cast<LONGLONG>(file.GetLength());
    if (m_pList) {
        CString folder = file.GetRoot();
        folder += '\\';
        FILETIME written;
        const bool bHasTime = file.GetLastWriteTime(&written) != FALSE;
        nRow = m_pList->AddRow(file.GetFileName(), folder, strResolvedFolder, nSize,
                               bHasTime ? &written : nullptr, file.GetAttributes(),
                               file.IsNameExact());
        m_nLastRow = nRow;
        if (!file.IsNameExact())
            SetResult(nRow, IDS_NAME_NOT_EXACT);
    }
    m_nTotal += nSize;
    ++m_nCount;
    m_bTotalsDirty = true;
    m_bFrameDirty = true;
    PumpMessages();
    return nRow;
}

void CResultList::UpdateTotals()
{
    if (m_pTotal)
        m_pTotal->SetWindowText(TotalText(FormatTotal(m_nTotal)));
    if (m_pCount)
        m_pCount->SetWindowText(CountText(m_pList ? m_pList->GetItemCount() : 0));
}

void CResultList::SetStatus(UINT nID, LPCSTR text)
{
    if (!m_pStatus)
        return;
    CString status = LoadResourceString(nID);
    if (text) {
        CString format = status;
        status.Format(format, text);
    }
    // A new status marks a new stage of the work: show it with everything before it.
    DecideDeletions();
    m_pStatus->SetWindowText(status);
    ShowFrame();
}

void CResultList::PumpMessages()
{
    // GetTickCount reads a counter in shared memory; looking at the queue is a round trip to the
    // server, which would cost more than the walk itself if it were done for every entry.
    const DWORD dwNow = ::GetTickCount();
    if (dwNow - m_dwLastFrame < FRAME_INTERVAL_MS)
        return;
    // Waiting messages go first: a Stop must not wait behind a repaint.
    DispatchWaitingMessages();
    if (m_bFrameDirty
        && dwNow - m_dwLastRepaint >= std::max(REPAINT_INTERVAL_MS, 10 * m_dwRepaintCost))
        ShowChanges();
}

void CResultList::ShowFrame()
{
    if (m_bFrameDirty)
        ShowChanges();
    // After a Stop the operation is about to answer, and the dialog's own loop takes the rest.
    if (!CRuleItem::GetStopFlag())
        DispatchWaitingMessages();
}

void CResultList::ShowChanges()
{
    const DWORD dwStart = ::GetTickCount();
    if (m_pList) {
        m_pList->ShowRows(m_nLastRow);
        // The paint is the costly part of a frame. A Stop that came meanwhile goes first, and
        // leaves the paint to the queue, after the operation has answered.
        if (!StopArrived())
            m_pList->UpdateWindow();
    }
    // Only new rows change the totals: a deletion of selected rows, which starts from none,
    // must leave the texts of the list it works on.
    if (m_bTotalsDirty)
        UpdateTotals();
    m_bTotalsDirty = false;
    m_bFrameDirty = false;
    m_dwLastRepaint = ::GetTickCount();
    m_dwRepaintCost = m_dwLastRepaint - dwStart;
}

bool CResultList::StopArrived()
{
    if (!CRuleItem::GetStopFlag())
        CWinApp::PumpMessages(FALSE);
    return CRuleItem::GetStopFlag() != 0;
}

void CResultList::DispatchWaitingMessages()
{
    // Once Stop is asked for, the view paints from the queue after the operation has answered.
    CWinApp::PumpMessages(!CRuleItem::GetStopFlag());
    m_dwLastFrame = ::GetTickCount();
}

BOOL CResultList::DeleteFoundFile(int nRow, const CString& path)
{
    const BOOL bMarked =
        m_pList && m_deleter.Mark(path, m_pList->GetRowResolvedFolder(nRow), nRow);
    if (!bMarked)
        SetResult(nRow, IDS_DELETE_FAILED);
    ShowDecisions();
    PumpMessages();
    return bMarked;
}

void CResultList::DecideDeletions()
{
    m_deleter.DecideAll();
    ShowDecisions();
}

void CResultList::ShowDecisions()
{
    for (const CFileDeleter::Decision& decision : m_deleter.TakeDecisions())
        SetResult(decision.first, decision.second ? IDS_DELETED : IDS_DELETE_FAILED);
}

BOOL CResultList::DeleteRow(int nRow)
{
    if (!m_pList || nRow < 0 || nRow >= m_pList->GetRowCount())
        return FALSE;
    // Such a row's texts name another file, or none.
    if (!m_pList->IsRowNameExact(nRow)) {
        SetResult(nRow, IDS_NAME_NOT_EXACT);
        PumpMessages();
        return FALSE;
    }
    return DeleteFoundFile(nRow, m_pList->GetRowPath(nRow));
}

void CResultList::SetResult(int nRow, int nID)
{
    if (m_pList && m_pList->SetRowResult(nRow, nID))
        m_bFrameDirty = true;
}

