#include "bench/FloorWalk.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "engine/FileDeletion.h"

namespace {

std::vector<std::string> SplitSuffixes(const std::string& suffixes)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= suffixes.size()) {
        size_t end = suffixes.find(';', start);
        if (end == std::string::npos)
            end = suffixes.size();
        if (end > start)
            parts.push_back(suffixes.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::wstring Widen(const char* name)
{
    WCHAR wide[MAX_PATH];
    const int nChars = ::MultiByteToWideChar(CP_ACP, 0, name, -1, wide, MAX_PATH);
    return std::wstring(wide, nChars > 0 ? static_cast<size_t>(nChars - 1) : 0);
}

// A file marked by the deleter counts once it is decided gone, at the end of the walk.
bool DeleteMatch(const std::string& path, const std::wstring& resolvedFolder, WalkAction action,
                 CFileDeleter& deleter)
{
    if (action == WalkAction::DeleteNamed) {
        deleter.Mark(CString(path.c_str()), resolvedFolder, 0);
        return false;
    }
    return ::DeleteFileA(path.c_str()) != FALSE;
}

bool EndsWithAny(const char* name, const std::vector<std::string>& suffixes)
{
    const size_t nLength = std::strlen(name);
    for (const std::string& suffix : suffixes) {
        if (nLength >= suffix.size()
            && ::lstrcmpiA(name + nLength - suffix.size(), suffix.c_str()) == 0)
            return true;
    }
    return false;
}

void Walk(const std::string& folder, const std::wstring& resolvedFolder,
          const std::vector<std::string>& suffixes, WalkAction action, CFileDeleter& deleter,
          WalkCount& count)
{
    WIN32_FIND_DATAA data;
    HANDLE hFind = ::FindFirstFileA((folder + "\\*.*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            const bool bDots = std::strcmp(data.cFileName, ".") == 0 ||
                               std::strcmp(data.cFileName, "..") == 0;
            if (!bDots && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                Walk(folder + "\\" + data.cFileName,
                     JoinResolvedPath(resolvedFolder, Widen(data.cFileName).c_str()), suffixes,
                     action, deleter, count);
            continue;
        }
        ++count.nFiles;
        if (!EndsWithAny(data.cFileName, suffixes))
            continue;
        ++count.nMatches;
        if (action != WalkAction::Count &&
            DeleteMatch(folder + "\\" + data.cFileName, resolvedFolder, action, deleter))
            ++count.nDeleted;
    } while (::FindNextFileA(hFind, &data));
    ::FindClose(hFind);
}

}  // namespace

WalkCount FloorWalk(const std::string& folder, const std::string& suffixes, WalkAction action)
{
    WalkCount count;
    // One deleter for the whole walk, as one run of the program has.
    CFileDeleter deleter;
    // The folders resolve as the program's walk resolves them: the root once, then by name.
    Walk(folder, ResolveFolderPath(folder.c_str()), SplitSuffixes(suffixes), action, deleter,
         count);
    deleter.DecideAll();
    for (const CFileDeleter::Decision& decision : deleter.TakeDecisions()) {
        if (decision.second)
            ++count.nDeleted;
    }
    return count;
}
