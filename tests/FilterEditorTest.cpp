#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "filtereditor/FilterEditDlg.h"
#include "framework/Path.h"
#include "res/resource.h"
#include "rules/RuleNode.h"
#include "tests/ScriptedDialog.h"
#include "tests/TestSupport.h"

namespace {

const std::string kCataloguePath = std::string(PathBeside(GetModuleFilePath(), "filterdef.ini"));

// Writes the catalogue that the editor reads, and puts the shipped one back afterwards.
struct CatalogueGuard
{
    explicit CatalogueGuard(const std::string& text) { WriteFileBytes(kCataloguePath, text); }
    ~CatalogueGuard() { WriteFileBytes(kCataloguePath, m_shipped); }
    std::string m_shipped = ReadFileBytes(kCataloguePath);
};

// A rule item that holds one filter, compiled as a scan compiles it.
struct CompiledFilter : CRuleItem
{
    explicit CompiledFilter(const char* filter)
    {
        m_strFilter = filter;
        CompileFilter();
    }
    bool Takes(const std::string& name) const
    {
        return MatchName(name.c_str(), FILE_ATTRIBUTE_ARCHIVE) != FALSE;
    }
};

}  // namespace

TEST(FilterCatalogue, ReadsNumberedKeysUpToTheFirstGapSplitAtCommasAndCutAt255Bytes)
{
    TempFolder folder;
    const std::string path = folder / "t.ini";
    const std::string w(251, 'w');
    WriteFileBytes(path, "[template]\r\n1=A, spaced, *.a\r\n2=B,,*.b\r\n3=,C,c,*.c,extra\r\n"
                         "4=,,,\r\n5=D\r\n6=W,w," + w + "\r\n7=L,l," + std::string(296, 'l') +
                         "\r\n9=E,after the gap,*.e\r\n[Explanation]\r\n"
                         "1=c,first, cut at its comma\r\n2=C,second\r\n3=userdef,own\r\n");
    CFilterTemplateList templates;
    templates.Load(path.c_str());
    std::string text;
    for (int i = 0; i < templates.GetCount(); ++i) {
        const FilterTemplate& t = templates.GetAt(i);
        text += "[" + std::string(t.m_strId) + "|" + t.m_strName.GetString() + "|" +
                t.m_strFilter.GetString() + "]";
    }
    // Values are read up to 255 bytes: 6 whole, 7 cut.
    EXPECT_EQ(text, "[UserDef|\xD5\xB0\xBB\xDE\x92\xE8\x8B\x60|][A| spaced| *.a][B|*.b|][C|c|*.c]"
                    "[||][D||][W|w|" + w + "][L|l|" + std::string(251, 'l') + "]");
    CTemplateExplanationList explanations;
    explanations.Load(path.c_str());
    EXPECT_STREQ(explanations.Find("C"), "first");
    EXPECT_STREQ(explanations.Find("UserDef"), "own");

    // A second load replaces the first; without the file only the built-in template is left.
    templates.Load((folder / "missing.ini").c_str());
    EXPECT_EQ(templates.GetCount(), 1);
    explanations.Load((folder / "missing.ini").c_str());
    EXPECT_STREQ(explanations.Find("C"), "");
}

namespace {

// The filter editor played by a script, with what a user's actions send it.
class EditorDriver : public ScriptedDialog<EditorDriver, CFilterEditDlg>
{
public:
    std::string Rows(int column = 0) const
    {
        std::string rows;
        for (int i = 0; i < m_listPatterns.GetItemCount(); ++i)
            rows += (i ? "|" : "") + std::string(m_listPatterns.GetItemText(i, column));
        return rows;
    }
    int Selected() const { return m_listPatterns.GetNextItem(-1, LVNI_SELECTED); }
    // What the field shows selected, in whatever unit it counts positions.
    std::string Highlighted() const
    {
        DWORD start = 0, end = 0;
        wchar_t wide[256] = L"";
        char selected[512] = "";
        m_editFilter.SendMessage(EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        ::GetWindowTextW(m_editFilter.m_hWnd, wide, 256);
        ::WideCharToMultiByte(CP_ACP, 0, wide + start, end - start, selected, 512, nullptr,
                              nullptr);
        return selected;
    }
    // Delete, edit, up, down: "1" where enabled.
    std::string Buttons() const
    {
        std::string states;
        for (int id : {IDC_DELETE_PATTERN, IDC_EDIT_PATTERN, IDC_MOVE_UP, IDC_MOVE_DOWN})
            states += ::IsWindowEnabled(::GetDlgItem(m_hWnd, id)) ? '1' : '0';
        return states;
    }

    void Type(const char* text) { m_editFilter.SetWindowText(text); }
    void Click(int id) { SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED)); }
    void SelectRow(int row) { m_listPatterns.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED); }
    // What the combo box reports when the user picks an entry.
    void ChooseTemplate(int entry)
    {
        m_comboTemplate.SetCurSel(entry);
        SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TEMPLATE_COMBO, CBN_SELCHANGE),
                    (LPARAM)m_comboTemplate.m_hWnd);
    }
};

const char kCatalogue[] = "[Template]\r\n1=VC,Visual C++,*.obj;*.pdb\r\n2=TMP,Temporary,*.tmp\r\n"
                          "[Explanation]\r\n1=UserDef,own\\n\\nfilter\r\n2=vc,first\\nsecond\r\n";

}  // namespace

TEST(FilterEditDlg, TemplateBoxExplanationRowsTypesAndButtonsFollowTheTextAndRowCommandsKeepIt)
{
    CatalogueGuard catalogue(kCatalogue);
    const std::string longText(300, 'x');
    // Key and default value; a key without one has none.
    const std::pair<const char*, const char*> keys[] = {
        {".sc1test", "Scourly.T1"}, {"Scourly.T1", "Test One"}, {".sc2test", "Scourly.T2"},
        {"Scourly.T2", nullptr}, {".sc3test", "Scourly.None"}, {".sc4test", nullptr},
        {".sc5test", "Scourly.T5"}, {"Scourly.T5", longText.c_str()}};
    for (const auto& [key, value] : keys) {
        HKEY hKey = nullptr;
        ASSERT_EQ(::RegCreateKeyA(HKEY_CLASSES_ROOT, key, &hKey), ERROR_SUCCESS);
        if (value)
            ::RegSetValueExA(hKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                             static_cast<DWORD>(strlen(value) + 1));
        ::RegCloseKey(hKey);
    }
    EditorDriver dlg;
    dlg.m_strFilterText = "*.OBJ;*.PDB";
    EXPECT_EQ(IDOK, dlg.Play([](EditorDriver& d) {
        EXPECT_EQ(d.m_comboTemplate.GetCurSel(), 1);
        EXPECT_EQ(d.Text(IDC_EXPLANATION), "first\r\nsecond");
        d.Type("*.OBJ;*.PDBx");
        EXPECT_EQ(d.m_comboTemplate.GetCurSel(), 0);
        EXPECT_EQ(d.Text(IDC_EXPLANATION), "own\r\nfilter");
        d.Type("*.tmp");
        // Typing a template's filter does not choose it.
        EXPECT_EQ(d.m_comboTemplate.GetCurSel(), 0);
        d.ChooseTemplate(2);
        EXPECT_EQ(d.Text(IDC_EXPLANATION), "");
        EXPECT_EQ(d.Rows(), "*.tmp");
        d.ChooseTemplate(0);
        EXPECT_EQ(d.Rows(), "");

        // Types come from the registered class.
        d.Type("*.SC1TEST;a.sc2test;*.sc3test;*.sc4test;*.sc5test;*.nosuch;Makefile");
        EXPECT_EQ(d.Rows(1), "Test One|||Unknown||Unknown|Unknown");

        // Row commands write the text back whole.
        d.Type("");
        d.Click(IDC_ADD_PATTERN);
        EXPECT_EQ(d.Highlighted(), "*.*");
        d.Type("a;");
        d.Click(IDC_ADD_PATTERN);
        d.Click(IDC_ADD_PATTERN);
        EXPECT_EQ(d.Text(IDC_FILTER_TEXT), "a;*.*;*.*");
        const std::string longPattern(300, 'L');
        d.Type(("a;b;" + longPattern).c_str());
        d.SelectRow(0);
        d.Click(IDC_MOVE_DOWN);
        EXPECT_EQ(d.Text(IDC_FILTER_TEXT), "b;a;" + longPattern);
        EXPECT_EQ(d.Selected(), 1);
        d.Click(IDC_MOVE_UP);
        EXPECT_EQ(d.Text(IDC_FILTER_TEXT), "a;b;" + longPattern);
        EXPECT_EQ(d.Selected(), 0);
        d.SelectRow(1);
        d.Click(IDC_DELETE_PATTERN);
        EXPECT_EQ(d.Text(IDC_FILTER_TEXT), "a;" + longPattern);
        EXPECT_EQ(d.Selected(), -1);
        // The list's report of a label the user emptied.
        d.Type("a;b;c");
        NMLVDISPINFOA info = {{d.m_listPatterns, IDC_PATTERN_LIST, UINT(LVN_ENDLABELEDITA)}, {}};
        info.item.mask = LVIF_TEXT;
        info.item.pszText = const_cast<LPSTR>("");
        d.SendMessage(WM_NOTIFY, IDC_PATTERN_LIST, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(d.Text(IDC_FILTER_TEXT), ";b;c");
        d.SelectRow(1);
        d.Click(IDC_EDIT_PATTERN);
        HWND hEdit = ListView_GetEditControl(d.m_listPatterns.m_hWnd);
        ASSERT_NE(hEdit, nullptr);
        ::SetWindowTextA(hEdit, "x;y");
        ::SendMessageA(hEdit, WM_KEYDOWN, VK_RETURN, 1);
        EXPECT_EQ(d.Rows(), "b|x|y");
        EXPECT_EQ(d.Selected(), 1);

        // The rows, their buttons and the field's highlight follow the text.
        d.Type(";\x95\x5C.obj;;*.pdb;");
        EXPECT_EQ(d.Rows(), "\x95\x5C.obj|*.pdb");
        EXPECT_EQ(d.Buttons(), "0000");
        d.SelectRow(1);
        EXPECT_EQ(d.Highlighted(), "*.pdb");
        EXPECT_EQ(d.Buttons(), "1110");
        d.SelectRow(0);
        EXPECT_EQ(d.Highlighted(), "\x95\x5C.obj");
        EXPECT_EQ(d.Buttons(), "1101");
        d.Click(IDOK);
    }));
    EXPECT_STREQ(dlg.m_strFilterText, ";\x95\x5C.obj;;*.pdb;");
    for (const auto& key : keys)
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, key.first);
}

// Sources, projects and outputs that some template's pattern comes close to; the corpus test below
// measures the templates on real projects.
TEST(FilterEditDlg, ShippedTemplatesTakeOddNamesButNeverSourcesAndReadAndShowWhole)
{
    const std::string sources =
        "main.cpp main.c main.h stdafx.h app.rc app.sln app.vcxproj app.vcxproj.filters app.def "
        "Program.cs App.xaml Resources.resx a.csproj app.config Unit1.pas Unit1.dfm P.dpr P.dproj "
        "Main.java pom.xml lib.jar main.py stub.pyi .coveragerc requirements.txt index.js "
        "package.json paper.tex refs.bib style.sty paper.pdf CMakeLists.txt toolchain.cmake "
        "Makefile main.go pictures boot.s README.md .gitignore template.html setup.exe install.bat "
        "app.exe app.dll app.lib libz.a App_Prefix.pch Tests-Prefix.pch main.d core core.c "
        ".env.local";
    CFilterTemplateList templates;
    templates.Load();
    CTemplateExplanationList explanations;
    explanations.Load();
    EXPECT_NE(explanations.Find("UserDef"), "");
    ASSERT_GE(templates.GetCount(), 15);
    for (int i = 1; i < templates.GetCount(); ++i) {
        const FilterTemplate& t = templates.GetAt(i);
        SCOPED_TRACE(t.m_strId.GetString());
        EXPECT_NE(explanations.Find(t.m_strId), "");
        const CompiledFilter filter(t.m_strFilter);
        std::istringstream names(sources);
        for (std::string name; names >> name;)
            EXPECT_FALSE(filter.Takes(name)) << name;
    }
    // Leftovers whose names hold what a pattern must not read as its own syntax.
    for (const char* name : {"Main$1.class", "x.$$$", "paper.synctex(busy)", "#main.c#",
                             "~$report.docx", ".coverage.host.1.2", "CL.read.1.tlog",
                             "main.c.gcov"}) {
        bool bTaken = false;
        for (int i = 1; i < templates.GetCount(); ++i)
            bTaken = bTaken || CompiledFilter(templates.GetAt(i).m_strFilter).Takes(name);
        EXPECT_TRUE(bTaken) << name;
    }
    // The service cuts a value at 255 bytes: every line is to be read whole.
    std::istringstream lines(ReadFileBytes(kCataloguePath));
    for (std::string line; std::getline(lines, line);)
        EXPECT_LT(line.size(), 256u) << line.substr(0, 20);

    // The explanation box cuts each line at its right edge: every line fits, in the box's font.
    EditorDriver dlg;
    dlg.Play([](EditorDriver& d) {
        ASSERT_GE(d.m_comboTemplate.GetCount(), 15);
        RECT rc = {};
        d.m_editExplanation.SendMessage(EM_GETRECT, 0, (LPARAM)&rc);
        HDC hdc = ::GetDC(d.m_editExplanation.m_hWnd);
        HGDIOBJ hOldFont = ::SelectObject(hdc, d.m_editExplanation.GetFont());
        for (int i = 0; i < d.m_comboTemplate.GetCount(); ++i) {
            d.ChooseTemplate(i);
            std::istringstream lines(d.Text(IDC_EXPLANATION));
            for (std::string line; std::getline(lines, line);) {
                line.erase(line.find_last_not_of('\r') + 1);
                SIZE size = {};
                ::GetTextExtentPoint32A(hdc, line.c_str(), int(line.size()), &size);
                EXPECT_LE(size.cx, rc.right - rc.left) << i << ": " << line;
            }
        }
        ::SelectObject(hdc, hOldFont);
        ::ReleaseDC(d.m_editExplanation.m_hWnd, hdc);
    });
}

// The files that public projects commit: tests/data/corpus.tar.xz, which the build unpacks beside
// the tests (scripts/corpus adds a project). A default template that takes one of them deletes real
// work, unless the name is on the list below. An opt-in template, whose name asks the user to check
// first, is measured too but may take more. The figures go to the output.
TEST(FilterCatalogueCorpus, DefaultTemplatesTakeNoCommittedWorkOfPublicProjects)
{
    // Reviewed: clashes that the template's explanation names, and leftovers of the template's own
    // kind that projects commit anyway.
    const std::pair<const char*, const char*> allowed[] = {
        {"VCPP", "*\\.obj;*\\.pdb;*[^x]\\.pch"},  // 3D models, linked objects, proteins, headers
        {"DELPHI", "*\\.dsk;*\\.drc"},  // desktops and resource string lists of old demos
        {"GCC", "*\\.o;*\\.lo;*\\.gcov"},  // libtool objects, prebuilt objects, test inputs
        {"CMAKE", "CMakeCache\\.txt;cmake_install\\.cmake"},  // CMake's own tests read them
        {"JAVA", "*\\.class"},  // compiled classes as test inputs
        {"BACKUP", "*~"},  // empty placeholders named like backups
    };
    struct Name
    {
        int nCount = 0;
        std::string strFirstPath;
    };
    std::map<std::string, Name> names;
    std::ifstream corpus(std::string(PathBeside(GetModuleFilePath(), "corpus.txt")));
    std::string strProject;
    for (std::string line; std::getline(corpus, line);) {
        if (line[0] == '/') {
            strProject = line.substr(1, line.find(' ') - 1);
            continue;
        }
        Name& name = names[line.substr(line.rfind('/') + 1)];
        if (name.nCount++ == 0)
            name.strFirstPath = strProject + ":" + line;
    }
    ASSERT_GT(names.size(), 100000u);

    const std::string optIn = "(\x97\x76\x8A\x6D\x94\x46)";
    CFilterTemplateList templates;
    templates.Load();
    int nOptIn = 0;
    for (int i = 1; i < templates.GetCount(); ++i) {
        const FilterTemplate& t = templates.GetAt(i);
        const std::string strName = t.m_strName.GetString();
        const bool bOptIn = strName.size() > optIn.size() &&
                            strName.rfind(optIn) == strName.size() - optIn.size();
        nOptIn += bOptIn;
        const char* pszAllowed = "";
        for (const auto& [id, filter] : allowed)
            pszAllowed = t.m_strId == id ? filter : pszAllowed;
        const CompiledFilter filter(t.m_strFilter), allowance(pszAllowed);
        int nTaken = 0, nAllowed = 0, nUnexplained = 0;
        std::string unexplained;
        for (const auto& [strBase, name] : names) {
            if (!filter.Takes(strBase))
                continue;
            nTaken += name.nCount;
            if (allowance.Takes(strBase))
                nAllowed += name.nCount;
            else if (!bOptIn && ++nUnexplained <= 10)
                unexplained += "\n  " + name.strFirstPath + " (" + std::to_string(name.nCount) +
                               " files of that name)";
        }
        std::printf("%-9s %6d files taken, %4d allowed%s\n", t.m_strId.GetString(), nTaken,
                    nAllowed, bOptIn ? " (opt-in)" : "");
        EXPECT_EQ(nUnexplained, 0) << t.m_strId.GetString() << " takes committed work:"
                                   << unexplained;
    }
    EXPECT_LE(nOptIn, 3);
}
