#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/Wnd.h"

// A hidden window holding what a result list writes to: the list view with its six columns and the
// status, total and count texts, under the main dialog's control ids.
class ResultHost
{
public:
    ResultHost();
    ~ResultHost();

    CWnd* Window() { return &m_wnd; }
    int RowCount() const;
    std::string Cell(int row, int column) const;
    std::string Text(int id) const;
    void Select(int row, bool selected = true);

private:
    CWnd m_wnd;
    HWND m_hList;
};
