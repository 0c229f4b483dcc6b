/* The pattern is compiled to a small program for a backtracking machine: the parser follows the
   GNU engine's own grammar for the POSIX-extended syntax step by step (operators with nothing
   before them skipped, an unmatched ")" ordinary, "{m,n}" written out as copies), since two
   readings of one pattern that differ would make the same filter match different files.
   Jumps are relative, so a fragment keeps its meaning wherever it is copied or moved. */

#define SCOURLY_REGEX_IMPLEMENTATION
#include "BacktrackMatch.h"

#include <stdlib.h>
#include <string.h>

#include "CharClass.h"

/* More than any filter entry needs; a longer program is not built and the pattern matches
   nothing. The cap also bounds the work between two failure points. */
enum { MAX_CODE = 4096 };

enum { DUP_UNBOUNDED = -1 };

enum opcode
{
    BT_CHAR,    /* x: the character's code */
    BT_ANY,
    BT_SET,     /* x: index of the bracket expression */
    BT_SPLIT,   /* go to x, and on failure to y */
    BT_JMP,     /* go to x */
    BT_SAVE,    /* x >= 0: group register x takes the position; x < 0: loop -1 - x marks it */
    BT_LOOP,    /* back to x unless the iteration since loop y's mark matched nothing */
    BT_BACKREF, /* x: the group */
    BT_BOL,
    BT_EOL,
    BT_FAIL,
    BT_MATCH
};

struct instr
{
    unsigned char op;
    int x;
    int y;
};

/* A single-byte character is its byte; a double-byte one its code, lead * 256 + trail. */
struct charset
{
    unsigned char single[32]; /* negation applied, lead bytes never members */
    unsigned int* ranges;     /* first and last code of each double-byte range */
    int nranges;
    int negated;
};

struct dbcs_backtrack
{
    struct instr* code;
    int ncode;
    struct charset* sets;
    int nsets;
    int ngroups;
    int nloops;
    int matches_nothing;
    int no_sub;
};

enum token_type
{
    TK_END, TK_CHAR, TK_ALT, TK_STAR, TK_PLUS, TK_QUESTION, TK_OPEN_DUP, TK_CLOSE_DUP,
    TK_OPEN, TK_CLOSE, TK_BRACKET, TK_PERIOD, TK_BOL, TK_EOL, TK_BACKREF, TK_UNSUPPORTED
};

struct token
{
    enum token_type type;
    unsigned int value; /* the character's code, or the back-reference's group */
    size_t width;
};

struct parser
{
    const unsigned char* pat;
    size_t len;
    size_t pos; /* where tok starts */
    struct token tok;
    dbcs_backtrack_t* prog;
    unsigned int completed_groups;
    int has_backref;
    int unsupported;
    int out_of_memory;
};

static size_t char_length(const unsigned char* s, size_t i, size_t len)
{
    return dbcs_is_lead(s[i]) && i + 1 < len && s[i + 1] != '\n' ? 2 : 1;
}

static unsigned int char_code(const unsigned char* s, size_t i, size_t length)
{
    return length == 2 ? (unsigned int) s[i] << 8 | s[i + 1] : s[i];
}

static void lex(struct parser* p)
{
    const unsigned char* s = p->pat;
    size_t i = p->pos;
    size_t n;
    struct token* t = &p->tok;

    if (i >= p->len) {
        t->type = TK_END;
        t->width = 0;
        return;
    }
    n = char_length(s, i, p->len);
    t->type = TK_CHAR;
    t->value = char_code(s, i, n);
    t->width = n;
    if (n == 2)
        return;
    if (s[i] == '\\') {
        if (i + 1 >= p->len) {
            t->type = TK_UNSUPPORTED;
            t->width = 1;
            return;
        }
        n = char_length(s, i + 1, p->len);
        t->value = char_code(s, i + 1, n);
        t->width = 1 + n;
        if (n == 1 && s[i + 1] >= '1' && s[i + 1] <= '9') {
            t->type = TK_BACKREF;
            t->value = s[i + 1] - '0';
        }
        else if (n == 1 && strchr("<>bBwWsS`'", s[i + 1]) != NULL) {
            t->type = TK_UNSUPPORTED;
        }
        return;
    }
    switch (s[i]) {
    case '|': t->type = TK_ALT; break;
    case '*': t->type = TK_STAR; break;
    case '+': t->type = TK_PLUS; break;
    case '?': t->type = TK_QUESTION; break;
    case '{': t->type = TK_OPEN_DUP; break;
    case '}': t->type = TK_CLOSE_DUP; break;
    case '(': t->type = TK_OPEN; break;
    case ')': t->type = TK_CLOSE; break;
    case '[': t->type = TK_BRACKET; break;
    case '.': t->type = TK_PERIOD; break;
    case '^': t->type = TK_BOL; break;
    case '$': t->type = TK_EOL; break;
    default: break;
    }
}

static void advance(struct parser* p)
{
    p->pos += p->tok.width;
    lex(p);
}

/* Past the cap nothing more is written, but parsing goes on to find the back-references. */
static int has_room(struct parser* p, int count)
{
    if (p->prog->ncode + count <= MAX_CODE)
        return 1;
    p->unsupported = 1;
    return 0;
}

static void emit(struct parser* p, enum opcode op, int x, int y)
{
    struct instr* in;

    if (!has_room(p, 1))
        return;
    in = &p->prog->code[p->prog->ncode++];
    in->op = (unsigned char) op;
    in->x = x;
    in->y = y;
}

static void insert(struct parser* p, int at, enum opcode op, int x, int y)
{
    struct instr* code = p->prog->code;

    if (!has_room(p, 1))
        return;
    memmove(code + at + 1, code + at, (size_t) (p->prog->ncode - at) * sizeof *code);
    code[at].op = (unsigned char) op;
    code[at].x = x;
    code[at].y = y;
    ++p->prog->ncode;
}

static void append_copy(struct parser* p, const struct instr* fragment, int length)
{
    if (!has_room(p, length))
        return;
    memcpy(p->prog->code + p->prog->ncode, fragment, (size_t) length * sizeof *fragment);
    p->prog->ncode += length;
}

/* The loop tries one more iteration first; an iteration that matched nothing ends it, which
   keeps "(A*)*" from turning for ever. */
static void append_star(struct parser* p, const struct instr* body, int length)
{
    int head = p->prog->ncode;
    int loop = p->prog->nloops++;

    emit(p, BT_SPLIT, 1, 0);
    emit(p, BT_SAVE, -1 - loop, 0);
    append_copy(p, body, length);
    emit(p, BT_LOOP, head - p->prog->ncode, loop);
    if (!p->unsupported)
        p->prog->code[head].y = p->prog->ncode - head;
}

/* "e{0,k}" as the GNU engine writes it, (e(e(e)?)?)?: a failure anywhere goes to the end. */
static void append_optionals(struct parser* p, const struct instr* body, int length, int count)
{
    int first = p->prog->ncode;
    int i;

    for (i = 0; i < count && !p->unsupported; ++i) {
        emit(p, BT_SPLIT, 1, 0);
        append_copy(p, body, length);
    }
    for (i = 0; i < count && !p->unsupported; ++i) {
        int at = first + i * (length + 1);
        p->prog->code[at].y = p->prog->ncode - at;
    }
}

/* Reads "{m}", "{m,}", "{,n}", "{m,n}" or "{,}"; anything else the GNU engine accepted there
   (an escaped comma) is left unread. Returns 0 then. */
static int read_interval(struct parser* p, int* min, int* max)
{
    int numbers[2] = { -1, -1 };
    int which = 0;

    advance(p);
    while (p->tok.type != TK_CLOSE_DUP) {
        unsigned int c = p->tok.value;
        if (p->tok.type == TK_END)
            return 0;
        if (p->tok.type == TK_CHAR && p->tok.width == 1 && c == ',' && which == 0)
            which = 1;
        else if (p->tok.type == TK_CHAR && p->tok.width == 1 && c >= '0' && c <= '9')
            numbers[which] = numbers[which] < 0 ? (int) (c - '0')
                                                : numbers[which] * 10 + (int) (c - '0');
        else
            return 0;
        if (numbers[which] > 0x7FFF)
            return 0;
        advance(p);
    }
    *min = numbers[0] < 0 ? 0 : numbers[0];
    *max = which == 0 ? *min : numbers[1];
    return 1;
}

static void parse_dup(struct parser* p, int start)
{
    int min = 0;
    int max = DUP_UNBOUNDED;
    int length;
    struct instr* body;
    int i;

    if (p->tok.type == TK_PLUS)
        min = 1;
    else if (p->tok.type == TK_QUESTION)
        max = 1;
    else if (p->tok.type == TK_OPEN_DUP && !read_interval(p, &min, &max))
        p->unsupported = 1;
    advance(p);

    length = p->prog->ncode - start;
    if (length == 0 || p->unsupported)
        return;
    body = malloc((size_t) length * sizeof *body);
    if (body == NULL) {
        p->out_of_memory = p->unsupported = 1;
        return;
    }
    memcpy(body, p->prog->code + start, (size_t) length * sizeof *body);
    p->prog->ncode = start;
    for (i = 0; i < min && !p->unsupported; ++i)
        append_copy(p, body, length);
    if (max == DUP_UNBOUNDED)
        append_star(p, body, length);
    else
        append_optionals(p, body, length, max - min);
    free(body);
}

struct bracket_token
{
    int type; /* TK_CHAR, TK_CLOSE, TK_END, or one of the BR_ values below */
    unsigned int value;
    size_t width;
};

enum { BR_COLL = 100, BR_EQUIV, BR_CLASS, BR_RANGE };

static void lex_bracket(struct parser* p, size_t i, struct bracket_token* t)
{
    const unsigned char* s = p->pat;

    t->type = TK_CHAR;
    if (i >= p->len) {
        t->type = TK_END;
        t->value = 0;
        t->width = 0;
        return;
    }
    t->width = char_length(s, i, p->len);
    t->value = char_code(s, i, t->width);
    if (t->width == 2)
        return;
    if (s[i] == '[' && i + 1 < p->len && strchr(".=:", s[i + 1]) != NULL) {
        t->type = s[i + 1] == '.' ? BR_COLL : s[i + 1] == '=' ? BR_EQUIV : BR_CLASS;
        t->width = 2;
    }
    else if (s[i] == ']') {
        t->type = TK_CLOSE;
    }
    else if (s[i] == '-') {
        t->type = BR_RANGE;
        /* The GNU engine reads "---" as one "-" in a way of its own. */
        if (i + 2 < p->len && s[i + 1] == '-' && s[i + 2] == '-')
            p->unsupported = 1;
    }
}

/* One member: a character (class 0) or a class. */
struct bracket_element
{
    unsigned int code;
    int class_index;
};

static void parse_bracket_element(struct parser* p, size_t* i, const struct bracket_token* t,
                                  struct bracket_element* e)
{
    const unsigned char* s = p->pat;
    char name[32];
    size_t start;
    size_t length;

    e->code = t->value;
    e->class_index = 0;
    *i += t->width;
    if (t->type != BR_COLL && t->type != BR_EQUIV && t->type != BR_CLASS)
        return;
    start = *i;
    while (*i + 1 < p->len && !(s[*i] == s[start - 1] && s[*i + 1] == ']'))
        ++*i;
    length = *i - start;
    *i += 2;
    if (*i > p->len || length >= sizeof name) {
        p->unsupported = 1;
        return;
    }
    memcpy(name, s + start, length);
    name[length] = '\0';
    if (t->type == BR_CLASS)
        e->class_index = dbcs_class_index(name);
    else
        e->code = (unsigned char) name[0];
    if ((t->type == BR_CLASS && e->class_index == 0) || (t->type != BR_CLASS && length != 1))
        p->unsupported = 1;
}

static int add_range(struct parser* p, struct charset* set, unsigned int first, unsigned int last)
{
    unsigned int c;
    unsigned int* ranges;

    for (c = first; c <= last && c <= 0xFF; ++c)
        set->single[c / 8] |= (unsigned char) (1u << c % 8);
    if (last <= 0xFF)
        return 1;
    ranges = realloc(set->ranges, (size_t) (set->nranges + 1) * 2 * sizeof *ranges);
    if (ranges == NULL) {
        p->out_of_memory = p->unsupported = 1;
        return 0;
    }
    set->ranges = ranges;
    ranges[(size_t) set->nranges * 2] = first > 0xFF ? first : 0x100;
    ranges[(size_t) set->nranges * 2 + 1] = last;
    ++set->nranges;
    return 1;
}

static void add_element(struct parser* p, struct charset* set, const struct bracket_element* e)
{
    int c;

    if (e->class_index == 0) {
        add_range(p, set, e->code, e->code);
        return;
    }
    for (c = 0; c <= 0x7F; ++c) {
        if (dbcs_class_contains(e->class_index, c))
            set->single[c / 8] |= (unsigned char) (1u << c % 8);
    }
}

static void finish_set(struct charset* set)
{
    int c;

    for (c = 0; c <= 0xFF; ++c) {
        if (set->negated)
            set->single[c / 8] ^= (unsigned char) (1u << c % 8);
        if (dbcs_is_lead((unsigned char) c))
            set->single[c / 8] &= (unsigned char) ~(1u << c % 8);
    }
}

/* The GNU engine's reading: "^" first negates, a "]" first is a member, "-" is a member first
   or last, classes cannot end a range, and a single-byte lead byte is never a member. */
static void parse_bracket_members(struct parser* p, size_t* i, struct charset* set)
{
    struct bracket_token t;
    struct bracket_token t2;
    struct bracket_element first;
    struct bracket_element last;

    lex_bracket(p, *i, &t);
    if (t.type == TK_CHAR && t.value == '^') {
        set->negated = 1;
        *i += 1;
        lex_bracket(p, *i, &t);
    }
    if (t.type == TK_CLOSE)
        t.type = TK_CHAR;
    for (;;) {
        int is_range = 0;
        if (t.type == TK_END)
            break;
        parse_bracket_element(p, i, &t, &first);
        lex_bracket(p, *i, &t);
        if (first.class_index == 0 && t.type == BR_RANGE) {
            lex_bracket(p, *i + t.width, &t2);
            if (t2.type == TK_CLOSE) {
                t.type = TK_CHAR;
            }
            else {
                *i += t.width;
                parse_bracket_element(p, i, &t2, &last);
                lex_bracket(p, *i, &t);
                is_range = 1;
                if (last.class_index != 0 || last.code < first.code
                    || (first.code <= 0xFF && dbcs_is_lead((unsigned char) first.code)))
                    p->unsupported = 1;
            }
        }
        if (is_range && !p->unsupported)
            add_range(p, set, first.code, last.code);
        else if (!is_range)
            add_element(p, set, &first);
        if (t.type == TK_CLOSE) {
            *i += 1;
            return;
        }
    }
    p->unsupported = 1;
}

static void parse_bracket(struct parser* p)
{
    dbcs_backtrack_t* prog = p->prog;
    struct charset* sets;
    struct charset* set;
    size_t i = p->pos + 1;

    sets = realloc(prog->sets, (size_t) (prog->nsets + 1) * sizeof *sets);
    if (sets == NULL) {
        p->out_of_memory = p->unsupported = 1;
        return;
    }
    prog->sets = sets;
    set = &sets[prog->nsets++];
    memset(set, 0, sizeof *set);
    parse_bracket_members(p, &i, set);
    finish_set(set);
    emit(p, BT_SET, prog->nsets - 1, 0);
    p->pos = i;
    lex(p);
}

static void parse_reg_exp(struct parser* p, int nest);

static void parse_group(struct parser* p, int nest)
{
    int group = ++p->prog->ngroups;

    advance(p);
    emit(p, BT_SAVE, 2 * group, 0);
    if (p->tok.type != TK_CLOSE)
        parse_reg_exp(p, nest + 1);
    if (p->tok.type != TK_CLOSE)
        p->unsupported = 1;
    emit(p, BT_SAVE, 2 * group + 1, 0);
    if (group <= 9)
        p->completed_groups |= 1u << group;
    advance(p);
}

static void parse_expression(struct parser* p, int nest)
{
    int start = p->prog->ncode;

    while (p->tok.type == TK_STAR || p->tok.type == TK_PLUS || p->tok.type == TK_QUESTION
           || p->tok.type == TK_OPEN_DUP)
        advance(p);
    switch (p->tok.type) {
    case TK_END:
    case TK_ALT:
        return;
    case TK_OPEN:
        parse_group(p, nest);
        break;
    case TK_BRACKET:
        parse_bracket(p);
        break;
    case TK_PERIOD:
        emit(p, BT_ANY, 0, 0);
        advance(p);
        break;
    case TK_BACKREF:
        p->has_backref = 1;
        if ((p->completed_groups & 1u << p->tok.value) == 0)
            p->unsupported = 1;
        emit(p, BT_BACKREF, (int) p->tok.value, 0);
        advance(p);
        break;
    case TK_BOL:
    case TK_EOL:
        /* The GNU engine lets no repetition follow an anchor: the next "*" stands alone. */
        emit(p, p->tok.type == TK_BOL ? BT_BOL : BT_EOL, 0, 0);
        advance(p);
        return;
    case TK_UNSUPPORTED:
        p->unsupported = 1;
        emit(p, BT_FAIL, 0, 0);
        advance(p);
        break;
    default:
        emit(p, BT_CHAR, (int) p->tok.value, 0);
        advance(p);
        break;
    }
    while (p->tok.type == TK_STAR || p->tok.type == TK_PLUS || p->tok.type == TK_QUESTION
           || p->tok.type == TK_OPEN_DUP)
        parse_dup(p, start);
}

static int ends_branch(const struct parser* p, int nest)
{
    return p->tok.type == TK_ALT || p->tok.type == TK_END
           || (nest > 0 && p->tok.type == TK_CLOSE);
}

static void parse_branch(struct parser* p, int nest)
{
    parse_expression(p, nest);
    while (!ends_branch(p, nest))
        parse_expression(p, nest);
}

/* Each further alternative: SPLIT first-branch, second-branch; first branch; JMP end. */
static void parse_reg_exp(struct parser* p, int nest)
{
    int start = p->prog->ncode;

    parse_branch(p, nest);
    while (p->tok.type == TK_ALT) {
        int middle;
        advance(p);
        middle = p->prog->ncode;
        if (!ends_branch(p, nest))
            parse_branch(p, nest);
        insert(p, middle, BT_JMP, p->prog->ncode + 1 - middle, 0);
        insert(p, start, BT_SPLIT, 1, middle + 2 - start);
    }
}

void dbcs_backtrack_free(dbcs_backtrack_t* prog)
{
    int i;

    if (prog == NULL)
        return;
    for (i = 0; i < prog->nsets; ++i)
        free(prog->sets[i].ranges);
    free(prog->sets);
    free(prog->code);
    free(prog);
}

int dbcs_backtrack_compile(const char* pattern, int cflags, dbcs_backtrack_t** out)
{
    struct parser p;

    *out = NULL;
    memset(&p, 0, sizeof p);
    p.pat = (const unsigned char*) pattern;
    p.len = strlen(pattern);
    p.prog = calloc(1, sizeof *p.prog);
    if (p.prog != NULL)
        p.prog->code = malloc(MAX_CODE * sizeof *p.prog->code);
    if (p.prog == NULL || p.prog->code == NULL) {
        dbcs_backtrack_free(p.prog);
        return SCOURLY_REG_ESPACE;
    }
    lex(&p);
    parse_reg_exp(&p, 0);
    if (p.tok.type != TK_END)
        p.unsupported = 1;
    emit(&p, BT_MATCH, 0, 0);
    if (p.out_of_memory || !p.has_backref) {
        dbcs_backtrack_free(p.prog);
        return p.out_of_memory ? SCOURLY_REG_ESPACE : SCOURLY_REG_NOERROR;
    }
    p.prog->matches_nothing = p.unsupported
        || (cflags & ~(SCOURLY_REG_EXTENDED | SCOURLY_REG_NOSUB)) != 0
        || (cflags & SCOURLY_REG_EXTENDED) == 0;
    p.prog->no_sub = (cflags & SCOURLY_REG_NOSUB) != 0;
    *out = p.prog;
    return SCOURLY_REG_NOERROR;
}

/* A saved alternative (pc >= 0) or a register's previous value (register -1 - pc). */
struct saved
{
    int pc;
    ptrdiff_t value;
};

struct run
{
    const dbcs_backtrack_t* prog;
    const unsigned char* s;
    ptrdiff_t len;
    unsigned char* widths; /* the length of the character that starts there, else 0 */
    ptrdiff_t* regs;
    int nregs;
    struct saved* stack;
    size_t depth;
    size_t capacity;
    int held; /* failure points on the stack */
    long long steps;
    long long step_limit;
    int gave_up;
    ptrdiff_t best;
};

enum { RUN_DONE, RUN_WHOLE, RUN_GAVE_UP, RUN_OUT_OF_MEMORY };

/* A step is one instruction run; a back-reference also pays for the bytes it compares, at the
   rate at which memcmp compares them. */
enum { BACKREF_BYTES_PER_STEP = 8 };

/* Three groups and their back-references, "(.*)(.*)(.*)\3\2\1", need up to n * n * n / 5
   steps to find that they match n equal characters. With room to spare above that, such names
   match at the longest a folder holds (255 characters), and no name costs more than some five
   million steps. Counted in characters: a double-byte character is one choice of the search,
   not two. */
static long long step_limit(size_t nchars)
{
    long long n = nchars < 1000000 ? (long long) nchars : 1000000;

    return 100000 + n * n * n / 3;
}

static int push(struct run* r, int pc, ptrdiff_t value)
{
    if (r->depth == r->capacity) {
        size_t capacity = r->capacity == 0 ? 64 : r->capacity * 2;
        struct saved* stack = realloc(r->stack, capacity * sizeof *stack);
        if (stack == NULL)
            return 0;
        r->stack = stack;
        r->capacity = capacity;
    }
    r->stack[r->depth].pc = pc;
    r->stack[r->depth].value = value;
    ++r->depth;
    return 1;
}

static int set_contains(const struct charset* set, const struct run* r, ptrdiff_t sp, size_t n)
{
    unsigned int code = char_code(r->s, (size_t) sp, n);
    int i;

    if (n == 1)
        return (set->single[code / 8] >> code % 8) & 1;
    for (i = 0; i < set->nranges; ++i) {
        if (set->ranges[(size_t) i * 2] <= code && code <= set->ranges[(size_t) i * 2 + 1])
            return !set->negated;
    }
    return set->negated;
}

static int backref_matches(struct run* r, int group, ptrdiff_t sp)
{
    ptrdiff_t so = r->regs[(size_t) group * 2];
    ptrdiff_t eo = r->regs[(size_t) group * 2 + 1];

    /* A group that took no part in the match matches nothing, as in the GNU engine. */
    if (so < 0 || eo < so || sp + (eo - so) > r->len)
        return 0;
    r->steps += (eo - so) / BACKREF_BYTES_PER_STEP;
    return memcmp(r->s + so, r->s + sp, (size_t) (eo - so)) == 0
           && (sp + (eo - so) == r->len || r->widths[sp + (eo - so)] != 0);
}

/* Tries every way from start, keeping the longest, until one reaches the end of the string. */
static int explore(struct run* r, ptrdiff_t start)
{
    const struct instr* code = r->prog->code;
    const int loop_base = 2 * (r->prog->ngroups + 1);
    int pc = 0;
    ptrdiff_t sp = start;
    int i;

    for (i = 0; i < r->nregs; ++i)
        r->regs[i] = -1;
    r->depth = 0;
    r->held = 0;
    for (;;) {
        const struct instr* in = &code[pc];
        size_t n = r->widths[sp];
        int ok = 1;
        if (++r->steps > r->step_limit)
            return RUN_GAVE_UP;
        switch ((enum opcode) in->op) {
        case BT_CHAR:
            ok = n == ((unsigned int) in->x > 0xFF ? 2u : 1u)
                 && char_code(r->s, (size_t) sp, n) == (unsigned int) in->x;
            sp += ok ? (ptrdiff_t) n : 0;
            ++pc;
            break;
        case BT_ANY:
            ok = n == 2 || (n == 1 && !dbcs_is_lead(r->s[sp]));
            sp += ok ? (ptrdiff_t) n : 0;
            ++pc;
            break;
        case BT_SET:
            ok = n != 0 && set_contains(&r->prog->sets[in->x], r, sp, n);
            sp += ok ? (ptrdiff_t) n : 0;
            ++pc;
            break;
        case BT_SPLIT:
            if (++r->held > DBCS_BACKTRACK_FAILURE_POINTS)
                return RUN_GAVE_UP;
            if (!push(r, pc + in->y, sp))
                return RUN_OUT_OF_MEMORY;
            pc += in->x;
            break;
        case BT_JMP:
            pc += in->x;
            break;
        case BT_SAVE: {
            int reg = in->x >= 0 ? in->x : loop_base - 1 - in->x;
            if (!push(r, -1 - reg, r->regs[reg]))
                return RUN_OUT_OF_MEMORY;
            r->regs[reg] = sp;
            ++pc;
            break;
        }
        case BT_LOOP:
            pc += sp != r->regs[loop_base + in->y] ? in->x : 1;
            break;
        case BT_BACKREF:
            ok = backref_matches(r, in->x, sp);
            if (ok)
                sp += r->regs[(size_t) in->x * 2 + 1] - r->regs[(size_t) in->x * 2];
            ++pc;
            break;
        case BT_BOL:
            ok = sp == 0;
            ++pc;
            break;
        case BT_EOL:
            ok = sp == r->len;
            ++pc;
            break;
        case BT_FAIL:
            ok = 0;
            break;
        case BT_MATCH:
            if (sp > r->best)
                r->best = sp;
            if (sp == r->len)
                return RUN_WHOLE;
            ok = 0;
            break;
        }
        while (!ok) {
            struct saved* top;
            if (r->depth == 0)
                return RUN_DONE;
            top = &r->stack[--r->depth];
            if (top->pc >= 0) {
                --r->held;
                pc = top->pc;
                sp = top->value;
                ok = 1;
            }
            else {
                r->regs[-1 - top->pc] = top->value;
            }
        }
    }
}

static int search(struct run* r, scourly_regmatch_t* match)
{
    ptrdiff_t start;

    for (start = 0; start <= r->len; ++start) {
        int outcome;
        if (start < r->len && r->widths[start] == 0)
            continue;
        r->best = -1;
        outcome = explore(r, start);
        if (outcome == RUN_GAVE_UP) {
            r->gave_up = 1;
            return SCOURLY_REG_NOMATCH;
        }
        if (outcome == RUN_OUT_OF_MEMORY)
            return SCOURLY_REG_ESPACE;
        if (r->best >= 0) {
            if (match != NULL) {
                match->rm_so = start;
                match->rm_eo = r->best;
            }
            return SCOURLY_REG_NOERROR;
        }
    }
    return SCOURLY_REG_NOMATCH;
}

int dbcs_backtrack_exec(const dbcs_backtrack_t* prog, const char* string,
                        scourly_regmatch_t* match, int* gaveUp)
{
    struct run r;
    size_t i;
    size_t nchars = 0;
    int result = SCOURLY_REG_ESPACE;

    if (gaveUp != NULL)
        *gaveUp = 0;
    if (prog->matches_nothing)
        return SCOURLY_REG_NOMATCH;
    memset(&r, 0, sizeof r);
    r.prog = prog;
    r.s = (const unsigned char*) string;
    r.len = (ptrdiff_t) strlen(string);
    r.nregs = 2 * (prog->ngroups + 1) + prog->nloops;
    r.widths = malloc((size_t) r.len + 1);
    r.regs = malloc((size_t) r.nregs * sizeof *r.regs);
    if (r.widths != NULL && r.regs != NULL) {
        memset(r.widths, 0, (size_t) r.len + 1);
        for (i = 0; i < (size_t) r.len; i += r.widths[i]) {
            r.widths[i] = (unsigned char) char_length(r.s, i, (size_t) r.len);
            ++nchars;
        }
        r.step_limit = step_limit(nchars);
        result = search(&r, prog->no_sub ? NULL : match);
    }
    if (gaveUp != NULL)
        *gaveUp = r.gave_up;
    free(r.stack);
    free(r.regs);
    free(r.widths);
    return result;
}
