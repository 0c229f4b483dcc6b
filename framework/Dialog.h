#pragma once

#include <windows.h>

#include "framework/String.h"
#include "framework/Wnd.h"

class CDataExchange;

// A modal dialog from a dialog template.
//
// DoModal runs a message loop of its own (CWinApp::PumpMessage) around a dialog created without
// the system's modal loop, so that PreTranslateMessage of the dialog and of its controls sees every
// message, and a loop that pumps messages from inside a handler behaves the same. The loop ends
// when EndDialog is called (Enter reaches OnOK, Escape and the close box OnCancel) or WM_QUIT
// arrives, which is posted again for the enclosing loop. However it ends, the dialog is then
// hidden, its owner enabled and activated again, and the virtual DestroyWindow called.
//
// Without a parent the dialog belongs to the application's main window (its last active popup),
// which is disabled while the dialog runs.
class CDialog : public CWnd
{
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // The value given to EndDialog; -1 when the dialog could not be created or WM_QUIT ended it.
    virtual int DoModal();
    void EndDialog(int nResult);

    // TRUE moves data from the controls into the members, FALSE from the members into the controls.
    // FALSE when a control that DoDataExchange names is missing or cannot be bound; the others are
    // still exchanged. Notifications that the controls raise meanwhile reach no handler.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // Centres the dialog over its visible owner, or else on the screen's work area.
    void CenterWindow();

    // Lets the dialog manager handle the keyboard (Tab, Enter, Escape, mnemonics).
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Fills the controls from the members (UpdateData(FALSE)). TRUE: the dialog manager puts the
    // focus on the first control that takes it.
    virtual BOOL OnInitDialog();

protected:
    // Notes a move asked for while the dialog initialises.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual void DoDataExchange(CDataExchange* pDX);
    // Default: UpdateData(TRUE), then EndDialog(IDOK).
    virtual void OnOK();
    // Default: EndDialog(IDCANCEL).
    virtual void OnCancel();

    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;
    int m_nModalResult = -1;
    bool m_bContinueModal = false;
    bool m_bInitializing = false;
    bool m_bPlacedInInit = false;
};

// What DoDataExchange works with: the direction and the dialog.
class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
    {
    }

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    bool m_bFailed = false;

    // The control's window, or null (noted in m_bFailed) when the dialog has none.
    HWND PrepareCtrl(int nIDC);
};

// Subclasses the dialog's control nIDC with rControl, once.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// The control's whole text. The control is written only when its text differs, so that an unchanged
// field keeps its caret and raises no change notification.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// A check box: 0 unchecked, 1 checked; 2 is the third state of a three-state box. Any other nonzero
// value shows as checked, as a BOOL member means it.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
