#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/MainApp.h"
#include "app/MainDlg.h"
#include "rules/RuleFile.h"
#include "tests/ScriptedDialog.h"

// The main dialog played by a script, with what a user's actions send it: commands, clicks, keys.
class MainDlgDriver : public ScriptedDialog<MainDlgDriver, CMainDlg>
{
public:
    void Command(UINT id) { SendMessage(WM_COMMAND, MAKEWPARAM(id, 0)); }
    void ClickTree(POINT clientPoint);
    // The result list's report of a right click; the menu it opens is read and closed at once.
    void RightClickList();
    void PressKey(HWND hWnd, UINT key);
    // The client point of an entry's check box, from the tree's own layout.
    POINT StateIconPoint(HTREEITEM hItem) const;
    POINT LabelPoint(HTREEITEM hItem) const;
    void Select(HTREEITEM hItem) { m_tree.SelectItem(hItem); }
    void TypeText(int id, const char* text) { SetDlgItemText(id, text); }
    // Runs probe from the message queue once the dialog is busy and shows rows: in the middle of
    // the long work that the script starts next, which reaches it only by looking at the queue.
    void PostProbe(std::function<void()> probe);

    HTREEITEM FirstGroup() const { return m_tree.GetRootItem(); }
    HTREEITEM FirstItemOf(HTREEITEM hGroup) const { return m_tree.GetChildItem(hGroup); }
    std::string Result(int row) const
    {
        return m_list.GetItemText(row, CResultListCtrl::COL_RESULT).GetString();
    }
    bool IsEnabled(int id) const { return ::IsWindowEnabled(::GetDlgItem(m_hWnd, id)) != FALSE; }
    bool IsButtonEnabled(UINT id) const { return m_commandBar.IsButtonEnabled(int(id)) != FALSE; }

    // The commands of the last popup menu that was opened, and which of them were enabled; the
    // menu is closed at once.
    std::string m_strLastMenu;

protected:
    using Base = ScriptedDialog<MainDlgDriver, CMainDlg>;
    LRESULT OnMenuPopup(WPARAM wParam, LPARAM lParam);
    LRESULT OnProbe(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    enum : UINT_PTR { PROBE_TIMER = 0x5C };
    std::function<void()> m_probe;
};

// Removes the rule file of the test executable before and after each test, so every dialog starts
// from what the test put there.
class RuleFileGuard
{
public:
    RuleFileGuard() { ::DeleteFileA(Path().c_str()); }
    ~RuleFileGuard() { ::DeleteFileA(Path().c_str()); }
    std::string Path() const { return static_cast<LPCSTR>(GetRuleFilePath()); }
};
