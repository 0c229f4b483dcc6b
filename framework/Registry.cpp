#include "framework/Registry.h"

#include <vector>

LONG ReadKeyDefault(HKEY hKeyRoot, LPCSTR lpszKey, LONG cbMax, CString& rValue)
{
    rValue.Empty();
    HKEY hKey = nullptr;
    LONG lResult = ::RegOpenKeyExA(hKeyRoot, lpszKey, 0, KEY_QUERY_VALUE, &hKey);
    if (lResult != ERROR_SUCCESS)
        return lResult;
    // One byte more than the registry is offered, zeroed: the text ends even when the stored
    // value carries no terminator.
    std::vector<char> value(static_cast<size_t>(cbMax) + 1, '\0');
    LONG cbValue = cbMax;
    lResult = ::RegQueryValueA(hKey, nullptr, value.data(), &cbValue);
    ::RegCloseKey(hKey);
    if (lResult == ERROR_SUCCESS)
        rValue = value.data();
    return lResult;
}
