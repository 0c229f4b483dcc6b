#include "engine/FolderScan.h"

#include "engine/FileDeletion.h"
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
    if (!find.FindFile(folder + "\\*.*"))
        return 1;
    // A row deletes only inside the folder that was walked. The walk enters no link, so each
    // subfolder resolves to the path of its parent and its own name, and only the item's own
    // folder needs to be asked.
    return SearchFound(results, deleteFiles, find, ResolveFolderPath(find.GetRoot()));
}

int CRuleItem::SearchFound(CResultList* results, BOOL deleteFiles, CFileFind& find,
                           const std::wstring& strResolvedFolder)
{
    BOOL bMore = TRUE;
    while (bMore) {
        if (GetStopFlag())
            return 0;
        bMore = find.FindNextFile();
        if (find.IsDirectory()) {
            if (EntersFolder(find, m_bSubfolders) && !SearchSubfolder(results, deleteFiles, find,
                                                                      strResolvedFolder))
                return 0;
        } else if (MatchFile(find)) {
            const int nRow = results->AddFile(find, strResolvedFolder);
            if (deleteFiles && find.IsNameExact())
                results->DeleteFoundFile(nRow, find.GetFilePath());
        }
        results->PumpMessages();
    }
    return 1;
}

int CRuleItem::SearchSubfolder(CResultList* results, BOOL deleteFiles, const CFileFind& entry,
                               const std::wstring& strParentResolved)
{
    CFileFind find;
    if (!find.FindFile(entry.GetFilePath() + "\\*.*"))
        return 1;
    return SearchFound(results, deleteFiles, find,
                       JoinResolvedPath(strParentResolved, entry.GetStoredName()));
}
