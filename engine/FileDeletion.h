#pragma once

#include <windows.h>

#include <string>

#include "framework/String.h"

// Deletes the file that a path names, and only that entry of its folder: never the target of a link.
// Under Wine a symbolic link to a file reads as a plain file, and DeleteFileA on it removes the
// target and leaves the link; a link that cannot be told apart from its target and deleted by
// itself is left alone. Folders are never deleted.
//
// TRUE only when the file is gone afterwards, or its deletion is pending until another program that
// shares it for deletion closes it: the platform can report success and leave the file (under Wine,
// a read-only folder of another user).
class CFileDeleter
{
public:
    BOOL Delete(const CString& path);

private:
    // The files of one folder come one after another: its resolved path is asked for once.
    const std::wstring& ResolvedFolder(const std::wstring& folder);
    bool IsEntryItself(HANDLE hFile, const std::wstring& path);

    std::wstring m_strFolder;
    std::wstring m_strResolvedFolder;
};
