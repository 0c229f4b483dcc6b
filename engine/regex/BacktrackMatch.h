#ifndef SCOURLY_ENGINE_REGEX_BACKTRACKMATCH_H
#define SCOURLY_ENGINE_REGEX_BACKTRACKMATCH_H

/* The matcher that answers for patterns holding a back-reference ("\1" to "\9"). The GNU engine
   still compiles every pattern, so what it refuses stays refused with the same error; but its
   matcher gives wrong answers for some back-references and its work on them has no bound, and a
   wrong "match" deletes a file. This one reads the same extended syntax on the same double-byte
   model and searches by backtracking within two bounds, past which it gives up and reports no
   match: DBCS_BACKTRACK_FAILURE_POINTS failure points (saved alternatives) held at once, and a
   number of steps per call that grows with the cube of the name's length, which is what three
   groups and their back-references need on a name they match.

   A pattern that holds a back-reference together with a construct this matcher does not read
   (the GNU word and buffer operators "\<", "\>", "\b", "\B", "\w", "\W", "\s", "\S", "\`", "\'",
   or compile flags other than REG_EXTENDED and REG_NOSUB) matches nothing: what cannot be
   decided is never taken for a match. */

#include <stddef.h>

#include "DbcsRegex.h"
#include "framework/DbcsModel.h"

#ifdef __cplusplus
extern "C" {
#endif

enum { DBCS_BACKTRACK_FAILURE_POINTS = 2000 };

typedef struct dbcs_backtrack dbcs_backtrack_t;

/* For a pattern that the GNU engine compiled with cflags: stores in *out the program that
   answers for it, or NULL when the pattern holds no back-reference and the GNU engine answers.
   Returns SCOURLY_REG_NOERROR, or SCOURLY_REG_ESPACE when memory runs out. */
int dbcs_backtrack_compile(const char* pattern, int cflags, dbcs_backtrack_t** out);

/* The leftmost-longest match, its span in *match unless match is NULL or the pattern was
   compiled with REG_NOSUB. SCOURLY_REG_NOMATCH also when a bound ended the search; gaveUp, when
   not NULL, then receives 1. */
int dbcs_backtrack_exec(const dbcs_backtrack_t* prog, const char* string,
                        scourly_regmatch_t* match, int* gaveUp);

void dbcs_backtrack_free(dbcs_backtrack_t* prog);

#ifdef __cplusplus
}
#endif

#endif
