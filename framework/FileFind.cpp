#include "framework/FileFind.h"

#include <cstring>

namespace {

CString FullPath(LPCSTR path)
{
    CString full;
    DWORD size = MAX_PATH;
    // GetFullPathNameA returns the size it needs, terminator included, when the buffer is short.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD got = GetFullPathNameA(path, size, full.GetBuffer(static_cast<int>(size)), nullptr);
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

int LastSeparator(const CString& path)
{
    const int slash = path.ReverseFind('/');
    const int backslash = path.ReverseFind('\\');
    return slash > backslash ? slash : backslash;
}

}

CFileFind::~CFileFind()
{
    Close();
}

void CFileFind::Close()
{
    if (m_hFind != INVALID_HANDLE_VALUE) {
        FindClose(m_hFind);
        m_hFind = INVALID_HANDLE_VALUE;
    }
    m_bHasNext = false;
}

BOOL CFileFind::FindFile(LPCSTR pattern)
{
    Close();
    m_current = WIN32_FIND_DATAA{};
    m_strRoot.Empty();
    m_hFind = FindFirstFileA(pattern, &m_next);
    if (m_hFind == INVALID_HANDLE_VALUE) {
        m_dwFindError = GetLastError();
        return FALSE;
    }
    m_bHasNext = true;
    m_dwFindError = 0;
    const CString full = FullPath(pattern);
    const int cut = LastSeparator(full);
    m_strRoot = cut >= 0 ? full.Left(cut) : full;
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (!m_bHasNext)
        return FALSE;
    m_current = m_next;
    if (::FindNextFileA(m_hFind, &m_next)) {
        m_dwFindError = 0;
        return TRUE;
    }
    m_dwFindError = GetLastError();
    m_bHasNext = false;
    return FALSE;
}

CString CFileFind::GetFilePath() const
{
    CString path = m_strRoot;
    const int length = path.GetLength();
    if (length == 0 || LastSeparator(path) != length - 1)
        path += '\\';
    path += m_current.cFileName;
    return path;
}

BOOL CFileFind::IsDots() const
{
    return IsDirectory()
        && (std::strcmp(m_current.cFileName, ".") == 0 || std::strcmp(m_current.cFileName, "..") == 0);
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
