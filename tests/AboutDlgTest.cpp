#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "about/AboutDlg.h"
#include "framework/Path.h"
#include "res/maker.h"
#include "res/resource.h"
#include "tests/ScriptedDialog.h"
#include "tests/TestSupport.h"
#include "version.h"

namespace {

const COLORREF kLinkColour = RGB(0, 0, 238);
const COLORREF kOpenedColour = RGB(85, 26, 139);
// No scheme the shell knows: only the web-page fallback can open it.
const std::string kTarget = "scourlytest:page";
const std::string kUnable = "Unable to open hyperlink:\n\n";
const std::string kNoAssociation =
    kUnable + "There is no application associated\nwith the given filename extension.";

// The stand-in browser beside the tests, which records how it was started.
const std::string kRecorder = PathBeside(GetModuleFilePath(), "RecordCommandLine.exe").GetString();

// The colours a control is given to paint with, asked the way the control asks its dialog.
COLORREF TextColour(HWND hControl, int* pnBkMode = nullptr, LRESULT* plBrush = nullptr)
{
    HDC hDC = ::CreateCompatibleDC(nullptr);
    const LRESULT lBrush = ::SendMessageA(::GetParent(hControl), WM_CTLCOLORSTATIC,
                                          reinterpret_cast<WPARAM>(hDC),
                                          reinterpret_cast<LPARAM>(hControl));
    const COLORREF clrText = ::GetTextColor(hDC);
    if (pnBkMode)
        *pnBkMode = ::GetBkMode(hDC);
    if (plBrush)
        *plBrush = lBrush;
    ::DeleteDC(hDC);
    return clrText;
}

std::string TooltipOf(HWND hTool)
{
    for (HWND h = nullptr; (h = ::FindWindowExA(nullptr, h, TOOLTIPS_CLASSA, nullptr));) {
        char szText[256] = "";
        TOOLINFOA ti = {};
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        ti.lpszText = szText;
        if (::SendMessageA(h, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&ti)) && ti.hwnd == hTool)
            return szText;
    }
    return "(no tooltip)";
}

void SetDefault(const std::string& strKey, const std::string& strValue)
{
    ::RegSetValueA(HKEY_CLASSES_ROOT, strKey.c_str(), REG_SZ, strValue.c_str(), 0);
}

// The about box played by a script. Meanwhile web pages (".htm") open with the command that the
// script registers, in which "$" stands for the recorder; Wine's own association comes back after.
class AboutDlgDriver : public ScriptedDialog<AboutDlgDriver, CAboutDlg>
{
public:
    AboutDlgDriver() { ::DeleteFileA((kRecorder + ".txt").c_str()); }
    ~AboutDlgDriver() override { SetDefault(".htm", "htmlfile"); }
    HWND Web() const { return m_linkWeb.m_hWnd; }
    void ClickWeb(const std::string& strTarget)
    {
        m_linkWeb.SetTarget(strTarget.c_str());
        ::SendMessageA(Web(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    }
    void Register(std::string strCommand)
    {
        SetDefault(".htm", "ScourlyTest.Page");
        SetDefault("ScourlyTest.Page\\shell\\open\\command",
                   strCommand.replace(strCommand.find('$'), 1, kRecorder));
    }
    // The command line that a click on the web link starts with the command registered; empty
    // when nothing starts within ten seconds.
    std::string OpenThrough(const std::string& strCommand)
    {
        Register(strCommand);
        ClickWeb(kTarget);
        const std::string strRecord = kRecorder + ".txt";
        for (int wait = 0; wait < 1000 && !PathExists(strRecord); ++wait)
            ::Sleep(10);
        const std::string strLine = ReadFileBytes(strRecord);
        ::DeleteFileA(strRecord.c_str());
        return strLine;
    }
};

// Gives a program file a version resource as the resource compiler lays it out, the fixed part
// following the root block's header: as the block's value, or as bytes without a meaning.
bool WriteVersionResource(const std::string& strPath, const VS_FIXEDFILEINFO& fixed, bool bValue)
{
    struct
    {
        WORD wLength, wValueLength, wType;
        wchar_t szKey[16];
        WORD wPadding;
        VS_FIXEDFILEINFO fixed;
    } block = {sizeof(block), WORD(bValue ? sizeof(fixed) : 0), 0, L"VS_VERSION_INFO", 0, fixed};
    HANDLE hUpdate = ::BeginUpdateResourceA(strPath.c_str(), TRUE);
    return hUpdate && ::UpdateResourceA(hUpdate, RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO), 0,
                                        &block, sizeof(block)) &&
           ::EndUpdateResourceA(hUpdate, FALSE);
}

class LinkProbe : public CHyperLink
{
public:
    using CHyperLink::ShowOpenError;
};

}  // namespace

TEST(AboutDlg, ShowsVersionAndLinksOverThePictureAndTheLinksFollowThePointerAndOpen)
{
    AboutDlgDriver dlg;
    dlg.Play([](AboutDlgDriver& d) {
        auto item = [&d](int id) { return ::GetDlgItem(d.m_hWnd, id); };
        EXPECT_EQ(WindowText(item(IDC_VERSION_LABEL)), "Scourly Version" SCOURLY_VERSION_TEXT);
        EXPECT_EQ(WindowText(item(IDC_LINK_MAIL)), SCOURLY_CONTACT_ADDRESS);
        EXPECT_EQ(TooltipOf(item(IDC_LINK_MAIL)), "mailto:" SCOURLY_CONTACT_ADDRESS);
        EXPECT_EQ(TooltipOf(item(IDC_LINK_WEB)), SCOURLY_WEB_PAGE);

        HWND hPicture = item(IDC_ABOUT_ICON);
        while (hPicture && (::GetWindowLongA(hPicture, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP)
            hPicture = ::GetWindow(hPicture, GW_HWNDNEXT);
        RECT rcPicture, rc;
        ASSERT_TRUE(::GetWindowRect(hPicture, &rcPicture));
        const LRESULT lHollow = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
        for (HWND h = ::GetWindow(item(IDOK), GW_HWNDNEXT); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
            SCOPED_TRACE(WindowText(h));
            int nBkMode;
            LRESULT lBrush;
            TextColour(h, &nBkMode, &lBrush);
            const bool bIcon = h == item(IDC_ABOUT_ICON);
            EXPECT_EQ(lBrush == lHollow, !bIcon);
            EXPECT_TRUE(nBkMode == TRANSPARENT || bIcon);
            ::GetWindowRect(h, &rc);
            EXPECT_TRUE(rc.top < rcPicture.top || (rc.left >= rcPicture.left &&
                        rc.right <= rcPicture.right && rc.bottom <= rcPicture.bottom));
        }

        DialogAnswerer answerer(IDOK);
        auto pointAt = [&](int x, int y) {
            ::SendMessageA(d.Web(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        };
        EXPECT_EQ(TextColour(d.Web()), kLinkColour);
        pointAt(1, 1);
        EXPECT_EQ(TextColour(d.Web()), ::GetSysColor(COLOR_HIGHLIGHT));
        EXPECT_EQ(::GetCapture(), d.Web());
        pointAt(-5, 1);
        EXPECT_EQ(TextColour(d.Web()), kLinkColour);
        EXPECT_EQ(::GetCapture(), nullptr);

        EXPECT_EQ(d.OpenThrough("\"$\" \"%1\" --new-window"), "\"" + kRecorder + "\"  " + kTarget);
        EXPECT_EQ(TextColour(d.Web()), kOpenedColour);
        pointAt(1, 1);
        pointAt(1, 500);
        EXPECT_EQ(TextColour(d.Web()), kOpenedColour);
        EXPECT_EQ(d.OpenThrough("$ %1 --new-window"), kRecorder + "  " + kTarget);
        EXPECT_EQ(d.OpenThrough("\"$\" --new-window"),
                  "\"" + kRecorder + "\" --new-window " + kTarget);
        EXPECT_EQ(answerer.Count(), 0);

        // What would not fit the command line, or a registered command too long to read whole,
        // is not run: the shell's own answer is given, and the link no longer shows as opened.
        d.ClickWeb(kTarget + std::string(600, 'x'));
        EXPECT_EQ(answerer.LastText(), kNoAssociation);
        EXPECT_EQ(TextColour(d.Web()), kLinkColour);
        d.Register("\"$\" " + std::string(300, 'a'));
        d.ClickWeb(kTarget);
        EXPECT_EQ(answerer.LastText(), kNoAssociation);
        EXPECT_EQ(answerer.Count(), 2);
        LinkProbe().ShowOpenError(1);
        EXPECT_EQ(answerer.LastText(), kUnable + "Unknown Error (1) occurred.");
    });

    // The version text is major, minor and third part of a program's product version.
    TempFolder folder;
    const std::string strProgram = folder / "program.exe";
    ASSERT_TRUE(::CopyFileA(kRecorder.c_str(), strProgram.c_str(), FALSE));
    VS_FIXEDFILEINFO fixed = {};
    fixed.dwSignature = VS_FFI_SIGNATURE;
    fixed.dwProductVersionMS = MAKELONG(1, 2);
    fixed.dwProductVersionLS = MAKELONG(4, 3);
    CString strText;
    ASSERT_TRUE(WriteVersionResource(strProgram, fixed, true));
    EXPECT_TRUE(ReadProductVersion(strProgram.c_str(), strText));
    EXPECT_EQ(strText, "2.1.3");

    // A root block without its fixed part holds no version, whatever bytes follow it.
    ASSERT_TRUE(WriteVersionResource(strProgram, fixed, false));
    EXPECT_FALSE(ReadProductVersion(strProgram.c_str(), strText));
    EXPECT_EQ(strText, "");
}
