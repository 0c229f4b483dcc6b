#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "tests/ScriptedDialog.h"
#include "tests/TestSupport.h"

namespace {

enum : UINT { ID_PLAIN_COMMAND = 40001, ID_END_42, ID_SCRIPT_DONE };
const int kMissingControl = 199;

// The main window's template played by a script, with a text exchanged, commands and a change
// handler. Unless told otherwise, the dialog is ended with -2 once the messages the script posted,
// and those that they post in turn, have been handled.
class CTestDlg : public ScriptedDialog<CTestDlg, CDialog>
{
public:
    CTestDlg() : ScriptedDialog(IDD_MAIN) {}

    BOOL DestroyWindow() override
    {
        ++m_nDestroyCalls;
        m_bAliveAtDestroy = ::IsWindow(m_hWnd) != FALSE;
        return CDialog::DestroyWindow();
    }

    int m_nDestroyCalls = 0;
    bool m_bAliveAtDestroy = false;
    bool m_bEndAfterScript = true;
    std::string m_strLog;
    CString m_strText;
    bool m_bExchangeMissing = false;

protected:
    void EndAfterScript() override
    {
        if (m_bEndAfterScript)
            PostMessage(WM_COMMAND, ID_SCRIPT_DONE);
    }
    void OnScriptDone()
    {
        if (++m_nDonePasses < 2)
            PostMessage(WM_COMMAND, ID_SCRIPT_DONE);
        else
            EndDialog(-2);
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_ITEM_NAME, m_strText);
        if (m_bExchangeMissing)
            DDX_Text(pDX, kMissingControl, m_strText);
    }
    void OnPlainCommand() { m_strLog += "command "; }
    void OnEnd42() { EndDialog(42); }
    void OnNameChange() { m_strLog += "change "; }

    DECLARE_MESSAGE_MAP()

private:
    int m_nDonePasses = 0;
};

BEGIN_MESSAGE_MAP(CTestDlg, ScriptedDialog)
    ON_COMMAND(ID_SCRIPT_DONE, OnScriptDone)
    ON_COMMAND(ID_PLAIN_COMMAND, OnPlainCommand)
    ON_COMMAND(ID_END_42, OnEnd42)
    ON_EN_CHANGE(IDC_ITEM_NAME, OnNameChange)
END_MESSAGE_MAP()

TEST(FrameworkDataExchange, TextsTravelWholeAndWritingTheControlsRaisesNoChangeHandler)
{
    // Shift-JIS text of any length, with double-byte characters whose second byte is a backslash.
    const auto longText = [](int nRepeats) {
        CString strText;
        for (int i = 0; i < nRepeats; ++i)
            strText += "\x83\x5c\x83\x74\x83\x67 name\\x ";
        return strText;
    };
    CTestDlg dlg;
    dlg.Play([&](CTestDlg&) {
        // An unchanged field keeps its selection.
        dlg.m_strLog.clear();
        dlg.m_strText = "new";
        dlg.UpdateData(FALSE);
        ::SendDlgItemMessageA(dlg, IDC_ITEM_NAME, EM_SETSEL, 1, 2);
        dlg.UpdateData(FALSE);
        DWORD dwStart = 0;
        DWORD dwEnd = 0;
        ::SendDlgItemMessageA(dlg, IDC_ITEM_NAME, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart),
                              reinterpret_cast<LPARAM>(&dwEnd));
        EXPECT_EQ(1u, dwStart);
        EXPECT_EQ(2u, dwEnd);
        EXPECT_EQ("", dlg.m_strLog);
        dlg.SetDlgItemText(IDC_ITEM_NAME, "typed");
        EXPECT_EQ("change ", dlg.m_strLog) << "a change made outside data exchange is reported";

        dlg.m_strText = longText(1500);
        EXPECT_TRUE(dlg.UpdateData(FALSE));
        CString strShown;
        dlg.GetDlgItemText(IDC_ITEM_NAME, strShown);
        EXPECT_GT(strShown.GetLength(), 20000);
        EXPECT_EQ(longText(1500), strShown);

        const CString strTyped = longText(2000) + "end";
        dlg.SetDlgItemText(IDC_ITEM_NAME, strTyped);
        dlg.m_strText.Empty();
        EXPECT_TRUE(dlg.UpdateData(TRUE));
        EXPECT_EQ(2000 * 14 + 3, dlg.m_strText.GetLength());
        EXPECT_EQ(strTyped, dlg.m_strText);

        dlg.m_strText.Empty();
        dlg.m_bExchangeMissing = true;
        EXPECT_FALSE(dlg.UpdateData(TRUE)) << "a control missing from the template";
        EXPECT_EQ(strTyped, dlg.m_strText) << "the others are still exchanged";
    });
}

TEST(FrameworkModalDialog, EveryWayOfEndingDestroysThroughTheVirtualDestroyWindow)
{
    const struct
    {
        const char* name;
        UINT message;
        WPARAM wParam;
        bool toEdit;
        int expected;
    } cases[] = {
        {"EndDialog from a command", WM_COMMAND, ID_END_42, false, 42},
        {"IDCANCEL", WM_COMMAND, IDCANCEL, false, IDCANCEL},
        {"close box", WM_CLOSE, 0, false, IDCANCEL},
        {"system menu close", WM_SYSCOMMAND, SC_CLOSE, false, IDCANCEL},
        {"Escape key", WM_KEYDOWN, VK_ESCAPE, true, IDCANCEL},
        {"Enter key", WM_KEYDOWN, VK_RETURN, true, IDOK},
    };
    for (const auto& c : cases) {
        CTestDlg dlg;
        const int nResult = dlg.Play([&](CTestDlg&) {
            CWnd* pEdit = dlg.GetDlgItem(IDC_ITEM_NAME);
            pEdit->SetFocus();
            pEdit->SetWindowText("typed");
            (c.toEdit ? pEdit : &dlg)->PostMessage(c.message, c.wParam);
        });
        EXPECT_EQ(c.expected, nResult) << c.name;
        EXPECT_EQ(1, dlg.m_nDestroyCalls) << c.name;
        EXPECT_TRUE(dlg.m_bAliveAtDestroy) << c.name;
        EXPECT_EQ(nullptr, dlg.m_hWnd) << c.name;
        EXPECT_EQ(c.expected == IDOK ? "typed" : "", dlg.m_strText) << c.name << ": OnOK saves";
    }
}

TEST(FrameworkModalDialog, QuitDuringAPumpInsideAHandlerEndsTheDialogAndStaysPosted)
{
    CTestDlg dlg;
    dlg.m_bEndAfterScript = false;
    const int nResult = dlg.Play([&](CTestDlg&) {
        for (int i = 0; i < 3; ++i)
            dlg.PostMessage(WM_COMMAND, ID_PLAIN_COMMAND);
        ::PostQuitMessage(77);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && CWinApp::PumpMessage()) {
        }
        EXPECT_EQ("command command command ", dlg.m_strLog);
    });

    MSG msg = {};
    EXPECT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(77u, msg.wParam);
    EXPECT_EQ(-1, nResult);
    EXPECT_EQ(1, dlg.m_nDestroyCalls);
}

TEST(FrameworkModalDialog, DialogsAndMessageBoxesWithoutParentBelongToTheMainWindow)
{
    CWinApp app("Scourly");
    CTestDlg outer;
    app.m_pMainWnd = &outer;
    outer.Play([&](CTestDlg&) {
        CTestDlg inner;
        inner.Play([&](CTestDlg&) {
            EXPECT_FALSE(outer.IsWindowEnabled());
            EXPECT_EQ(outer.m_hWnd, ::GetWindow(inner, GW_OWNER));
            HWND hOwner = nullptr;
            std::string strCaption;
            DialogAnswerer cancel(IDCANCEL, [&](HWND hBox) {
                hOwner = ::GetWindow(hBox, GW_OWNER);
                strCaption = WindowText(hBox);
            });
            EXPECT_EQ(IDCANCEL, AfxMessageBox("question", MB_OKCANCEL | MB_ICONQUESTION));
            EXPECT_EQ(inner.m_hWnd, hOwner) << "the main window's active popup";
            EXPECT_EQ("Scourly", strCaption);
            EXPECT_EQ("question", cancel.LastText());
        });
        EXPECT_TRUE(outer.IsWindowEnabled());
    });
    EXPECT_EQ(nullptr, app.m_pMainWnd) << "cleared when the main window went";
}

} // namespace
