#include "filtereditor/FilterEditDlg.h"

#include <vector>

#include "framework/Registry.h"
#include "res/resource.h"

namespace {

const char kPatternHeading[] = "\xCC\xA8\xD9\xC0\xB0";
const char kTypeHeading[] = "\x8E\xED\x95\xCA";
const char kUnknownType[] = "Unknown";
const int kPatternColumnWidth = 80;
const int kTypeColumnWidth = 150;
// A description is read into 255 bytes and a terminator.
const LONG kRegistryValueSize = 256;

// Where one pattern of a filter begins and ends.
struct PatternSpan
{
    int nStart;
    int nEnd;
};

// The non-empty pieces between semicolons, as strtok cuts them.
std::vector<PatternSpan> SplitPatterns(const CString& strFilter)
{
    std::vector<PatternSpan> spans;
    const int nLength = strFilter.GetLength();
    int nStart = 0;
    for (int i = 0; i <= nLength; ++i) {
        if (i < nLength && strFilter[i] != ';')
            continue;
        if (i > nStart)
            spans.push_back({nStart, i});
        nStart = i + 1;
    }
    return spans;
}

// The catalogue writes a line break as the two characters "\n"; empty lines are dropped.
CString ExplanationLines(const CString& strText)
{
    CString strLines;
    for (int nStart = 0; nStart <= strText.GetLength();) {
        const int nBreak = strText.Find("\\n", nStart);
        const int nEnd = nBreak < 0 ? strText.GetLength() : nBreak;
        if (nEnd > nStart) {
            if (!strLines.IsEmpty())
                strLines += "\r\n";
            strLines += strText.Mid(nStart, nEnd - nStart);
        }
        if (nBreak < 0)
            break;
        nStart = nBreak + 2;
    }
    return strLines;
}

// The position in the field of byte nByte of its text. An edit control that keeps its text as ANSI
// counts positions in bytes, as Windows does for a dialog made with the ANSI functions; one that
// keeps it as Unicode counts UTF-16 units, as Wine does. Its line length tells which it is.
int FieldPosition(const CEdit& edit, const CString& strText, int nByte)
{
    const int nUnits = static_cast<int>(edit.SendMessage(EM_LINELENGTH, 0));
    if (nUnits == strText.GetLength() || nByte == 0)
        return nByte;
    return ::MultiByteToWideChar(CP_ACP, 0, strText, nByte, nullptr, 0);
}

}  // namespace

BEGIN_MESSAGE_MAP(CFilterEditDlg, CDialog)
    ON_CBN_SELCHANGE(IDC_TEMPLATE_COMBO, OnSelchangeTemplate)
    ON_EN_CHANGE(IDC_FILTER_TEXT, OnChangeFilter)
    ON_NOTIFY(LVN_ENDLABELEDITA, IDC_PATTERN_LIST, OnEndlabeleditPatterns)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_PATTERN_LIST, OnItemchangedPatterns)
    ON_BN_CLICKED(IDC_ADD_PATTERN, OnAddPattern)
    ON_BN_CLICKED(IDC_DELETE_PATTERN, OnDeletePattern)
    ON_BN_CLICKED(IDC_EDIT_PATTERN, OnEditPattern)
    ON_BN_CLICKED(IDC_MOVE_UP, OnMoveUp)
    ON_BN_CLICKED(IDC_MOVE_DOWN, OnMoveDown)
END_MESSAGE_MAP()

CFilterEditDlg::CFilterEditDlg(CWnd* pParent) : CDialog(IDD_FILTER_EDIT, pParent)
{
}

void CFilterEditDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EXPLANATION, m_editExplanation);
    DDX_Control(pDX, IDC_FILTER_TEXT, m_editFilter);
    DDX_Control(pDX, IDC_TEMPLATE_COMBO, m_comboTemplate);
    DDX_Control(pDX, IDC_PATTERN_LIST, m_listPatterns);
}

BOOL CFilterEditDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_templates.Load();
    m_explanations.Load();
    FillTemplates();
    CreateColumns();
    m_comboTemplate.SetCurSel(FindTemplateOf(m_strFilterText));
    // The field's change notification fills the list, the explanation and the buttons.
    m_editFilter.SetWindowText(m_strFilterText);
    return TRUE;
}

void CFilterEditDlg::FillTemplates()
{
    m_comboTemplate.ResetContent();
    for (int i = 0; i < m_templates.GetCount(); ++i) {
        const int nEntry = m_comboTemplate.AddString(m_templates.GetAt(i).m_strName);
        if (nEntry >= 0)
            m_comboTemplate.SetItemData(nEntry, static_cast<DWORD_PTR>(i));
    }
}

void CFilterEditDlg::CreateColumns()
{
    while (m_listPatterns.DeleteColumn(0)) {
    }
    m_listPatterns.InsertColumn(0, kPatternHeading, LVCFMT_LEFT, kPatternColumnWidth);
    m_listPatterns.InsertColumn(1, kTypeHeading, LVCFMT_LEFT, kTypeColumnWidth);
}

int CFilterEditDlg::FindTemplateOf(const CString& strFilter) const
{
    if (strFilter.IsEmpty())
        return 0;
    for (int i = 0; i < m_templates.GetCount(); ++i) {
        const CString& strTemplateFilter = m_templates.GetAt(i).m_strFilter;
        if (!strTemplateFilter.IsEmpty() && strTemplateFilter.CompareNoCase(strFilter) == 0)
            return i;
    }
    return 0;
}

const FilterTemplate* CFilterEditDlg::SelectedTemplate() const
{
    const int nEntry = m_comboTemplate.GetCurSel();
    if (nEntry < 0)
        return nullptr;
    const DWORD_PTR nIndex = m_comboTemplate.GetItemData(nEntry);
    if (nIndex >= static_cast<DWORD_PTR>(m_templates.GetCount()))
        return nullptr;
    return &m_templates.GetAt(static_cast<int>(nIndex));
}

void CFilterEditDlg::OnChangeFilter()
{
    m_editFilter.GetWindowText(m_strFilterText);
    RebuildList(m_nSelectAfterRebuild);
    m_nSelectAfterRebuild = -1;
}

void CFilterEditDlg::RebuildList(int nSel)
{
    m_listPatterns.SetRedraw(FALSE);
    m_listPatterns.DeleteAllItems();
    int nRows = 0;
    for (const PatternSpan& span : SplitPatterns(m_strFilterText)) {
        const CString strPattern = m_strFilterText.Mid(span.nStart, span.nEnd - span.nStart);
        const int nRow = m_listPatterns.InsertItem(nRows, strPattern);
        if (nRow < 0)
            continue;
        m_listPatterns.SetItemText(nRow, 1, DescribePattern(strPattern));
        ++nRows;
    }
    // Selecting raises the item-changed notification, which highlights the pattern.
    if (nSel >= 0 && nSel < m_listPatterns.GetItemCount())
        m_listPatterns.SetItemState(nSel, LVIS_SELECTED, LVIS_SELECTED);
    m_listPatterns.SetRedraw(TRUE);

    // A text that is no longer the chosen template's filter is the user's own.
    const FilterTemplate* pTemplate = SelectedTemplate();
    if (pTemplate && !pTemplate->m_strFilter.IsEmpty() &&
        pTemplate->m_strFilter.CompareNoCase(m_strFilterText) != 0)
        m_comboTemplate.SetCurSel(0);
    ShowSelectedExplanation();
    UpdateButtons();
}

void CFilterEditDlg::ShowSelectedExplanation()
{
    if (m_comboTemplate.GetCurSel() < 0)
        return;
    const FilterTemplate* pTemplate = SelectedTemplate();
    const CString strText = pTemplate ? m_explanations.Find(pTemplate->m_strId) : CString();
    m_editExplanation.SetWindowText(ExplanationLines(strText));
}

CString CFilterEditDlg::DescribePattern(const CString& strPattern)
{
    const int nDot = strPattern.ReverseFind('.');
    if (nDot < 0)
        return kUnknownType;
    CString strClass;
    ReadKeyDefault(HKEY_CLASSES_ROOT, strPattern.Mid(nDot), kRegistryValueSize, strClass);
    if (strClass.IsEmpty())
        return kUnknownType;
    CString strDescription;
    ReadKeyDefault(HKEY_CLASSES_ROOT, strClass, kRegistryValueSize, strDescription);
    return strDescription;
}

void CFilterEditDlg::ListToFilter(int nSel)
{
    m_nSelectAfterRebuild = nSel;
    // Rows are read whole: a pattern longer than any fixed buffer survives a move or a rename of
    // another row.
    m_strFilterText.Empty();
    for (int nRow = 0; nRow < m_listPatterns.GetItemCount(); ++nRow) {
        if (nRow > 0)
            m_strFilterText += ';';
        m_strFilterText += m_listPatterns.GetItemText(nRow, 0);
    }
    m_editFilter.SetWindowText(m_strFilterText);
}

void CFilterEditDlg::HighlightPattern(int nRow)
{
    const std::vector<PatternSpan> spans = SplitPatterns(m_strFilterText);
    if (nRow < 0 || nRow >= static_cast<int>(spans.size()))
        return;
    const PatternSpan& span = spans[static_cast<size_t>(nRow)];
    m_editFilter.SetSel(FieldPosition(m_editFilter, m_strFilterText, span.nStart),
                        FieldPosition(m_editFilter, m_strFilterText, span.nEnd));
}

int CFilterEditDlg::SelectedRow() const
{
    return m_listPatterns.GetNextItem(-1, LVNI_SELECTED);
}

void CFilterEditDlg::UpdateButtons()
{
    const int nSel = SelectedRow();
    const int nRows = m_listPatterns.GetItemCount();
    const struct {
        int nID;
        bool bEnable;
    } states[] = {
        {IDC_DELETE_PATTERN, nSel >= 0},
        {IDC_EDIT_PATTERN, nSel >= 0},
        {IDC_MOVE_UP, nSel >= 1 && nRows >= 2},
        {IDC_MOVE_DOWN, nSel >= 0 && nSel + 1 < nRows},
    };
    for (const auto& state : states)
        ::EnableWindow(::GetDlgItem(m_hWnd, state.nID), state.bEnable);
}

void CFilterEditDlg::OnSelchangeTemplate()
{
    if (const FilterTemplate* pTemplate = SelectedTemplate())
        m_editFilter.SetWindowText(pTemplate->m_strFilter);
}

void CFilterEditDlg::OnEndlabeleditPatterns(NMHDR* pNMHDR, LRESULT* pResult)
{
    const NMLVDISPINFOA* pInfo = reinterpret_cast<const NMLVDISPINFOA*>(pNMHDR);
    const LVITEMA& item = pInfo->item;
    // A cancelled edit carries no text. The list keeps its own label either way: the rebuild
    // from the new filter text shows what the text now says.
    if (item.iItem != -1 && (item.mask & LVIF_TEXT) && item.pszText) {
        m_listPatterns.SetItemText(item.iItem, 0, item.pszText);
        ListToFilter(item.iItem);
    }
    *pResult = 0;
}

void CFilterEditDlg::OnItemchangedPatterns(NMHDR* pNMHDR, LRESULT* pResult)
{
    const NMLISTVIEW* pChange = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    if (pChange->iItem != -1 && (pChange->uChanged & LVIF_STATE)) {
        if (pChange->uNewState & LVIS_SELECTED)
            HighlightPattern(pChange->iItem);
        UpdateButtons();
    }
    *pResult = 0;
}

void CFilterEditDlg::OnAddPattern()
{
    const int nLength = m_strFilterText.GetLength();
    if (nLength > 0 && m_strFilterText[nLength - 1] != ';')
        m_strFilterText += ';';
    m_strFilterText += "*.*";
    m_editFilter.SetWindowText(m_strFilterText);
    const int nLast = m_listPatterns.GetItemCount() - 1;
    if (nLast >= 0)
        m_listPatterns.SetItemState(nLast, LVIS_SELECTED, LVIS_SELECTED);
}

void CFilterEditDlg::OnDeletePattern()
{
    const int nSel = SelectedRow();
    if (nSel < 0)
        return;
    m_listPatterns.DeleteItem(nSel);
    ListToFilter(-1);
}

void CFilterEditDlg::OnEditPattern()
{
    const int nSel = SelectedRow();
    if (nSel < 0)
        return;
    m_listPatterns.SetFocus();
    m_listPatterns.EditLabel(nSel);
}

void CFilterEditDlg::OnMoveUp()
{
    const int nSel = SelectedRow();
    if (nSel < 1)
        return;
    MoveRow(nSel, nSel - 1, nSel + 1, nSel - 1);
}

void CFilterEditDlg::OnMoveDown()
{
    const int nSel = SelectedRow();
    if (nSel < 0 || nSel + 1 >= m_listPatterns.GetItemCount())
        return;
    MoveRow(nSel, nSel + 2, nSel, nSel + 1);
}

void CFilterEditDlg::MoveRow(int nFrom, int nInsertAt, int nDeleteAt, int nSelectAfter)
{
    const CString strPattern = m_listPatterns.GetItemText(nFrom, 0);
    m_listPatterns.InsertItem(nInsertAt, strPattern);
    m_listPatterns.DeleteItem(nDeleteAt);
    ListToFilter(nSelectAfter);
}
