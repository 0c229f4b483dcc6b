#pragma once

#include <windows.h>

#include "framework/String.h"

// Paths are cut and joined by the ANSI code page's own lead bytes (IsDBCSLeadByte), never by the
// filters' fixed character model: in code page 932 the bytes 0x80 and 0xFD-0xFF are characters of
// their own, and a backslash after one of them is a separator, while the second byte of 表 or ソ
// (0x5C) is not.

// Byte index of the last "\" or "/" of path, or -1 when it holds none.
int FindLastPathSeparator(const CString& strPath);
// TRUE when the last character of strPath is "\" or "/".
BOOL EndsWithPathSeparator(const CString& strPath);
// The file strFileName in the folder of strPath, which is cut after its last separator; the bare
// file name when strPath holds none (or is empty).
CString PathBeside(const CString& strPath, const CString& strFileName);
// The full path of a module of this process (the executable for nullptr); empty when the system
// cannot give it whole.
CString GetModuleFilePath(HMODULE hModule = nullptr);
