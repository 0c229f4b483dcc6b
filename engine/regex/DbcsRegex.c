/* The GNU regex engine (gnulib's regex.c) compiled into this file with the program's character
   model in place of the C library's locale functions. The engine asks the locale through
   mbrtowc, btowc, wcrtomb, mbsinit, towupper, towlower, iswalnum, wctype/iswctype, the <ctype.h>
   tests, MB_CUR_MAX and nl_langinfo; each is redirected below to a function of this file, so the
   process locale (msvcrt's "C", ".932" or any other) never changes a result.

   A first byte followed by NUL or LF does not start a character here: it stands alone and
   matches only itself. The engine's "." takes any whole character but never a byte that stands
   alone, and this is what keeps "." off a first byte with a line feed after it.

   Wide values: a single-byte character is its byte; a double-byte character is its code
   (lead * 256 + trail) minus one. The engine keeps WEOF in the same arrays as character values,
   and WEOF narrowed to the 16-bit wchar_t is 0xFFFF, the code of FF FF; one below the code keeps
   every character clear of it while keeping the order of the codes that bracket ranges compare.
   No single-byte character reaches 0x8000, the lowest wide value of a double-byte one. */

#include <config.h>

#include <ctype.h>
#include <langinfo.h>
#include <limits.h>
#include <locale.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <wctype.h>

#define SCOURLY_REGEX_IMPLEMENTATION
#include "BacktrackMatch.h"
#include "CharClass.h"
#include "DbcsRegex.h"
#include "PatternCost.h"

/* The program matches on one thread; without this the engine takes a lock around every call. */
#define GNULIB_REGEX_SINGLE_THREAD 1

/* mbrtowc's rules: (size_t) -2 for an incomplete character, (size_t) -1 for an invalid one.
   The value is stored on every outcome, since the engine's case-folding path reads it after
   comparing the length alone. */
static size_t dbcs_mbrtowc(wchar_t* pwc, const char* s, size_t n, mbstate_t* ps)
{
    wchar_t wc = 0;
    size_t length = (size_t) -2;

    (void) ps;
    if (s == NULL)
        return 0;
    if (n >= 1 && !dbcs_is_lead((unsigned char) s[0])) {
        wc = (unsigned char) s[0];
        length = wc != 0;
    }
    else if (n >= 2 && (s[1] == '\0' || s[1] == '\n')) {
        length = (size_t) -1;
    }
    else if (n >= 2) {
        wc = (wchar_t) (((unsigned char) s[0] << 8 | (unsigned char) s[1]) - 1);
        length = 2;
    }
    if (pwc != NULL)
        *pwc = wc;
    return length;
}

static wint_t dbcs_btowc(int c)
{
    if (c < 0 || c > UCHAR_MAX || dbcs_is_lead((unsigned char) c))
        return WEOF;
    return (wint_t) c;
}

static size_t dbcs_wcrtomb(char* s, wchar_t wc, mbstate_t* ps)
{
    unsigned int code;

    (void) ps;
    if (s == NULL)
        return 1;
    if (wc <= UCHAR_MAX) {
        if (dbcs_is_lead((unsigned char) wc))
            return (size_t) -1;
        s[0] = (char) wc;
        return 1;
    }
    code = (unsigned int) wc + 1;
    if (code > 0xFFFF || !dbcs_is_lead((unsigned char) (code >> 8)) || (code & 0xFF) == 0
        || (code & 0xFF) == '\n')
        return (size_t) -1;
    s[0] = (char) (code >> 8);
    s[1] = (char) (code & 0xFF);
    return 2;
}

static int dbcs_mbsinit(const mbstate_t* ps)
{
    (void) ps;
    return 1;
}

/* wctype's rule: 0 names no class. */
static wctype_t dbcs_wctype(const char* name)
{
    return (wctype_t) dbcs_class_index(name);
}

static int dbcs_iswctype(wint_t wc, wctype_t desc)
{
    return dbcs_class_contains((int) desc, (int) wc);
}

static int dbcs_iswalnum(wint_t wc)
{
    return wc <= 0x7F && c_isalnum((int) wc);
}

static wint_t dbcs_towupper(wint_t wc)
{
    return wc <= 0x7F ? (wint_t) c_toupper((int) wc) : wc;
}

static wint_t dbcs_towlower(wint_t wc)
{
    return wc <= 0x7F ? (wint_t) c_tolower((int) wc) : wc;
}

#undef mbrtowc
#undef btowc
#undef wcrtomb
#undef mbsinit
#undef wctype
#undef iswctype
#undef iswalnum
#undef towupper
#undef towlower
#define mbrtowc dbcs_mbrtowc
#define btowc dbcs_btowc
#define wcrtomb dbcs_wcrtomb
#define mbsinit dbcs_mbsinit
#define wctype dbcs_wctype
#define iswctype dbcs_iswctype
#define iswalnum dbcs_iswalnum
#define towupper dbcs_towupper
#define towlower dbcs_towlower

#undef isupper
#undef islower
#undef isalpha
#undef isdigit
#undef isalnum
#undef isxdigit
#undef isblank
#undef isspace
#undef iscntrl
#undef isgraph
#undef isprint
#undef ispunct
#undef toupper
#undef tolower
#define isupper c_isupper
#define islower c_islower
#define isalpha c_isalpha
#define isdigit c_isdigit
#define isalnum c_isalnum
#define isxdigit c_isxdigit
#define isblank c_isblank
#define isspace c_isspace
#define iscntrl c_iscntrl
#define isgraph c_isgraph
#define isprint c_isprint
#define ispunct c_ispunct
#define toupper c_toupper
#define tolower c_tolower

#undef MB_CUR_MAX
#define MB_CUR_MAX 2
#undef nl_langinfo
#define nl_langinfo(item) "SCOURLY-DBCS"

/* config.h, which regex.c includes again, maps the API to rpl_ names; taking those over keeps
   this engine's symbols apart from libgnu.a's copy of the same code. */
#define rpl_re_syntax_options dbcs_gnu_re_syntax_options
#define rpl_re_set_syntax dbcs_gnu_re_set_syntax
#define rpl_re_compile_pattern dbcs_gnu_re_compile_pattern
#define rpl_re_compile_fastmap dbcs_gnu_re_compile_fastmap
#define rpl_re_search dbcs_gnu_re_search
#define rpl_re_search_2 dbcs_gnu_re_search_2
#define rpl_re_match dbcs_gnu_re_match
#define rpl_re_match_2 dbcs_gnu_re_match_2
#define rpl_re_set_registers dbcs_gnu_re_set_registers
#define rpl_re_comp dbcs_gnu_re_comp
#define rpl_re_exec dbcs_gnu_re_exec
#define rpl_regcomp dbcs_gnu_regcomp
#define rpl_regexec dbcs_gnu_regexec
#define rpl_regerror dbcs_gnu_regerror
#define rpl_regfree dbcs_gnu_regfree
#ifndef regcomp
#error "config.h no longer maps the regex API to rpl_ names"
#endif

#include <regex.h>

/* The POSIX-extended dialect without RE_CONTEXT_INVALID_OPS (0x3B2DC): the filters are written
   in it, and an operator with nothing before it ("+A") is skipped there rather than refused.
   regcomp reads the macro, which regex.h, already included, will not define again. */
#undef RE_SYNTAX_POSIX_EXTENDED
#define RE_SYNTAX_POSIX_EXTENDED                                                           \
    (_RE_SYNTAX_POSIX_COMMON | RE_CONTEXT_INDEP_ANCHORS | RE_CONTEXT_INDEP_OPS            \
     | RE_NO_BK_BRACES | RE_NO_BK_PARENS | RE_NO_BK_VBAR | RE_UNMATCHED_RIGHT_PAREN_ORD)

/* NOLINTNEXTLINE(bugprone-suspicious-include): compiled here, with our model in place. */
#include "regex.c"

_Static_assert(SCOURLY_REG_EXTENDED == REG_EXTENDED && SCOURLY_REG_ICASE == REG_ICASE
                   && SCOURLY_REG_NEWLINE == REG_NEWLINE && SCOURLY_REG_NOSUB == REG_NOSUB,
               "compile flags differ from the engine's");
_Static_assert(SCOURLY_REG_NOTBOL == REG_NOTBOL && SCOURLY_REG_NOTEOL == REG_NOTEOL,
               "execution flags differ from the engine's");
_Static_assert(SCOURLY_REG_NOERROR == (int) REG_NOERROR && SCOURLY_REG_NOMATCH == (int) REG_NOMATCH
                   && SCOURLY_REG_BADPAT == (int) REG_BADPAT
                   && SCOURLY_REG_ESPACE == (int) REG_ESPACE && SCOURLY_REG_EEND == (int) REG_EEND
                   && SCOURLY_REG_ESIZE == (int) REG_ESIZE,
               "error codes differ from the engine's");

/* The engine would take a first byte at the very end for a character by itself. */
static int dbcs_ends_in_lead_byte(const char* pattern)
{
    const unsigned char* p = (const unsigned char*) pattern;

    while (*p != '\0') {
        if (dbcs_is_lead(*p) && p[1] == '\0')
            return 1;
        p += dbcs_is_lead(*p) && p[1] != '\n' ? 2 : 1;
    }
    return 0;
}

/* The engine keeps every state it reaches while matching, one for each set of places in the
   pattern that a name's characters lead it to, and never lets one go: ".*A.{20}" has two million
   of them, and a scan of long varied names grew it by more than a megabyte a name, each name
   slower than the one before as its fixed hash table filled. Past these figures the compiled
   pattern is built afresh from its text, which under PatternCost.h's bounds takes a few
   milliseconds, and its states are learnt again. */
enum
{
    DBCS_CACHED_STATES = 1024,
    DBCS_CACHED_STATE_NODES = 128 * 1024
};

typedef struct dbcs_engine
{
    regex_t compiled;
    int cflags;
    char pattern[];
} dbcs_engine_t;

static int dbcs_holds_too_many_states(const regex_t* compiled)
{
    const re_dfa_t* dfa = compiled->buffer;
    size_t states = 0;
    size_t nodes = 0;
    re_hashval_t bucket;
    Idx i;

    for (bucket = 0; bucket <= dfa->state_hash_mask; ++bucket) {
        const struct re_state_table_entry* entry = &dfa->state_table[bucket];

        states += (size_t) entry->num;
        for (i = 0; i < entry->num; ++i)
            nodes += (size_t) entry->array[i]->nodes.nelem;
    }
    return states > DBCS_CACHED_STATES || nodes > DBCS_CACHED_STATE_NODES;
}

/* The compiled pattern to match with, its learnt states dropped when they hold too much; NULL
   when it could not be built again. */
static regex_t* dbcs_matching_engine(dbcs_engine_t* engine)
{
    if (engine->compiled.buffer != NULL && dbcs_holds_too_many_states(&engine->compiled)) {
        regfree(&engine->compiled);
        if (regcomp(&engine->compiled, engine->pattern, engine->cflags) != REG_NOERROR)
            memset(&engine->compiled, 0, sizeof engine->compiled);
    }
    return engine->compiled.buffer != NULL ? &engine->compiled : NULL;
}

int scourly_regcomp(scourly_regex_t* preg, const char* pattern, int cflags)
{
    dbcs_engine_t* engine;
    dbcs_backtrack_t* backtrack;
    size_t length = strlen(pattern);
    int result;

    preg->engine = NULL;
    preg->backtrack = NULL;
    if (dbcs_ends_in_lead_byte(pattern))
        return REG_EEND;
    /* What a pattern may cost is read in the extended syntax alone, and the engine must not see
       one that would cost more. */
    if (!(cflags & REG_EXTENDED))
        return REG_BADPAT;
    if (!dbcs_pattern_cost_within_bounds(pattern))
        return REG_ESIZE;
    engine = malloc(sizeof *engine + length + 1);
    if (engine == NULL)
        return REG_ESPACE;
    engine->cflags = cflags;
    memcpy(engine->pattern, pattern, length + 1);
    result = regcomp(&engine->compiled, pattern, cflags);
    if (result != REG_NOERROR) {
        free(engine);
        return result;
    }
    result = dbcs_backtrack_compile(pattern, cflags, &backtrack);
    if (result != REG_NOERROR) {
        regfree(&engine->compiled);
        free(engine);
        return result;
    }
    preg->engine = engine;
    preg->backtrack = backtrack;
    return REG_NOERROR;
}

int scourly_regexec(const scourly_regex_t* preg, const char* string, size_t nmatch,
                    scourly_regmatch_t pmatch[], int eflags)
{
    enum { LOCAL_SLOTS = 10 };
    regmatch_t local[LOCAL_SLOTS];
    regmatch_t* slots = local;
    regex_t* compiled;
    size_t i;
    int result;

    if (preg->engine == NULL)
        return REG_NOMATCH;
    if (preg->backtrack != NULL) {
        for (i = 1; i < nmatch; ++i)
            pmatch[i].rm_so = pmatch[i].rm_eo = -1;
        return eflags != 0 ? REG_NOMATCH
                           : dbcs_backtrack_exec(preg->backtrack, string,
                                                 nmatch > 0 ? pmatch : NULL, NULL);
    }
    compiled = dbcs_matching_engine(preg->engine);
    if (compiled == NULL)
        return REG_NOMATCH;
    if (nmatch > LOCAL_SLOTS) {
        slots = malloc(nmatch * sizeof *slots);
        if (slots == NULL)
            return REG_ESPACE;
    }
    for (i = 0; i < nmatch; ++i)
        slots[i].rm_so = slots[i].rm_eo = -1;
    result = regexec(compiled, string, nmatch, slots, eflags);
    if (result == REG_NOERROR) {
        for (i = 0; i < nmatch; ++i) {
            pmatch[i].rm_so = slots[i].rm_so;
            pmatch[i].rm_eo = slots[i].rm_eo;
        }
    }
    if (slots != local)
        free(slots);
    return result;
}

int scourly_regexec_whole(const scourly_regex_t* preg, const char* string)
{
    const size_t length = strlen(string);
    scourly_regmatch_t span;
    regmatch_t match;
    regex_t* compiled;

    if (preg->engine == NULL)
        return REG_NOMATCH;
    if (preg->backtrack != NULL) {
        if (scourly_regexec(preg, string, 1, &span, 0) != REG_NOERROR)
            return REG_NOMATCH;
        return span.rm_so == 0 && span.rm_eo == (scourly_regoff_t) length ? REG_NOERROR
                                                                           : REG_NOMATCH;
    }
    /* A match of the whole string starts at its first byte, and the longest match from there is
       the leftmost-longest one: no other start needs trying. One match slot gives the span even
       for a pattern compiled without positions. */
    compiled = dbcs_matching_engine(preg->engine);
    if (compiled == NULL
        || re_search_internal(compiled, string, (Idx) length, 0, 0, (Idx) length, 1, &match, 0)
               != REG_NOERROR)
        return REG_NOMATCH;
    return match.rm_eo == (regoff_t) length ? REG_NOERROR : REG_NOMATCH;
}

void scourly_regfree(scourly_regex_t* preg)
{
    if (preg->engine == NULL)
        return;
    regfree(&((dbcs_engine_t*) preg->engine)->compiled);
    free(preg->engine);
    dbcs_backtrack_free(preg->backtrack);
    preg->engine = NULL;
    preg->backtrack = NULL;
}
