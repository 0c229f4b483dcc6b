#ifndef SCOURLY_FRAMEWORK_DBCSMODEL_H
#define SCOURLY_FRAMEWORK_DBCSMODEL_H

/* The program's double-byte character model, which its strings, its filters and both regular-
   expression engines share whatever the process locale says: a byte from 0x80 to 0x9F or from
   0xE0 to 0xFF starts a two-byte character, whose code is lead * 256 + trail.

   The readings part at what such a first byte may take along. A string (upper-casing, cutting to
   fit a buffer) takes any byte after it but a NUL. The regular expressions, as the GNU engine
   reads multibyte text, take neither a NUL nor a line feed: before one the first byte stands
   alone; the filters' plain wildcard matcher leaves such names to the engine. Paths are cut by
   the code page's own table instead (framework/Path.h). */

static inline int dbcs_is_lead(unsigned char ch)
{
    return (ch >= 0x80 && ch <= 0x9F) || ch >= 0xE0;
}

#endif
