#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

HINSTANCE Self()
{
    return GetModuleHandleA(nullptr);
}

const BYTE* ResourceBytes(LPCSTR type, UINT id)
{
    HRSRC found = FindResourceA(Self(), MAKEINTRESOURCEA(id), type);
    HGLOBAL loaded = found ? LoadResource(Self(), found) : nullptr;
    return loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
}

const BITMAPINFOHEADER* BitmapHeader(UINT id)
{
    return reinterpret_cast<const BITMAPINFOHEADER*>(ResourceBytes(RT_BITMAP, id));
}

// The colour of a pixel of a 4- or 8-bit bitmap; rows are stored bottom-up.
COLORREF PixelAt(const BITMAPINFOHEADER* header, int x, int y)
{
    const BYTE* palette = reinterpret_cast<const BYTE*>(header) + header->biSize;
    const BYTE* bits = palette + 4 * (header->biClrUsed ? header->biClrUsed : 1u << header->biBitCount);
    const int stride = ((header->biWidth * header->biBitCount + 31) / 32) * 4;
    const BYTE* row = bits + (header->biHeight - 1 - y) * stride;
    const int index = header->biBitCount == 8 ? row[x] : x % 2 ? row[x / 2] & 0x0F : row[x / 2] >> 4;
    const BYTE* bgr = palette + 4 * index;
    return RGB(bgr[2], bgr[1], bgr[0]);
}

// Reads a dialog template field by field.
struct TemplateReader
{
    template <class T>
    T Get()
    {
        T value;
        memcpy(&value, p, sizeof(T));
        p += sizeof(T);
        return value;
    }
    // 0xFFFF and an ordinal, named after the predefined class it stands for, or a NUL-ended text.
    std::wstring Name()
    {
        static const wchar_t* const kPredefined[] = {L"Button", L"Edit", L"Static"};
        std::wstring text;
        WORD c = Get<WORD>();
        if (c == 0xFFFF) {
            c = Get<WORD>();
            return c >= 0x80 && c <= 0x82 ? kPredefined[c - 0x80] : L"#";
        }
        for (; c != 0; c = Get<WORD>())
            text += static_cast<wchar_t>(c);
        return text;
    }

    const BYTE* p;
};

TEST(ResourceStrings, LoadAsShiftJisWithHalfWidthKatakanaInSingleBytes)
{
    const struct {
        UINT id;
        const char* text;
    } bytes[] = {
        {IDS_COLUMN_FOLDER, "\xCC\xAB\xD9\xC0\xDE\x96\xBC"},
        {IDS_SEARCHING, "\x8D\xED\x8F\x9C\x91\xCE\x8F\xDB\xCC\xA7\xB2\xD9\x82\xF0\x8C\x9F\x8D\xF5\x92\x86\x82\xC5\x82\xB7\x81"
                        "B"},
        {ID_STOP, "\x92\x86\x8E~"},
        {ID_VERSION, "\xCA\xDE\xB0\xBC\xDE\xAE\xDD"},
    };
    for (const auto& c : bytes) {
        char buffer[256];
        const int n = LoadStringA(Self(), c.id, buffer, sizeof(buffer));
        EXPECT_EQ(std::string(buffer, n > 0 ? n : 0), c.text) << "string " << c.id;
    }
}

TEST(ResourceDialogs, MainTemplateHasTheLayoutInTabOrder)
{
    const struct {
        DWORD id;
        const wchar_t* className;
        short x, y, cx, cy;
        DWORD style;   // bits that must be set
    } controls[] = {
        {IDC_RULE_TREE, L"SysTreeView32", 3, 31, 135, 82, 0x5081003F},
        {IDC_ITEM_NAME, L"Edit", 176, 40, 121, 13, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
        {IDC_ITEM_FILTER, L"Edit", 176, 56, 94, 14, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
        {IDC_ITEM_FOLDER, L"Edit", 176, 73, 94, 14, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
        {IDC_BROWSE_FOLDER, L"Button", 271, 73, 26, 15, WS_TABSTOP | BS_PUSHBUTTON},
        {IDC_ITEM_SUBFOLDERS, L"Button", 176, 95, 120, 9, WS_TABSTOP | BS_AUTOCHECKBOX},
        {IDC_RESULT_LIST, L"SysListView32", 3, 116, 368, 113,
         LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | LVS_OWNERDATA | WS_BORDER | WS_TABSTOP},
        {IDC_DETAIL_FRAME, L"Button", 142, 28, 228, 83, BS_GROUPBOX},
        {IDC_STATUS_TEXT, L"Static", 3, 233, 233, 12, SS_SUNKEN},
        {IDC_NAME_LABEL, L"Static", 148, 42, 27, 10, SS_RIGHT},
        {IDC_FILTER_LABEL, L"Static", 148, 60, 27, 10, SS_RIGHT},
        {IDC_FOLDER_LABEL, L"Static", 148, 76, 27, 10, SS_RIGHT},
        {IDC_FILE_COUNT, L"Static", 308, 233, 63, 12, SS_SUNKEN},
        {IDC_TOTAL_SIZE, L"Static", 239, 233, 67, 12, SS_SUNKEN},
        {IDC_TOOLBAR_LINE, L"Static", 0, 24, 373, 1, SS_ETCHEDHORZ},
        {IDC_ATTR_READONLY, L"Button", 304, 47, 57, 9, WS_TABSTOP | BS_AUTOCHECKBOX},
        {IDC_ATTR_FRAME, L"Button", 300, 36, 66, 71, BS_GROUPBOX},
        {IDC_ATTR_ARCHIVE, L"Button", 304, 59, 57, 9, WS_TABSTOP | BS_AUTOCHECKBOX},
        {IDC_ATTR_COMPRESSED, L"Button", 304, 70, 57, 9, WS_TABSTOP | BS_AUTOCHECKBOX},
        {IDC_ATTR_HIDDEN, L"Button", 304, 81, 57, 9, WS_TABSTOP | BS_AUTOCHECKBOX},
        {IDC_ATTR_SYSTEM, L"Button", 304, 93, 57, 9, WS_TABSTOP | BS_AUTOCHECKBOX},
        {IDC_EDIT_FILTER, L"Button", 271, 56, 26, 15, WS_TABSTOP | BS_PUSHBUTTON},
    };
    const BYTE* bytes = ResourceBytes(RT_DIALOG, IDD_MAIN);
    ASSERT_NE(bytes, nullptr);
    TemplateReader t{bytes};
    ASSERT_EQ(t.Get<DWORD>(), 0xFFFF0001u) << "an extended template";
    t.p += 4;
    EXPECT_TRUE(t.Get<DWORD>() & WS_EX_APPWINDOW);
    const DWORD style = t.Get<DWORD>();
    const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SETFONT;
    EXPECT_EQ(style & frame, frame);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_MODALFRAME | WS_CHILD), 0u);
    ASSERT_EQ(t.Get<WORD>(), std::size(controls));
    t.p += 4;
    EXPECT_EQ(t.Get<short>(), 374);
    EXPECT_EQ(t.Get<short>(), 247);
    t.Name();
    t.Name();
    EXPECT_EQ(t.Name(), L"Scourly");
    EXPECT_EQ(t.Get<WORD>(), 10) << "point size";
    t.p += 3;
    EXPECT_EQ(t.Get<BYTE>(), SHIFTJIS_CHARSET);
    EXPECT_EQ(t.Name(), L"ＭＳ Ｐゴシック");

    for (const auto& c : controls) {
        SCOPED_TRACE(testing::Message() << "control " << c.id);
        // Each control starts on a DWORD boundary, with its help id and extended style.
        t.p += (4 - (t.p - bytes) % 4) % 4 + 8;
        const DWORD controlStyle = t.Get<DWORD>();
        EXPECT_EQ(controlStyle & (c.style | WS_VISIBLE), c.style | WS_VISIBLE);
        if (c.id == IDC_RULE_TREE) {
            EXPECT_EQ(controlStyle, c.style) << "no more, no less";
        }
        EXPECT_EQ(t.Get<short>(), c.x);
        EXPECT_EQ(t.Get<short>(), c.y);
        EXPECT_EQ(t.Get<short>(), c.cx);
        EXPECT_EQ(t.Get<short>(), c.cy);
        EXPECT_EQ(t.Get<DWORD>(), c.id);
        EXPECT_EQ(_wcsicmp(t.Name().c_str(), c.className), 0);
        t.Name();
        t.p += t.Get<WORD>();
    }
}

TEST(ResourceMenus, EachShowsOnePopupWithItsCommands)
{
    const struct {
        UINT id;
        std::vector<UINT> commands;   // 0: separator
    } cases[] = {
        {IDR_RESULT_RUN_MENU, {ID_CLEAR_LIST}},
        {IDR_TREE_GROUP_MENU,
         {ID_ADD_GROUP, ID_DELETE_GROUP, 0, ID_ADD_ITEM, 0, ID_RUN_SELECTED, ID_LIST_SELECTED, 0, ID_EDIT_NAME}},
        {IDR_TREE_ITEM_MENU, {ID_ADD_ITEM, ID_DELETE_ITEM, 0, ID_RUN_SELECTED, ID_LIST_SELECTED, 0, ID_EDIT_NAME}},
        {IDR_TREE_BLANK_MENU, {ID_RUN_ALL, ID_RUN_SELECTED, 0, ID_LIST_ALL, ID_LIST_SELECTED}},
        {IDR_RESULT_LIST_MENU, {ID_CLEAR_LIST, 0, ID_SELECT_ALL_FILES, ID_DELETE_FILES}},
        {IDR_RESULT_EMPTY_MENU, {ID_CLEAR_LIST}},
    };
    for (const auto& c : cases) {
        HMENU menu = LoadMenuA(Self(), MAKEINTRESOURCEA(c.id));
        ASSERT_NE(menu, nullptr) << c.id;
        EXPECT_EQ(GetMenuItemCount(menu), 1) << c.id;
        HMENU popup = GetSubMenu(menu, 0);
        std::vector<UINT> commands;
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            const bool separator = GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR;
            commands.push_back(separator ? 0 : GetMenuItemID(popup, i));
        }
        EXPECT_EQ(commands, c.commands) << "menu " << c.id;
        DestroyMenu(menu);
    }
}

TEST(ResourceBitmaps, HaveTheirSizesAndDepths)
{
    const struct {
        UINT id;
        LONG width, height;
        WORD bits;
    } cases[] = {
        {IDB_CHECKMARKS, 39, 14, 8},     {IDB_VERSION, 16, 16, 4},       {IDB_LIST_ALL, 16, 16, 4},
        {IDB_RUN_ALL, 16, 16, 4},        {IDB_STOP, 16, 16, 4},          {IDB_EXIT, 16, 16, 4},
        {IDB_ADD_GROUP, 16, 16, 4},      {IDB_DELETE_GROUP, 16, 16, 4},  {IDB_ADD_ITEM, 16, 16, 4},
        {IDB_DELETE_ITEM, 16, 16, 4},    {IDB_NEW_RULES, 16, 16, 4},     {IDB_LIST_SELECTED, 16, 16, 4},
        {IDB_RUN_SELECTED, 16, 16, 4},   {IDB_ABOUT_BACKGROUND, 286, 104, 24},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "bitmap " << c.id);
        const BITMAPINFOHEADER* header = BitmapHeader(c.id);
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->biWidth, c.width);
        EXPECT_EQ(header->biHeight, c.height);
        EXPECT_EQ(header->biBitCount, c.bits);
        EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB));
        if (c.bits == 4) {
            EXPECT_EQ(PixelAt(header, 0, 0), RGB(0xC0, 0xC0, 0xC0)) << "the toolbar's transparent colour";
        }
    }
    // The tree cuts the check marks 13 pixels wide and takes white for transparent.
    for (int x : {0, 13, 26})
        EXPECT_EQ(PixelAt(BitmapHeader(IDB_CHECKMARKS), x, 0), RGB(255, 255, 255)) << x;
}

TEST(ResourceIcon, HoldsLargeAndSmallPictures)
{
    const BYTE* directory = ResourceBytes(RT_GROUP_ICON, IDR_MAINFRAME);
    ASSERT_NE(directory, nullptr);
    std::vector<int> widths;
    for (int i = 0; i < directory[4]; ++i)
        widths.push_back(directory[6 + 14 * i]);
    std::sort(widths.begin(), widths.end());
    EXPECT_EQ(widths, (std::vector<int>{16, 32}));
}

}  // namespace
