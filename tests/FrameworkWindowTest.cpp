#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "res/resource.h"

namespace {

enum : UINT { ID_PLAIN_COMMAND = 40001, ID_END_42, ID_SCRIPT_DONE };
const int kMissingControl = 199;

// Runs a test script inside its own modal loop, once the dialog (the main window's template) is up.
// Unless told otherwise, the dialog is then ended with -2 once the messages the script posted, and
// those that they post in turn, have been handled. A dialog still open after ten seconds is ended
// with -3, so that a fault fails its test instead of hanging it.
class CScriptDlg : public CDialog
{
public:
    CScriptDlg() : CDialog(IDD_MAIN) {}

    int Run(std::function<void()> script)
    {
        m_script = std::move(script);
        const int nResult = DoModal();
        EXPECT_TRUE(m_bScriptFinished) << "the script ran to its end";
        return nResult;
    }

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

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ::SetTimer(m_hWnd, 1, 10000, nullptr);
        PostMessage(WM_APP);
        return TRUE;
    }
    LRESULT OnGuardTimer(WPARAM, LPARAM)
    {
        EndDialog(-3);
        return 0;
    }
    LRESULT OnRunScript(WPARAM, LPARAM)
    {
        std::function<void()> script = std::move(m_script);
        if (script)
            script();
        m_bScriptFinished = true;
        if (m_bEndAfterScript)
            PostMessage(WM_COMMAND, ID_SCRIPT_DONE);
        return 0;
    }
    void OnScriptDone()
    {
        if (++m_nDonePasses < 2)
            PostMessage(WM_COMMAND, ID_SCRIPT_DONE);
        else
            EndDialog(-2);
    }

    DECLARE_MESSAGE_MAP()

private:
    std::function<void()> m_script;
    bool m_bScriptFinished = false;
    int m_nDonePasses = 0;
};

BEGIN_MESSAGE_MAP(CScriptDlg, CDialog)
    ON_MESSAGE(WM_APP, OnRunScript)
    ON_MESSAGE(WM_TIMER, OnGuardTimer)
    ON_COMMAND(ID_SCRIPT_DONE, OnScriptDone)
END_MESSAGE_MAP()

class CTestDlg : public CScriptDlg
{
public:
    CString m_strText;
    bool m_bExchangeMissing = false;

protected:
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
};

BEGIN_MESSAGE_MAP(CTestDlg, CScriptDlg)
    ON_COMMAND(ID_PLAIN_COMMAND, OnPlainCommand)
    ON_COMMAND(ID_END_42, OnEnd42)
    ON_EN_CHANGE(IDC_ITEM_NAME, OnNameChange)
END_MESSAGE_MAP()

// Shift-JIS text of any length, with double-byte characters whose second byte is a backslash.
CString LongText(int nRepeats)
{
    CString strText;
    for (int i = 0; i < nRepeats; ++i)
        strText += "\x83\x5c\x83\x74\x83\x67 name\\x ";
    return strText;
}

TEST(FrameworkDataExchange, TextsTravelWholeInBothDirections)
{
    CTestDlg dlg;
    dlg.Run([&] {
        dlg.m_strText = LongText(1500);
        EXPECT_TRUE(dlg.UpdateData(FALSE));
        CString strShown;
        dlg.GetDlgItemText(IDC_ITEM_NAME, strShown);
        EXPECT_GT(strShown.GetLength(), 20000);
        EXPECT_EQ(LongText(1500), strShown);

        const CString strTyped = LongText(2000) + "end";
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

TEST(FrameworkDataExchange, WritingTheControlsRaisesNoChangeHandlerAndKeepsAnUnchangedField)
{
    CTestDlg dlg;
    dlg.Run([&] {
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
        const int nResult = dlg.Run([&] {
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
    const int nResult = dlg.Run([&] {
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

struct
{
    HHOOK hHook;
    std::string strCaption;
    std::string strText;
    HWND hOwner;
} g_box;

// Answers a message box like a user pressing Cancel, noting what it showed.
LRESULT CALLBACK AnswerMessageBox(int nCode, WPARAM wParam, LPARAM lParam)
{
    HWND hBox = reinterpret_cast<HWND>(wParam);
    if (nCode == HCBT_ACTIVATE && ::GetDlgItem(hBox, 0xFFFF)) {
        char szText[256] = "";
        ::GetWindowTextA(hBox, szText, sizeof(szText));
        g_box.strCaption = szText;
        ::GetDlgItemTextA(hBox, 0xFFFF, szText, sizeof(szText));
        g_box.strText = szText;
        g_box.hOwner = ::GetWindow(hBox, GW_OWNER);
        ::PostMessageA(hBox, WM_COMMAND, IDCANCEL, 0);
    }
    return ::CallNextHookEx(g_box.hHook, nCode, wParam, lParam);
}

TEST(FrameworkModalDialog, DialogsAndMessageBoxesWithoutParentBelongToTheMainWindow)
{
    CWinApp app("Scourly");
    CScriptDlg outer;
    app.m_pMainWnd = &outer;
    g_box.hHook = ::SetWindowsHookExA(WH_CBT, AnswerMessageBox, nullptr, ::GetCurrentThreadId());
    outer.Run([&] {
        CScriptDlg inner;
        inner.Run([&] {
            EXPECT_FALSE(outer.IsWindowEnabled());
            EXPECT_EQ(outer.m_hWnd, ::GetWindow(inner, GW_OWNER));
            EXPECT_EQ(IDCANCEL, AfxMessageBox("question", MB_OKCANCEL | MB_ICONQUESTION));
            EXPECT_EQ(inner.m_hWnd, g_box.hOwner) << "the main window's active popup";
        });
        EXPECT_TRUE(outer.IsWindowEnabled());
    });
    ::UnhookWindowsHookEx(g_box.hHook);
    EXPECT_EQ("Scourly", g_box.strCaption);
    EXPECT_EQ("question", g_box.strText);
    EXPECT_EQ(nullptr, app.m_pMainWnd) << "cleared when the main window went";
}

} // namespace
