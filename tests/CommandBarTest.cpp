#include "app/CommandBar.h"

#include "framework/Rect.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/TestSupport.h"

namespace {

// A hidden host with the toolbar as the main dialog creates it.
class CommandBarTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            m_host.CreateEx(0, "STATIC", nullptr, WS_POPUP, CRect(0, 0, 600, 100), nullptr, 0));
        ASSERT_TRUE(m_bar.Create(WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                                     CCS_ADJUSTABLE | CCS_TOP,
                                 CRect(), &m_host, IDC_COMMAND_BAR));
        m_bar.AutoSize();
    }

    // A text request in either form, sent to the toolbar as its tooltip sends it.
    template <class Info>
    Info RequestTip(UINT nCode, UINT_PTR nID)
    {
        Info info = {};
        info.hdr = {reinterpret_cast<HWND>(m_bar.SendMessage(TB_GETTOOLTIPS)), nID, nCode};
        info.lpszText = info.szText;
        m_bar.SendMessage(WM_NOTIFY, nID, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(info.lpszText, info.szText);
        return info;
    }

    CWnd m_host;
    CCommandBar m_bar;
};

}  // namespace

TEST_F(CommandBarTest, TooltipRepeatsTheCommandNameInEitherFormAndNothingForOtherIds)
{
    HWND hTip = reinterpret_cast<HWND>(m_bar.SendMessage(TB_GETTOOLTIPS));
    ASSERT_NE(hTip, nullptr);
    for (int nRow = 0; nRow < m_bar.GetButtonCount(); ++nRow) {
        TBBUTTON button = {};
        m_bar.SendMessage(TB_GETBUTTON, nRow, reinterpret_cast<LPARAM>(&button));
        if (button.fsStyle & BTNS_SEP)
            continue;
        const UINT_PTR nID = static_cast<UINT_PTR>(button.idCommand);
        SCOPED_TRACE(nID);
        const std::string name = LoadText(static_cast<UINT>(nID));
        // What the tooltip itself gets when it asks before showing.
        wchar_t shown[256] = {};
        TTTOOLINFOW ti = {};
        ti.cbSize = TTTOOLINFOW_V2_SIZE;
        ti.hwnd = m_bar.m_hWnd;
        ti.uId = nID;
        ti.lpszText = shown;
        ::SendMessageW(hTip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&ti));
        EXPECT_EQ(std::wstring(shown), Wide(name));
        EXPECT_EQ(std::string(RequestTip<NMTTDISPINFOA>(TTN_NEEDTEXTA, nID).szText), name);
        EXPECT_EQ(std::wstring(RequestTip<NMTTDISPINFOW>(TTN_NEEDTEXTW, nID).szText), Wide(name));
    }
    for (const UINT_PTR nID : {UINT_PTR(ID_CLEAR_LIST), UINT_PTR(IDS_PRODUCT_NAME), UINT_PTR(0)}) {
        SCOPED_TRACE(nID);
        EXPECT_TRUE(m_bar.GetButtonTip(static_cast<UINT>(nID)).IsEmpty());
        EXPECT_STREQ(RequestTip<NMTTDISPINFOA>(TTN_NEEDTEXTA, nID).szText, "");
        EXPECT_EQ(std::wstring(RequestTip<NMTTDISPINFOW>(TTN_NEEDTEXTW, nID).szText), L"");
    }
}

TEST(CommandBarTipText, IsCutToWhatTheTooltipBufferHolds)
{
    const std::string kanji = "\x8a\xbf";
    const auto a = [](size_t n) { return std::string(n, 'a'); };
    const struct {
        std::string text, kept;
    } cases[] = {
        {a(79), a(79)}, {a(80), a(79)}, {a(200), a(79)},
        {a(77) + kanji + "b", a(77) + kanji}, {a(78) + kanji, a(78)}, {"", ""},
    };
    for (const auto& c : cases) {
        const CString kept = CCommandBar::CutTipText(CString(c.text.c_str()));
        EXPECT_EQ(std::string(static_cast<LPCSTR>(kept)), c.kept) << c.text.size() << " bytes";
    }
}
