#pragma once

#include <windows.h>

#include "framework/String.h"

// The default value of key lpszKey under hKeyRoot, read through a buffer of cbMax bytes:
// ERROR_SUCCESS, or the registry's error code with rValue empty. A value that does not fit is not
// read (ERROR_MORE_DATA); one that fits exactly need not carry its terminator.
LONG ReadKeyDefault(HKEY hKeyRoot, LPCSTR lpszKey, LONG cbMax, CString& rValue);
