#pragma once

#include <vector>

#include "engine/regex/DbcsRegex.h"
#include "framework/String.h"

// Size of the buffer that one entry's pattern text is converted into, the terminating NUL included.
const int FILTER_PATTERN_BUFFER_SIZE = 1024;

// Compiles one upper-cased filter entry as an extended regular expression in which each "*" byte
// stands for ".*" and each "?" byte for "."; every other byte is copied and keeps its meaning in
// the pattern. Returns what regcomp returned (0 on success). An entry whose converted text would
// not fit in FILTER_PATTERN_BUFFER_SIZE bytes is not compiled: the result is REG_ESIZE, and preg
// holds nothing and matches no name, as a pattern that failed to compile.
int wildcomp(regex_t* preg, const char* upperEntry);

// One entry of an item's filter: its trimmed, upper-cased text and the pattern wildcomp made of
// it. The entry owns the pattern and releases it with itself; an entry whose text is empty, as a
// moved-from one, holds none. An entry that did not compile is kept and matches nothing.
class CFilterEntry
{
public:
    explicit CFilterEntry(const CString& upperText);
    ~CFilterEntry();

    CFilterEntry(CFilterEntry&& other) noexcept;
    CFilterEntry(const CFilterEntry&) = delete;
    CFilterEntry& operator=(const CFilterEntry&) = delete;

    const CString& GetText() const { return m_strText; }
    const regex_t* GetPattern() const { return &m_pattern; }

    // Nearly every entry holds nothing but ordinary characters, "*", "?", "." and "\.", which makes
    // its pattern a plain wildcard pattern. Such an entry answers whether it matches a whole
    // upper-cased name itself, as the pattern would, on the same character model, in a fraction of
    // the engine's time: 1 or 0. -1 when the pattern must be asked: the entry is no such entry, or
    // the name holds a first byte of a double-byte character that takes no second byte along.
    int MatchWholeName(const CString& upperName) const;

private:
    std::vector<unsigned> m_wildcards;
    bool m_bPlainWildcards = false;
    CString m_strText;
    regex_t m_pattern = {};
};
