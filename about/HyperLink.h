#pragma once

#include <windows.h>

#include "framework/Font.h"
#include "framework/Static.h"
#include "framework/String.h"
#include "framework/ToolTipCtrl.h"

// A static text that reads as a link: link colours, an underlined font of its own, a hand
// pointer, a tooltip with its target, and a click that opens the target through the shell.
class CHyperLink : public CStatic
{
public:
    CHyperLink();
    ~CHyperLink() override;

    // The window text is left alone: a mail link shows the bare address while its target is the
    // "mailto:" address.
    void SetTarget(LPCSTR lpszTarget);

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PreSubclassWindow() override;

    void OnLinkClicked();
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnMouseMove(UINT nFlags, CPoint point);

    // The shell's result for the target, or, when the shell cannot open it, the result of the
    // command registered for web pages; above 32 means opened.
    INT_PTR OpenTarget(LPCSTR lpszTarget, int nShowCmd);
    void ShowOpenError(int nError);

    DECLARE_MESSAGE_MAP()

    COLORREF m_clrLink;
    COLORREF m_clrOpened;
    COLORREF m_clrHover;
    bool m_bHover = false;
    bool m_bOpened = false;
    CString m_strTarget;
    CFont m_fontLink;
    HCURSOR m_hHandCursor = nullptr;
    CToolTipCtrl m_tipTarget;

private:
    void FitToText();
    void LoadHandCursor();
    void MarkOpened(bool bOpened);
};
