#pragma once

#include <windows.h>

#include <functional>
#include <random>
#include <string>

// Removes a folder tree; read-only files and names the code page cannot carry included, links to
// folders not followed.
void RemoveTree(const std::string& path);
bool PathExists(const std::string& path);
// The text in UTF-16, from the code page.
std::wstring Wide(const std::string& text);

// A fresh folder under the temporary folder, removed with everything in it when the object goes.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder() { RemoveTree(m_path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, without a trailing backslash.
    const std::string& Path() const { return m_path; }
    // Path() + "\" + relative.
    std::string operator/(const std::string& relative) const { return m_path + "\\" + relative; }

    // Creates the file holding size bytes, and the folders it needs; a name that ends in a
    // backslash is a folder.
    void AddFile(const std::string& relative, DWORD size = 0, DWORD attributes = 0) const;
    // For names that the code page cannot carry or that name devices.
    void AddWideFile(const std::wstring& relative, DWORD size = 0, DWORD attributes = 0) const;
    bool WideExists(const std::wstring& relative) const;
    // A symbolic link made by the host system. Wine reports a link to a folder as a reparse point,
    // and a link to a file as a plain file.
    bool AddLink(const std::string& relative, const std::string& targetPath) const;
    // Removes a link by the host system: under Wine, deleting one deletes its target.
    bool RemoveLink(const std::string& relative) const;
    bool Exists(const std::string& relative) const { return PathExists(*this / relative); }

private:
    std::string m_path;
};

// The whole file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

std::string WindowText(HWND hWnd);

// String-table entry id as the program loads it (Shift-JIS).
std::string LoadText(UINT id);

// The count and total texts up to their numbers: "ﾌｧｲﾙ数 : " and " 合計: " in Shift-JIS.
extern const std::string kCountPrefix;
extern const std::string kTotalPrefix;

// Answers every dialog that opens on this thread while it exists (message boxes, the folder
// browser, the filter editor) the way a user would, once the dialog is set up; look sees it, or
// fills it in, first. Remembers a message box's text.
class DialogAnswerer
{
public:
    explicit DialogAnswerer(int answer, std::function<void(HWND)> look = nullptr);
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    int Count() const { return m_nCount; }
    std::string LastText() const { return m_strText; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    HHOOK m_hHook = nullptr;
    int m_nAnswer;
    std::function<void(HWND)> m_look;
    int m_nCount = 0;
    std::string m_strText;
};

// count pieces drawn at random and joined, for the tests that hold two matchers to each other.
template <size_t N>
std::string RandomPieces(std::mt19937& random, const char* const (&pieces)[N], unsigned count)
{
    std::string joined;
    for (; count > 0; --count)
        joined += pieces[random() % N];
    return joined;
}
