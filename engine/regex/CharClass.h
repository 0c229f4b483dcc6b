#ifndef SCOURLY_ENGINE_REGEX_CHARCLASS_H
#define SCOURLY_ENGINE_REGEX_CHARCLASS_H

/* The "C" locale's character tests and "[:name:]" classes, as both regular-expression matchers
   read them whatever the process locale says: ASCII only, so no byte from 0x80 up and no
   double-byte character belongs to any class. */

static inline int c_isupper(int c) { return c >= 'A' && c <= 'Z'; }
static inline int c_islower(int c) { return c >= 'a' && c <= 'z'; }
static inline int c_isalpha(int c) { return c_isupper(c) || c_islower(c); }
static inline int c_isdigit(int c) { return c >= '0' && c <= '9'; }
static inline int c_isalnum(int c) { return c_isalpha(c) || c_isdigit(c); }
static inline int c_isxdigit(int c)
{
    return c_isdigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
static inline int c_isblank(int c) { return c == ' ' || c == '\t'; }
static inline int c_isspace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
static inline int c_iscntrl(int c) { return (c >= 0 && c < ' ') || c == 0x7F; }
static inline int c_isgraph(int c) { return c > ' ' && c < 0x7F; }
static inline int c_isprint(int c) { return c >= ' ' && c < 0x7F; }
static inline int c_ispunct(int c) { return c_isgraph(c) && !c_isalnum(c); }
static inline int c_toupper(int c) { return c_islower(c) ? c - 'a' + 'A' : c; }
static inline int c_tolower(int c) { return c_isupper(c) ? c - 'A' + 'a' : c; }

#ifdef __cplusplus
extern "C" {
#endif

/* The class that "[:name:]" names, from 1 up; 0 when the name is not one of the twelve. */
int dbcs_class_index(const char* name);
/* Whether ch belongs to the class; nothing belongs to index 0 or to an index out of range. */
int dbcs_class_contains(int index, int ch);

#ifdef __cplusplus
}
#endif

#endif
