#include "engine/FileDeletion.h"

#include <windows.h>

#include <string>
#include <unordered_set>

namespace {

const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::wstring WidePath(const CString& path)
{
    const int length = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, nullptr, 0);
    if (length <= 1)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

// The path the system resolves an open file to: links followed, in its stored case.
std::wstring FinalPath(HANDLE hFile)
{
    std::wstring path(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD got = ::GetFinalPathNameByHandleW(hFile, &path[0],
                                                      static_cast<DWORD>(path.size()), 0);
        if (got == 0)
            break;
        // A short buffer gets the size it needs, terminator included.
        if (got < path.size()) {
            path.resize(got);
            return path;
        }
        path.resize(got);
    }
    return std::wstring();
}

bool MarkForDeletion(HANDLE hFile)
{
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return ::SetFileInformationByHandle(hFile, FileDispositionInfo, &disposition,
                                        sizeof disposition) != FALSE;
}

// Whether a file marked for deletion stays only until another program closes it. Windows then
// denies every new handle; Wine shows the file as it was, and only sharing tells that it is held.
bool IsDeletionPending(const std::wstring& path)
{
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile != INVALID_HANDLE_VALUE) {
        ::CloseHandle(hFile);
        return false;
    }
    switch (::GetLastError()) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_ACCESS_DENIED:
    case ERROR_DELETE_PENDING:
        return true;
    default:
        return false;
    }
}

// The names in a folder (ending in a separator), as stored. FALSE when it cannot be listed whole.
bool ListFolder(const std::wstring& folder, std::unordered_set<std::wstring>& names)
{
    WIN32_FIND_DATAW data;
    HANDLE hFind = ::FindFirstFileW((folder + L"*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    do
        names.insert(data.cFileName);
    while (::FindNextFileW(hFind, &data));
    const bool bWhole = ::GetLastError() == ERROR_NO_MORE_FILES;
    ::FindClose(hFind);
    return bWhole;
}

}  // namespace

std::wstring ResolveFolderPath(const CString& folder)
{
    std::wstring wide = WidePath(folder);
    // "C:" alone is the current folder of drive C, not its root.
    if (wide.size() == 2 && wide[1] == L':')
        wide += L'\\';
    if (wide.empty())
        return wide;
    HANDLE hFolder = ::CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFolder == INVALID_HANDLE_VALUE)
        return std::wstring();
    std::wstring path = FinalPath(hFolder);
    ::CloseHandle(hFolder);
    return path;
}

std::wstring JoinResolvedPath(const std::wstring& resolvedFolder, LPCWSTR name)
{
    if (resolvedFolder.empty())
        return resolvedFolder;
    std::wstring path = resolvedFolder;
    if (path.back() != L'\\')
        path += L'\\';
    return path += name;
}

namespace {

// Windows opens a link itself when asked to, and then resolves the handle to the link's own path;
// Wine opens what the link leads to whatever it is asked. Either way the handle is the entry that
// was found only when it resolves to the folder as it was resolved when it was walked, and the
// entry's own name: a folder on the path that has since become a link leads elsewhere.
bool IsEntryItself(HANDLE hFile, const std::wstring& resolvedFolder, const std::wstring& name)
{
    const std::wstring actual = FinalPath(hFile);
    return !actual.empty() && !resolvedFolder.empty()
        && actual == JoinResolvedPath(resolvedFolder, name.c_str());
}

}  // namespace

BOOL CFileDeleter::Mark(const CString& path, const std::wstring& resolvedFolder, int nTag)
{
    const std::wstring wide = WidePath(path);
    const size_t cut = wide.find_last_of(L"\\/");
    if (cut == std::wstring::npos || cut + 1 == wide.size())
        return FALSE;
    const std::wstring folder = wide.substr(0, cut + 1);
    const std::wstring name = wide.substr(cut + 1);
    if (folder != m_strMarkedFolder)
        DecideAll();
    // Without backup semantics a folder does not open, and so is never deleted.
    HANDLE hFile = ::CreateFileW(wide.c_str(), DELETE | FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    const bool bMarked = IsEntryItself(hFile, resolvedFolder, name) && MarkForDeletion(hFile);
    ::CloseHandle(hFile);
    if (!bMarked)
        return FALSE;
    m_strMarkedFolder = folder;
    m_marked.push_back({nTag, name});
    return TRUE;
}

void CFileDeleter::DecideAll()
{
    if (m_marked.empty())
        return;
    std::unordered_set<std::wstring> remaining;
    const bool bListed = ListFolder(m_strMarkedFolder, remaining);
    for (const Marked& marked : m_marked) {
        const std::wstring path = m_strMarkedFolder + marked.strName;
        const bool bStays = bListed ? remaining.count(marked.strName) != 0
                                    : ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        m_decisions.emplace_back(marked.nTag, !bStays || IsDeletionPending(path));
    }
    m_marked.clear();
}

std::vector<CFileDeleter::Decision> CFileDeleter::TakeDecisions()
{
    std::vector<Decision> decisions;
    decisions.swap(m_decisions);
    return decisions;
}
