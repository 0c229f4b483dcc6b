#ifndef SCOURLY_ENGINE_REGEX_DBCSREGEX_H
#define SCOURLY_ENGINE_REGEX_DBCSREGEX_H

/* POSIX regcomp/regexec/regfree over the GNU regex engine, with the program's double-byte
   character model (framework/DbcsModel.h) whatever the process locale says:
   - a byte from 0x80 to 0x9F or from 0xE0 to 0xFF starts a two-byte character and takes the
     next byte along; the character's code is lead * 256 + trail;
   - such a character is always ordinary in a pattern, whatever its second byte ("\", "[", "|");
   - "." matches one whole character, never half of one, and a match never starts inside one;
   - a bracket range between double-byte characters covers their codes from one end to the other;
   - "[:alpha:]" and the other classes keep their single-byte "C" meaning and hold no double-byte
     character;
   - a first byte followed by NUL or LF starts no character: it stands alone, matches only itself
     and is never matched by "."; a pattern that ends in a first byte does not compile (REG_EEND).
   REG_EXTENDED selects the engine's POSIX-extended syntax in the form in which an operator with
   nothing before it ("+A") is skipped rather than refused; a pattern without it is refused
   (REG_BADPAT). A pattern whose expansion would cost the engine more than PatternCost.h allows
   is refused with REG_ESIZE.

   A pattern that holds a back-reference ("\1" to "\9") is still compiled by the GNU engine, but
   answered by a bounded backtracking matcher (BacktrackMatch.h): a match that needs more than
   2,000 failure points held at once, or more work than the name's length allows, is reported as
   no match. That matcher reports the span of the whole match alone (the slots of the groups come
   back as -1) and takes no execution flags: with REG_NOTBOL or REG_NOTEOL it reports no match.

   The engine's own pattern buffer is private to DbcsRegex.c, which is compiled against gnulib's
   replacement system headers; nothing of those reaches the code that includes this header. */

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct scourly_regex
{
    void* engine;
    void* backtrack; /* set for a pattern that holds a back-reference: it answers instead */
} scourly_regex_t;

typedef ptrdiff_t scourly_regoff_t;

typedef struct scourly_regmatch
{
    scourly_regoff_t rm_so;
    scourly_regoff_t rm_eo;
} scourly_regmatch_t;

/* The values are the GNU engine's; DbcsRegex.c checks that they agree. */
enum
{
    SCOURLY_REG_EXTENDED = 1,
    SCOURLY_REG_ICASE = 1 << 1,
    SCOURLY_REG_NEWLINE = 1 << 2,
    SCOURLY_REG_NOSUB = 1 << 3
};

enum
{
    SCOURLY_REG_NOTBOL = 1,
    SCOURLY_REG_NOTEOL = 1 << 1
};

enum
{
    SCOURLY_REG_NOERROR = 0,
    SCOURLY_REG_NOMATCH = 1,
    SCOURLY_REG_BADPAT = 2,
    SCOURLY_REG_ESPACE = 12,
    SCOURLY_REG_EEND = 14,
    SCOURLY_REG_ESIZE = 15
};

/* A pattern that failed to compile holds nothing, as a zero-initialised one does: regexec
   reports REG_NOMATCH for it and regfree leaves it alone. */
int scourly_regcomp(scourly_regex_t* preg, const char* pattern, int cflags);
int scourly_regexec(const scourly_regex_t* preg, const char* string, size_t nmatch,
                    scourly_regmatch_t pmatch[], int eflags);
void scourly_regfree(scourly_regex_t* preg);

/* 0 when the pattern matches the whole string, as a leftmost-longest match from its first to its
   last byte; REG_NOMATCH otherwise. Only the first byte is tried as a start: searching from every
   byte of a long name of double-byte characters costs the engine hundreds of times as much. */
int scourly_regexec_whole(const scourly_regex_t* preg, const char* string);

#ifdef __cplusplus
}
#endif

#ifndef SCOURLY_REGEX_IMPLEMENTATION
typedef scourly_regex_t regex_t;
typedef scourly_regoff_t regoff_t;
typedef scourly_regmatch_t regmatch_t;

#define REG_EXTENDED SCOURLY_REG_EXTENDED
#define REG_ICASE SCOURLY_REG_ICASE
#define REG_NEWLINE SCOURLY_REG_NEWLINE
#define REG_NOSUB SCOURLY_REG_NOSUB
#define REG_NOTBOL SCOURLY_REG_NOTBOL
#define REG_NOTEOL SCOURLY_REG_NOTEOL
#define REG_NOERROR SCOURLY_REG_NOERROR
#define REG_NOMATCH SCOURLY_REG_NOMATCH
#define REG_BADPAT SCOURLY_REG_BADPAT
#define REG_ESPACE SCOURLY_REG_ESPACE
#define REG_EEND SCOURLY_REG_EEND
#define REG_ESIZE SCOURLY_REG_ESIZE

#define regcomp scourly_regcomp
#define regexec scourly_regexec
#define regfree scourly_regfree
#endif

#endif
