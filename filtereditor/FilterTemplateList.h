#pragma once

#include <vector>

#include "filtereditor/ProfileFile.h"
#include "framework/String.h"

// A ready-made filter of the catalogue: the id that ties it to its explanation, the name the
// editor offers, and the filter itself.
struct FilterTemplate
{
    CString m_strId;
    CString m_strName;
    CString m_strFilter;
};

struct TemplateExplanation
{
    CString m_strId;
    CString m_strText;
};

// The id of the built-in template that the list always starts with.
extern const char kUserDefinedTemplateId[];

// The templates of "filterdef.ini" (section "Template", keys "1", "2", ... up to the first missing
// or empty one), after the built-in "ﾕｰｻﾞ定義" with its empty filter.
class CFilterTemplateList : public CProfileFile
{
public:
    CFilterTemplateList();

    // Reads the catalogue afresh; without a path, the one beside the executable.
    void Load(LPCSTR lpszPath = nullptr);

    int GetCount() const { return static_cast<int>(m_templates.size()); }
    const FilterTemplate& GetAt(int nIndex) const
    {
        return m_templates[static_cast<size_t>(nIndex)];
    }

private:
    std::vector<FilterTemplate> m_templates;
};

// The explanations of "filterdef.ini" (section "Explanation"), read the same way.
class CTemplateExplanationList : public CProfileFile
{
public:
    CTemplateExplanationList();

    void Load(LPCSTR lpszPath = nullptr);

    // The text of the first explanation whose id equals lpszId, ASCII letters in either case;
    // empty when there is none.
    CString Find(LPCSTR lpszId) const;

private:
    std::vector<TemplateExplanation> m_explanations;
};
