#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "engine/ResultList.h"
#include "engine/ResultListCtrl.h"
#include "framework/Wnd.h"

// A hidden window holding what a result list writes to: the result list view with its six columns
// and the status, total and count texts, under the main dialog's control ids.
class ResultHost
{
public:
    ResultHost();
    ~ResultHost();

    CResultList::Controls Controls() { return {&m_list, &m_status, &m_total, &m_count}; }
    int RowCount() const { return m_list.GetItemCount(); }
    std::string Cell(int row, int col) const { return m_list.GetItemText(row, col).GetString(); }
    std::string Text(int id) const;

private:
    CWnd m_wnd;
    CResultListCtrl m_list;
    CWnd m_status;
    CWnd m_total;
    CWnd m_count;
};
