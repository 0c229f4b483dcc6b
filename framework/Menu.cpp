#include "framework/Menu.h"

#include "framework/Afx.h"
#include "framework/Wnd.h"

CMenu::~CMenu()
{
    DestroyMenu();
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (m_hMenu || !hMenu)
        return FALSE;
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    m_subMenus.clear();
    HMENU hMenu = m_hMenu;
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    if (m_hMenu)
        return FALSE;
    m_hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    return m_hMenu != nullptr;
}

BOOL CMenu::DestroyMenu()
{
    HMENU hMenu = Detach();
    return hMenu && ::DestroyMenu(hMenu);
}

CMenu* CMenu::GetSubMenu(int nPos) const
{
    HMENU hSubMenu = ::GetSubMenu(m_hMenu, nPos);
    if (!hSubMenu)
        return nullptr;
    for (const auto& pSub : m_subMenus) {
        if (pSub->m_hMenu == hSubMenu)
            return pSub.get();
    }
    m_subMenus.push_back(std::make_unique<CMenuHandle>(hSubMenu));
    return m_subMenus.back().get();
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->GetSafeHwnd() : nullptr, lpRect);
}
