#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "framework/Static.h"
#include "framework/TreeCtrl.h"
#include "framework/WinApp.h"

namespace {

enum : WORD
{
    IDC_EDIT = 100,
    IDC_CHECK,
    IDC_CHECK3,
    IDC_BUTTON,
    IDC_LINK,
    IDC_PLAIN,
    IDC_TREE,
    IDC_OWN_TREE,
    IDC_MISSING = 199,
};

enum : UINT
{
    ID_PLAIN_COMMAND = 40001,
    ID_WITH_UPDATE,
    ID_UNHANDLED,
    ID_END_42,
    ID_LONG_WORK,
    ID_TICK,
    ID_SCRIPT_DONE,
};

constexpr UINT WM_RUN_SCRIPT = WM_APP + 1;

// A dialog template in memory, in the format CreateDialogIndirectParam reads: controls one under
// the other.
class DialogTemplate
{
public:
    DialogTemplate()
    {
        AddDword(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME | DS_SETFONT);
        m_words.insert(m_words.end(), {0, 0, 0, 0, 0, 200, 120, 0, 0});
        AddString(L"Test");
        m_words.push_back(9);
        AddString(L"MS Shell Dlg");
    }

    DialogTemplate& Control(const wchar_t* className, WORD id, DWORD style,
                            const wchar_t* text = L"")
    {
        if (m_words.size() % 2)
            m_words.push_back(0);
        AddDword(WS_CHILD | WS_VISIBLE | style);
        const WORD y = static_cast<WORD>(4 + 14 * m_words[kCountIndex]);
        m_words.insert(m_words.end(), {0, 0, 4, y, 120, 12, id});
        AddString(className);
        AddString(text);
        m_words.push_back(0);
        ++m_words[kCountIndex];
        return *this;
    }

    LPCDLGTEMPLATEA Get() const { return reinterpret_cast<LPCDLGTEMPLATEA>(m_words.data()); }

private:
    static constexpr size_t kCountIndex = 4;

    void AddDword(DWORD value) { m_words.insert(m_words.end(), {LOWORD(value), HIWORD(value)}); }
    void AddString(const wchar_t* text)
    {
        do
            m_words.push_back(static_cast<WORD>(*text));
        while (*text++);
    }

    std::vector<WORD> m_words;
};

// Runs a test script inside its own modal loop, once the dialog is up. Unless told otherwise, what
// the script leaves running is ended with -2 once the messages it posted, and those that they post
// in turn, have been handled. A dialog still open after ten seconds is ended with -3, so that a
// fault fails its test instead of hanging it.
class CScriptDlg : public CDialog
{
public:
    explicit CScriptDlg(const DialogTemplate& dialogTemplate) : m_template(dialogTemplate)
    {
        InitModalIndirect(m_template.Get());
    }

    int Run(std::function<void()> script)
    {
        m_script = std::move(script);
        return DoModal();
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

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ::SetTimer(m_hWnd, 1, 10000, nullptr);
        PostMessage(WM_RUN_SCRIPT);
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
    DialogTemplate m_template;
    std::function<void()> m_script;
    int m_nDonePasses = 0;
};

BEGIN_MESSAGE_MAP(CScriptDlg, CDialog)
    ON_MESSAGE(WM_RUN_SCRIPT, OnRunScript)
    ON_MESSAGE(WM_TIMER, OnGuardTimer)
    ON_COMMAND(ID_SCRIPT_DONE, OnScriptDone)
END_MESSAGE_MAP()

// A static text that handles its own click and colours, as a link control does.
class CClickStatic : public CStatic
{
public:
    int m_nClicks = 0;
    int m_nCtlColors = 0;
    HBRUSH m_hBrush = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));

protected:
    void OnClicked() { ++m_nClicks; }
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor)
    {
        ++m_nCtlColors;
        EXPECT_EQ(CTLCOLOR_STATIC, nCtlColor);
        pDC->SetTextColor(RGB(0, 0, 238));
        return m_hBrush;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CClickStatic, CStatic)
    ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class COwnSelectionTree : public CTreeCtrl
{
public:
    int m_nSelChanges = 0;

protected:
    void OnSelChanged(NMHDR*, LRESULT*) { ++m_nSelChanges; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COwnSelectionTree, CTreeCtrl)
    ON_NOTIFY_REFLECT(TVN_SELCHANGED, OnSelChanged)
END_MESSAGE_MAP()

class CRoutingDlg : public CScriptDlg
{
public:
    CRoutingDlg()
        : CScriptDlg(DialogTemplate()
                         .Control(L"Button", IDC_BUTTON, BS_PUSHBUTTON, L"Go")
                         .Control(L"Static", IDC_LINK, SS_NOTIFY, L"link")
                         .Control(L"Static", IDC_PLAIN, SS_NOTIFY, L"plain")
                         .Control(WC_TREEVIEWW, IDC_TREE, 0)
                         .Control(WC_TREEVIEWW, IDC_OWN_TREE, 0))
    {
    }

    int m_nPlainCommands = 0;
    int m_nOwnCancels = 0;
    int m_nButtonClicks = 0;
    int m_nParentLinkClicks = 0;
    int m_nParentPlainClicks = 0;
    int m_nTreeSelChanges = 0;
    int m_nOwnTreeSelChangesSeenByParent = 0;
    CWnd* m_pCtlColorWnd = nullptr;
    CClickStatic m_link;
    CTreeCtrl m_tree;
    COwnSelectionTree m_ownTree;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_LINK, m_link);
        DDX_Control(pDX, IDC_TREE, m_tree);
        DDX_Control(pDX, IDC_OWN_TREE, m_ownTree);
    }
    void OnPlainCommand() { ++m_nPlainCommands; }
    void OnOwnCancel() { ++m_nOwnCancels; }
    void OnButton() { ++m_nButtonClicks; }
    void OnParentLinkClicked() { ++m_nParentLinkClicks; }
    void OnParentPlainClicked() { ++m_nParentPlainClicks; }
    void OnTreeSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
    {
        EXPECT_EQ(m_tree.m_hWnd, pNMHDR->hwndFrom);
        ++m_nTreeSelChanges;
        *pResult = 7;
    }
    void OnOwnTreeSelChanged(NMHDR*, LRESULT*) { ++m_nOwnTreeSelChangesSeenByParent; }
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        m_pCtlColorWnd = pWnd;
        return CScriptDlg::OnCtlColor(pDC, pWnd, nCtlColor);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRoutingDlg, CScriptDlg)
    ON_COMMAND(ID_PLAIN_COMMAND, OnPlainCommand)
    ON_COMMAND(IDCANCEL, OnOwnCancel)
    ON_BN_CLICKED(IDC_BUTTON, OnButton)
    ON_CONTROL(STN_CLICKED, IDC_LINK, OnParentLinkClicked)
    ON_CONTROL(STN_CLICKED, IDC_PLAIN, OnParentPlainClicked)
    ON_NOTIFY(TVN_SELCHANGED, IDC_TREE, OnTreeSelChanged)
    ON_NOTIFY(TVN_SELCHANGED, IDC_OWN_TREE, OnOwnTreeSelChanged)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

TEST(FrameworkMessageMap, CommandsReachTheMostDerivedHandlerAndChainToTheBase)
{
    CRoutingDlg dlg;
    const int nResult = dlg.Run([&] {
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(ID_PLAIN_COMMAND, 0));
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(ID_PLAIN_COMMAND, 1));
        dlg.SendMessage(WM_COMMAND, IDCANCEL);
        dlg.SendMessage(WM_COMMAND, ID_UNHANDLED);
        ::SendMessageA(::GetDlgItem(dlg, IDC_BUTTON), BM_CLICK, 0, 0);
    });

    EXPECT_EQ(-2, nResult) << "the script's end command is its base class's";
    EXPECT_EQ(2, dlg.m_nPlainCommands) << "menu (0) and accelerator (1) commands alike";
    EXPECT_EQ(1, dlg.m_nOwnCancels) << "an entry of the class hides its base class's";
    EXPECT_EQ(1, dlg.m_nButtonClicks);
}

TEST(FrameworkMessageMap, NotificationsAreReflectedToTheChildBeforeTheParentSeesThem)
{
    CRoutingDlg dlg;
    LRESULT lTreeResult = 0;
    dlg.Run([&] {
        HTREEITEM hFirst = dlg.m_tree.InsertItem("first");
        dlg.m_tree.InsertItem("second");
        dlg.m_tree.SelectItem(hFirst);
        NMHDR hdr = {dlg.m_tree.m_hWnd, IDC_TREE, TVN_SELCHANGED};
        lTreeResult = dlg.SendMessage(WM_NOTIFY, IDC_TREE, reinterpret_cast<LPARAM>(&hdr));

        dlg.m_ownTree.SelectItem(dlg.m_ownTree.InsertItem("own"));

        ::SendMessageA(::GetDlgItem(dlg, IDC_LINK), WM_LBUTTONDOWN, 0, 0);
        ::SendMessageA(::GetDlgItem(dlg, IDC_PLAIN), WM_LBUTTONDOWN, 0, 0);
    });

    EXPECT_EQ(2, dlg.m_nTreeSelChanges);
    EXPECT_EQ(7, lTreeResult) << "the handler's result is the message's";
    EXPECT_EQ(1, dlg.m_ownTree.m_nSelChanges);
    EXPECT_EQ(0, dlg.m_nOwnTreeSelChangesSeenByParent);
    EXPECT_EQ(1, dlg.m_link.m_nClicks);
    EXPECT_EQ(0, dlg.m_nParentLinkClicks);
    EXPECT_EQ(1, dlg.m_nParentPlainClicks);
}

TEST(FrameworkMessageMap, ControlColoursAreReflectedThroughTheParentsHandler)
{
    CRoutingDlg dlg;
    HBRUSH hbrLink = nullptr;
    HBRUSH hbrPlain = nullptr;
    COLORREF clrText = 0;
    CWnd* pLinkSeen = nullptr;
    HWND hPlain = nullptr;
    HWND hPlainSeen = nullptr;
    dlg.Run([&] {
        HDC hDC = ::CreateCompatibleDC(nullptr);
        auto askColours = [&](HWND hControl) {
            return reinterpret_cast<HBRUSH>(dlg.SendMessage(
                WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hControl)));
        };
        ::SendMessageA(dlg.m_link, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT);
        hbrLink = askColours(dlg.m_link);
        clrText = ::GetTextColor(hDC);
        pLinkSeen = dlg.m_pCtlColorWnd;
        hPlain = ::GetDlgItem(dlg, IDC_PLAIN);
        hbrPlain = askColours(hPlain);
        hPlainSeen = dlg.m_pCtlColorWnd ? dlg.m_pCtlColorWnd->GetSafeHwnd() : nullptr;
        ::DeleteDC(hDC);
    });

    EXPECT_EQ(2, dlg.m_link.m_nCtlColors) << "once painting itself, once asked directly";
    EXPECT_EQ(dlg.m_link.m_hBrush, hbrLink);
    EXPECT_EQ(RGB(0, 0, 238), clrText);
    EXPECT_EQ(&dlg.m_link, pLinkSeen) << "the parent's handler gets the control's own object";
    EXPECT_EQ(hPlain, hPlainSeen);
    EXPECT_NE(nullptr, hbrPlain) << "default colours for a control that does not colour itself";
    EXPECT_NE(dlg.m_link.m_hBrush, hbrPlain);
}

class CDataDlg : public CScriptDlg
{
public:
    CDataDlg()
        : CScriptDlg(DialogTemplate()
                         .Control(L"Edit", IDC_EDIT, ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER)
                         .Control(L"Button", IDC_CHECK, BS_AUTOCHECKBOX, L"two")
                         .Control(L"Button", IDC_CHECK3, BS_AUTO3STATE, L"three"))
    {
    }

    CString m_strText;
    BOOL m_bCheck = 0;
    int m_nThree = 0;
    bool m_bExchangeMissing = false;
    int m_nEditChanges = 0;

protected:
    BOOL OnInitDialog() override
    {
        SendDlgItemMessageA(m_hWnd, IDC_EDIT, EM_LIMITTEXT, 0, 0);
        return CScriptDlg::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_EDIT, m_strText);
        DDX_Check(pDX, IDC_CHECK, m_bCheck);
        DDX_Check(pDX, IDC_CHECK3, m_nThree);
        if (m_bExchangeMissing)
            DDX_Text(pDX, IDC_MISSING, m_strText);
    }
    void OnEditChange() { ++m_nEditChanges; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDataDlg, CScriptDlg)
    ON_EN_CHANGE(IDC_EDIT, OnEditChange)
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
    CDataDlg dlg;
    const CString strLong = LongText(1500);
    CString strShown;
    CString strRead;
    dlg.Run([&] {
        dlg.m_strText = strLong;
        EXPECT_TRUE(dlg.UpdateData(FALSE));
        dlg.GetDlgItemText(IDC_EDIT, strShown);

        const CString strTyped = LongText(2000) + "end";
        dlg.SetDlgItemText(IDC_EDIT, strTyped);
        dlg.m_strText.Empty();
        EXPECT_TRUE(dlg.UpdateData(TRUE));
        strRead = dlg.m_strText;

        dlg.m_strText.Empty();
        dlg.m_bExchangeMissing = true;
        EXPECT_FALSE(dlg.UpdateData(TRUE)) << "a control missing from the template";
        EXPECT_EQ(strTyped, dlg.m_strText) << "the others are still exchanged";
    });

    EXPECT_GT(strLong.GetLength(), 20000);
    EXPECT_EQ(strLong, strShown);
    EXPECT_EQ(2000 * 14 + 3, strRead.GetLength());
}

TEST(FrameworkDataExchange, WritingTheControlsRaisesNoChangeHandler)
{
    CDataDlg dlg;
    int nAfterChangedText = -1;
    int nAfterSameText = -1;
    dlg.Run([&] {
        dlg.m_nEditChanges = 0;
        dlg.m_strText = "new";
        dlg.UpdateData(FALSE);
        nAfterChangedText = dlg.m_nEditChanges;
        ::SendDlgItemMessageA(dlg, IDC_EDIT, EM_SETSEL, 1, 2);
        dlg.UpdateData(FALSE);
        DWORD dwStart = 0;
        DWORD dwEnd = 0;
        ::SendDlgItemMessageA(dlg, IDC_EDIT, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart),
                              reinterpret_cast<LPARAM>(&dwEnd));
        EXPECT_EQ(1u, dwStart) << "an unchanged text is not written again";
        EXPECT_EQ(2u, dwEnd);
        dlg.SetDlgItemText(IDC_EDIT, "typed");
        nAfterSameText = dlg.m_nEditChanges;
    });

    EXPECT_EQ(0, nAfterChangedText);
    EXPECT_EQ(1, nAfterSameText) << "a change made outside data exchange is reported";
}

TEST(FrameworkDataExchange, CheckBoxesShowAnyNonzeroBoolAsChecked)
{
    struct Case
    {
        int nValue;
        int nControl;
        LRESULT expected;
    };
    const Case cases[] = {
        {0, IDC_CHECK, BST_UNCHECKED},      {1, IDC_CHECK, BST_CHECKED},
        {5, IDC_CHECK, BST_CHECKED},        {2, IDC_CHECK, BST_CHECKED},
        {2, IDC_CHECK3, BST_INDETERMINATE}, {-1, IDC_CHECK3, BST_CHECKED},
    };
    for (const Case& c : cases) {
        CDataDlg dlg;
        LRESULT shown = -1;
        int nReadBack = -1;
        dlg.Run([&] {
            (c.nControl == IDC_CHECK ? dlg.m_bCheck : dlg.m_nThree) = c.nValue;
            dlg.UpdateData(FALSE);
            shown = ::SendDlgItemMessageA(dlg, c.nControl, BM_GETCHECK, 0, 0);
            dlg.UpdateData(TRUE);
            nReadBack = c.nControl == IDC_CHECK ? dlg.m_bCheck : dlg.m_nThree;
        });
        EXPECT_EQ(c.expected, shown) << "value " << c.nValue << " in control " << c.nControl;
        EXPECT_EQ(static_cast<int>(c.expected), nReadBack);
    }
}

class CMenuDlg : public CScriptDlg
{
public:
    CMenuDlg() : CScriptDlg(DialogTemplate()) {}

    bool m_bAllowWithUpdate = false;
    int m_nPopups = 0;

protected:
    void OnCommandOnly() {}
    void OnWithUpdate() {}
    void OnUpdateWithUpdate(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bAllowWithUpdate); }
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL)
    {
        ++m_nPopups;
        CCmdUI state;
        state.m_pMenu = pPopupMenu;
        state.m_nIndexMax = static_cast<UINT>(pPopupMenu->GetMenuItemCount());
        for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
            state.m_nID = pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
            state.DoUpdate(this, TRUE);
            state.m_nIndexMax = static_cast<UINT>(pPopupMenu->GetMenuItemCount());
        }
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMenuDlg, CScriptDlg)
    ON_COMMAND(ID_PLAIN_COMMAND, OnCommandOnly)
    ON_COMMAND(ID_WITH_UPDATE, OnWithUpdate)
    ON_UPDATE_COMMAND_UI(ID_WITH_UPDATE, OnUpdateWithUpdate)
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

TEST(FrameworkCommandUpdate, PopupEntriesFollowTheirHandlers)
{
    for (const bool bAllow : {false, true}) {
        CMenuDlg dlg;
        dlg.m_bAllowWithUpdate = bAllow;
        CMenu menu;
        ASSERT_TRUE(menu.Attach(::CreatePopupMenu()));
        HMENU hSub = ::CreatePopupMenu();
        ::AppendMenuA(hSub, MF_STRING, ID_UNHANDLED, "inner");
        ::AppendMenuA(menu, MF_STRING, ID_PLAIN_COMMAND, "command only");
        ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(menu, MF_STRING, ID_WITH_UPDATE, "with update");
        ::AppendMenuA(menu, MF_STRING, ID_UNHANDLED, "nobody");
        ::AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(hSub), "sub");

        dlg.Run([&] {
            // The menu's own loop takes the Escape key and ends after the popup was prepared.
            dlg.PostMessage(WM_KEYDOWN, VK_ESCAPE);
            POINT pt = {10, 10};
            dlg.ClientToScreen(&pt);
            menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD, pt.x, pt.y, &dlg);
        });

        EXPECT_EQ(1, dlg.m_nPopups);
        auto disabled = [&](UINT nPos) {
            return (::GetMenuState(menu, nPos, MF_BYPOSITION) & MF_GRAYED) != 0;
        };
        EXPECT_FALSE(disabled(0)) << "a command handler without an update handler keeps it enabled";
        EXPECT_EQ(!bAllow, disabled(2)) << "the update handler decides";
        EXPECT_TRUE(disabled(3)) << "no handler at all";
        EXPECT_FALSE(disabled(4)) << "a submenu is no command";
        EXPECT_TRUE(::GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR);
    }
}

class CEndingDlg : public CScriptDlg
{
public:
    CEndingDlg()
        : CScriptDlg(DialogTemplate().Control(L"Edit", IDC_EDIT,
                                              ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER))
    {
    }
    CString m_strText;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_EDIT, m_strText); }
    void OnEnd42() { EndDialog(42); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CEndingDlg, CScriptDlg)
    ON_COMMAND(ID_END_42, OnEnd42)
END_MESSAGE_MAP()

TEST(FrameworkModalDialog, EveryWayOfEndingDestroysThroughTheVirtualDestroyWindow)
{
    struct Case
    {
        const char* name;
        UINT message;
        WPARAM wParam;
        bool toEdit;
        int expected;
    };
    const Case cases[] = {
        {"EndDialog from a command", WM_COMMAND, ID_END_42, false, 42},
        {"IDCANCEL", WM_COMMAND, IDCANCEL, false, IDCANCEL},
        {"close box", WM_CLOSE, 0, false, IDCANCEL},
        {"system menu close", WM_SYSCOMMAND, SC_CLOSE, false, IDCANCEL},
        {"Escape key", WM_KEYDOWN, VK_ESCAPE, true, IDCANCEL},
        {"Enter key", WM_KEYDOWN, VK_RETURN, true, IDOK},
    };
    for (const Case& c : cases) {
        CEndingDlg dlg;
        const int nResult = dlg.Run([&] {
            CWnd* pEdit = dlg.GetDlgItem(IDC_EDIT);
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

class CPumpingDlg : public CScriptDlg
{
public:
    CPumpingDlg() : CScriptDlg(DialogTemplate()) {}

    bool m_bInWork = false;
    bool m_bPostQuit = false;
    int m_nTicksInsideWork = 0;
    bool m_bWorkEnded = false;

protected:
    void OnLongWork()
    {
        m_bInWork = true;
        for (int i = 0; i < 3; ++i)
            PostMessage(WM_COMMAND, ID_TICK);
        if (m_bPostQuit)
            ::PostQuitMessage(77);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!CWinApp::PumpMessage())
                break;
        }
        m_bInWork = false;
        m_bWorkEnded = true;
    }
    void OnTick() { m_nTicksInsideWork += m_bInWork ? 1 : 0; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPumpingDlg, CScriptDlg)
    ON_COMMAND(ID_LONG_WORK, OnLongWork)
    ON_COMMAND(ID_TICK, OnTick)
END_MESSAGE_MAP()

TEST(FrameworkModalDialog, APumpInsideAHandlerDispatchesAndReturns)
{
    CPumpingDlg dlg;
    const int nResult = dlg.Run([&] { dlg.SendMessage(WM_COMMAND, ID_LONG_WORK); });
    EXPECT_TRUE(dlg.m_bWorkEnded);
    EXPECT_EQ(3, dlg.m_nTicksInsideWork);
    EXPECT_EQ(-2, nResult);
}

TEST(FrameworkModalDialog, QuitDuringAPumpEndsTheDialogAndStaysPosted)
{
    CPumpingDlg dlg;
    dlg.m_bPostQuit = true;
    dlg.m_bEndAfterScript = false;
    const int nResult = dlg.Run([&] { dlg.SendMessage(WM_COMMAND, ID_LONG_WORK); });

    MSG msg = {};
    const BOOL bQuitPending = ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    EXPECT_TRUE(dlg.m_bWorkEnded);
    EXPECT_EQ(3, dlg.m_nTicksInsideWork);
    EXPECT_EQ(-1, nResult);
    EXPECT_EQ(1, dlg.m_nDestroyCalls);
    EXPECT_TRUE(bQuitPending);
    EXPECT_EQ(77u, msg.wParam);
}

// Counts the mouse moves it is offered and keeps the Escape key to itself.
class CKeepEscapeEdit : public CWnd
{
public:
    bool m_bSawMouseMove = false;

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_MOUSEMOVE && pMsg->lParam == MAKELPARAM(2, 2))
            m_bSawMouseMove = true;
        return pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE;
    }
};

class CPreTranslateDlg : public CEndingDlg
{
public:
    CKeepEscapeEdit m_edit;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_EDIT, m_edit); }
};

TEST(FrameworkModalDialog, ControlsSeeTheirMessagesBeforeTheDialogManager)
{
    CPreTranslateDlg dlg;
    const int nResult = dlg.Run([&] {
        dlg.m_edit.SetFocus();
        dlg.m_edit.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        dlg.m_edit.PostMessage(WM_KEYDOWN, VK_ESCAPE);
        dlg.PostMessage(WM_COMMAND, ID_END_42);
    });
    EXPECT_EQ(42, nResult) << "the edit kept the Escape key";
    EXPECT_TRUE(dlg.m_edit.m_bSawMouseMove);
}

TEST(FrameworkModalDialog, ADialogWithoutParentDisablesTheMainWindowMeanwhile)
{
    CWinApp app;
    CPumpingDlg outer;
    app.m_pMainWnd = &outer;
    BOOL bOuterEnabledInside = TRUE;
    HWND hOuter = nullptr;
    HWND hInnerOwner = nullptr;
    BOOL bOuterEnabledAfter = FALSE;
    outer.Run([&] {
        hOuter = outer.m_hWnd;
        CScriptDlg inner{DialogTemplate()};
        inner.Run([&] {
            bOuterEnabledInside = outer.IsWindowEnabled();
            hInnerOwner = ::GetWindow(inner, GW_OWNER);
        });
        bOuterEnabledAfter = outer.IsWindowEnabled();
    });
    EXPECT_FALSE(bOuterEnabledInside);
    EXPECT_EQ(hOuter, hInnerOwner);
    EXPECT_TRUE(bOuterEnabledAfter);
    EXPECT_EQ(nullptr, app.m_pMainWnd) << "cleared when the main window went";
}

HHOOK g_hBoxHook = nullptr;
std::string g_strBoxCaption;
std::string g_strBoxText;
HWND g_hBoxOwner = nullptr;

// Answers the first message box like a user pressing Cancel, noting what it showed.
LRESULT CALLBACK AnswerMessageBox(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_ACTIVATE) {
        HWND hBox = reinterpret_cast<HWND>(wParam);
        char szClass[16] = "";
        ::GetClassNameA(hBox, szClass, sizeof(szClass));
        if (lstrcmpA(szClass, "#32770") == 0 && ::GetDlgItem(hBox, 0xFFFF)) {
            char szText[256] = "";
            ::GetWindowTextA(hBox, szText, sizeof(szText));
            g_strBoxCaption = szText;
            ::GetDlgItemTextA(hBox, 0xFFFF, szText, sizeof(szText));
            g_strBoxText = szText;
            g_hBoxOwner = ::GetWindow(hBox, GW_OWNER);
            ::PostMessageA(hBox, WM_COMMAND, IDCANCEL, 0);
        }
    }
    return ::CallNextHookEx(g_hBoxHook, nCode, wParam, lParam);
}

TEST(FrameworkMessageBox, IsCaptionedWithTheProductNameAndOwnedByTheActiveDialog)
{
    CWinApp app;
    CScriptDlg dlg{DialogTemplate()};
    app.m_pMainWnd = &dlg;
    int nAnswer = 0;
    HWND hDialog = nullptr;
    g_hBoxHook = ::SetWindowsHookExA(WH_CBT, AnswerMessageBox, nullptr, ::GetCurrentThreadId());
    dlg.Run([&] {
        hDialog = dlg.m_hWnd;
        nAnswer = AfxMessageBox("question", MB_OKCANCEL | MB_ICONQUESTION);
    });
    ::UnhookWindowsHookEx(g_hBoxHook);

    EXPECT_EQ(IDCANCEL, nAnswer);
    EXPECT_EQ("Scourly", g_strBoxCaption);
    EXPECT_EQ("question", g_strBoxText);
    EXPECT_EQ(hDialog, g_hBoxOwner);
}

class FrameworkProfile : public testing::Test
{
protected:
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\OrvaneTest"); }

    static std::string SectionPath()
    {
        char szPath[MAX_PATH] = "";
        ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
        std::string strName = szPath;
        strName = strName.substr(strName.rfind('\\') + 1);
        strName = strName.substr(0, strName.rfind('.'));
        return "Software\\OrvaneTest\\" + strName + "\\Settings";
    }
};

TEST_F(FrameworkProfile, WritesAndReadsBackUnderTheExecutablesName)
{
    CWinApp app;
    EXPECT_FALSE(app.WriteProfileString("Settings", "WindowPos", "x")) << "no key set yet";
    app.SetRegistryKey("OrvaneTest");

    const CString strValue = LongText(100) + "0,1,-1,-1,-1,-1,120,80,760,560";
    ASSERT_TRUE(app.WriteProfileString("Settings", "WindowPos", strValue));
    EXPECT_EQ(strValue, app.GetProfileString("Settings", "WindowPos"));
    EXPECT_EQ("", app.GetProfileString("Settings", "Missing"));
    EXPECT_EQ("fallback", app.GetProfileString("Elsewhere", "WindowPos", "fallback"));

    HKEY hKey = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, SectionPath().c_str(), 0,
                                             KEY_SET_VALUE, &hKey));
    const DWORD dwNumber = 5;
    ::RegSetValueExA(hKey, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwNumber),
                     sizeof(dwNumber));
    ::RegCloseKey(hKey);
    EXPECT_EQ("fallback", app.GetProfileString("Settings", "Number", "fallback"))
        << "a value that is no string reads as missing";
}

} // namespace
