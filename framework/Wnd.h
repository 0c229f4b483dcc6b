#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>

#include "framework/Afx.h"
#include "framework/Dc.h"
#include "framework/Menu.h"
#include "framework/Rect.h"
#include "framework/String.h"

class CCmdUI;
class CFont;

// Message numbers under which a message map also receives what is routed to it rather than sent by
// the system. No window is ever sent these numbers.
//   WM_ROUTE_COMMAND     wParam: MAKEWPARAM(command id, notification code; 0 for menus and
//                        accelerators), lParam: the control or null
//   WM_ROUTE_NOTIFY      wParam: the control id, lParam: NMHDR*
//   WM_ROUTE_UPDATE_UI   lParam: CCmdUI*
//   WM_ROUTE_HAS_COMMAND wParam: a command id; an ON_COMMAND entry for it answers TRUE, uncalled
//   WM_REFLECT_BASE + m  message m (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*) that a parent hands back
//                        to the child control it came from
enum : UINT
{
    WM_ROUTE_COMMAND = 0xBB00,
    WM_ROUTE_NOTIFY,
    WM_ROUTE_UPDATE_UI,
    WM_ROUTE_HAS_COMMAND,
    WM_REFLECT_BASE = 0xBC00,
};

// A window object. It holds the handle of a window; once it has subclassed that window (created it,
// or bound a dialog's control through SubclassDlgItem or DDX_Control), every message of the window
// goes through its message map first, and what the map leaves goes to the window's own procedure.
//
// Routing, as the dialog framework this follows does it:
// - WM_COMMAND from a control and WM_NOTIFY are first reflected to the object of the control that
//   sent them (ON_CONTROL_REFLECT, ON_NOTIFY_REFLECT). Only when it does not handle them are they
//   offered to the parent's own map (ON_COMMAND, ON_BN_CLICKED, ON_CONTROL, ON_NOTIFY).
// - WM_CTLCOLOR* goes to the parent's ON_WM_CTLCOLOR handler when it has one; the base OnCtlColor
//   reflects it to the control (ON_WM_CTLCOLOR_REFLECT, handled when it returns a brush) and
//   otherwise lets the default processing choose the colours. Without such a handler the message
//   is reflected the same way.
// - Commands from menus and accelerators reach the map with notification code 0, the code of a
//   push button's BN_CLICKED: ON_COMMAND catches both.
class CWnd
{
public:
    CWnd() = default;
    // Unbinds the window; a window that this object created is destroyed with it.
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Holds the handle without receiving the window's messages.
    BOOL Attach(HWND hWnd);
    // Gives the window its own procedure back and forgets the handle.
    HWND Detach();
    // Fails when this object already holds a window or the window has an object already.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    BOOL CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID);
    virtual BOOL DestroyWindow();

    // The object that has subclassed hWnd, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // That object or, for any other window, a wrapper that this object keeps until it is destroyed
    // or its window is; null for a null handle.
    CWnd* FromHandle(HWND hWnd) const;

    // Called by the message pump for every message to this window or a window inside it, before the
    // message is dispatched; TRUE means the message was handled.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers the message to the window it is for, then to each parent up to the top-level window.
    static BOOL WalkPreTranslateTree(MSG* pMsg);

    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    CWnd* GetParent() const;

    void SetWindowText(LPCSTR lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }
    // Reads the whole text, however long.
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    void SetDlgItemText(int nID, LPCSTR lpszString) { ::SetDlgItemTextA(m_hWnd, nID, lpszString); }
    int GetDlgItemText(int nID, CString& rString) const;

    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }

    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE)
    {
        MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                   lpRect->bottom - lpRect->top, bRepaint);
    }
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
    {
        return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx,
                              cy, nFlags);
    }
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const
    {
        return ::GetWindowPlacement(m_hWnd, lpwndpl);
    }
    void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
    void ScreenToClient(LPRECT lpRect) const
    {
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2);
    }
    void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
    void ClientToScreen(LPRECT lpRect) const
    {
        ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(lpRect), 2);
    }

    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void SetRedraw(BOOL bRedraw = TRUE) { SendMessage(WM_SETREDRAW, bRedraw); }
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    HICON SetIcon(HICON hIcon, BOOL bBigIcon)
    {
        return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL,
                                                   reinterpret_cast<LPARAM>(hIcon)));
    }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
    // nFlags, when not 0, are SetWindowPos flags that make the frame follow the new style.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    // Both return the window that had the focus (the mouse capture) before.
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    HWND SetCapture() { return ::SetCapture(m_hWnd); }

    // Without a caption the box carries the application's name.
    int MessageBox(LPCSTR lpszText, LPCSTR lpszCaption = nullptr, UINT nType = MB_OK);

protected:
    // Runs after the handle is held and before the window's messages arrive here.
    virtual void PreSubclassWindow() {}

    // The message map: DECLARE_MESSAGE_MAP and BEGIN_MESSAGE_MAP generate an override that tries
    // the class's entries in order and then its base class's map. TRUE means handled, with the
    // result in *pResult; what no map handles gets the window's default processing.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // WM_COMMAND: reflection to the sending control, then this window's command entries.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: reflection to the sending control, then this window's ON_NOTIFY entries.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // Every message of the window: its message map, then DefWindowProc for what the map leaves.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The processing that the window would have had without this object.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled; 0 outside a message.
    LRESULT Default();

    // Base handlers: a derived handler calls them to get the default processing.
    void OnPaint() { Default(); }
    HCURSOR OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
    void OnSize(UINT, int, int) { Default(); }
    void OnWindowPosChanging(WINDOWPOS*) { Default(); }
    BOOL OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
    void OnInitMenu(CMenu*) { Default(); }
    void OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
    void OnLButtonDown(UINT, CPoint) { Default(); }
    void OnMouseMove(UINT, CPoint) { Default(); }
    void OnKeyDown(UINT, UINT, UINT) { Default(); }
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    // While set, notifications from controls (WM_COMMAND from a control, WM_NOTIFY) to this window
    // are dropped: data exchange sets it so that what it writes into the controls raises no
    // handler.
    bool m_bLockoutNotify = false;

private:
    friend class CCmdUI;
    friend class CDialog;

    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // WindowProc for the window procedures: no exception leaves it.
    LRESULT SafeWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL ReflectToChild(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT* pResult);
    void OnFinalDestroy();

    WNDPROC m_pfnSuper = nullptr;
    const MSG* m_pCurrentMsg = nullptr;
    bool m_bCreated = false;
    mutable std::map<HWND, std::unique_ptr<CWnd>> m_wrappers;
};

// Command state of one menu entry, offered to a window's ON_UPDATE_COMMAND_UI handlers.
class CCmdUI
{
public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CMenu* m_pMenu = nullptr;

    void Enable(BOOL bOn = TRUE);

    // Offers the entry to pTarget's update handler. When none changes its state and
    // bDisableIfNoHandler is set, the entry is enabled exactly when pTarget has an ON_COMMAND
    // handler for it. Separators and submenus are passed over.
    void DoUpdate(CWnd* pTarget, BOOL bDisableIfNoHandler);

private:
    bool m_bEnableChanged = false;
};

#define DECLARE_MESSAGE_MAP()                                                                     \
protected:                                                                                        \
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                    \
    BOOL theClass::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)         \
    {                                                                                             \
        typedef baseClass TheBaseClass;

#define END_MESSAGE_MAP()                                                                         \
        return TheBaseClass::OnWndMsg(message, wParam, lParam, pResult);                          \
    }

#define ON_MESSAGE(msg, memberFxn)                                                                \
    if (message == (msg)) {                                                                       \
        *pResult = memberFxn(wParam, lParam);                                                     \
        return TRUE;                                                                              \
    }

#define ON_WM_PAINT()                                                                             \
    if (message == WM_PAINT) {                                                                    \
        OnPaint();                                                                                \
        *pResult = 0;                                                                             \
        return TRUE;                                                                              \
    }

#define ON_WM_QUERYDRAGICON()                                                                     \
    if (message == WM_QUERYDRAGICON) {                                                            \
        *pResult = reinterpret_cast<LRESULT>(OnQueryDragIcon());                                  \
        return TRUE;                                                                              \
    }

#define ON_WM_SIZE()                                                                              \
    if (message == WM_SIZE) {                                                                     \
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));                        \
        *pResult = 0;                                                                             \
        return TRUE;                                                                              \
    }

#define ON_WM_WINDOWPOSCHANGING()                                                                 \
    if (message == WM_WINDOWPOSCHANGING) {                                                        \
        OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam));                                \
        *pResult = 0;                                                                             \
        return TRUE;                                                                              \
    }

#define ON_WM_SETCURSOR()                                                                         \
    if (message == WM_SETCURSOR) {                                                                \
        *pResult = OnSetCursor(FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam),       \
                               HIWORD(lParam));                                                   \
        return TRUE;                                                                              \
    }

#define ON_WM_INITMENU()                                                                          \
    if (message == WM_INITMENU) {                                                                 \
        CMenuHandle menu_(reinterpret_cast<HMENU>(wParam));                                       \
        OnInitMenu(&menu_);                                                                       \
        *pResult = 0;                                                                             \
        return TRUE;                                                                              \
    }

#define ON_WM_INITMENUPOPUP()                                                                     \
    if (message == WM_INITMENUPOPUP) {                                                            \
        CMenuHandle menu_(reinterpret_cast<HMENU>(wParam));                                       \
        OnInitMenuPopup(&menu_, LOWORD(lParam), HIWORD(lParam));                                  \
        *pResult = 0;                                                                             \
        return TRUE;                                                                              \
    }

#define ON_WM_LBUTTONDOWN()                                                                       \
    if (message == WM_LBUTTONDOWN) {                                                              \
        OnLButtonDown(static_cast<UINT>(wParam), CPoint(lParam));                                 \
        *pResult = 0;                                                                             \
        return TRUE;                                                                              \
    }

#define ON_WM_MOUSEMOVE()                                                                         \
    if (message == WM_MOUSEMOVE) {                                                                \
        OnMouseMove(static_cast<UINT>(wParam), CPoint(lParam));                                   \
        *pResult = 0;                                                                             \
        return TRUE;                                                                              \
    }

#define ON_WM_KEYDOWN()                                                                           \
    if (message == WM_KEYDOWN) {                                                                  \
        OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));                     \
        *pResult = 0;                                                                             \
        return TRUE;                                                                              \
    }

// nCtlColor is the CTLCOLOR_* code: the message's offset from WM_CTLCOLORMSGBOX.
#define ON_WM_CTLCOLOR()                                                                          \
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {                           \
        CDC dc_(reinterpret_cast<HDC>(wParam));                                                   \
        *pResult = reinterpret_cast<LRESULT>(                                                     \
            OnCtlColor(&dc_, FromHandle(reinterpret_cast<HWND>(lParam)),                          \
                       message - WM_CTLCOLORMSGBOX));                                             \
        return TRUE;                                                                              \
    }

// In the control: HBRUSH CtlColor(CDC*, UINT nCtlColor); returning null leaves the colours to the
// parent's default processing.
#define ON_WM_CTLCOLOR_REFLECT()                                                                  \
    if (message >= WM_REFLECT_BASE + WM_CTLCOLORMSGBOX &&                                         \
        message <= WM_REFLECT_BASE + WM_CTLCOLORSTATIC) {                                         \
        CDC dc_(reinterpret_cast<HDC>(wParam));                                                   \
        if (HBRUSH hbr_ = CtlColor(&dc_, message - WM_REFLECT_BASE - WM_CTLCOLORMSGBOX)) {        \
            *pResult = reinterpret_cast<LRESULT>(hbr_);                                           \
            return TRUE;                                                                          \
        }                                                                                         \
    }

#define ON_COMMAND(id, memberFxn)                                                                 \
    if (message == WM_ROUTE_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == 0) {           \
        memberFxn();                                                                              \
        *pResult = 0;                                                                             \
        return TRUE;                                                                              \
    }                                                                                             \
    if (message == WM_ROUTE_HAS_COMMAND && wParam == static_cast<WPARAM>(id))                     \
        return TRUE;

#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                       \
    if (message == WM_ROUTE_UPDATE_UI &&                                                          \
        reinterpret_cast<CCmdUI*>(lParam)->m_nID == static_cast<UINT>(id)) {                      \
        memberFxn(reinterpret_cast<CCmdUI*>(lParam));                                             \
        return TRUE;                                                                              \
    }

#define ON_CONTROL(code, id, memberFxn)                                                           \
    if (message == WM_ROUTE_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == (code)) {      \
        memberFxn();                                                                              \
        *pResult = 0;                                                                             \
        return TRUE;                                                                              \
    }

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)

// The handler takes (NMHDR*, LRESULT*); the result starts at 0.
#define ON_NOTIFY(notifyCode, id, memberFxn)                                                      \
    if (message == WM_ROUTE_NOTIFY && wParam == static_cast<WPARAM>(id) &&                        \
        reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(notifyCode)) {                \
        *pResult = 0;                                                                             \
        memberFxn(reinterpret_cast<NMHDR*>(lParam), pResult);                                     \
        return TRUE;                                                                              \
    }

#define ON_NOTIFY_REFLECT(notifyCode, memberFxn)                                                  \
    if (message == WM_REFLECT_BASE + WM_NOTIFY &&                                                 \
        reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(notifyCode)) {                \
        *pResult = 0;                                                                             \
        memberFxn(reinterpret_cast<NMHDR*>(lParam), pResult);                                     \
        return TRUE;                                                                              \
    }

#define ON_CONTROL_REFLECT(code, memberFxn)                                                       \
    if (message == WM_REFLECT_BASE + WM_COMMAND && HIWORD(wParam) == (code)) {                    \
        memberFxn();                                                                              \
        *pResult = 0;                                                                             \
        return TRUE;                                                                              \
    }
