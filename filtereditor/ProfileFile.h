#pragma once

#include "framework/String.h"

// Reads values of one INI file through the system's private-profile service, which matches section
// and key names without regard to case and cuts a value at the buffer's 255 bytes.
class CProfileFile
{
public:
    virtual ~CProfileFile() = default;

    void SetFileName(LPCSTR lpszFileName) { m_strFileName = lpszFileName; }
    // The explicit path when given; otherwise the file name in the executable's folder, or the bare
    // file name (which the service looks for in the Windows folder) when the executable's path
    // cannot be read.
    void ResolvePath(LPCSTR lpszPath = nullptr);
    const CString& GetPath() const { return m_strPath; }

    // The value of the key, at most 255 bytes of it; lpszDefault (null: empty) when the key is
    // missing.
    CString GetString(LPCSTR lpszSection, LPCSTR lpszKey, LPCSTR lpszDefault = nullptr) const;

private:
    CString m_strFileName;
    CString m_strPath;
};

// The value's fields as strtok cuts them at commas: runs of commas are one separator, commas at
// either end are dropped, nothing is trimmed; fields that are not there are empty.
void SplitProfileFields(const CString& strValue, CString* pFields, int nFields);
