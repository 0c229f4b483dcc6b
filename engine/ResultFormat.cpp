#include "engine/ResultFormat.h"

#include "engine/EngineResources.h"
#include "framework/WinApp.h"

CString TotalText(LPCSTR amount)
{
    CString text;
    text.Format(LoadResourceString(IDS_TOTAL_SIZE), amount);
    return text;
}

CString CountText(int nRows)
{
    CString text;
    text.Format(LoadResourceString(IDS_FILE_COUNT), nRows);
    return text;
}

CString FormatTotal(LONGLONG nBytes)
{
    const ULONGLONG value = static_cast<ULONGLONG>(nBytes);
    CString text;
    if (value < 1024ULL)
        text.Format("%d Byte", static_cast<int>(value));
    else if (value < 1048576ULL)
        text.Format("%.3f KB", static_cast<double>(value) / 1024.0);
    else if (value < 1073741824ULL)
        text.Format("%.3f MB", static_cast<double>(value) / 1048576.0);
    else
        text.Format("%.3f GB", static_cast<double>(value) / 1073741824.0);
    return text;
}

CString FormatSize(LONGLONG nBytes)
{
    CString digits;
    digits.Format("%lld", nBytes);
    const int nSign = nBytes < 0 ? 1 : 0;
    const int nDigits = digits.GetLength() - nSign;
    CString text = digits.Left(nSign);
    for (int i = 0; i < nDigits; ++i) {
        if (i > 0 && (nDigits - i) % 3 == 0)
            text += ',';
        text += digits[nSign + i];
    }
    return text;
}

CString FormatAttributes(DWORD dwAttributes)
{
    static const struct {
        DWORD dwBit;
        char chLetter;
    } letters[] = {
        {FILE_ATTRIBUTE_READONLY, 'R'}, {FILE_ATTRIBUTE_ARCHIVE, 'A'},
        {FILE_ATTRIBUTE_COMPRESSED, 'C'}, {FILE_ATTRIBUTE_HIDDEN, 'H'},
        {FILE_ATTRIBUTE_SYSTEM, 'S'},
    };
    CString text;
    for (const auto& letter : letters) {
        if (dwAttributes & letter.dwBit)
            text += letter.chLetter;
    }
    return text;
}

CString FormatTime(const FILETIME& utc)
{
    SYSTEMTIME universal, local;
    // The zone's rules for that date, so that a summer date reads in summer time all year round.
    if (!::FileTimeToSystemTime(&utc, &universal) ||
        !::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return CString();
    int nHour12 = local.wHour % 12;
    if (nHour12 == 0)
        nHour12 = 12;
    CString text;
    text.Format("%02u/%02u/%02u %s %02d:%02u", local.wYear % 100u, local.wMonth, local.wDay,
                local.wHour < 12 ? "AM" : "PM", nHour12, local.wMinute);
    return text;
}
