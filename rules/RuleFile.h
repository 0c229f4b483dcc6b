#pragma once

#include "framework/String.h"

// The current user's rule file: the executable's folder, the user name and ".dat". Empty when the
// executable's path cannot be read, so that nothing is loaded from or written to a guessed folder.
CString GetRuleFilePath();

// The folder of modulePath (up to and including its last backslash character) + userName + ".dat".
CString BuildRuleFilePath(const CString& modulePath, const CString& userName);

// The file that earlier versions used: they read at most 14 bytes of a user name and fell back to
// the bare ".dat" for longer names. Equal to BuildRuleFilePath for every name that fits.
CString BuildLegacyRuleFilePath(const CString& modulePath, const CString& userName);

// The file to load: path, or the legacy file when path does not exist yet and the legacy one does,
// so that a user whose long name used to share ".dat" starts from the rules kept there.
CString ChooseRuleFileToLoad(const CString& path, const CString& legacyPath);

// Where an unreadable rule file is copied before it is replaced: path + ".bak", or the first of
// path + ".bak2", ".bak3", ... that does not exist yet, so an older backup is never overwritten.
// Empty when all of them are taken.
CString FindFreeBackupPath(const CString& path);
