#pragma once

#include <windows.h>

#include "framework/String.h"

// Folder search over FindFirstFileA/FindNextFileA with the dialog framework's stepping rules:
//
//     CFileFind find;
//     BOOL more = find.FindFile("C:\\temp\\*.*");
//     while (more) {
//         more = find.FindNextFile();   // makes the next entry current
//         ... use the current entry ...
//     }
//
// FindNextFile returns whether yet another entry follows the one it made current; when it returns
// FALSE the current entry is still valid, and GetFindError() tells why the search ended
// (ERROR_NO_MORE_FILES at the normal end, another Win32 error otherwise). Each entry is made
// current once; the search never retries a failed step.
//
// Wildcards in the pattern also match generated 8.3 names, and GetFileName is always the long name.
//
// The entries are read with the wide calls and converted to the ANSI code page here, because the
// ANSI calls convert with best fit: "¥" comes back as a backslash and "é" as "e", so a name they
// return can name another file, or read as a path ("..¥x" reads "..\x"). IsNameExact tells whether
// the name names exactly the entry the search returned.
class CFileFind
{
public:
    CFileFind() = default;
    ~CFileFind();
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // FALSE (and GetFindError() set) when the folder cannot be searched, or its full path cannot
    // be made.
    BOOL FindFile(LPCSTR pattern);
    BOOL FindNextFile();
    void Close();
    DWORD GetFindError() const { return m_dwFindError; }

    // The searched folder's absolute path: the full-path form of the pattern, cut before its last
    // "\" or "/" ("C:" for "C:\*.*").
    CString GetRoot() const { return m_strRoot; }
    // Characters the code page cannot carry exactly, and those no name can hold, read "?".
    CString GetFileName() const { return m_strName; }
    // FALSE when GetFileName, used as a name, could reach anything but this entry: a character was
    // not converted exactly or does not convert back, or the name holds a separator, a wildcard or
    // a character that paths give another meaning, or it ends in a dot or a space, which paths
    // drop, or it names a device ("con.obj").
    BOOL IsNameExact() const { return m_bNameExact; }
    // The name as the file system stores it.
    LPCWSTR GetStoredName() const { return m_current.cFileName; }
    // GetRoot(), a "\" unless the root already ends in "\" or "/", then the name.
    CString GetFilePath() const;

    DWORD GetAttributes() const { return m_current.dwFileAttributes; }
    BOOL MatchesMask(DWORD mask) const { return (m_current.dwFileAttributes & mask) != 0; }
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    // A folder entry named "." or "..".
    BOOL IsDots() const;
    ULONGLONG GetLength() const;
    BOOL GetLastWriteTime(FILETIME* time) const;

private:
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW m_current = {};
    WIN32_FIND_DATAW m_next = {};
    CString m_strName;
    BOOL m_bNameExact = FALSE;
    bool m_bHasNext = false;
    DWORD m_dwFindError = 0;
    CString m_strRoot;
};
