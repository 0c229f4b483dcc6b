#include "tests/TestSupport.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "framework/String.h"

namespace {

// The hook's answerer: one at a time.
DialogAnswerer* g_pAnswerer = nullptr;

// Wine starts a host executable named by its host path (its own link call is a stub), but gives
// no handle to wait on: the caller's condition tells when the command has taken effect.
bool RunHostCommand(std::string commandLine, const std::function<bool()>& done)
{
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &si, &pi))
        return false;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    for (int wait = 0; wait < 500 && !done(); ++wait)
        ::Sleep(10);
    return done();
}

// The wide calls take a verbatim path as it stands, so that names like devices ("con.obj") are
// files too.
std::wstring VerbatimPath(const std::string& folder, const std::wstring& relative)
{
    return L"\\\\?\\" + Wide(folder) + L"\\" + relative;
}

// The folders on the way to a verbatim path.
void CreateFoldersTo(const std::wstring& path)
{
    for (size_t pos = path.find(L'\\', 7); pos != std::wstring::npos;
         pos = path.find(L'\\', pos + 1))
        ::CreateDirectoryW(path.substr(0, pos).c_str(), nullptr);
}

std::string HostPath(const std::string& path)
{
    // Test folders live under Z:, which is the host's root.
    std::string host = path.substr(2);
    std::replace(host.begin(), host.end(), '\\', '/');
    return host;
}

void RemoveWideTree(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    HANDLE hFind = ::FindFirstFileW((path + L"\\*").c_str(), &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                ::RemoveDirectoryW(child.c_str());
                ::DeleteFileW(child.c_str());
            } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveWideTree(child);
            } else {
                ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(hFind, &data));
        ::FindClose(hFind);
    }
    ::RemoveDirectoryW(path.c_str());
}

}  // namespace

TempFolder::TempFolder()
{
    // The host's /tmp is always under Z:, so links can be made there by the host's own tools.
    for (unsigned n = ::GetTickCount();; ++n) {
        m_path = "Z:\\tmp\\scourly-" + std::to_string(::GetCurrentProcessId()) + "-" +
                 std::to_string(n);
        if (::CreateDirectoryA(m_path.c_str(), nullptr) || ::GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
}

void TempFolder::AddFile(const std::string& relative, DWORD size, DWORD attributes) const
{
    AddWideFile(Wide(relative), size, attributes);
}

void TempFolder::AddWideFile(const std::wstring& relative, DWORD size, DWORD attributes) const
{
    const std::wstring path = VerbatimPath(m_path, relative);
    CreateFoldersTo(path);
    if (path.back() == L'\\')
        return;
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return;
    LARGE_INTEGER end;
    end.QuadPart = size;
    ::SetFilePointerEx(hFile, end, nullptr, FILE_BEGIN);
    ::SetEndOfFile(hFile);
    ::CloseHandle(hFile);
    if (attributes)
        ::SetFileAttributesW(path.c_str(), attributes);
}

bool TempFolder::WideExists(const std::wstring& relative) const
{
    return ::GetFileAttributesW(VerbatimPath(m_path, relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool TempFolder::AddLink(const std::string& relative, const std::string& targetPath) const
{
    CreateFoldersTo(VerbatimPath(m_path, Wide(relative)));
    return RunHostCommand("/bin/ln -s " + HostPath(targetPath) + " " + HostPath(*this / relative),
                          [&] { return Exists(relative); });
}

bool TempFolder::RemoveLink(const std::string& relative) const
{
    return RunHostCommand("/bin/rm " + HostPath(*this / relative),
                          [&] { return !Exists(relative); });
}

void RemoveTree(const std::string& path)
{
    // Verbatim, so that files named like devices ("con.obj") go too.
    RemoveWideTree(L"\\\\?\\" + Wide(path));
}

std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size() + 1, L'\0');
    wide.resize(static_cast<size_t>(::MultiByteToWideChar(
                    CP_ACP, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size())))
                - 1);
    return wide;
}

bool PathExists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string WindowText(HWND hWnd)
{
    char text[512] = "";
    ::GetWindowTextA(hWnd, text, sizeof(text));
    return text;
}

std::string LoadText(UINT id)
{
    CString text;
    text.LoadString(id);
    return static_cast<LPCSTR>(text);
}

const std::string kCountPrefix = "\xCC\xA7\xB2\xD9\x90\x94 : ";
const std::string kTotalPrefix = " \x8D\x87\x8C\x76: ";

DialogAnswerer::DialogAnswerer(int answer, std::function<void(HWND)> look)
    : m_nAnswer(answer), m_look(std::move(look))
{
    g_pAnswerer = this;
    m_hHook = ::SetWindowsHookExA(WH_CALLWNDPROCRET, Hook, nullptr, ::GetCurrentThreadId());
}

DialogAnswerer::~DialogAnswerer()
{
    ::UnhookWindowsHookEx(m_hHook);
    g_pAnswerer = nullptr;
}

// A dialog is set up once its WM_INITDIALOG has returned; the answer is posted then, as if the
// user clicked at once. Child dialogs are parts of the one that opened.
LRESULT CALLBACK DialogAnswerer::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* pMsg = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && pMsg->message == WM_INITDIALOG &&
        !(::GetWindowLongA(pMsg->hwnd, GWL_STYLE) & WS_CHILD)) {
        DialogAnswerer& answerer = *g_pAnswerer;
        char text[512] = "";
        ::GetDlgItemTextA(pMsg->hwnd, 0xFFFF, text, sizeof(text));
        answerer.m_strText = text;
        ++answerer.m_nCount;
        if (answerer.m_look)
            answerer.m_look(pMsg->hwnd);
        ::PostMessageA(pMsg->hwnd, WM_COMMAND, MAKEWPARAM(answerer.m_nAnswer, BN_CLICKED), 0);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
