/* Reads a pattern the way the GNU engine's parser reads it in the extended syntax that
   DbcsRegex.c selects, token for token, and counts what the parser would build. It never stops
   at an error: a pattern the engine refuses is refused whatever the count says, and reading on
   keeps every later interval counted even where this reading and the engine's might part. */

#include "PatternCost.h"

#include "BacktrackMatch.h"

typedef unsigned long long dbcs_count_t;

/* Far above either bound, and low enough that no sum or product of two counts overflows. */
#define COUNT_CAP ((dbcs_count_t) 1 << 40)

/* The engine's RE_DUP_MAX: a larger count in an interval is refused. */
enum { DUP_MAX = 0x7FFF };

/* The atoms of an expanded subexpression, each by the loosest copy it stands in. */
typedef struct
{
    dbcs_count_t fixed;
    dbcs_count_t skippable;
    dbcs_count_t repeating;
} cost_t;

static const cost_t NOTHING = { 0, 0, 0 };
static const cost_t ONE_ATOM = { 1, 0, 0 };

static dbcs_count_t add_counts(dbcs_count_t a, dbcs_count_t b)
{
    return a + b > COUNT_CAP ? COUNT_CAP : a + b;
}

static dbcs_count_t multiply_count(dbcs_count_t a, dbcs_count_t n)
{
    if (a == 0 || n == 0)
        return 0;
    return a > COUNT_CAP / n ? COUNT_CAP : a * n;
}

static dbcs_count_t all_atoms(cost_t c)
{
    return add_counts(add_counts(c.fixed, c.skippable), c.repeating);
}

static cost_t add_costs(cost_t a, cost_t b)
{
    cost_t sum = { add_counts(a.fixed, b.fixed), add_counts(a.skippable, b.skippable),
                   add_counts(a.repeating, b.repeating) };
    return sum;
}

static cost_t copies(cost_t c, dbcs_count_t n)
{
    cost_t product = { multiply_count(c.fixed, n), multiply_count(c.skippable, n),
                       multiply_count(c.repeating, n) };
    return product;
}

/* X{min,max}, max -1 for no upper limit, as the engine writes it out: min copies of X, then one
   copy under "*" or max - min copies that may each be skipped. X{0} and X{0,0} vanish. */
static cost_t repeat(cost_t c, long min, long max)
{
    cost_t result = copies(c, (dbcs_count_t) min);

    if (max < 0) {
        cost_t looping = { 0, 0, all_atoms(c) };
        result = add_costs(result, looping);
    }
    else if (max > min) {
        cost_t optional = { 0, add_counts(c.fixed, c.skippable), c.repeating };
        result = add_costs(result, copies(optional, (dbcs_count_t) (max - min)));
    }
    return result;
}

typedef enum
{
    TOKEN_END,
    TOKEN_ATOM,
    TOKEN_ANCHOR,
    TOKEN_ALTERNATION,
    TOKEN_OPEN_GROUP,
    TOKEN_CLOSE_GROUP,
    TOKEN_OPEN_BRACKET,
    TOKEN_STAR,
    TOKEN_PLUS,
    TOKEN_QUESTION,
    TOKEN_OPEN_BRACE,
    TOKEN_CLOSE_BRACE
} token_kind_t;

typedef struct
{
    const unsigned char* start;
    const unsigned char* next;
    token_kind_t kind;
    /* The byte an ordinary character token stands for, as the interval reader sees it; -1 for
       tokens that are no ordinary character (".", "\w", a back-reference). */
    int ch;
    /* A double-byte character: the engine reads its second byte as a token of its own. */
    int trail;
} scanner_t;

/* A first byte followed by NUL or LF stands alone. */
static int is_double_byte(const unsigned char* p)
{
    return dbcs_is_lead(p[0]) && p[1] != '\0' && p[1] != '\n';
}

static void read_escape(scanner_t* s, const unsigned char* p)
{
    s->kind = TOKEN_ATOM;
    s->ch = p[1];
    s->next = p + 2;
    if (is_double_byte(p + 1)) {
        s->trail = p[2];
        s->next = p + 3;
        return;
    }
    switch (p[1]) {
    case '1': case '2': case '3': case '4': case '5': case '6': case '7': case '8': case '9':
    case 'w': case 'W': case 's': case 'S':
        s->ch = -1;
        break;
    case '<': case '>': case 'b': case 'B': case '`': case '\'':
        s->kind = TOKEN_ANCHOR;
        s->ch = -1;
        break;
    default:
        break;
    }
}

static void fetch_token(scanner_t* s)
{
    const unsigned char* p = s->next;

    s->start = p;
    s->ch = -1;
    s->trail = -1;
    s->next = p + 1;
    if (*p == '\0') {
        s->kind = TOKEN_END;
        s->next = p;
        return;
    }
    if (is_double_byte(p)) {
        s->kind = TOKEN_ATOM;
        s->ch = p[0];
        s->trail = p[1];
        s->next = p + 2;
        return;
    }
    if (*p == '\\') {
        /* A backslash that ends the pattern is refused. */
        if (p[1] == '\0') {
            s->kind = TOKEN_END;
            s->next = p + 1;
            return;
        }
        read_escape(s, p);
        return;
    }
    switch (*p) {
    case '|': s->kind = TOKEN_ALTERNATION; break;
    case '*': s->kind = TOKEN_STAR; break;
    case '+': s->kind = TOKEN_PLUS; break;
    case '?': s->kind = TOKEN_QUESTION; break;
    case '{': s->kind = TOKEN_OPEN_BRACE; break;
    case '}': s->kind = TOKEN_CLOSE_BRACE; break;
    case '(': s->kind = TOKEN_OPEN_GROUP; break;
    case ')': s->kind = TOKEN_CLOSE_GROUP; break;
    case '[': s->kind = TOKEN_OPEN_BRACKET; break;
    case '^': case '$': s->kind = TOKEN_ANCHOR; break;
    case '.': s->kind = TOKEN_ATOM; break;
    default:
        s->kind = TOKEN_ATOM;
        s->ch = *p;
        break;
    }
}

/* Past the "]" that closes the bracket expression the current token opens. A "]" first in the
   list is a member; "[:", "[." and "[=" open a name that the engine reads byte by byte up to the
   same character and "]". */
static void skip_bracket(scanner_t* s)
{
    const unsigned char* p = s->next;
    int first = 1;

    if (*p == '^')
        ++p;
    while (*p != '\0') {
        if (is_double_byte(p)) {
            p += 2;
        }
        else if (p[0] == '[' && (p[1] == ':' || p[1] == '.' || p[1] == '=')) {
            const unsigned char delimiter = p[1];

            p += 2;
            while (*p != '\0' && !(p[0] == delimiter && p[1] == ']'))
                ++p;
            if (*p != '\0')
                p += 2;
        }
        else if (*p == ']' && !first) {
            ++p;
            break;
        }
        else {
            ++p;
        }
        first = 0;
    }
    s->next = p;
}

/* One number of an interval as the engine reads it: tokens up to "}" or ",", escaped or not.
   -1 for no digits, -2 for anything else in between, at most DUP_MAX + 1. */
static long fetch_number(scanner_t* s)
{
    long number = -1;

    for (;;) {
        fetch_token(s);
        if (s->kind == TOKEN_END)
            return -2;
        if (s->kind == TOKEN_CLOSE_BRACE || s->ch == ',')
            return number;
        if (s->trail >= 0 || s->ch < '0' || s->ch > '9' || number == -2) {
            number = -2;
            if (s->trail == ',')
                return number;
        }
        else {
            number = number < 0 ? s->ch - '0' : number * 10 + (s->ch - '0');
            if (number > DUP_MAX)
                number = DUP_MAX + 1;
        }
    }
}

/* Reads "{min,max}" after the current "{" token; 0 when the engine would refuse it. */
static int read_interval(scanner_t* s, long* min, long* max)
{
    *min = fetch_number(s);
    if (*min == -1) {
        if (s->ch != ',')
            return 0;
        *min = 0;
    }
    if (*min == -2)
        return 0;
    if (s->kind == TOKEN_CLOSE_BRACE)
        *max = *min;
    else if (s->ch == ',')
        *max = fetch_number(s);
    else
        return 0;
    if (*max == -2 || s->kind != TOKEN_CLOSE_BRACE || (*max >= 0 && *min > *max))
        return 0;
    return *min <= DUP_MAX && *max <= DUP_MAX;
}

static cost_t read_alternatives(scanner_t* s, int nest);

static cost_t read_postfix_operators(scanner_t* s, cost_t c)
{
    for (;;) {
        long min = 0;
        long max = -1;

        if (s->kind == TOKEN_PLUS) {
            min = 1;
        }
        else if (s->kind == TOKEN_QUESTION) {
            max = 1;
        }
        else if (s->kind == TOKEN_OPEN_BRACE) {
            const unsigned char* brace = s->start;

            if (!read_interval(s, &min, &max)) {
                s->next = brace + 1;
                fetch_token(s);
                continue;
            }
        }
        else if (s->kind != TOKEN_STAR) {
            return c;
        }
        c = repeat(c, min, max);
        fetch_token(s);
    }
}

static cost_t read_expression(scanner_t* s, int nest)
{
    cost_t c = ONE_ATOM;

    /* An operator with nothing before it is skipped. */
    while (s->kind == TOKEN_STAR || s->kind == TOKEN_PLUS || s->kind == TOKEN_QUESTION
           || s->kind == TOKEN_OPEN_BRACE)
        fetch_token(s);
    switch (s->kind) {
    case TOKEN_END:
    case TOKEN_ALTERNATION:
        return NOTHING;
    case TOKEN_ANCHOR:
        /* Nothing repeats an anchor: an operator after one is skipped as above. */
        fetch_token(s);
        return ONE_ATOM;
    case TOKEN_OPEN_GROUP:
        fetch_token(s);
        if (s->kind != TOKEN_CLOSE_GROUP)
            c = add_costs(c, read_alternatives(s, nest + 1));
        break;
    case TOKEN_OPEN_BRACKET:
        skip_bracket(s);
        break;
    default:
        break;
    }
    fetch_token(s);
    return read_postfix_operators(s, c);
}

static int ends_branch(const scanner_t* s, int nest)
{
    return s->kind == TOKEN_ALTERNATION || s->kind == TOKEN_END
           || (nest > 0 && s->kind == TOKEN_CLOSE_GROUP);
}

static cost_t read_branch(scanner_t* s, int nest)
{
    cost_t c = read_expression(s, nest);

    while (!ends_branch(s, nest))
        c = add_costs(c, read_expression(s, nest));
    return c;
}

static cost_t read_alternatives(scanner_t* s, int nest)
{
    cost_t c = read_branch(s, nest);

    while (s->kind == TOKEN_ALTERNATION) {
        fetch_token(s);
        c = add_costs(c, ONE_ATOM);
        if (!ends_branch(s, nest))
            c = add_costs(c, read_branch(s, nest));
    }
    return c;
}

int dbcs_pattern_cost_within_bounds(const char* pattern)
{
    scanner_t s;
    cost_t c;

    s.next = (const unsigned char*) pattern;
    fetch_token(&s);
    c = read_alternatives(&s, 0);
    return all_atoms(c) <= DBCS_COST_ATOMS
           && add_counts(c.skippable, multiply_count(c.repeating, DBCS_COST_REPEAT_WEIGHT))
                  <= DBCS_COST_LOOSE;
}
