#pragma once

#include "app/CommandBar.h"
#include "engine/ResultListCtrl.h"
#include "framework/Dialog.h"
#include "framework/Rect.h"
#include "framework/Static.h"
#include "res/resource.h"
#include "rules/RuleNode.h"
#include "rules/RuleTreeCtrl.h"

class CResultList;

// The whole user interface: the command toolbar, the rule tree, the detail pane of the selected
// item, the result list and the status fields under it.
class CMainDlg : public CDialog
{
public:
    // What the result list holds.
    enum ResultMode { RESULTS_NONE = 0, RESULTS_OF_RUN = 1, RESULTS_OF_LIST = 2 };

    explicit CMainDlg(CWnd* pParent = nullptr);
    ~CMainDlg() override;

    // Stores the detail pane and saves the rules, however the dialog ends.
    BOOL DestroyWindow() override;

    CCommandBar m_commandBar;
    CRuleRoot m_rules;
    CRect m_rcInitial;
    CRect m_rcLast;
    int m_nResultMode = RESULTS_NONE;
    BOOL m_bBusy = FALSE;
    CRuleTreeCtrl m_tree;
    CResultListCtrl m_list;
    CStatic m_status;
    CStatic m_total;
    CStatic m_count;
    BOOL m_bItemSubfolders = FALSE;
    CString m_strItemFilter;
    CString m_strItemFolder;
    CString m_strItemName;
    BOOL m_bAttrArchive = FALSE;
    BOOL m_bAttrCompressed = FALSE;
    BOOL m_bAttrHidden = FALSE;
    BOOL m_bAttrReadOnly = FALSE;
    BOOL m_bAttrSystem = FALSE;
    HICON m_hIcon;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    void OnPaint();
    void OnSize(UINT nType, int cx, int cy);
    void OnWindowPosChanging(WINDOWPOS* pPos);
    HCURSOR OnQueryDragIcon();
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnInitMenu(CMenu* pMenu);
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);

    void OnRunAll();
    void OnRunSelected();
    void OnListAll();
    void OnListSelected();
    void OnStop();
    void OnExit();
    void OnVersion();
    void OnClearList();
    void OnUpdateClearList(CCmdUI* pCmdUI);
    void OnSelectAllFiles();
    void OnDeleteFiles();
    void OnUpdateDeleteFiles(CCmdUI* pCmdUI);

    void OnNewRules();
    void OnAddGroup();
    void OnDeleteGroup();
    void OnAddItem();
    void OnDeleteItem();
    void OnEditName();
    void OnUpdateEditName(CCmdUI* pCmdUI);
    void OnBrowseFolder();

    void OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnTreeCheckChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnTreeEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    void OnTreeRightClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnListRightClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnEditFilter();

    DECLARE_MESSAGE_MAP()

private:
    // The controls of the detail pane, in the order in which they are enabled, disabled and moved.
    static constexpr int kDetailPane[] = {
        IDC_DETAIL_FRAME,  IDC_NAME_LABEL,      IDC_ITEM_NAME,     IDC_FILTER_LABEL,
        IDC_ITEM_FILTER,   IDC_EDIT_FILTER,     IDC_FOLDER_LABEL,  IDC_ITEM_FOLDER,
        IDC_BROWSE_FOLDER, IDC_ITEM_SUBFOLDERS, IDC_ATTR_FRAME,    IDC_ATTR_READONLY,
        IDC_ATTR_ARCHIVE,  IDC_ATTR_COMPRESSED, IDC_ATTR_HIDDEN,   IDC_ATTR_SYSTEM,
    };

    void FillTree(HTREEITEM hParent, CRuleNode* pNode);
    void CommitDetails(HTREEITEM hItem);
    void LoadDetails(HTREEITEM hItem);
    void EnableDetails(HTREEITEM hItem);
    void ResetStatus();
    void UpdateCommandStates();

    void LayoutControls();
    void ResizeControlBy(int nID, int dx, int dy);
    void MoveControlBy(int nID, int dx, int dy);
    void RestorePlacement();
    void SavePlacement();
    BOOL ReadWindowPlacement(WINDOWPLACEMENT* pPlacement);
    void WriteWindowPlacement(const WINDOWPLACEMENT& placement);

    void RunRules(BOOL bAll, BOOL bRemove);
    void SetBusy(BOOL bBusy, CResultList& results);

    CRuleNode* NodeOf(HTREEITEM hItem) const;
    CRuleItem* ItemOf(HTREEITEM hItem) const;
    // Appends an entry for pNode under hParent (the root level when null), marked as the node is.
    HTREEITEM InsertEntry(HTREEITEM hParent, CRuleNode* pNode);
    void SelectEntry(HTREEITEM hItem);
    void ShowNothingSelected();
    // Deletes the selected entry and its node when the node is of that kind.
    void DeleteSelectedEntry(int nKind);
    BOOL ConfirmDeletion();
    void CreateResultColumns();
    void ShowPopupMenu(UINT nIDMenu);
};
