#pragma once

#include <windows.h>

#include <memory>
#include <vector>

class CWnd;
class CMenuHandle;

// Owns the menu it loads or is given; the submenus it hands out belong to it.
class CMenu
{
public:
    CMenu() = default;
    virtual ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;

    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    operator HMENU() const { return m_hMenu; }

    BOOL LoadMenu(UINT nIDResource);
    BOOL DestroyMenu();

    // The submenu stays valid as long as this menu object holds its menu.
    CMenu* GetSubMenu(int nPos) const;
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable)
    {
        return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable);
    }
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);

private:
    mutable std::vector<std::unique_ptr<CMenuHandle>> m_subMenus;
};

// A view of a menu that someone else owns: never destroys it.
class CMenuHandle : public CMenu
{
public:
    explicit CMenuHandle(HMENU hMenu) { m_hMenu = hMenu; }
    ~CMenuHandle() override { Detach(); }
};
