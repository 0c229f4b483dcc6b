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

// The menu table holds its texts as UTF-8; the resources hold UTF-16, which the ANSI functions hand
// out in code page 932.
std::string ToShiftJis(const char* utf8)
{
    wchar_t wide[256];
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 256);
    char bytes[512];
    int m = WideCharToMultiByte(932, 0, wide, n, bytes, sizeof(bytes), nullptr, nullptr);
    return m > 0 ? std::string(bytes, m - 1) : std::string();
}

std::string LoadAnsiString(UINT id)
{
    char buffer[256];
    int n = LoadStringA(Self(), id, buffer, sizeof(buffer));
    return std::string(buffer, n > 0 ? n : 0);
}

const BYTE* ResourceBytes(LPCSTR type, UINT id)
{
    HRSRC found = FindResourceA(Self(), MAKEINTRESOURCEA(id), type);
    if (!found)
        return nullptr;
    HGLOBAL loaded = LoadResource(Self(), found);
    return loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
}

struct DialogItem
{
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    std::string className;
};

struct DialogTemplate
{
    DWORD style = 0;
    DWORD exStyle = 0;
    short cx = 0, cy = 0;
    std::wstring caption;
    WORD pointSize = 0;
    BYTE charset = 0;
    std::wstring face;
    std::vector<DialogItem> items;
};

class TemplateReader
{
public:
    explicit TemplateReader(const BYTE* p) : m_pStart(p), m_p(p) {}

    WORD Word() { WORD w; memcpy(&w, m_p, 2); m_p += 2; return w; }
    DWORD Dword() { DWORD d; memcpy(&d, m_p, 4); m_p += 4; return d; }
    short Short() { return static_cast<short>(Word()); }
    BYTE Byte() { return *m_p++; }
    void Skip(size_t bytes) { m_p += bytes; }

    // A name field of a template is either 0xFFFF followed by an ordinal, or a NUL-terminated text.
    std::wstring TextOrOrdinal()
    {
        WORD first = Word();
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(Word());
        std::wstring text;
        for (WORD c = first; c != 0; c = Word())
            text += static_cast<wchar_t>(c);
        return text;
    }

    void AlignToDword()
    {
        while ((m_p - m_pStart) % 4 != 0)
            ++m_p;
    }

private:
    const BYTE* m_pStart;
    const BYTE* m_p;
};

std::string ClassName(const std::wstring& field)
{
    static const char* const kPredefined[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
    if (!field.empty() && field[0] == L'#') {
        int ordinal = std::stoi(field.substr(1));
        return ordinal >= 0x80 && ordinal <= 0x85 ? kPredefined[ordinal - 0x80] : "?";
    }
    return std::string(field.begin(), field.end());
}

bool ParseDialogEx(UINT id, DialogTemplate& dialog)
{
    const BYTE* bytes = ResourceBytes(RT_DIALOG, id);
    if (!bytes)
        return false;
    TemplateReader reader(bytes);
    if (reader.Word() != 1 || reader.Word() != 0xFFFF)
        return false;
    reader.Skip(4);
    dialog.exStyle = reader.Dword();
    dialog.style = reader.Dword();
    WORD count = reader.Word();
    reader.Skip(4);
    dialog.cx = reader.Short();
    dialog.cy = reader.Short();
    reader.TextOrOrdinal();
    reader.TextOrOrdinal();
    dialog.caption = reader.TextOrOrdinal();
    if (dialog.style & DS_SETFONT) {
        dialog.pointSize = reader.Word();
        reader.Skip(3);
        dialog.charset = reader.Byte();
        dialog.face = reader.TextOrOrdinal();
    }
    for (WORD i = 0; i < count; ++i) {
        reader.AlignToDword();
        DialogItem item;
        reader.Skip(8);
        item.style = reader.Dword();
        item.x = reader.Short();
        item.y = reader.Short();
        item.cx = reader.Short();
        item.cy = reader.Short();
        item.id = reader.Dword();
        item.className = ClassName(reader.TextOrOrdinal());
        reader.TextOrOrdinal();
        reader.Skip(reader.Word());
        dialog.items.push_back(item);
    }
    return true;
}

INT_PTR CALLBACK SilentDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

bool SameText(const std::string& a, const std::string& b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

COLORREF PixelAt(const BITMAPINFOHEADER* header, int x, int y)
{
    const BYTE* palette = reinterpret_cast<const BYTE*>(header) + header->biSize;
    int colours = header->biClrUsed ? header->biClrUsed : (header->biBitCount <= 8 ? 1 << header->biBitCount : 0);
    const BYTE* bits = palette + colours * 4;
    int stride = ((header->biWidth * header->biBitCount + 31) / 32) * 4;
    const BYTE* row = bits + (header->biHeight - 1 - y) * stride;   // rows are stored bottom-up
    const BYTE* bgr;
    if (header->biBitCount == 4)
        bgr = palette + 4 * ((x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 0x0F);
    else if (header->biBitCount == 8)
        bgr = palette + 4 * row[x];
    else
        bgr = row + 3 * x;
    return RGB(bgr[2], bgr[1], bgr[0]);
}

const BITMAPINFOHEADER* BitmapHeader(UINT id)
{
    return reinterpret_cast<const BITMAPINFOHEADER*>(ResourceBytes(RT_BITMAP, id));
}

TEST(ResourceStrings, LoadAsShiftJisWithHalfWidthKatakanaInSingleBytes)
{
    const struct {
        UINT id;
        const char* text;
    } bytes[] = {
        {IDS_FILE_COUNT, "\xCC\xA7\xB2\xD9\x90\x94 : %d"},
        {IDS_COLUMN_FOLDER, "\xCC\xAB\xD9\xC0\xDE\x96\xBC"},
        {IDS_SEARCHING, "\x8D\xED\x8F\x9C\x91\xCE\x8F\xDB\xCC\xA7\xB2\xD9\x82\xF0\x8C\x9F\x8D\xF5\x92\x86\x82\xC5\x82\xB7\x81"
                        "B"},
        {ID_STOP, "\x92\x86\x8E~"},
        {ID_VERSION, "\xCA\xDE\xB0\xBC\xDE\xAE\xDD"},
        {IDS_TOTAL_SIZE, " \x8D\x87\x8C\x76: %s"},
        {IDS_DEFAULT_FILTER, "*.obj;*.ilk;*.pdb;*.idb;*.pch;*.res;*.sbr;*.bsc"},
        {IDS_PRODUCT_NAME, "Scourly"},
    };
    for (const auto& c : bytes)
        EXPECT_EQ(LoadAnsiString(c.id), c.text) << "string " << c.id;
}

struct ControlCase
{
    DWORD id;
    const char* className;
    short x, y, cx, cy;
    DWORD style;   // bits that must be set
};

const ControlCase kMainControls[] = {
    {IDC_RULE_TREE, "SysTreeView32", 3, 31, 135, 82, 0x5081003F},
    {IDC_ITEM_NAME, "Edit", 176, 40, 121, 13, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
    {IDC_ITEM_FILTER, "Edit", 176, 56, 94, 14, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
    {IDC_ITEM_FOLDER, "Edit", 176, 73, 94, 14, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL},
    {IDC_BROWSE_FOLDER, "Button", 271, 73, 26, 15, WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_ITEM_SUBFOLDERS, "Button", 176, 95, 120, 9, WS_TABSTOP | BS_AUTOCHECKBOX},
    {IDC_RESULT_LIST, "SysListView32", 3, 116, 368, 113,
     LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_BORDER | WS_TABSTOP},
    {IDC_DETAIL_FRAME, "Button", 142, 28, 228, 83, BS_GROUPBOX},
    {IDC_STATUS_TEXT, "Static", 3, 233, 233, 12, SS_SUNKEN},
    {IDC_NAME_LABEL, "Static", 148, 42, 27, 10, SS_RIGHT},
    {IDC_FILTER_LABEL, "Static", 148, 60, 27, 10, SS_RIGHT},
    {IDC_FOLDER_LABEL, "Static", 148, 76, 27, 10, SS_RIGHT},
    {IDC_FILE_COUNT, "Static", 308, 233, 63, 12, SS_SUNKEN},
    {IDC_TOTAL_SIZE, "Static", 239, 233, 67, 12, SS_SUNKEN},
    {IDC_TOOLBAR_LINE, "Static", 0, 24, 373, 1, SS_ETCHEDHORZ},
    {IDC_ATTR_READONLY, "Button", 304, 47, 57, 9, WS_TABSTOP | BS_AUTOCHECKBOX},
    {IDC_ATTR_FRAME, "Button", 300, 36, 66, 71, BS_GROUPBOX},
    {IDC_ATTR_ARCHIVE, "Button", 304, 59, 57, 9, WS_TABSTOP | BS_AUTOCHECKBOX},
    {IDC_ATTR_COMPRESSED, "Button", 304, 70, 57, 9, WS_TABSTOP | BS_AUTOCHECKBOX},
    {IDC_ATTR_HIDDEN, "Button", 304, 81, 57, 9, WS_TABSTOP | BS_AUTOCHECKBOX},
    {IDC_ATTR_SYSTEM, "Button", 304, 93, 57, 9, WS_TABSTOP | BS_AUTOCHECKBOX},
    {IDC_EDIT_FILTER, "Button", 271, 56, 26, 15, WS_TABSTOP | BS_PUSHBUTTON},
};

TEST(ResourceDialogs, MainTemplateHasTheLayoutInTabOrder)
{
    DialogTemplate dialog;
    ASSERT_TRUE(ParseDialogEx(IDD_MAIN, dialog));
    const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    EXPECT_EQ(dialog.style & frame, frame);
    EXPECT_EQ(dialog.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_MODALFRAME | WS_CHILD), 0u);
    EXPECT_TRUE(dialog.exStyle & WS_EX_APPWINDOW);
    EXPECT_EQ(dialog.cx, 374);
    EXPECT_EQ(dialog.cy, 247);
    EXPECT_EQ(dialog.caption, L"Scourly");
    EXPECT_EQ(dialog.pointSize, 10);
    EXPECT_EQ(dialog.face, L"ＭＳ Ｐゴシック");
    EXPECT_EQ(dialog.charset, SHIFTJIS_CHARSET);

    ASSERT_EQ(dialog.items.size(), std::size(kMainControls));
    for (size_t i = 0; i < dialog.items.size(); ++i) {
        const DialogItem& item = dialog.items[i];
        const ControlCase& c = kMainControls[i];
        SCOPED_TRACE(testing::Message() << "control " << c.id);
        EXPECT_EQ(item.id, c.id);
        EXPECT_PRED2(SameText, item.className, c.className);
        EXPECT_EQ(item.x, c.x);
        EXPECT_EQ(item.y, c.y);
        EXPECT_EQ(item.cx, c.cx);
        EXPECT_EQ(item.cy, c.cy);
        EXPECT_EQ(item.style & c.style, c.style);
        EXPECT_TRUE(item.style & WS_VISIBLE);
    }
    EXPECT_EQ(dialog.items[0].style, 0x5081003Fu);
}

TEST(ResourceDialogs, OtherTemplatesHaveTheirControlsInOrder)
{
    const DWORD none = static_cast<DWORD>(-1);
    const struct {
        UINT id;
        short cx, cy;
        const wchar_t* caption;
        std::vector<DWORD> controls;
    } cases[] = {
        {IDD_ABOUT, 206, 119, L"ﾊﾞｰｼﾞｮﾝ情報",
         {IDOK, IDC_VERSION_LABEL, IDC_ABOUT_ICON, none, none, none, IDC_LINK_MAIL, none, IDC_LINK_WEB}},
        {IDD_FILTER_EDIT, 187, 171, L"ﾌｨﾙﾀｰ編集",
         {IDOK, IDCANCEL, none, IDC_TEMPLATE_COMBO, none, IDC_FILTER_TEXT, IDC_PATTERN_LIST, IDC_ADD_PATTERN,
          IDC_DELETE_PATTERN, IDC_EDIT_PATTERN, IDC_MOVE_UP, IDC_MOVE_DOWN, none, IDC_EXPLANATION}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "dialog " << c.id);
        DialogTemplate dialog;
        ASSERT_TRUE(ParseDialogEx(c.id, dialog));
        EXPECT_TRUE(dialog.style & DS_MODALFRAME);
        EXPECT_EQ(dialog.cx, c.cx);
        EXPECT_EQ(dialog.cy, c.cy);
        EXPECT_EQ(dialog.caption, c.caption);
        EXPECT_EQ(dialog.pointSize, 9);
        std::vector<DWORD> ids;
        for (const DialogItem& item : dialog.items)
            ids.push_back(item.id);
        EXPECT_EQ(ids, c.controls);
    }
}

TEST(ResourceDialogs, EveryTemplateCreatesAllItsControls)
{
    for (UINT id : {IDD_MAIN, IDD_ABOUT, IDD_FILTER_EDIT}) {
        SCOPED_TRACE(testing::Message() << "dialog " << id);
        DialogTemplate dialog;
        ASSERT_TRUE(ParseDialogEx(id, dialog));
        std::vector<DWORD> expected;
        for (const DialogItem& item : dialog.items)
            expected.push_back(item.id);

        HWND window = CreateDialogParamA(Self(), MAKEINTRESOURCEA(id), nullptr, SilentDialogProc, 0);
        ASSERT_NE(window, nullptr);
        std::vector<DWORD> created;
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            created.push_back(static_cast<DWORD>(GetWindowLongPtrA(child, GWLP_ID)));
        EXPECT_EQ(created, expected);
        DestroyWindow(window);
    }
}

TEST(ResourceDialogs, AboutTemplateFindsItsIconAndBackground)
{
    HWND window = CreateDialogParamA(Self(), MAKEINTRESOURCEA(IDD_ABOUT), nullptr, SilentDialogProc, 0);
    ASSERT_NE(window, nullptr);
    EXPECT_NE(SendDlgItemMessageA(window, IDC_ABOUT_ICON, STM_GETICON, 0, 0), 0);
    HWND background = nullptr;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP)
            background = child;
    }
    ASSERT_NE(background, nullptr);
    EXPECT_NE(SendMessageA(background, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    DestroyWindow(window);
}

struct MenuEntry
{
    UINT command;   // 0: separator
    const char* text;
};

TEST(ResourceMenus, EachShowsOnePopupWithItsCommands)
{
    const MenuEntry clear = {ID_CLEAR_LIST, "ｸﾘｱ(&C)"};
    const MenuEntry separator = {0, ""};
    const struct {
        UINT id;
        std::vector<MenuEntry> entries;
    } cases[] = {
        {IDR_RESULT_RUN_MENU, {clear}},
        {IDR_TREE_GROUP_MENU,
         {{ID_ADD_GROUP, "分類追加(&A)"}, {ID_DELETE_GROUP, "分類削除(&D)"}, separator, {ID_ADD_ITEM, "項目追加(&I)"},
          separator, {ID_RUN_SELECTED, "選択実行(&R)"}, {ID_LIST_SELECTED, "選択一覧(&L)"}, separator,
          {ID_EDIT_NAME, "名前の編集(&E)"}}},
        {IDR_TREE_ITEM_MENU,
         {{ID_ADD_ITEM, "項目追加(&I)"}, {ID_DELETE_ITEM, "項目削除(&T)"}, separator,
          {ID_RUN_SELECTED, "選択実行(&R)"}, {ID_LIST_SELECTED, "選択一覧(&L)"}, separator,
          {ID_EDIT_NAME, "名前の編集(&E)"}}},
        {IDR_TREE_BLANK_MENU,
         {{ID_RUN_ALL, "全実行(&N)"}, {ID_RUN_SELECTED, "選択実行(&R)"}, separator, {ID_LIST_ALL, "全一覧(&U)"},
          {ID_LIST_SELECTED, "選択一覧(&L)"}}},
        {IDR_RESULT_LIST_MENU,
         {clear, separator, {ID_SELECT_ALL_FILES, "全て選択(&A)"}, {ID_DELETE_FILES, "ﾌｧｲﾙの削除(&D)"}}},
        {IDR_RESULT_EMPTY_MENU, {clear}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "menu " << c.id);
        HMENU menu = LoadMenuA(Self(), MAKEINTRESOURCEA(c.id));
        ASSERT_NE(menu, nullptr);
        char text[64];
        ASSERT_EQ(GetMenuItemCount(menu), 1);
        GetMenuStringA(menu, 0, text, sizeof(text), MF_BYPOSITION);
        EXPECT_STREQ(text, "Top");
        HMENU popup = GetSubMenu(menu, 0);
        ASSERT_NE(popup, nullptr);
        ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(c.entries.size()));
        for (size_t i = 0; i < c.entries.size(); ++i) {
            const MenuEntry& entry = c.entries[i];
            EXPECT_EQ(GetMenuItemID(popup, static_cast<int>(i)), entry.command) << "entry " << i;
            EXPECT_EQ((GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) != 0,
                      entry.command == 0) << "entry " << i;
            text[0] = '\0';
            GetMenuStringA(popup, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
            EXPECT_EQ(std::string(text), ToShiftJis(entry.text)) << "entry " << i;
        }
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
        HBITMAP bitmap = LoadBitmapA(Self(), MAKEINTRESOURCEA(c.id));
        EXPECT_NE(bitmap, nullptr);
        DeleteObject(bitmap);
    }
}

TEST(ResourceBitmaps, ToolbarPicturesLieOnTheButtonFace)
{
    for (UINT id = IDB_VERSION; id <= IDB_RUN_SELECTED; ++id) {
        const BITMAPINFOHEADER* header = BitmapHeader(id);
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(PixelAt(header, 0, 0), RGB(0xC0, 0xC0, 0xC0)) << "bitmap " << id;
    }
}

TEST(ResourceBitmaps, CheckMarksAreDitherEmptyBoxAndRedTickOnWhite)
{
    const BITMAPINFOHEADER* header = BitmapHeader(IDB_CHECKMARKS);
    ASSERT_NE(header, nullptr);
    for (int picture = 0; picture < 3; ++picture) {
        SCOPED_TRACE(testing::Message() << "picture " << picture);
        int white = 0, black = 0, red = 0, other = 0;
        for (int y = 0; y < 14; ++y) {
            for (int x = 13 * picture; x < 13 * (picture + 1); ++x) {
                COLORREF colour = PixelAt(header, x, y);
                ++(colour == RGB(255, 255, 255) ? white : colour == RGB(0, 0, 0) ? black
                   : colour == RGB(255, 0, 0) ? red : other);
            }
        }
        EXPECT_EQ(PixelAt(header, 13 * picture, 0), RGB(255, 255, 255));
        EXPECT_EQ(black, picture == 0 ? 0 : 40);
        EXPECT_EQ(red > 0, picture == 2);
        EXPECT_EQ(other > 0, picture == 0);
        EXPECT_GT(white, 0);
    }
}

TEST(ResourceIcon, HoldsLargeAndSmallPictures)
{
    const BYTE* directory = ResourceBytes(RT_GROUP_ICON, IDR_MAINFRAME);
    ASSERT_NE(directory, nullptr);
    WORD count;
    memcpy(&count, directory + 4, 2);
    std::vector<int> widths;
    for (WORD i = 0; i < count; ++i)
        widths.push_back(directory[6 + 14 * i]);
    EXPECT_NE(std::find(widths.begin(), widths.end(), 32), widths.end());
    EXPECT_NE(std::find(widths.begin(), widths.end(), 16), widths.end());
    for (int size : {32, 16}) {
        HICON icon = static_cast<HICON>(LoadImageA(Self(), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, size, size, 0));
        EXPECT_NE(icon, nullptr) << size;
        DestroyIcon(icon);
    }
}

TEST(ResourceVersion, NamesProductMakerAndVersion)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    const struct {
        const char* key;
        const char* value;
    } strings[] = {{"ProductName", "Scourly"}, {"CompanyName", "Orvane"}, {"ProductVersion", "1.0.0.0"}};
    for (const auto& s : strings) {
        char* value = nullptr;
        std::string key = std::string("\\StringFileInfo\\041103a4\\") + s.key;
        ASSERT_TRUE(VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) << s.key;
        EXPECT_STREQ(value, s.value);
    }
}

}  // namespace
