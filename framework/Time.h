#pragma once

#include <windows.h>

#include "framework/String.h"

// A point in local time, as far as the program shows times: made from a file's UTC time stamp and
// formatted with strftime's conversions under the "C" locale.
class CTime
{
public:
    CTime() = default;
    // Converts with the time zone's current bias, as FileTimeToLocalFileTime does; an unconvertible
    // stamp gives a time that is not valid.
    explicit CTime(const FILETIME& utc);

    BOOL IsValid() const { return m_bValid; }

    // Empty when the time is not valid or the text cannot be made.
    CString Format(LPCSTR format) const;

private:
    SYSTEMTIME m_st = {};
    bool m_bValid = false;
};
