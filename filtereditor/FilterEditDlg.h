#pragma once

#include "filtereditor/FilterTemplateList.h"
#include "framework/ComboBox.h"
#include "framework/Dialog.h"
#include "framework/Edit.h"
#include "framework/ListCtrl.h"
#include "framework/String.h"

// Edits one item's filter, shown both as one line of text and as a list with one row per pattern
// beside the file type registered for its extension; templates come from the catalogue.
//
// The line of text is the single source of truth: each change of it, typed or set, rebuilds the
// whole list before the call that changed it returns, and every operation on the list writes a new
// text into it. Selecting a row highlights its pattern in the text before the selecting call
// returns.
class CFilterEditDlg : public CDialog
{
public:
    explicit CFilterEditDlg(CWnd* pParent = nullptr);

    CEdit m_editExplanation;
    CEdit m_editFilter;
    CComboBox m_comboTemplate;
    CListCtrl m_listPatterns;
    CFilterTemplateList m_templates;
    CTemplateExplanationList m_explanations;
    // The row to select once the next change of the text has rebuilt the list; -1: none.
    int m_nSelectAfterRebuild = -1;
    // Set by the caller before the dialog runs, read after OK.
    CString m_strFilterText;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnSelchangeTemplate();
    void OnChangeFilter();
    void OnEndlabeleditPatterns(NMHDR* pNMHDR, LRESULT* pResult);
    void OnItemchangedPatterns(NMHDR* pNMHDR, LRESULT* pResult);
    void OnAddPattern();
    void OnDeletePattern();
    void OnEditPattern();
    void OnMoveUp();
    void OnMoveDown();

    DECLARE_MESSAGE_MAP()

private:
    // The registered file type of the pattern's extension: the class named by the extension's key
    // under HKEY_CLASSES_ROOT, then that class's description; "Unknown" when the extension has no
    // class, empty when the class has no description. A value that does not fit whole in 255
    // bytes is not read.
    static CString DescribePattern(const CString& strPattern);

    void FillTemplates();
    void CreateColumns();
    int FindTemplateOf(const CString& strFilter) const;
    const FilterTemplate* SelectedTemplate() const;

    void RebuildList(int nSel);
    void ShowSelectedExplanation();
    void ListToFilter(int nSel);
    void HighlightPattern(int nRow);
    void UpdateButtons();
    int SelectedRow() const;
    void MoveRow(int nFrom, int nInsertAt, int nDeleteAt, int nSelectAfter);
};
