#pragma once

#include "framework/String.h"

// The folder an item's text names, as the walk searches it: "C:\" and "C:" give "C:", "C:\temp\"
// keeps its backslash, and a bare "\" gives the empty path, which the walk does not search.
CString RebuildFolderPath(const CString& folder);
