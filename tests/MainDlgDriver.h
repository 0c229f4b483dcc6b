#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/MainApp.h"
#include "app/MainDlg.h"

// Runs the main dialog modally, as the program does, and plays a script inside its message loop
// once it is up. The script acts as a user would: commands, clicks, keys.
class MainDlgDriver : public CMainDlg
{
public:
    using Script = std::function<void(MainDlgDriver&)>;

    // Runs the dialog until the script (or anything it causes) ends it; returns the end code.
    int Play(Script script);

    // What the user's actions send.
    void Command(UINT id);
    void PostCommand(UINT id);
    void ClickTree(POINT clientPoint);
    // The result list's report of a right click; the menu it opens is read and closed at once.
    void RightClickList();
    void PressKey(HWND hWnd, UINT key);
    // The client point of an entry's check box, from the tree's own layout.
    POINT StateIconPoint(HTREEITEM hItem) const;
    POINT LabelPoint(HTREEITEM hItem) const;
    void Select(HTREEITEM hItem);
    void TypeText(int id, const char* text);
    void Escape();
    // Runs probe from the message queue once the dialog is busy and shows rows: in the middle of
    // the long work that the script starts next, which reaches it only by looking at the queue.
    void PostProbe(std::function<void()> probe);

    HTREEITEM FirstGroup() const { return m_tree.GetRootItem(); }
    HTREEITEM FirstItemOf(HTREEITEM hGroup) const { return m_tree.GetChildItem(hGroup); }
    std::string Text(int id) const;
    bool IsEnabled(int id) const;
    bool IsButtonEnabled(UINT id) const;

    // The commands of the last popup menu that was opened, and which of them were enabled; the
    // menu is closed at once.
    std::string m_strLastMenu;

protected:
    BOOL OnInitDialog() override;
    LRESULT OnPlay(WPARAM, LPARAM);
    LRESULT OnMenuPopup(WPARAM wParam, LPARAM lParam);
    LRESULT OnProbe(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    Script m_script;
    std::function<void()> m_probe;
};

// Answers every message box and folder browser of this thread the way a user would, and remembers
// a message box's text.
class MessageBoxAnswerer
{
public:
    explicit MessageBoxAnswerer(int answer);
    ~MessageBoxAnswerer();

    int Count() const;
    std::string LastText() const;
};

// Removes the rule file of the test executable before and after each test, so every dialog starts
// from what the test put there.
class RuleFileGuard
{
public:
    RuleFileGuard();
    ~RuleFileGuard();
    std::string Path() const;
};
