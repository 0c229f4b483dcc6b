#ifndef SCOURLY_ENGINE_REGEX_PATTERNCOST_H
#define SCOURLY_ENGINE_REGEX_PATTERNCOST_H

/* What compiling and matching an extended pattern would cost the GNU engine, read from the pattern
   before the engine sees it. The engine writes every interval out ("X{2,4}" becomes
   "XX(X(X)?)?", "X+" becomes "XX*"), so nested intervals multiply; and each copy that may be
   skipped or repeated makes every state that reaches it larger, which the engine pays for in
   memory while compiling and in time at every character it matches. A filter is typed by the
   user, so what a pattern may cost is bounded here, from the pattern's text alone.

   The estimate counts the pattern's atoms as the engine would expand them (characters, ".",
   bracket expressions, escapes, anchors, groups and alternatives, each copy of them), and among
   them the atoms of copies that may be skipped ("?", intervals past their minimum) and of copies
   that repeat without end ("*", "+", "{n,}"). Counts saturate: no pattern overflows them. */

#ifdef __cplusplus
extern "C" {
#endif

enum
{
    /* All atoms of the expanded pattern: twice what the longest filter entry holds without
       intervals; that many compile in a few milliseconds and a megabyte. */
    DBCS_COST_ATOMS = 2048,
    /* Atoms that may be skipped count once and atoms that repeat count DBCS_COST_REPEAT_WEIGHT
       times, against DBCS_COST_LOOSE: a repeating atom stays alive over the whole name, a
       skippable one only as far as its interval reaches. The costliest patterns within it, such
       as ".{1,129}X", take some 20 ms on a name of 255 double-byte characters (scripts/bench
       --filters); ".{2,40}" and "[0-9]{1,8}" are far inside it. */
    DBCS_COST_LOOSE = 128,
    DBCS_COST_REPEAT_WEIGHT = 4
};

/* 1 when the pattern, read in the extended syntax on the program's double-byte model, is within
   both bounds; 0 when it is not. A pattern the engine will refuse anyway may be given either
   answer. */
int dbcs_pattern_cost_within_bounds(const char* pattern);

#ifdef __cplusplus
}
#endif

#endif
