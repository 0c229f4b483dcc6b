#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "filtereditor/FilterEditDlg.h"
#include "res/resource.h"
#include "rules/RuleFile.h"
#include "rules/RuleNode.h"
#include "tests/MainDlgDriver.h"
#include "tests/TestSupport.h"

namespace {

const std::string kUserDefined = "\xD5\xB0\xBB\xDE\x92\xE8\x8B\x60";

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ExeFolder()
{
    const CString path = GetModulePath();
    return static_cast<LPCSTR>(path.Left(path.ReverseFind('\\') + 1));
}

// Writes the catalogue that the editor reads beside the test executable, and puts the shipped one
// back afterwards.
class CatalogueBesideExe
{
public:
    explicit CatalogueBesideExe(const std::string& text)
        : m_path(ExeFolder() + "filterdef.ini"), m_shipped(ReadFile(m_path))
    {
        WriteFile(m_path, text);
    }
    ~CatalogueBesideExe() { WriteFile(m_path, m_shipped); }

private:
    std::string m_path;
    std::string m_shipped;
};

std::string Names(const CFilterTemplateList& list)
{
    std::string names;
    for (int i = 0; i < list.GetCount(); ++i) {
        const FilterTemplate& t = list.GetAt(i);
        names += std::string("[") + t.m_strId.GetString() + "|" + t.m_strName.GetString() + "|" +
                 t.m_strFilter.GetString() + "]";
    }
    return names;
}

}  // namespace

TEST(FilterCatalogue, ReadsNumberedKeysUpToTheFirstGapAndSplitsAtCommas)
{
    TempFolder folder;
    WriteFile(folder / "t.ini",
              "[template]\r\n"
              "1=A, spaced, *.a\r\n"
              "2=B,,*.b\r\n"
              "3=,C,c,*.c,extra\r\n"
              "4=,,,\r\n"
              "5=D\r\n"
              "7=E,after the gap,*.e\r\n"
              "[Explanation]\r\n"
              "1=c,first one, cut at its comma\r\n"
              "2=C,second\r\n"
              "3=userdef,own\r\n");
    CFilterTemplateList templates;
    templates.Load((folder / "t.ini").c_str());
    EXPECT_EQ(Names(templates), "[UserDef|" + kUserDefined +
                                    "|][A| spaced| *.a][B|*.b|][C|c|*.c][||][D||]");

    CTemplateExplanationList explanations;
    explanations.Load((folder / "t.ini").c_str());
    EXPECT_STREQ(explanations.Find("C"), "first one");
    EXPECT_STREQ(explanations.Find("UserDef"), "own");
    EXPECT_STREQ(explanations.Find("A"), "");

    // A second load replaces what the first read; a missing file leaves the built-in template only.
    templates.Load((folder / "missing.ini").c_str());
    EXPECT_EQ(Names(templates), "[UserDef|" + kUserDefined + "|]");
    explanations.Load((folder / "missing.ini").c_str());
    EXPECT_STREQ(explanations.Find("C"), "");
}

TEST(FilterCatalogue, ValuesAreReadUpTo255Bytes)
{
    TempFolder folder;
    const std::string whole = "W,whole," + std::string(255 - 8, 'w');
    const std::string longer = "L,long," + std::string(300 - 7, 'l');
    WriteFile(folder / "t.ini", "[Template]\r\n1=" + whole + "\r\n2=" + longer + "\r\n");
    CFilterTemplateList templates;
    templates.Load((folder / "t.ini").c_str());
    ASSERT_EQ(templates.GetCount(), 3);
    EXPECT_EQ(templates.GetAt(1).m_strFilter.GetLength(), 255 - 8);
    EXPECT_EQ(templates.GetAt(2).m_strFilter.GetLength(), 255 - 7);
}

TEST(FilterCatalogue, LiesInTheExecutablesFolderHoweverItIsNamed)
{
    // 0x5C, the backslash, is the second byte of 表 (0x95 0x5C) and of ソ (0x83 0x5C).
    const std::string longFolder = "C:\\" + std::string(300, 'd') + "\\\x95\x5C";
    EXPECT_STREQ(BuildProfilePath((longFolder + "\\app.exe").c_str(), "filterdef.ini"),
                 (longFolder + "\\filterdef.ini").c_str());
    EXPECT_STREQ(BuildProfilePath("C:\\tools\\\x83\x5C\x83\x74\x83\x67.exe", "filterdef.ini"),
                 "C:\\tools\\filterdef.ini");
    EXPECT_STREQ(BuildProfilePath("", "filterdef.ini"), "filterdef.ini");
}

namespace {

// Runs the filter editor modally with a script played inside its message loop once it is up.
class EditorDriver : public CFilterEditDlg
{
public:
    using Script = std::function<void(EditorDriver&)>;

    int Play(const char* filter, Script script)
    {
        m_strFilterText = filter;
        m_script = std::move(script);
        return DoModal();
    }

    std::string Field() const
    {
        CString text;
        m_editFilter.GetWindowText(text);
        return text.GetString();
    }
    std::string Rows(int column = 0) const
    {
        std::string rows;
        for (int i = 0; i < m_listPatterns.GetItemCount(); ++i)
            rows += (i ? "|" : "") + std::string(m_listPatterns.GetItemText(i, column).GetString());
        return rows;
    }
    std::string Explanation() const
    {
        CString text;
        m_editExplanation.GetWindowText(text);
        return text.GetString();
    }
    int Template() const { return m_comboTemplate.GetCurSel(); }
    int Selected() const { return m_listPatterns.GetNextItem(-1, LVNI_SELECTED); }
    // What the field shows selected, whatever unit its positions count in.
    std::string Highlighted() const
    {
        DWORD start = 0;
        DWORD end = 0;
        m_editFilter.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                 reinterpret_cast<LPARAM>(&end));
        wchar_t wide[1024] = L"";
        ::GetWindowTextW(m_editFilter.m_hWnd, wide, 1024);
        char selected[2048] = "";
        ::WideCharToMultiByte(CP_ACP, 0, wide + start, static_cast<int>(end - start), selected,
                              sizeof(selected), nullptr, nullptr);
        return selected;
    }
    // Which of delete, edit, up and down are enabled, as "1010".
    std::string Buttons() const
    {
        std::string states;
        for (int id : {IDC_DELETE_PATTERN, IDC_EDIT_PATTERN, IDC_MOVE_UP, IDC_MOVE_DOWN})
            states += ::IsWindowEnabled(::GetDlgItem(m_hWnd, id)) ? '1' : '0';
        return states;
    }

    void Type(const char* text) { m_editFilter.SetWindowText(text); }
    void Click(int id) { SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    void SelectRow(int row) { m_listPatterns.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED); }
    void ChooseTemplate(int entry)
    {
        m_comboTemplate.SetCurSel(entry);
        SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TEMPLATE_COMBO, CBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(m_comboTemplate.m_hWnd));
    }
    // Renames a row the way the list reports it; null text is a cancelled edit.
    void EndLabelEdit(int row, const char* text)
    {
        NMLVDISPINFOA info = {};
        info.hdr = {m_listPatterns.m_hWnd, IDC_PATTERN_LIST, static_cast<UINT>(LVN_ENDLABELEDITA)};
        info.item.iItem = row;
        info.item.mask = LVIF_TEXT;
        info.item.pszText = const_cast<LPSTR>(text);
        SendMessage(WM_NOTIFY, IDC_PATTERN_LIST, reinterpret_cast<LPARAM>(&info));
    }

protected:
    BOOL OnInitDialog() override
    {
        const BOOL bResult = CFilterEditDlg::OnInitDialog();
        PostMessage(WM_APP);
        return bResult;
    }
    LRESULT OnPlay(WPARAM, LPARAM)
    {
        m_script(*this);
        // A script that stopped early must not leave the dialog open.
        PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
        return 0;
    }
    DECLARE_MESSAGE_MAP()

private:
    Script m_script;
};

BEGIN_MESSAGE_MAP(EditorDriver, CFilterEditDlg)
    ON_MESSAGE(WM_APP, OnPlay)
END_MESSAGE_MAP()

const char kSmallCatalogue[] =
    "[Template]\r\n"
    "1=VC,Visual C++,*.obj;*.pdb\r\n"
    "2=TMP,Temporary,*.tmp\r\n"
    "[Explanation]\r\n"
    "1=UserDef,own\\n\\nfilter\r\n"
    "2=vc,first\\nsecond\r\n";

}  // namespace

TEST(FilterEditDlg, TheTemplateBoxAndTheExplanationFollowTheText)
{
    CatalogueBesideExe catalogue(kSmallCatalogue);
    EditorDriver dlg;
    dlg.Play("*.OBJ;*.PDB", [](EditorDriver& d) {
        EXPECT_EQ(d.Template(), 1);
        EXPECT_EQ(d.Explanation(), "first\r\nsecond");
        d.Type("*.OBJ;*.PDBx");
        EXPECT_EQ(d.Template(), 0);
        EXPECT_EQ(d.Explanation(), "own\r\nfilter");
        d.Type("*.tmp");
        EXPECT_EQ(d.Template(), 0) << "typing a template's filter does not choose it";
        d.ChooseTemplate(2);
        EXPECT_EQ(d.Field(), "*.tmp");
        EXPECT_EQ(d.Explanation(), "");
        d.ChooseTemplate(0);
        EXPECT_EQ(d.Field(), "");
        EXPECT_EQ(d.Rows(), "");
    });
    dlg.Play("*.tmp;*.bak", [](EditorDriver& d) {
        EXPECT_EQ(d.Template(), 0);
        EXPECT_EQ(d.Explanation(), "own\r\nfilter");
    });
}

TEST(FilterEditDlg, RowsAreThePatternsOfTheTextWhichOkReturnsUnchanged)
{
    CatalogueBesideExe catalogue(kSmallCatalogue);
    EditorDriver dlg;
    const int result = dlg.Play(";\x95\x5C.obj;;*.pdb;", [](EditorDriver& d) {
        EXPECT_EQ(d.Rows(), "\x95\x5C.obj|*.pdb");
        EXPECT_EQ(d.Selected(), -1);
        EXPECT_EQ(d.Buttons(), "0000");
        d.SelectRow(1);
        EXPECT_EQ(d.Highlighted(), "*.pdb");
        EXPECT_EQ(d.Buttons(), "1110");
        d.SelectRow(0);
        EXPECT_EQ(d.Highlighted(), "\x95\x5C.obj");
        EXPECT_EQ(d.Buttons(), "1101");
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDC_ADD_PATTERN)));
        d.Click(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_STREQ(dlg.m_strFilterText, ";\x95\x5C.obj;;*.pdb;");

    dlg.Play("only", [](EditorDriver& d) {
        d.SelectRow(0);
        EXPECT_EQ(d.Buttons(), "1100") << "one row moves neither way";
    });
}

TEST(FilterEditDlg, RowCommandsWriteTheTextBack)
{
    CatalogueBesideExe catalogue(kSmallCatalogue);
    EditorDriver dlg;
    dlg.Play("", [](EditorDriver& d) {
        EXPECT_EQ(d.Explanation(), "own\r\nfilter");
        EXPECT_EQ(d.Buttons(), "0000");
        d.Click(IDC_ADD_PATTERN);
        EXPECT_EQ(d.Field(), "*.*");
        EXPECT_EQ(d.Selected(), 0);
        EXPECT_EQ(d.Highlighted(), "*.*");
        d.Type("a;");
        d.Click(IDC_ADD_PATTERN);
        EXPECT_EQ(d.Field(), "a;*.*");
        d.Click(IDC_ADD_PATTERN);
        EXPECT_EQ(d.Field(), "a;*.*;*.*");
        EXPECT_EQ(d.Selected(), 2);

        d.Type("a;b;c");
        d.SelectRow(0);
        d.Click(IDC_MOVE_DOWN);
        EXPECT_EQ(d.Field(), "b;a;c");
        EXPECT_EQ(d.Selected(), 1);
        d.Click(IDC_MOVE_UP);
        EXPECT_EQ(d.Field(), "a;b;c");
        EXPECT_EQ(d.Selected(), 0);

        d.SelectRow(1);
        d.Click(IDC_DELETE_PATTERN);
        EXPECT_EQ(d.Field(), "a;c");
        EXPECT_EQ(d.Selected(), -1);
        EXPECT_EQ(d.Buttons(), "0000");

        d.EndLabelEdit(0, "x;y");
        EXPECT_EQ(d.Rows(), "x|y|c");
        EXPECT_EQ(d.Selected(), 0);
        d.EndLabelEdit(1, nullptr);
        EXPECT_EQ(d.Field(), "x;y;c");
        d.EndLabelEdit(1, "");
        EXPECT_EQ(d.Field(), "x;;c");
        EXPECT_EQ(d.Rows(), "x|c");
    });
}

TEST(FilterEditDlg, LongPatternsSurviveOperationsOnOtherRows)
{
    CatalogueBesideExe catalogue(kSmallCatalogue);
    const std::string longPattern = std::string(300, 'L') + "*.obj";
    const std::string filter = "*.a;" + longPattern;
    EditorDriver dlg;
    dlg.Play(filter.c_str(), [&](EditorDriver& d) {
        d.SelectRow(0);
        d.Click(IDC_MOVE_DOWN);
        EXPECT_EQ(d.Field(), longPattern + ";*.a");
        d.EndLabelEdit(1, "*.b");
        EXPECT_EQ(d.Field(), longPattern + ";*.b");
        d.SelectRow(1);
        d.Click(IDC_DELETE_PATTERN);
        EXPECT_EQ(d.Field(), longPattern);
    });
}

TEST(FilterEditDlg, RenamingInTheListSplitsAtSemicolons)
{
    CatalogueBesideExe catalogue(kSmallCatalogue);
    EditorDriver dlg;
    dlg.Play("*.obj;*.pdb", [](EditorDriver& d) {
        d.SelectRow(1);
        d.Click(IDC_EDIT_PATTERN);
        HWND hEdit = ListView_GetEditControl(d.m_listPatterns.m_hWnd);
        ASSERT_NE(hEdit, nullptr);
        ::SetWindowTextA(hEdit, "*.ilk;*.idb");
        ::SendMessageA(hEdit, WM_KEYDOWN, VK_RETURN, 1);
        EXPECT_EQ(d.Field(), "*.obj;*.ilk;*.idb");
        EXPECT_EQ(d.Rows(), "*.obj|*.ilk|*.idb");
        EXPECT_EQ(d.Selected(), 1);
    });
}

TEST(FilterEditDlg, TypesComeFromTheRegisteredClass)
{
    CatalogueBesideExe catalogue(kSmallCatalogue);
    const std::string longText(300, 'x');
    const struct {
        const char* key;
        const char* value;   // null: the key has no default value
    } keys[] = {
        {".sc1test", "Scourly.Test1"},   {"Scourly.Test1", "Test One"},
        {".sc2test", "Scourly.Test2"},   {"Scourly.Test2", nullptr},
        {".sc3test", "Scourly.Missing"}, {".sc4test", nullptr},
        {".sc5test", "Scourly.Test5"},   {"Scourly.Test5", longText.c_str()},
    };
    for (const auto& k : keys) {
        HKEY hKey = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, k.key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &hKey, nullptr),
                  ERROR_SUCCESS);
        if (k.value)
            RegSetValueExA(hKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(k.value),
                           static_cast<DWORD>(strlen(k.value) + 1));
        RegCloseKey(hKey);
    }
    EditorDriver dlg;
    dlg.Play("*.SC1TEST;x.sc2test;*.sc3test;*.sc4test;*.sc5test;*.nosuchext;Makefile", [](EditorDriver& d) {
        EXPECT_EQ(d.Rows(1), "Test One|||Unknown||Unknown|Unknown");
    });
    for (const auto& k : keys)
        RegDeleteKeyA(HKEY_CLASSES_ROOT, k.key);
}

TEST(FilterEditDlg, ShippedTemplatesTakeLeftoversAndNeverSources)
{
    // What no template may take: sources, projects and outputs of the toolchains it serves.
    const char* const sources[] = {
        "main.cpp", "main.c", "main.h", "stdafx.h", "app.rc", "resource.h", "app.sln", "app.vcxproj",
        "app.vcxproj.filters", "app.ico", "app.def", "Program.cs", "App.xaml", "Resources.resx",
        "app.csproj", "app.config", "Unit1.pas", "Unit1.dfm", "Project1.dpr", "Project1.dproj",
        "Main.java", "pom.xml", "build.gradle", "lib.jar", "main.py", "setup.py", "stub.pyi",
        ".coveragerc", "requirements.txt", "index.js", "app.ts", "package.json", "package-lock.json",
        "tsconfig.json", "paper.tex", "refs.bib", "style.sty", "paper.pdf", "CMakeLists.txt",
        "toolchain.cmake", "Makefile", "main.go", "pictures", "boot.s", "README.md", ".gitignore",
        "template.html", "setup.exe", "install.bat", "app.exe", "app.dll", "app.lib", "libz.a",
    };
    const struct {
        const char* id;
        std::vector<const char*> takes;
    } cases[] = {
        {"VCPP", {"main.obj", "app.pch", "app.pdb", "vc140.idb", "app.ilk", "CL.read.1.tlog",
                  "app.lastbuildstate", "app.res", "app.exp", "main.SBR"}},
        {"VSIDE", {"app.ncb", "app.sdf", "Browse.VC.db", "app.ipch", "app.aps"}},
        {"DOTNET", {"app.pdb", "project.assets.json", "app.csproj.nuget.g.props",
                    "app.csproj.FileListAbsolute.txt", "MainWindow.baml", "app.Resources.resources",
                    "app.AssemblyReference.cache"}},
        {"DELPHI", {"Unit1.dcu", "Unit1.~pas", "Unit1.pas.~1~", "Project1.dsk", "Project1.identcache",
                    "Project1.tds", "Project1.ilc", "Project1.dproj.local"}},
        {"GCC", {"main.o", "all.h.gch", "main.gcno", "main.gcda"}},
        {"CMAKE", {"CMakeCache.txt", "cmake_install.cmake", ".ninja_log", ".ninja_deps"}},
        {"JAVA", {"Main.class", "Main$1.class", "hs_err_pid1234.log"}},
        {"PYTHON", {"main.cpython-311.pyc", "main.pyo", ".coverage", ".coverage.host.1.2"}},
        {"NODE", {"npm-debug.log", "npm-debug.log.1234", "yarn-error.log", ".eslintcache",
                  "tsconfig.tsbuildinfo"}},
        {"LATEX", {"paper.aux", "paper.log", "paper.toc", "paper.bbl", "paper.synctex.gz",
                   "paper.fdb_latexmk", "paper.run.xml"}},
        {"BACKUP", {"main.c~", "main.c.bak", ".main.c.swp", ".main.c.swo", "#main.c#", "~$report.docx",
                    "main.c.orig"}},
        {"TEMP", {"x.tmp", "x.temp", "x.$$$", "Thumbs.db", ".DS_Store", "._main.c"}},
        {"INSTLOG", {"MSI1a2b3.LOG", "dd_vs_setup_2024.log", "setupact.log", "uninstall.log"}},
        {"DUMP", {"app.dmp", "app.mdmp", "app.hdmp"}},
    };

    CFilterTemplateList templates;
    templates.Load();
    CTemplateExplanationList explanations;
    explanations.Load();
    EXPECT_NE(explanations.Find("UserDef"), "");
    ASSERT_EQ(templates.GetCount(), 1 + static_cast<int>(std::size(cases)));
    for (int i = 1; i < templates.GetCount(); ++i) {
        const FilterTemplate& t = templates.GetAt(i);
        SCOPED_TRACE(t.m_strId.GetString());
        EXPECT_EQ(t.m_strId, cases[i - 1].id);
        EXPECT_FALSE(t.m_strName.IsEmpty());
        EXPECT_FALSE(explanations.Find(t.m_strId).IsEmpty());
        CRuleItem item;
        item.m_strFilter = t.m_strFilter;
        item.CompileFilter();
        for (const char* name : cases[i - 1].takes)
            EXPECT_TRUE(item.MatchName(name, FILE_ATTRIBUTE_ARCHIVE)) << name;
        for (const char* name : sources)
            EXPECT_FALSE(item.MatchName(name, FILE_ATTRIBUTE_ARCHIVE)) << name;
    }

    // The service cuts a value at 255 bytes: every line of the file must be read whole.
    std::istringstream lines(ReadFile(ExeFolder() + "filterdef.ini"));
    for (std::string line; std::getline(lines, line);)
        EXPECT_LT(line.size(), 256u) << line.substr(0, 20);
}

namespace {

// Plays the user's part in the filter editor that the main dialog opens: act is called once the
// editor is up, and its answer closes it.
class EditorAnswerer
{
public:
    EditorAnswerer(std::function<void(HWND)> act, int answer)
    {
        s_act = std::move(act);
        s_answer = answer;
        m_hHook = ::SetWindowsHookExA(WH_CALLWNDPROCRET, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~EditorAnswerer() { ::UnhookWindowsHookEx(m_hHook); }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const CWPRETSTRUCT* pMsg = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && pMsg->message == WM_INITDIALOG &&
            ::GetDlgItem(pMsg->hwnd, IDC_PATTERN_LIST)) {
            s_act(pMsg->hwnd);
            ::PostMessageA(pMsg->hwnd, WM_COMMAND, MAKEWPARAM(s_answer, BN_CLICKED), 0);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline std::function<void(HWND)> s_act;
    static inline int s_answer = IDCANCEL;
    HHOOK m_hHook;
};

}  // namespace

TEST(MainDlgFilterEdit, TypedFieldsReachTheItemBeforeTheEditorAndOnlyOkWritesBack)
{
    CMainApp app;
    RuleFileGuard ruleFile;
    MainDlgDriver dlg;
    dlg.Play([](MainDlgDriver& d) {
        HTREEITEM hItem = d.FirstItemOf(d.FirstGroup());
        d.Select(hItem);
        auto* pItem = reinterpret_cast<CRuleItem*>(d.m_tree.GetItemData(hItem));
        d.TypeText(IDC_ITEM_FOLDER, "C:\\typed");
        {
            EditorAnswerer editor([](HWND hDlg) { ::SetDlgItemTextA(hDlg, IDC_FILTER_TEXT, "*.new"); },
                                  IDOK);
            d.Command(IDC_EDIT_FILTER);
        }
        EXPECT_EQ(d.Text(IDC_ITEM_FOLDER), "C:\\typed");
        EXPECT_EQ(d.Text(IDC_ITEM_FILTER), "*.new");
        EXPECT_STREQ(pItem->m_strFilter, "*.new");
        EXPECT_STREQ(pItem->m_strFolder, "C:\\typed");

        d.TypeText(IDC_ITEM_FILTER, "*.typed");
        {
            EditorAnswerer editor([](HWND hDlg) { ::SetDlgItemTextA(hDlg, IDC_FILTER_TEXT, "*.gone"); },
                                  IDCANCEL);
            d.Command(IDC_EDIT_FILTER);
        }
        EXPECT_EQ(d.Text(IDC_ITEM_FILTER), "*.typed");
        EXPECT_STREQ(pItem->m_strFilter, "*.typed");

        d.Select(d.FirstGroup());
        {
            EditorAnswerer editor([](HWND) { ADD_FAILURE() << "no editor for a group"; }, IDCANCEL);
            d.Command(IDC_EDIT_FILTER);
        }
        d.Escape();
    });
}
