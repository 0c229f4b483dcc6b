#include "engine/ResultList.h"

#include <algorithm>

#include "engine/FileDeletion.h"
#include "engine/ResultListCtrl.h"
#include "framework/FileFind.h"
#include "framework/WinApp.h"
#include "engine/EngineResources.h"

namespace {

HWND DialogItem(CWnd* pDialog, int nID)
{
    return pDialog ? ::GetDlgItem(pDialog->m_hWnd, nID) : nullptr;
}

}  // namespace

CResultList::CResultList(CWnd* pDialog)
    : m_dwLastFrame(::GetTickCount()), m_dwLastRepaint(m_dwLastFrame)
{
    m_pList = dynamic_cast<CResultListCtrl*>(
        CWnd::FromHandlePermanent(DialogItem(pDialog, IDC_RESULT_LIST)));
    if (HWND hWnd = DialogItem(pDialog, IDC_STATUS_TEXT))
        m_status.Attach(hWnd);
    if (HWND hWnd = DialogItem(pDialog, IDC_TOTAL_SIZE))
        m_total.Attach(hWnd);
    if (HWND hWnd = DialogItem(pDialog, IDC_FILE_COUNT))
        m_count.Attach(hWnd);
}

CResultList::~CResultList()
{
    DecideDeletions();
    if (m_bFrameDirty)
        ShowFrame();
    m_status.Detach();
    m_total.Detach();
    m_count.Detach();
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

int CResultList::AddFile(const CFileFind& file)
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
        nRow = m_pList->AddRow(file.GetFileName(), folder, nSize, bHasTime ? &written : nullptr,
                               file.GetAttributes(), file.IsNameExact());
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
    if (m_total.m_hWnd)
        m_total.SetWindowText(TotalText(FormatTotal(m_nTotal)));
    if (m_count.m_hWnd)
        m_count.SetWindowText(CountText(m_pList ? m_pList->GetItemCount() : 0));
}

CString CResultList::TotalText(LPCSTR amount)
{
    CString text;
    text.Format(LoadResourceString(IDS_TOTAL_SIZE), amount);
    return text;
}

CString CResultList::CountText(int nRows)
{
    CString text;
    text.Format(LoadResourceString(IDS_FILE_COUNT), nRows);
    return text;
}

void CResultList::SetStatus(UINT nID, LPCSTR text)
{
    if (!m_status.m_hWnd)
        return;
    CString status = LoadResourceString(nID);
    if (text) {
        CString format = status;
        status.Format(format, text);
    }
    // A new status marks a new stage of the work: show it with everything before it.
    DecideDeletions();
    m_status.SetWindowText(status);
    ShowFrame();
}

void CResultList::PumpMessages()
{
    // GetTickCount reads a counter in shared memory; looking at the queue is a round trip to the
    // server, which would cost more than the walk itself if it were done for every entry.
    const DWORD dwNow = ::GetTickCount();
    if (dwNow - m_dwLastFrame < FRAME_INTERVAL_MS)
        return;
    if (m_bFrameDirty
        && dwNow - m_dwLastRepaint >= std::max(REPAINT_INTERVAL_MS, 5 * m_dwRepaintCost))
        ShowChanges();
    DispatchWaitingMessages();
}

void CResultList::ShowFrame()
{
    if (m_bFrameDirty)
        ShowChanges();
    DispatchWaitingMessages();
}

void CResultList::ShowChanges()
{
    const DWORD dwStart = ::GetTickCount();
    if (m_pList) {
        m_pList->ShowRows();
        if (m_nLastResult >= 0)
            m_pList->RedrawRows(m_nFirstResult, m_nLastResult);
        if (m_nLastRow >= 0)
            m_pList->EnsureVisible(m_nLastRow, FALSE);
        // A scroll of more than a page erases the whole view at once; painted only later, from
        // the queue, it could be shown blank.
        m_pList->UpdateWindow();
    }
    m_nFirstResult = INT_MAX;
    m_nLastResult = -1;
    // Only new rows change the totals: a deletion of selected rows, which starts from none,
    // must leave the texts of the list it works on.
    if (m_bTotalsDirty)
        UpdateTotals();
    m_bTotalsDirty = false;
    m_bFrameDirty = false;
    m_dwLastRepaint = ::GetTickCount();
    m_dwRepaintCost = m_dwLastRepaint - dwStart;
}

void CResultList::DispatchWaitingMessages()
{
    CWinApp::PumpMessages();
    m_dwLastFrame = ::GetTickCount();
}

BOOL CResultList::DeleteFoundFile(int nRow, const CString& path)
{
    const BOOL bMarked = m_deleter.Mark(path, nRow);
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
    if (!m_pList || !m_pList->SetRowResult(nRow, nID))
        return;
    m_nFirstResult = std::min(m_nFirstResult, nRow);
    m_nLastResult = std::max(m_nLastResult, nRow);
    m_bFrameDirty = true;
}

CString CResultList::FormatTotal(LONGLONG nBytes)
{
    const ULONGLONG value = static_cast<ULONGLONG>(nBytes);
    CString text;
    if (value < 1024ULL)
        text.Format("%d Byte", static_cast<int>(value));
    else if (value < 1048576ULL)
        text.Format("%.3f KB", static_cast<double>(value) / 1024.0);
    else if (value < 1073741824ULL)
        text.Format("%.3f MB", static_cast<double>(value) / 1048576.0);
    else
        text.Format("%.3f GB", static_cast<double>(value) / 1073741824.0);
    return text;
}

CString CResultList::FormatSize(LONGLONG nBytes)
{
    CString digits;
    digits.Format("%lld", nBytes);
    const int nSign = nBytes < 0 ? 1 : 0;
    const int nDigits = digits.GetLength() - nSign;
    CString text = digits.Left(nSign);
    for (int i = 0; i < nDigits; ++i) {
        if (i > 0 && (nDigits - i) % 3 == 0)
            text += ',';
        text += digits[nSign + i];
    }
    return text;
}

CString CResultList::FormatAttributes(DWORD dwAttributes)
{
    static const struct {
        DWORD dwBit;
        char chLetter;
    } letters[] = {
        {FILE_ATTRIBUTE_READONLY, 'R'}, {FILE_ATTRIBUTE_ARCHIVE, 'A'},
        {FILE_ATTRIBUTE_COMPRESSED, 'C'}, {FILE_ATTRIBUTE_HIDDEN, 'H'},
        {FILE_ATTRIBUTE_SYSTEM, 'S'},
    };
    CString text;
    for (const auto& letter : letters) {
        if (dwAttributes & letter.dwBit)
            text += letter.chLetter;
    }
    return text;
}

CString CResultList::FormatTime(const FILETIME& utc)
{
    SYSTEMTIME universal, local;
    // The zone's rules for that date, so that a summer date reads in summer time all year round.
    if (!::FileTimeToSystemTime(&utc, &universal) ||
        !::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return CString();
    int nHour12 = local.wHour % 12;
    if (nHour12 == 0)
        nHour12 = 12;
    CString text;
    text.Format("%02u/%02u/%02u %s %02d:%02u", local.wYear % 100u, local.wMonth, local.wDay,
                local.wHour < 12 ? "AM" : "PM", nHour12, local.wMinute);
    return text;
}
