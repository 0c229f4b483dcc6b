#include "app/CommandBar.h"

#include "framework/Rect.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Row
{
    int nID;
    UINT nBitmapID;
};

// Command id 0 is a separator.
const Row kRows[] = {
    {ID_RUN_ALL, IDB_RUN_ALL},     {ID_RUN_SELECTED, IDB_RUN_SELECTED},   {0, 0},
    {ID_LIST_ALL, IDB_LIST_ALL},   {ID_LIST_SELECTED, IDB_LIST_SELECTED}, {0, 0},
    {ID_STOP, IDB_STOP},           {0, 0},
    {ID_NEW_RULES, IDB_NEW_RULES}, {0, 0},
    {ID_ADD_GROUP, IDB_ADD_GROUP}, {ID_DELETE_GROUP, IDB_DELETE_GROUP},   {0, 0},
    {ID_ADD_ITEM, IDB_ADD_ITEM},   {ID_DELETE_ITEM, IDB_DELETE_ITEM},     {0, 0},
    {ID_VERSION, IDB_VERSION},     {0, 0},
    {ID_EXIT, IDB_EXIT},
};

std::string LoadText(UINT nID)
{
    CString str;
    str.LoadString(nID);
    return static_cast<LPCSTR>(str);
}

std::wstring Widen(const std::string& text)
{
    wchar_t buffer[256] = {};
    ::MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.c_str(), -1, buffer, 256);
    return buffer;
}

// The 16 x 16 pixels that a drawing leaves on the button face colour, which toolbars treat as
// transparent.
template <class Draw>
std::vector<DWORD> DrawnPixels(Draw draw)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* pBits = nullptr;
    HDC hdc = ::CreateCompatibleDC(nullptr);
    HBITMAP hTarget = ::CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    HGDIOBJ hOld = ::SelectObject(hdc, hTarget);
    const RECT rc = {0, 0, 16, 16};
    ::FillRect(hdc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
    draw(hdc);
    ::GdiFlush();
    std::vector<DWORD> pixels(static_cast<DWORD*>(pBits), static_cast<DWORD*>(pBits) + 256);
    ::SelectObject(hdc, hOld);
    ::DeleteObject(hTarget);
    ::DeleteDC(hdc);
    return pixels;
}

// A hidden host with the toolbar as the main dialog creates it.
class CommandBarTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_host.CreateEx(0, "STATIC", nullptr, WS_POPUP, CRect(0, 0, 600, 100), nullptr, 0));
        ASSERT_TRUE(m_bar.Create(WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                                     CCS_ADJUSTABLE | CCS_TOP,
                                 CRect(), &m_host, IDC_COMMAND_BAR));
        m_bar.SetBitmapSize(CSize(16, 16));
        m_bar.AutoSize();
        m_hTip = reinterpret_cast<HWND>(m_bar.SendMessage(TB_GETTOOLTIPS));
        ASSERT_NE(m_hTip, nullptr);
    }

    // What the toolbar's own tooltip gets for a button when it asks the way it does before showing.
    std::wstring TooltipText(UINT nID)
    {
        wchar_t buffer[256] = {};
        TTTOOLINFOW ti = {};
        ti.cbSize = TTTOOLINFOW_V2_SIZE;
        ti.hwnd = m_bar.m_hWnd;
        ti.uId = nID;
        ti.lpszText = buffer;
        ::SendMessageW(m_hTip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&ti));
        return buffer;
    }

    // A text request in either form, sent to the toolbar as a tooltip sends it.
    template <class Info>
    Info RequestTip(UINT nCode, UINT_PTR nID)
    {
        Info info;
        ZeroMemory(&info, sizeof(info));
        info.hdr = {m_hTip, nID, nCode};
        info.lpszText = info.szText;
        m_bar.SendMessage(WM_NOTIFY, nID, reinterpret_cast<LPARAM>(&info));
        return info;
    }

    CWnd m_host;
    CCommandBar m_bar;
    HWND m_hTip = nullptr;
};

}  // namespace

TEST_F(CommandBarTest, RowsAreTheTwelveCommandsBetweenSeparators)
{
    ASSERT_EQ(m_bar.GetButtonCount(), 19);
    int nImage = 0;
    for (int nRow = 0; nRow < 19; ++nRow) {
        SCOPED_TRACE(nRow);
        TBBUTTON button = {};
        ASSERT_TRUE(m_bar.SendMessage(TB_GETBUTTON, nRow, reinterpret_cast<LPARAM>(&button)));
        EXPECT_EQ(button.idCommand, kRows[nRow].nID);
        if (kRows[nRow].nID == 0) {
            EXPECT_EQ(button.fsStyle, BTNS_SEP);
            continue;
        }
        EXPECT_EQ(button.fsStyle, BTNS_BUTTON);
        EXPECT_TRUE(button.fsState & TBSTATE_ENABLED);
        EXPECT_EQ(button.iBitmap, nImage++);
    }
}

TEST_F(CommandBarTest, ImageOfEachButtonIsItsBitmapAt16By16)
{
    HIMAGELIST himl = reinterpret_cast<HIMAGELIST>(m_bar.SendMessage(TB_GETIMAGELIST));
    ASSERT_NE(himl, nullptr);
    ASSERT_EQ(ImageList_GetImageCount(himl), 12);
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(himl, &cx, &cy));
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);

    int nImage = 0;
    for (const Row& row : kRows) {
        if (row.nID == 0)
            continue;
        SCOPED_TRACE(row.nBitmapID);
        HBITMAP hbm = static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr),
                                                        MAKEINTRESOURCEA(row.nBitmapID),
                                                        IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
        ASSERT_NE(hbm, nullptr);
        const auto fromBitmap = DrawnPixels([hbm](HDC hdc) {
            HDC hdcSource = ::CreateCompatibleDC(hdc);
            HGDIOBJ hOld = ::SelectObject(hdcSource, hbm);
            ::BitBlt(hdc, 0, 0, 16, 16, hdcSource, 0, 0, SRCCOPY);
            ::SelectObject(hdcSource, hOld);
            ::DeleteDC(hdcSource);
        });
        const auto fromList =
            DrawnPixels([himl, nImage](HDC hdc) { ImageList_Draw(himl, nImage, hdc, 0, 0, ILD_NORMAL); });
        EXPECT_EQ(fromList, fromBitmap);
        ::DeleteObject(hbm);
        ++nImage;
    }
}

TEST_F(CommandBarTest, LabelsAreTheCommandNamesInTheirOwnEightPointFont)
{
    for (const Row& row : kRows) {
        if (row.nID == 0)
            continue;
        char buffer[256] = {};
        m_bar.SendMessage(TB_GETBUTTONTEXTA, row.nID, reinterpret_cast<LPARAM>(buffer));
        EXPECT_FALSE(LoadText(row.nID).empty());
        EXPECT_EQ(buffer, LoadText(row.nID)) << row.nID;
    }

    LOGFONTA lf = {};
    ASSERT_TRUE(::GetObjectA(reinterpret_cast<HFONT>(m_bar.SendMessage(WM_GETFONT)), sizeof(lf), &lf));
    // "ＭＳ Ｐ ゴシック", with the blank between "Ｐ" and "ゴシック".
    EXPECT_STREQ(lf.lfFaceName, "\x82\x6c\x82\x72\x20\x82\x6f\x20\x83\x53\x83\x56\x83\x62\x83\x4e");
    HDC hdc = ::GetDC(nullptr);
    EXPECT_EQ(lf.lfHeight, -(::GetDeviceCaps(hdc, LOGPIXELSY) * 80 / 720));
    ::ReleaseDC(nullptr, hdc);
}

TEST_F(CommandBarTest, TooltipRepeatsTheCommandNameInEitherForm)
{
    for (const Row& row : kRows) {
        if (row.nID == 0)
            continue;
        SCOPED_TRACE(row.nID);
        const std::string name = LoadText(row.nID);
        EXPECT_EQ(TooltipText(row.nID), Widen(name));
        const auto narrow = RequestTip<NMTTDISPINFOA>(TTN_NEEDTEXTA, row.nID);
        EXPECT_EQ(narrow.lpszText, narrow.szText);
        EXPECT_EQ(std::string(narrow.szText), name);
        const auto wide = RequestTip<NMTTDISPINFOW>(TTN_NEEDTEXTW, row.nID);
        EXPECT_EQ(wide.lpszText, wide.szText);
        EXPECT_EQ(std::wstring(wide.szText), Widen(name));
    }
}

TEST_F(CommandBarTest, TooltipForACommandNotOnTheBarIsEmpty)
{
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
    const struct
    {
        std::string text;
        std::string kept;
    } cases[] = {
        {std::string(79, 'a'), std::string(79, 'a')},
        {std::string(80, 'a'), std::string(79, 'a')},
        {std::string(200, 'a'), std::string(79, 'a')},
        {std::string(77, 'a') + kanji + "b", std::string(77, 'a') + kanji},
        {std::string(78, 'a') + kanji, std::string(78, 'a')},
        {"", ""},
    };
    for (const auto& c : cases) {
        const CString kept = CCommandBar::CutTipText(CString(c.text.c_str()));
        EXPECT_EQ(std::string(static_cast<LPCSTR>(kept)), c.kept) << c.text.size() << " bytes";
    }
}
