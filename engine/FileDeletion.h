#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/String.h"

// The path the system resolves a folder to, links followed, in the case it is stored in: what the
// walk records of the folder a file was found in. Empty when the folder cannot be opened.
std::wstring ResolveFolderPath(const CString& folder);
// A resolved folder and a name as stored, joined; empty when the folder is.
std::wstring JoinResolvedPath(const std::wstring& resolvedFolder, LPCWSTR name);

// Deletes the files that paths name, and only those entries of the folders that were walked: never
// the target of a link, nor a file that a folder swapped for a link since leads to. Under Wine a
// symbolic link to a file reads as a plain file, and DeleteFileA on it removes the target and
// leaves the link; a link that cannot be told apart from its target and deleted by itself is left
// alone. Folders are never deleted.
//
// The platform can report a deletion and leave the file (under Wine, in a read-only folder of
// another user), so a file counts as deleted only when it is gone afterwards, or held open by
// another program that shares it for deletion, which removes it when it closes it. Under Wine,
// asking for a name that is not there reads the whole folder, which made checking each deletion of
// a large folder cost the square of its size: a marked file is checked together with the other
// files of its folder, in one listing, when a file of another folder is marked or when asked.
class CFileDeleter
{
public:
    // The tag given to Mark, and whether the file is gone.
    using Decision = std::pair<int, bool>;

    // resolvedFolder: what the folder of path resolved to when it was walked (ResolveFolderPath);
    // the file is deleted only when it still resolves to that folder and its own name. FALSE: the
    // file cannot be deleted, and nothing is kept of it. TRUE: it is marked for deletion, and a
    // decision tagged nTag follows.
    BOOL Mark(const CString& path, const std::wstring& resolvedFolder, int nTag);
    // Decides every marked file.
    void DecideAll();
    // The decisions made since the last call, in the order in which the files were marked.
    std::vector<Decision> TakeDecisions();

private:
    struct Marked
    {
        int nTag;
        std::wstring strName;
    };

    // The folder of the marked files (ending in a separator), and the files.
    std::wstring m_strMarkedFolder;
    std::vector<Marked> m_marked;
    std::vector<Decision> m_decisions;
};
