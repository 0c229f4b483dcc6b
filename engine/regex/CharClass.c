#include "CharClass.h"

#include <string.h>

static const struct
{
    const char* name;
    int (*test)(int);
} dbcs_classes[] = {
    { "alnum", c_isalnum }, { "alpha", c_isalpha }, { "blank", c_isblank },
    { "cntrl", c_iscntrl }, { "digit", c_isdigit }, { "graph", c_isgraph },
    { "lower", c_islower }, { "print", c_isprint }, { "punct", c_ispunct },
    { "space", c_isspace }, { "upper", c_isupper }, { "xdigit", c_isxdigit },
};

enum { DBCS_CLASS_COUNT = sizeof dbcs_classes / sizeof dbcs_classes[0] };

int dbcs_class_index(const char* name)
{
    int i;

    for (i = 0; i < DBCS_CLASS_COUNT; ++i) {
        if (strcmp(dbcs_classes[i].name, name) == 0)
            return i + 1;
    }
    return 0;
}

int dbcs_class_contains(int index, int ch)
{
    if (index < 1 || index > DBCS_CLASS_COUNT || ch < 0 || ch > 0x7F)
        return 0;
    return dbcs_classes[index - 1].test(ch);
}
