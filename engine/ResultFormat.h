#pragma once

#include <windows.h>

#include "framework/String.h"

// The texts of the result list: its cells and the count and total under it.

// " 合計: <amount>" and "ﾌｧｲﾙ数 : <rows>".
CString TotalText(LPCSTR amount);
CString CountText(int nRows);
// A total in bytes, KB, MB or GB, by its range ("1.506 KB").
CString FormatTotal(LONGLONG nBytes);
// Bytes, grouped by thousands ("1,234,567").
CString FormatSize(LONGLONG nBytes);
// The letters of the attributes that the item's mask governs, in the order "RACHS".
CString FormatAttributes(DWORD dwAttributes);
// "%y/%m/%d %p %I:%M" of the local time; empty when the time does not convert.
CString FormatTime(const FILETIME& utc);
