#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "res/resource.h"
#include "tests/MainDlgDriver.h"

// Seconds on the performance counter.
double Now();

// The real main dialog, run modally and visibly as the program runs it, playing a script inside
// its message loop once it is up: the tests' driver. Nothing is hooked (no message box answerer):
// a hook on the dialog's thread would cost a server round trip per message and slow down the very
// thing measured.
class CBenchDlg : public MainDlgDriver
{
public:
    int Play(std::function<void(CBenchDlg&)> script)
    {
        return MainDlgDriver::Play(
            [script](MainDlgDriver& d) { script(static_cast<CBenchDlg&>(d)); });
    }
    // Paints what is pending and dispatches waiting messages for ms milliseconds, so that a timing
    // starts from a dialog at rest.
    void Settle(DWORD ms);
    std::string StatusText() const { return Text(IDC_STATUS_TEXT); }
    int Rows() const { return m_list.GetItemCount(); }
    // The rows whose result column reads string nID.
    int RowsWithResult(UINT nID) const;
};

// Acts from another thread at a moment of its own, as a user's click arrives in the dialog's queue
// whatever the dialog is doing. Joined when the object goes.
class CUserThread
{
public:
    // Posts command id to the dialog delayMs after now; Acted() is when it was posted.
    static CUserThread PostCommandLater(HWND hDialog, UINT id, DWORD delayMs);
    // Waits (up to 10 s) for a message box of the dialog's thread and clicks its OK button.
    static CUserThread AnswerMessageBox(HWND hDialog);

    CUserThread(CUserThread&& other) = default;
    ~CUserThread();
    // 0 until the thread has acted, and when it never did.
    double Acted();

private:
    CUserThread() = default;
    std::thread m_thread;
    std::shared_ptr<double> m_pActed = std::make_shared<double>(0.0);
};

// The text of string nID.
std::string LoadText(UINT nID);
