#include "framework/Time.h"

#include <ctime>

CTime::CTime(const FILETIME& utc)
{
    FILETIME local;
    m_bValid = FileTimeToLocalFileTime(&utc, &local) && FileTimeToSystemTime(&local, &m_st);
}

CString CTime::Format(LPCSTR format) const
{
    if (!m_bValid)
        return CString();
    static const int daysBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const int year = m_st.wYear;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    std::tm tm = {};
    tm.tm_year = year - 1900;
    tm.tm_mon = m_st.wMonth - 1;
    tm.tm_mday = m_st.wDay;
    tm.tm_hour = m_st.wHour;
    tm.tm_min = m_st.wMinute;
    tm.tm_sec = m_st.wSecond;
    tm.tm_wday = m_st.wDayOfWeek;
    tm.tm_yday = daysBefore[tm.tm_mon] + tm.tm_mday - 1 + (leap && tm.tm_mon > 1 ? 1 : 0);
    tm.tm_isdst = -1;
    char buffer[256];
    const size_t length = std::strftime(buffer, sizeof(buffer), format, &tm);
    return CString(buffer, static_cast<int>(length));
}
