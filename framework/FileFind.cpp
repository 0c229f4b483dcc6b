#include "framework/FileFind.h"

#include <cwchar>

#include "framework/Path.h"

namespace {

// Separators, wildcards, the stream and device marks, and the control characters never belong to a
// name that a path may carry.
bool IsReservedInPaths(WCHAR ch)
{
    return ch < 0x20 || std::wcschr(L"\\/:*?\"<>|", ch) != nullptr;
}

bool IsDotsName(const WCHAR* name)
{
    return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0;
}

// Names whose stem (before the first dot, trailing spaces dropped) is a device: every path that
// ends in such a name opens the device, not the file ("con.obj" is the console). Newer systems
// gave up some of these, but a name that some system reads as a device is never a file to delete.
bool IsDeviceName(const WCHAR* name)
{
    static const WCHAR* const devices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    size_t stem = std::wcscspn(name, L".");
    while (stem > 0 && name[stem - 1] == L' ')
        --stem;
    if (stem == 4 && (::_wcsnicmp(name, L"COM", 3) == 0 || ::_wcsnicmp(name, L"LPT", 3) == 0))
        return (name[3] >= L'0' && name[3] <= L'9')
            || std::wcschr(L"\x00B9\x00B2\x00B3", name[3]) != nullptr;
    for (const WCHAR* device : devices) {
        if (std::wcslen(device) == stem && ::_wcsnicmp(name, device, stem) == 0)
            return true;
    }
    return false;
}

// The ANSI form of a found name, and whether it names exactly that entry. Without best fit, what
// the code page lacks becomes "?", which no name holds, and every other character converts back
// to itself.
bool ConvertFoundName(const WCHAR (&wide)[MAX_PATH], CString& name)
{
    WCHAR shown[MAX_PATH];
    // The find data holds the name with its terminator.
    const size_t length = std::wcslen(wide);
    bool exact = true;
    for (size_t i = 0; i < length; ++i) {
        shown[i] = wide[i];
        if (IsReservedInPaths(wide[i])) {
            shown[i] = L'?';
            exact = false;
        }
    }
    // Paths drop a name's trailing dots and spaces: "x.obj." would reach "x.obj".
    if (length > 0 && (wide[length - 1] == L'.' || wide[length - 1] == L' ') && !IsDotsName(wide))
        exact = false;
    if (IsDeviceName(wide))
        exact = false;

    char bytes[MAX_PATH * 2];
    BOOL bUsedDefault = FALSE;
    const int nBytes = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, shown,
                                             static_cast<int>(length), bytes, sizeof bytes, "?",
                                             &bUsedDefault);
    if (nBytes <= 0 && length > 0) {
        name = "?";
        return false;
    }
    name = CString(bytes, nBytes);
    return exact && !bUsedDefault
        && ReadsBackExactly(bytes, nBytes, shown, static_cast<int>(length));
}

CString FullPath(LPCSTR path)
{
    CString full;
    DWORD size = MAX_PATH;
    // GetFullPathNameA returns the size it needs, terminator included, when the buffer is short.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD got =
            ::GetFullPathNameA(path, size, full.GetBuffer(static_cast<int>(size)), nullptr);
        if (got == 0) {
            full.Empty();
            return full;
        }
        if (got < size) {
            full.ReleaseBuffer(static_cast<int>(got));
            return full;
        }
        size = got + 1;
    }
    full.Empty();
    return full;
}

}

CFileFind::~CFileFind()
{
    Close();
}

void CFileFind::Close()
{
    if (m_hFind != INVALID_HANDLE_VALUE) {
        ::FindClose(m_hFind);
        m_hFind = INVALID_HANDLE_VALUE;
    }
    m_bHasNext = false;
}

BOOL CFileFind::FindFile(LPCSTR pattern)
{
    Close();
    m_current = WIN32_FIND_DATAW{};
    m_strName.Empty();
    m_bNameExact = FALSE;
    m_strRoot.Empty();
    WCHAR widePattern[MAX_PATH];
    // A pattern that is no text of the code page, or too long for the ANSI calls, cannot be
    // searched by them either.
    if (::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, pattern, -1, widePattern, MAX_PATH)
        == 0) {
        m_dwFindError = ::GetLastError() == ERROR_INSUFFICIENT_BUFFER ? ERROR_FILENAME_EXCED_RANGE
                                                                    : ERROR_INVALID_NAME;
        return FALSE;
    }
    m_hFind = ::FindFirstFileW(widePattern, &m_next);
    if (m_hFind == INVALID_HANDLE_VALUE) {
        m_dwFindError = ::GetLastError();
        return FALSE;
    }
    const CString full = FullPath(pattern);
    // Without its full path a relative folder's entries would read as entries of the drive's
    // root: the search does not start.
    if (full.IsEmpty()) {
        m_dwFindError = ::GetLastError() != ERROR_SUCCESS ? ::GetLastError()
                                                          : ERROR_FILENAME_EXCED_RANGE;
        Close();
        return FALSE;
    }
    m_bHasNext = true;
    m_dwFindError = 0;
    const int cut = FindLastPathSeparator(full);
    m_strRoot = cut >= 0 ? full.Left(cut) : full;
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (!m_bHasNext)
        return FALSE;
    m_current = m_next;
    m_bNameExact = ConvertFoundName(m_current.cFileName, m_strName);
    if (::FindNextFileW(m_hFind, &m_next)) {
        m_dwFindError = 0;
        return TRUE;
    }
    m_dwFindError = ::GetLastError();
    m_bHasNext = false;
    return FALSE;
}

CString CFileFind::GetFilePath() const
{
    CString path = m_strRoot;
    if (!EndsWithPathSeparator(path))
        path += '\\';
    path += m_strName;
    return path;
}

BOOL CFileFind::IsDots() const
{
    return IsDirectory() && IsDotsName(m_current.cFileName);
}

ULONGLONG CFileFind::GetLength() const
{
    return (static_cast<ULONGLONG>(m_current.nFileSizeHigh) << 32) | m_current.nFileSizeLow;
}

BOOL CFileFind::GetLastWriteTime(FILETIME* time) const
{
    if (!time)
        return FALSE;
    *time = m_current.ftLastWriteTime;
    return TRUE;
}
