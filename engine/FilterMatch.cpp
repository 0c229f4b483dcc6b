#include <windows.h>

#include <cstring>

#include "engine/FilterEntry.h"
#include "framework/FileFind.h"
#include "rules/RuleNode.h"

namespace {

// The attributes that an item's mask governs, in the order in which they are asked.
const DWORD GOVERNED_ATTRIBUTES[] = {
    FILE_ATTRIBUTE_READONLY,
    FILE_ATTRIBUTE_ARCHIVE,
    FILE_ATTRIBUTE_COMPRESSED,
    FILE_ATTRIBUTE_HIDDEN,
    FILE_ATTRIBUTE_SYSTEM,
};

bool AttributeAllowed(DWORD attributes, DWORD mask, DWORD attr)
{
    return (attributes & attr) == 0 || (mask & attr) != 0;
}

}

BOOL CRuleItem::CompileFilter()
{
    m_filterEntries.clear();
    // Split byte by byte as strtok does; the filter ends at its first NUL.
    const char* piece = m_strFilter;
    while (*piece != '\0') {
        const char* end = std::strchr(piece, ';');
        if (end == nullptr)
            end = piece + std::strlen(piece);
        CString entry(piece, static_cast<int>(end - piece));
        entry.TrimLeft();
        entry.TrimRight();
        entry.MakeUpper();
        if (!entry.IsEmpty())
            m_filterEntries.emplace_back(entry);
        piece = *end == ';' ? end + 1 : end;
    }
    return !m_filterEntries.empty();
}

BOOL CRuleItem::MatchEntry(const CFilterEntry& entry, CString name) const
{
    name.MakeUpper();
    const int nPlain = entry.MatchWholeName(name);
    if (nPlain >= 0)
        return nPlain;
    return scourly_regexec_whole(entry.GetPattern(), name) == 0;
}

BOOL CRuleItem::IsAttributeAllowed(const CFileFind& file, DWORD attr) const
{
    return AttributeAllowed(file.GetAttributes(), m_dwAttrMask, attr);
}

BOOL CRuleItem::MatchFile(const CFileFind& file) const
{
    return MatchName(file.GetFileName(), file.GetAttributes());
}

BOOL CRuleItem::MatchName(const CString& name, DWORD attributes) const
{
    for (const CFilterEntry& entry : m_filterEntries) {
        if (!MatchEntry(entry, name))
            continue;
        for (DWORD attr : GOVERNED_ATTRIBUTES) {
            if (!AttributeAllowed(attributes, m_dwAttrMask, attr))
                return FALSE;
        }
        return TRUE;
    }
    return FALSE;
}
