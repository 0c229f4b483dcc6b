#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "about/AboutDlg.h"
#include "res/maker.h"
#include "res/resource.h"
#include "tests/MainDlgDriver.h"
#include "tests/TestSupport.h"
#include "version.h"

namespace {

const UINT WM_PLAY_SCRIPT = WM_APP + 1;
const COLORREF kLinkColour = RGB(0, 0, 238);
const COLORREF kOpenedColour = RGB(85, 26, 139);
// No scheme the shell knows: only the web-page fallback can open it.
const char kUnknownTarget[] = "scourlytest:page";
const std::string kUnableToOpen = "Unable to open hyperlink:\n\n";
const std::string kNoAssociation =
    "There is no application associated\nwith the given filename extension.";

// What a control is given to paint with, asked the way the control asks its dialog.
struct PaintSettings
{
    COLORREF clrText;
    int nBkMode;
    HBRUSH hBrush;
};

PaintSettings PaintSettingsOf(HWND hDlg, HWND hControl)
{
    HDC hDC = ::CreateCompatibleDC(nullptr);
    ::SetTextColor(hDC, RGB(1, 2, 3));
    ::SetBkMode(hDC, OPAQUE);
    HBRUSH hBrush = reinterpret_cast<HBRUSH>(::SendMessageA(
        hDlg, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hControl)));
    const PaintSettings settings = {::GetTextColor(hDC), ::GetBkMode(hDC), hBrush};
    ::DeleteDC(hDC);
    return settings;
}

struct TipQuery
{
    HWND hTool;
    std::string strText;
};

BOOL CALLBACK AskTooltip(HWND hWnd, LPARAM lParam)
{
    char szClass[32] = "";
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (lstrcmpiA(szClass, TOOLTIPS_CLASSA) != 0)
        return TRUE;
    TipQuery* pQuery = reinterpret_cast<TipQuery*>(lParam);
    char szText[1024] = "";
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.lpszText = szText;
    if (!::SendMessageA(hWnd, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&ti)) ||
        ti.hwnd != pQuery->hTool)
        return TRUE;
    ::SendMessageA(hWnd, TTM_GETTEXTA, sizeof(szText), reinterpret_cast<LPARAM>(&ti));
    pQuery->strText = szText;
    return FALSE;
}

// The text of the tooltip that shows over hTool.
std::string TooltipOf(HWND hTool)
{
    TipQuery query = {hTool, "(no tooltip)"};
    ::EnumThreadWindows(::GetCurrentThreadId(), AskTooltip, reinterpret_cast<LPARAM>(&query));
    return query.strText;
}

std::string WindowText(HWND hWnd)
{
    char szText[512] = "";
    ::GetWindowTextA(hWnd, szText, sizeof(szText));
    return szText;
}

std::string TestProgramFolder()
{
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string strPath = szPath;
    return strPath.substr(0, strPath.rfind('\\'));
}

// Makes the recorder the program registered for web pages, with the command line given (its
// "$" stands for the recorder's path), and puts the old registration back when it goes.
class WebPageCommand
{
public:
    WebPageCommand()
    {
        char szOld[MAX_PATH] = "";
        LONG cb = sizeof(szOld);
        ::RegQueryValueA(HKEY_CLASSES_ROOT, ".htm", szOld, &cb);
        m_strOldClass = szOld;
        ::SetEnvironmentVariableA("SCOURLY_RECORD", m_strRecord.c_str());
    }
    ~WebPageCommand()
    {
        SetValue(".htm", m_strOldClass);
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kClass);
    }

    void Register(std::string strCommand)
    {
        const size_t nAt = strCommand.find('$');
        if (nAt != std::string::npos)
            strCommand.replace(nAt, 1, TestProgramFolder() + "\\RecordCommandLine.exe");
        SetValue(".htm", kClass);
        SetValue(std::string(kClass) + "\\shell\\open\\command", strCommand);
    }
    void RegisterNothing() { SetValue(".htm", "ScourlyTest.Unregistered"); }

    // The command line the recorder was started with; empty when it did not start in time.
    std::string Recorded() const
    {
        for (int wait = 0; wait < 1000; ++wait) {
            HANDLE hFile = ::CreateFileA(m_strRecord.c_str(), GENERIC_READ, 0, nullptr,
                                         OPEN_EXISTING, 0, nullptr);
            if (hFile != INVALID_HANDLE_VALUE) {
                char szLine[2048] = "";
                DWORD cbRead = 0;
                ::ReadFile(hFile, szLine, sizeof(szLine) - 1, &cbRead, nullptr);
                ::CloseHandle(hFile);
                ::DeleteFileA(m_strRecord.c_str());
                return std::string(szLine, cbRead);
            }
            ::Sleep(10);
        }
        return std::string();
    }
    std::string RecorderPath() const { return TestProgramFolder() + "\\RecordCommandLine.exe"; }

private:
    static constexpr const char* kClass = "ScourlyTest.Page";

    static void SetValue(const std::string& strKey, const std::string& strValue)
    {
        ::RegSetValueA(HKEY_CLASSES_ROOT, strKey.c_str(), REG_SZ, strValue.c_str(),
                       static_cast<DWORD>(strValue.size()));
    }

    TempFolder m_folder;
    std::string m_strRecord = m_folder / "command-line.txt";
    std::string m_strOldClass;
};

// Runs the about box modally, as the version command does, and plays a script once it is up.
class AboutDlgDriver : public CAboutDlg
{
public:
    using Script = std::function<void(AboutDlgDriver&)>;

    int Play(Script script)
    {
        m_script = std::move(script);
        return DoModal();
    }

    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }
    COLORREF TextColour(int id) const { return PaintSettingsOf(m_hWnd, Item(id)).clrText; }
    void MovePointer(int id, int x, int y)
    {
        ::SendMessageA(Item(id), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    }
    void Click(int id)
    {
        ::SendMessageA(Item(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
        ::SendMessageA(Item(id), WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    }
    void SetWebTarget(const std::string& strTarget) { m_linkWeb.SetTarget(strTarget.c_str()); }

protected:
    BOOL OnInitDialog() override
    {
        const BOOL bResult = CAboutDlg::OnInitDialog();
        PostMessage(WM_PLAY_SCRIPT);
        return bResult;
    }
    LRESULT OnPlay(WPARAM, LPARAM)
    {
        m_script(*this);
        EndDialog(IDOK);
        return 0;
    }
    DECLARE_MESSAGE_MAP()

private:
    Script m_script;
};

BEGIN_MESSAGE_MAP(AboutDlgDriver, CAboutDlg)
    ON_MESSAGE(WM_PLAY_SCRIPT, OnPlay)
END_MESSAGE_MAP()

// Gives the program file a version resource as the resource compiler lays it out: the root block
// with the fixed part as its value, or with no value at all.
bool WriteVersionResource(const std::string& strPath, const VS_FIXEDFILEINFO* pFixed)
{
    static const wchar_t kRootKey[] = L"VS_VERSION_INFO";
    const size_t cbHeader = (3 * sizeof(WORD) + sizeof(kRootKey) + 3) & ~size_t(3);
    std::vector<BYTE> block(cbHeader + (pFixed ? sizeof(*pFixed) : 0));
    const WORD header[3] = {static_cast<WORD>(block.size()),
                            static_cast<WORD>(pFixed ? sizeof(*pFixed) : 0), 0};
    memcpy(block.data(), header, sizeof(header));
    memcpy(block.data() + sizeof(header), kRootKey, sizeof(kRootKey));
    if (pFixed)
        memcpy(block.data() + cbHeader, pFixed, sizeof(*pFixed));
    HANDLE hUpdate = ::BeginUpdateResourceA(strPath.c_str(), TRUE);
    return hUpdate &&
           ::UpdateResourceA(hUpdate, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(VS_VERSION_INFO),
                             MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), block.data(),
                             static_cast<DWORD>(block.size())) &&
           ::EndUpdateResourceA(hUpdate, FALSE);
}

class LinkProbe : public CHyperLink
{
public:
    using CHyperLink::ShowOpenError;
};

}  // namespace

TEST(AboutDlg, ShowsTheVersionAndTheLinksWithEveryTextOverThePicture)
{
    AboutDlgDriver dlg;
    dlg.Play([](AboutDlgDriver& d) {
        EXPECT_EQ(WindowText(d.Item(IDC_VERSION_LABEL)), "Scourly Version" SCOURLY_VERSION_TEXT);
        EXPECT_EQ(WindowText(d.Item(IDC_LINK_MAIL)), SCOURLY_CONTACT_ADDRESS);
        EXPECT_EQ(TooltipOf(d.Item(IDC_LINK_MAIL)), "mailto:" SCOURLY_CONTACT_ADDRESS);
        EXPECT_EQ(TooltipOf(d.Item(IDC_LINK_WEB)), SCOURLY_WEB_PAGE);

        HWND hPicture = nullptr;
        for (HWND h = ::GetWindow(d.m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
            if ((::GetWindowLongA(h, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP)
                hPicture = h;
        ASSERT_TRUE(hPicture);
        RECT rcPicture;
        ::GetWindowRect(hPicture, &rcPicture);
        HBRUSH hHollow = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
        for (HWND h = ::GetWindow(d.m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
            char szClass[16] = "";
            ::GetClassNameA(h, szClass, sizeof(szClass));
            if (lstrcmpiA(szClass, "Static") != 0)
                continue;
            SCOPED_TRACE(WindowText(h));
            const PaintSettings paint = PaintSettingsOf(d.m_hWnd, h);
            if (h == d.Item(IDC_ABOUT_ICON)) {
                EXPECT_NE(paint.hBrush, hHollow);
                continue;
            }
            EXPECT_EQ(paint.nBkMode, TRANSPARENT);
            EXPECT_EQ(paint.hBrush, hHollow);
            RECT rc;
            ::GetWindowRect(h, &rc);
            if (h != hPicture && rc.top >= rcPicture.top) {
                EXPECT_GE(rc.left, rcPicture.left);
                EXPECT_LE(rc.right, rcPicture.right);
                EXPECT_LE(rc.bottom, rcPicture.bottom);
            }
        }
    });
}

TEST(AboutDlg, VersionTextIsMajorMinorAndThirdPartOfTheProductVersion)
{
    TempFolder folder;
    const std::string strProgram = folder / "program.exe";
    ASSERT_TRUE(::CopyFileA((TestProgramFolder() + "\\RecordCommandLine.exe").c_str(),
                            strProgram.c_str(), FALSE));
    CString strText = "left over";
    EXPECT_FALSE(ReadProductVersion(strProgram.c_str(), strText));
    EXPECT_EQ(strText, "");

    VS_FIXEDFILEINFO fixed = {};
    fixed.dwSignature = VS_FFI_SIGNATURE;
    fixed.dwStrucVersion = 0x10000;
    fixed.dwProductVersionMS = MAKELONG(1, 2);
    fixed.dwProductVersionLS = MAKELONG(4, 3);
    fixed.dwFileVersionMS = MAKELONG(8, 9);
    fixed.dwFileVersionLS = MAKELONG(6, 7);
    ASSERT_TRUE(WriteVersionResource(strProgram, &fixed));
    EXPECT_TRUE(ReadProductVersion(strProgram.c_str(), strText));
    EXPECT_EQ(strText, "2.1.3");

    // A root block without its fixed part holds no version, whatever bytes follow it.
    ASSERT_TRUE(WriteVersionResource(strProgram, nullptr));
    EXPECT_FALSE(ReadProductVersion(strProgram.c_str(), strText));
    EXPECT_EQ(strText, "");
}

TEST(AboutDlg, LinkColourFollowsThePointerAndEachOpening)
{
    WebPageCommand web;
    MessageBoxAnswerer answerer(IDOK);
    AboutDlgDriver dlg;
    dlg.Play([&](AboutDlgDriver& d) {
        const HWND hLink = d.Item(IDC_LINK_WEB);
        d.SetWebTarget(kUnknownTarget);
        EXPECT_EQ(d.TextColour(IDC_LINK_WEB), kLinkColour);
        d.MovePointer(IDC_LINK_WEB, 1, 1);
        EXPECT_EQ(d.TextColour(IDC_LINK_WEB), ::GetSysColor(COLOR_HIGHLIGHT));
        EXPECT_EQ(::GetCapture(), hLink);
        d.MovePointer(IDC_LINK_WEB, 1, 1);
        EXPECT_EQ(::GetCapture(), hLink);
        d.MovePointer(IDC_LINK_WEB, -5, 1);
        EXPECT_EQ(d.TextColour(IDC_LINK_WEB), kLinkColour);
        EXPECT_EQ(::GetCapture(), nullptr);

        web.Register("\"$\" \"%1\" --new-window");
        d.Click(IDC_LINK_WEB);
        EXPECT_EQ(web.Recorded(), "\"" + web.RecorderPath() + "\"  " + kUnknownTarget);
        EXPECT_EQ(d.TextColour(IDC_LINK_WEB), kOpenedColour);
        d.MovePointer(IDC_LINK_WEB, 1, 1);
        d.MovePointer(IDC_LINK_WEB, 1, 500);
        EXPECT_EQ(d.TextColour(IDC_LINK_WEB), kOpenedColour);

        // A failed attempt takes the opened colour away again.
        web.RegisterNothing();
        d.Click(IDC_LINK_WEB);
        EXPECT_EQ(answerer.LastText(), kUnableToOpen + kNoAssociation);
        EXPECT_EQ(d.TextColour(IDC_LINK_WEB), kLinkColour);
    });
    EXPECT_EQ(answerer.Count(), 1);
}

TEST(AboutDlg, WebPageFallbackRunsTheRegisteredCommandWithTheTarget)
{
    WebPageCommand web;
    MessageBoxAnswerer answerer(IDOK);
    AboutDlgDriver dlg;
    dlg.Play([&](AboutDlgDriver& d) {
        d.SetWebTarget(kUnknownTarget);
        web.Register("$ %1 --new-window");
        d.Click(IDC_LINK_WEB);
        EXPECT_EQ(web.Recorded(), web.RecorderPath() + "  " + kUnknownTarget);
        web.Register("\"$\" --new-window");
        d.Click(IDC_LINK_WEB);
        EXPECT_EQ(web.Recorded(), "\"" + web.RecorderPath() + "\" --new-window " + kUnknownTarget);
        EXPECT_EQ(answerer.Count(), 0);

        // What would not fit the command line, or a registered command too long to read whole,
        // is not run: the shell's own answer is given.
        d.SetWebTarget(kUnknownTarget + std::string(600, 'x'));
        d.Click(IDC_LINK_WEB);
        EXPECT_EQ(answerer.LastText(), kUnableToOpen + kNoAssociation);
        d.SetWebTarget(kUnknownTarget);
        web.Register("\"$\" " + std::string(300, 'a'));
        d.Click(IDC_LINK_WEB);
        EXPECT_EQ(answerer.LastText(), kUnableToOpen + kNoAssociation);
        EXPECT_EQ(answerer.Count(), 2);
    });
}

TEST(HyperLink, UnknownErrorCodeIsShownByNumber)
{
    MessageBoxAnswerer answerer(IDOK);
    LinkProbe link;
    link.ShowOpenError(1);
    EXPECT_EQ(answerer.LastText(), kUnableToOpen + "Unknown Error (1) occurred.");
}

TEST(HyperLink, EmptyTextShowsTheTargetAndFitsIt)
{
    HWND hParent = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 400, 100, nullptr, nullptr,
                                   nullptr, nullptr);
    HWND hStatic = ::CreateWindowA("STATIC", "", WS_CHILD | SS_LEFT, 10, 10, 300, 40, hParent,
                                   nullptr, nullptr, nullptr);
    LinkProbe link;
    link.SetTarget("https://example.org/");
    ASSERT_TRUE(link.SubclassWindow(hStatic));
    EXPECT_EQ(WindowText(hStatic), "https://example.org/");
    RECT rc;
    ::GetClientRect(hStatic, &rc);
    EXPECT_GT(rc.right, 0);
    EXPECT_LT(rc.right, 300);
    EXPECT_LT(rc.bottom, 40);
    ::DestroyWindow(hParent);
}

TEST(MainDlgVersion, VersionCommandOpensTheAboutBox)
{
    RuleFileGuard rules;
    MainDlgDriver dlg;
    dlg.Play([](MainDlgDriver& d) {
        static HWND s_hMain;
        static std::string s_strLabel;
        s_hMain = d.m_hWnd;
        s_strLabel.clear();
        struct Closer
        {
            static void CALLBACK Close(HWND, UINT, UINT_PTR nIDEvent, DWORD)
            {
                HWND hBox = ::GetActiveWindow();
                if (!hBox || hBox == s_hMain)
                    return;
                ::KillTimer(nullptr, nIDEvent);
                s_strLabel = WindowText(::GetDlgItem(hBox, IDC_VERSION_LABEL));
                ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }
        };
        ::SetTimer(nullptr, 0, 20, &Closer::Close);
        d.Command(ID_VERSION);
        EXPECT_EQ(s_strLabel, "Scourly Version" SCOURLY_VERSION_TEXT);
    });
}
