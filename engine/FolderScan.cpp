#include "engine/FolderScan.h"

#include "engine/ResultList.h"
#include "framework/FileFind.h"
#include "res/resource.h"
#include "rules/RuleNode.h"

namespace {

bool IsSeparator(char ch)
{
    return ch == '\\' || ch == '/';
}

// A junction or symbolic link leads out of the folder the user named, and links can form cycles:
// the walk never follows one.
bool EntersFolder(const CFileFind& find, int bSubfolders)
{
    return bSubfolders && !find.IsDots() && !find.MatchesMask(FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

CString RebuildFolderPath(const CString& folder)
{
    const int nLength = folder.GetLength();
    const int nDriveEnd = (nLength >= 2 && folder[1] == ':') ? 2 : 0;

    // The directory part ends after the last separator; the character model keeps the second byte
    // of a double-byte character from being taken for one.
    int nDirEnd = nDriveEnd;
    for (int i = nDriveEnd; i < nLength; i += CharSizeAt(folder, nLength, i)) {
        if (IsSeparator(folder[i]))
            nDirEnd = i + 1;
    }
    const CString drive = folder.Left(nDriveEnd);
    const CString directory = folder.Mid(nDriveEnd, nDirEnd - nDriveEnd);
    const CString rest = folder.Mid(nDirEnd);

    // A bare root ("C:\", "\") is searched as the drive alone, so that the pattern reads "C:\*.*".
    // A last component that is all extension (".git") still hangs below its directory.
    if (rest.IsEmpty() && (directory.IsEmpty() || directory == "\\"))
        return drive;
    return drive + directory + rest;
}

int CRuleItem::Run(CResultList* results, BOOL deleteFiles)
{
    if (!m_bUse)
        return 1;
    const CString folder = RebuildFolderPath(m_strFolder);
    if (folder.IsEmpty())
        return 1;
    CompileFilter();
    results->SetStatus(IDS_PROCESSING_ITEM, m_strName);
    return SearchFolder(results, deleteFiles, folder);
}

int CRuleItem::SearchFolder(CResultList* results, BOOL deleteFiles, const CString& folder)
{
    CFileFind find;
    BOOL bMore = find.FindFile(folder + "\\*.*");
    while (bMore) {
        if (GetStopFlag())
            return 0;
        bMore = find.FindNextFile();
        if (find.IsDirectory()) {
            if (EntersFolder(find, m_bSubfolders) &&
                !SearchFolder(results, deleteFiles, find.GetFilePath()))
                return 0;
        } else if (MatchFile(find)) {
            const int nRow = results->AddFile(find);
            if (deleteFiles)
                results->DeleteFoundFile(nRow, find.GetFilePath());
        }
        results->PumpMessages();
    }
    return 1;
}
