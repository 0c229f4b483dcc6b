#pragma once

#include <string>

// The least any search of a tree can do under this system: FindFirstFileA/FindNextFileA over
// every folder, nothing shown. The benchmark measures the program against it.
struct WalkCount
{
    long nFiles = 0;
    long nMatches = 0;
    long nDeleted = 0;
};

enum class WalkAction
{
    Count,
    // Each matching file goes the way the program deletes one (CFileDeleter): only the entry
    // itself, and only counted when it is gone afterwards.
    DeleteNamed,
    // DeleteFileA alone, whatever it leaves behind: what deleting costs with no check at all.
    DeleteFileOnly,
};

// Walks folder and everything below it (links not followed), counting the files whose names end
// in one of the extensions of suffixes (";"-separated, case-insensitive, e.g. ".obj;.txt"); each
// of those is deleted by action as soon as it is found.
WalkCount FloorWalk(const std::string& folder, const std::string& suffixes, WalkAction action);
