#include "filtereditor/FilterTemplateList.h"

namespace {

const char kCatalogueFileName[] = "filterdef.ini";

// Calls addRecord with each value of the section, key "1" on, until the first empty one.
template <typename AddRecord>
void ReadNumberedValues(const CProfileFile& file, LPCSTR lpszSection, AddRecord addRecord)
{
    for (int nKey = 1;; ++nKey) {
        CString strKey;
        strKey.Format("%d", nKey);
        const CString strValue = file.GetString(lpszSection, strKey);
        if (strValue.IsEmpty())
            return;
        addRecord(strValue);
    }
}

}  // namespace

const char kUserDefinedTemplateId[] = "UserDef";

CFilterTemplateList::CFilterTemplateList()
{
    SetFileName(kCatalogueFileName);
}

void CFilterTemplateList::Load(LPCSTR lpszPath)
{
    m_templates.clear();
    ResolvePath(lpszPath);
    m_templates.push_back({kUserDefinedTemplateId, "\xD5\xB0\xBB\xDE\x92\xE8\x8B\x60", ""});
    ReadNumberedValues(*this, "Template", [this](const CString& strValue) {
        CString fields[3];
        SplitProfileFields(strValue, fields, 3);
        m_templates.push_back({fields[0], fields[1], fields[2]});
    });
}

CTemplateExplanationList::CTemplateExplanationList()
{
    SetFileName(kCatalogueFileName);
}

void CTemplateExplanationList::Load(LPCSTR lpszPath)
{
    m_explanations.clear();
    ResolvePath(lpszPath);
    ReadNumberedValues(*this, "Explanation", [this](const CString& strValue) {
        CString fields[2];
        SplitProfileFields(strValue, fields, 2);
        m_explanations.push_back({fields[0], fields[1]});
    });
}

CString CTemplateExplanationList::Find(LPCSTR lpszId) const
{
    for (const TemplateExplanation& explanation : m_explanations) {
        if (explanation.m_strId.CompareNoCase(lpszId) == 0)
            return explanation.m_strText;
    }
    return CString();
}
