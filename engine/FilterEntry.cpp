#include "engine/FilterEntry.h"

#include <cstring>
#include <utility>

namespace {

int CompileWildcards(regex_t* preg, const char* upperEntry, int cflags)
{
    char pattern[FILTER_PATTERN_BUFFER_SIZE];
    size_t used = 0;
    for (const char* p = upperEntry; *p != '\0'; ++p) {
        const char* text = p;
        size_t size = 1;
        if (*p == '*') {
            text = ".*";
            size = 2;
        }
        else if (*p == '?') {
            text = ".";
        }
        // A pattern cut short could match names the entry never named, and matching files get
        // deleted: an entry that does not fit matches nothing instead.
        if (used + size >= sizeof pattern) {
            *preg = regex_t{};
            return REG_ESIZE;
        }
        std::memcpy(pattern + used, text, size);
        used += size;
    }
    pattern[used] = '\0';
    return regcomp(preg, pattern, cflags);
}

}  // namespace

int wildcomp(regex_t* preg, const char* upperEntry)
{
    return CompileWildcards(preg, upperEntry, REG_EXTENDED);
}

CFilterEntry::CFilterEntry(const CString& upperText) : m_strText(upperText)
{
    if (!m_strText.IsEmpty() && wildcomp(&m_pattern, m_strText) == 0)
        CompileWildcards(&m_quickPattern, m_strText, REG_EXTENDED | REG_NOSUB);
}

CFilterEntry::~CFilterEntry()
{
    if (!m_strText.IsEmpty()) {
        regfree(&m_pattern);
        regfree(&m_quickPattern);
    }
}

CFilterEntry::CFilterEntry(CFilterEntry&& other) noexcept
    : m_strText(std::move(other.m_strText)), m_pattern(other.m_pattern),
      m_quickPattern(other.m_quickPattern)
{
    other.m_strText.Empty();
    other.m_pattern = regex_t{};
    other.m_quickPattern = regex_t{};
}
