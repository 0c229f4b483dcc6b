#include "tests/ResultHost.h"

#include "framework/Rect.h"
#include "res/resource.h"

ResultHost::ResultHost()
{
    // The host is a window of the framework's, so that it hands the list's requests for cell texts
    // back to the list, as the main dialog does.
    m_wnd.CreateEx(0, "STATIC", "", WS_POPUP, CRect(0, 0, 600, 400), nullptr, 0);
    HWND hList = ::CreateWindowExA(0, WC_LISTVIEWA, "",
                                   WS_CHILD | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA, 0, 0,
                                   600, 300, m_wnd.m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_RESULT_LIST)),
                                   nullptr, nullptr);
    m_list.SubclassWindow(hList);
    for (int column = 0; column < 6; ++column)
        m_list.InsertColumn(column, "", LVCFMT_LEFT, 100);
    const struct {
        CWnd* pText;
        int nID;
    } texts[] = {{&m_status, IDC_STATUS_TEXT}, {&m_total, IDC_TOTAL_SIZE},
                 {&m_count, IDC_FILE_COUNT}};
    for (const auto& text : texts) {
        const HMENU hID = reinterpret_cast<HMENU>(static_cast<INT_PTR>(text.nID));
        text.pText->Attach(::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 100, 20,
                                             m_wnd.m_hWnd, hID, nullptr, nullptr));
    }
}

ResultHost::~ResultHost()
{
    m_list.DestroyWindow();
    m_wnd.DestroyWindow();
}

std::string ResultHost::Text(int id) const
{
    char buffer[256] = "";
    ::GetDlgItemTextA(m_wnd.m_hWnd, id, buffer, sizeof(buffer));
    return buffer;
}
