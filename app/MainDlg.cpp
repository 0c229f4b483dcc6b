#include "app/MainDlg.h"

#include "about/AboutDlg.h"
#include "engine/ResultFormat.h"
#include "engine/ResultList.h"
#include "filtereditor/FilterEditDlg.h"
#include "framework/Dc.h"
#include "res/resource.h"

namespace {

const DWORD kCommandBarStyle =
    WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_ADJUSTABLE | CCS_TOP;

}  // namespace

BEGIN_MESSAGE_MAP(CMainDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_COMMAND(ID_RUN_ALL, OnRunAll)
    ON_COMMAND(ID_RUN_SELECTED, OnRunSelected)
    ON_COMMAND(ID_LIST_ALL, OnListAll)
    ON_COMMAND(ID_LIST_SELECTED, OnListSelected)
    ON_COMMAND(ID_NEW_RULES, OnNewRules)
    ON_COMMAND(ID_ADD_GROUP, OnAddGroup)
    ON_COMMAND(ID_DELETE_GROUP, OnDeleteGroup)
    ON_COMMAND(ID_ADD_ITEM, OnAddItem)
    ON_COMMAND(ID_DELETE_ITEM, OnDeleteItem)
    ON_COMMAND(ID_EXIT, OnExit)
    ON_COMMAND(ID_STOP, OnStop)
    ON_BN_CLICKED(IDC_EDIT_FILTER, OnEditFilter)
    ON_COMMAND(ID_VERSION, OnVersion)
    ON_NOTIFY(TVN_SELCHANGEDA, IDC_RULE_TREE, OnTreeSelChanged)
    ON_BN_CLICKED(IDC_BROWSE_FOLDER, OnBrowseFolder)
    ON_NOTIFY(TVN_SETDISPINFOA, IDC_RULE_TREE, OnTreeCheckChanged)
    ON_NOTIFY(TVN_ENDLABELEDITA, IDC_RULE_TREE, OnTreeEndLabelEdit)
    ON_WM_SIZE()
    ON_WM_WINDOWPOSCHANGING()
    ON_NOTIFY(NM_RCLICK, IDC_RESULT_LIST, OnListRightClick)
    ON_COMMAND(ID_CLEAR_LIST, OnClearList)
    ON_UPDATE_COMMAND_UI(ID_CLEAR_LIST, OnUpdateClearList)
    ON_COMMAND(ID_EDIT_NAME, OnEditName)
    ON_UPDATE_COMMAND_UI(ID_EDIT_NAME, OnUpdateEditName)
    ON_NOTIFY(NM_RCLICK, IDC_RULE_TREE, OnTreeRightClick)
    ON_WM_INITMENUPOPUP()
    ON_COMMAND(ID_DELETE_FILES, OnDeleteFiles)
    ON_UPDATE_COMMAND_UI(ID_DELETE_FILES, OnUpdateDeleteFiles)
    ON_COMMAND(ID_SELECT_ALL_FILES, OnSelectAllFiles)
    ON_UPDATE_COMMAND_UI(ID_SELECT_ALL_FILES, OnUpdateClearList)
    ON_WM_SETCURSOR()
    ON_WM_INITMENU()
END_MESSAGE_MAP()

CMainDlg::CMainDlg(CWnd* pParent)
    : CDialog(IDD_MAIN, pParent),
      m_hIcon(::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME)))
{
}

CMainDlg::~CMainDlg() = default;

void CMainDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_RULE_TREE, m_tree);
    DDX_Control(pDX, IDC_RESULT_LIST, m_list);
    DDX_Control(pDX, IDC_STATUS_TEXT, m_status);
    DDX_Control(pDX, IDC_TOTAL_SIZE, m_total);
    DDX_Control(pDX, IDC_FILE_COUNT, m_count);
    DDX_Check(pDX, IDC_ITEM_SUBFOLDERS, m_bItemSubfolders);
    DDX_Text(pDX, IDC_ITEM_FILTER, m_strItemFilter);
    DDX_Text(pDX, IDC_ITEM_FOLDER, m_strItemFolder);
    DDX_Text(pDX, IDC_ITEM_NAME, m_strItemName);
    DDX_Check(pDX, IDC_ATTR_ARCHIVE, m_bAttrArchive);
    DDX_Check(pDX, IDC_ATTR_COMPRESSED, m_bAttrCompressed);
    DDX_Check(pDX, IDC_ATTR_HIDDEN, m_bAttrHidden);
    DDX_Check(pDX, IDC_ATTR_READONLY, m_bAttrReadOnly);
    DDX_Check(pDX, IDC_ATTR_SYSTEM, m_bAttrSystem);
}

BOOL CMainDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    SetWindowText(LoadResourceString(IDS_PRODUCT_NAME));

    m_commandBar.Create(kCommandBarStyle, CRect(), this, IDC_COMMAND_BAR);
    m_commandBar.AutoSize();

    m_tree.SetStateImages(IDB_CHECKMARKS, 13, 1, RGB(255, 255, 255));

    m_rules.RemoveAllChildren();
    if (!m_rules.LoadFile())
        m_rules.AddChild(new CRuleGroup);
    m_tree.DeleteAllItems();
    FillTree(nullptr, &m_rules);

    UpdateCommandStates();
    CreateResultColumns();
    ResetStatus();

    GetWindowRect(&m_rcInitial);
    m_rcLast = m_rcInitial;
    RestorePlacement();
    return TRUE;
}

void CMainDlg::CreateResultColumns()
{
    static const struct {
        UINT nHeading;
        int nFormat;
        int nWidth;
    } columns[] = {
        {IDS_COLUMN_NAME, LVCFMT_LEFT, 150},       {IDS_COLUMN_FOLDER, LVCFMT_LEFT, 150},
        {IDS_COLUMN_SIZE, LVCFMT_RIGHT, 60},       {IDS_COLUMN_MODIFIED, LVCFMT_LEFT, 130},
        {IDS_COLUMN_ATTRIBUTES, LVCFMT_RIGHT, 60}, {IDS_COLUMN_RESULT, LVCFMT_LEFT, 150},
    };
    int nColumn = 0;
    for (const auto& column : columns)
        m_list.InsertColumn(nColumn++, LoadResourceString(column.nHeading), column.nFormat,
                            column.nWidth);
}

CRuleNode* CMainDlg::NodeOf(HTREEITEM hItem) const
{
    return hItem ? reinterpret_cast<CRuleNode*>(m_tree.GetItemData(hItem)) : nullptr;
}

CRuleItem* CMainDlg::ItemOf(HTREEITEM hItem) const
{
    CRuleNode* pNode = NodeOf(hItem);
    return pNode && pNode->IsKind(NODE_ITEM) ? static_cast<CRuleItem*>(pNode) : nullptr;
}

void CMainDlg::FillTree(HTREEITEM hParent, CRuleNode* pNode)
{
    for (CRuleNode* pChild : pNode->m_children)
        FillTree(InsertEntry(hParent, pChild), pChild);
}

void CMainDlg::CommitDetails(HTREEITEM hItem)
{
    CRuleItem* pItem = ItemOf(hItem);
    if (!pItem)
        return;
    UpdateData(TRUE);
    pItem->m_strName = m_strItemName;
    pItem->m_strFilter = m_strItemFilter;
    pItem->m_strFolder = m_strItemFolder;
    pItem->m_bSubfolders = m_bItemSubfolders;
    DWORD dwMask = 0;
    if (m_bAttrReadOnly)
        dwMask |= FILE_ATTRIBUTE_READONLY;
    if (m_bAttrArchive)
        dwMask |= FILE_ATTRIBUTE_ARCHIVE;
    if (m_bAttrCompressed)
        dwMask |= FILE_ATTRIBUTE_COMPRESSED;
    if (m_bAttrHidden)
        dwMask |= FILE_ATTRIBUTE_HIDDEN;
    if (m_bAttrSystem)
        dwMask |= FILE_ATTRIBUTE_SYSTEM;
    pItem->m_dwAttrMask = dwMask;
    m_tree.SetItemText(hItem, pItem->m_strName);
}

void CMainDlg::LoadDetails(HTREEITEM hItem)
{
    if (CRuleItem* pItem = ItemOf(hItem)) {
        m_strItemName = pItem->m_strName;
        m_strItemFilter = pItem->m_strFilter;
        m_strItemFolder = pItem->m_strFolder;
        m_bItemSubfolders = pItem->m_bSubfolders;
        const DWORD dwMask = pItem->m_dwAttrMask;
        m_bAttrReadOnly = (dwMask & FILE_ATTRIBUTE_READONLY) != 0;
        m_bAttrArchive = (dwMask & FILE_ATTRIBUTE_ARCHIVE) != 0;
        m_bAttrCompressed = (dwMask & FILE_ATTRIBUTE_COMPRESSED) != 0;
        m_bAttrHidden = (dwMask & FILE_ATTRIBUTE_HIDDEN) != 0;
        m_bAttrSystem = (dwMask & FILE_ATTRIBUTE_SYSTEM) != 0;
    } else {
        // A group has no details: the fields empty, the attribute boxes keep what they showed.
        m_strItemName.Empty();
        m_strItemFilter.Empty();
        m_strItemFolder.Empty();
        m_bItemSubfolders = TRUE;
    }
    UpdateData(FALSE);
}

void CMainDlg::EnableDetails(HTREEITEM hItem)
{
    const BOOL bEnable = ItemOf(hItem) != nullptr;
    for (int nID : kDetailPane)
        ::EnableWindow(::GetDlgItem(m_hWnd, nID), bEnable);
}

void CMainDlg::ResetStatus()
{
    m_status.SetWindowText("");
    m_total.SetWindowText(TotalText(""));
    m_count.SetWindowText(CountText(0));
}

void CMainDlg::UpdateCommandStates()
{
    CRuleNode* pSelected = NodeOf(m_tree.GetSelectedItem());
    const bool bIdle = !m_bBusy;
    const bool bHasGroups = !m_rules.m_children.empty();
    const bool bSelected = pSelected != nullptr;
    const bool bItemSelected = bSelected && pSelected->IsKind(NODE_ITEM);
    const bool bGroupSelected = bSelected && pSelected->IsKind(NODE_GROUP);

    const struct {
        int nID;
        bool bEnable;
    } states[] = {
        {ID_RUN_ALL, bIdle && bHasGroups},
        {ID_LIST_ALL, bIdle && bHasGroups && bSelected},
        {ID_RUN_SELECTED, bIdle && bSelected},
        {ID_LIST_SELECTED, bIdle && bSelected},
        {ID_ADD_ITEM, bIdle && bHasGroups && bSelected},
        {ID_DELETE_ITEM, bIdle && bHasGroups && bItemSelected},
        {ID_DELETE_GROUP, bIdle && bGroupSelected},
        {ID_STOP, !bIdle},
        {ID_ADD_GROUP, bIdle},
        {ID_NEW_RULES, bIdle},
        {ID_VERSION, bIdle},
        {ID_EXIT, bIdle},
    };
    for (const auto& state : states)
        m_commandBar.EnableButton(state.nID, state.bEnable);
}

void CMainDlg::OnOK()
{
    // Enter never closes the dialog; in a label edit it ends the edit, which renames the node.
    HWND hEdit = m_tree.GetEditControl();
    if (hEdit && ::GetFocus() == hEdit)
        m_tree.SetFocus();
}

void CMainDlg::OnCancel()
{
    // Closing in the middle of a list or run stops it; the modal loop ends, and the rules are
    // saved, only once the work has unwound back to it.
    if (m_bBusy)
        OnStop();
    CDialog::OnCancel();
}

void CMainDlg::OnExit()
{
    EndDialog(IDOK);
}

void CMainDlg::OnVersion()
{
    CAboutDlg dlg;
    dlg.DoModal();
}

BOOL CMainDlg::DestroyWindow()
{
    CommitDetails(m_tree.GetSelectedItem());
    m_rules.SaveFile();
    SavePlacement();
    return CDialog::DestroyWindow();
}

void CMainDlg::OnPaint()
{
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()));
    CRect rcClient;
    GetClientRect(&rcClient);
    const int cxIcon = ::GetSystemMetrics(SM_CXICON);
    const int cyIcon = ::GetSystemMetrics(SM_CYICON);
    const int x = (rcClient.Width() - cxIcon + 1) / 2;
    const int y = (rcClient.Height() - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CMainDlg::OnQueryDragIcon()
{
    return reinterpret_cast<HCURSOR>(m_hIcon);
}

void CMainDlg::OnEditFilter()
{
    HTREEITEM hItem = m_tree.GetSelectedItem();
    CRuleItem* pItem = ItemOf(hItem);
    if (!pItem)
        return;
    // What is typed in the detail fields reaches the item first, so that reloading them from the
    // item afterwards loses none of it.
    CommitDetails(hItem);
    CFilterEditDlg dlg;
    dlg.m_strFilterText = pItem->m_strFilter;
    if (dlg.DoModal() != IDOK)
        return;
    pItem->m_strFilter = dlg.m_strFilterText;
    LoadDetails(hItem);
}

void CMainDlg::OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    const NMTREEVIEWA* pNMTreeView = reinterpret_cast<const NMTREEVIEWA*>(pNMHDR);
    CommitDetails(pNMTreeView->itemOld.hItem);
    LoadDetails(pNMTreeView->itemNew.hItem);
    EnableDetails(pNMTreeView->itemNew.hItem);
    UpdateCommandStates();
    *pResult = 0;
}

void CMainDlg::OnTreeCheckChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    const NMTVDISPINFOA* pDispInfo = reinterpret_cast<const NMTVDISPINFOA*>(pNMHDR);
    if (CRuleNode* pNode = NodeOf(pDispInfo->item.hItem))
        pNode->m_bUse = m_tree.GetCheck(pDispInfo->item.hItem);
    *pResult = 0;
}
