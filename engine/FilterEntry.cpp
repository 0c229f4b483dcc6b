#include "engine/FilterEntry.h"

#include <cstring>
#include <utility>

namespace {

// The characters of a plain wildcard pattern: a byte or a double-byte code, and the two wildcards.
const unsigned kAnySequence = 0x10000;
const unsigned kAnyCharacter = 0x10001;

// Whether the entry's pattern is a plain wildcard pattern, and its characters. Operators other
// than the wildcards, and what the engine takes differently (a first byte with no second byte),
// leave the entry to the engine.
bool ReadPlainWildcards(const CString& text, std::vector<unsigned>& wildcards)
{
    const int nLength = text.GetLength();
    for (int i = 0; i < nLength;) {
        const unsigned char ch = static_cast<unsigned char>(text[i]);
        if (dbcs_is_lead(ch)) {
            if (i + 1 >= nLength || text[i + 1] == '\0' || text[i + 1] == '\n')
                return false;
            wildcards.push_back(ch << 8 | static_cast<unsigned char>(text[i + 1]));
            i += 2;
            continue;
        }
        // "\." is a dot itself: the one escape that filters write for their names.
        if (ch == '\\' && i + 1 < nLength && text[i + 1] == '.') {
            wildcards.push_back('.');
            i += 2;
            continue;
        }
        if (ch < 0x20 || std::strchr("[](){}|+^$\\", ch) != nullptr)
            return false;
        wildcards.push_back(ch == '*' ? kAnySequence
                            : ch == '?' || ch == '.' ? kAnyCharacter
                                                     : ch);
        ++i;
    }
    return true;
}

}  // namespace

int wildcomp(regex_t* preg, const char* upperEntry)
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
    return regcomp(preg, pattern, REG_EXTENDED);
}

CFilterEntry::CFilterEntry(const CString& upperText) : m_strText(upperText)
{
    if (!m_strText.IsEmpty() && wildcomp(&m_pattern, m_strText) == 0)
        m_bPlainWildcards = ReadPlainWildcards(m_strText, m_wildcards);
}

int CFilterEntry::MatchWholeName(const CString& upperName) const
{
    if (!m_bPlainWildcards)
        return -1;
    // The wildcard matching that keeps only the last "*" to fall back to, on whole characters.
    const int nLength = upperName.GetLength();
    const size_t nWildcards = m_wildcards.size();
    size_t w = 0;
    size_t wStar = nWildcards;
    int nAfterStar = 0;
    for (int i = 0; i < nLength;) {
        const unsigned char ch = static_cast<unsigned char>(upperName[i]);
        int nSize = 1;
        unsigned code = ch;
        if (dbcs_is_lead(ch)) {
            if (i + 1 >= nLength || upperName[i + 1] == '\0' || upperName[i + 1] == '\n')
                return -1;
            code = ch << 8 | static_cast<unsigned char>(upperName[i + 1]);
            nSize = 2;
        }
        if (w < nWildcards && m_wildcards[w] == kAnySequence) {
            wStar = w++;
            nAfterStar = i;
        } else if (w < nWildcards && (m_wildcards[w] == kAnyCharacter || m_wildcards[w] == code)) {
            ++w;
            i += nSize;
        } else if (wStar < nWildcards) {
            // The last "*" takes one more character.
            w = wStar + 1;
            nAfterStar += CharSizeAt(upperName, nLength, nAfterStar);
            i = nAfterStar;
        } else {
            return 0;
        }
    }
    while (w < nWildcards && m_wildcards[w] == kAnySequence)
        ++w;
    return w == nWildcards ? 1 : 0;
}

CFilterEntry::~CFilterEntry()
{
    if (!m_strText.IsEmpty())
        regfree(&m_pattern);
}

CFilterEntry::CFilterEntry(CFilterEntry&& other) noexcept
    : m_wildcards(std::move(other.m_wildcards)), m_bPlainWildcards(other.m_bPlainWildcards),
      m_strText(std::move(other.m_strText)), m_pattern(other.m_pattern)
{
    other.m_strText.Empty();
    other.m_pattern = regex_t{};
    other.m_bPlainWildcards = false;
}
