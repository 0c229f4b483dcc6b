#include "engine/FolderScan.h"

#include "engine/ResultList.h"
#include "framework/FileFind.h"
#include "framework/Path.h"
#include "engine/EngineResources.h"
#include "rules/RuleNode.h"

namespace {

// A junction or symbolic link leads out of the folder the user named, and links can form cycles:
// the walk never follows one. A name that does not name exactly this folder could lead anywhere
// ("..¥..¥other" reads "..\..\other"), or back into this folder again and again ("¥").
bool EntersFolder(const CFileFind& find, int bSubfolders)
{
    return bSubfolders && !find.IsDots() && find.IsNameExact()
        && !find.MatchesMask(FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

CString RebuildFolderPath(const CString& folder)
{
    const int nLength = folder.GetLength();
    const int nDriveEnd = (nLength >= 2 && folder[1] == ':') ? 2 : 0;

    const int nLastSeparator = FindLastPathSeparator(folder);
    const int nDirEnd = nLastSeparator >= nDriveEnd ? nLastSeparator + 1 : nDriveEnd;
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
            if (deleteFiles && find.IsNameExact())
                results->DeleteFoundFile(nRow, find.GetFilePath());
        }
        results->PumpMessages();
    }
    return 1;
}
