#include "tests/ResultHost.h"

#include "res/resource.h"

ResultHost::ResultHost()
{
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr,
                                  nullptr, nullptr);
    m_wnd.Attach(hWnd);
    m_hList = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT | LVS_SHOWSELALWAYS,
                                0, 0, 600, 300, hWnd,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_RESULT_LIST)),
                                nullptr, nullptr);
    for (int column = 0; column < 6; ++column) {
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = 100;
        col.pszText = const_cast<char*>("");
        ::SendMessageA(m_hList, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&col));
    }
    for (int id : {IDC_FILE_COUNT, IDC_STATUS_TEXT, IDC_TOTAL_SIZE})
        ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 100, 20, hWnd,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

ResultHost::~ResultHost()
{
    ::DestroyWindow(m_wnd.Detach());
}

int ResultHost::RowCount() const
{
    return static_cast<int>(::SendMessageA(m_hList, LVM_GETITEMCOUNT, 0, 0));
}

std::string ResultHost::Cell(int row, int column) const
{
    char buffer[1024] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof(buffer);
    ::SendMessageA(m_hList, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

std::string ResultHost::Text(int id) const
{
    char buffer[256] = "";
    ::GetDlgItemTextA(m_wnd.m_hWnd, id, buffer, sizeof(buffer));
    return buffer;
}

void ResultHost::Select(int row, bool selected)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    ::SendMessageA(m_hList, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}
