#pragma once

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "framework/String.h"

// Runs a dialog of the program modally, as the program does, and plays a script inside its
// message loop once it is up. The script acts as a user would, through the messages that a user's
// actions produce. TDriver is the class derived from this one, which the script is handed.
template <class TDriver, class TDialog>
class ScriptedDialog : public TDialog
{
public:
    using Script = std::function<void(TDriver&)>;
    using TDialog::TDialog;

    // Runs the dialog until the script (or anything it causes) ends it; returns the end code. A
    // dialog that ended before its script ran would pass every check of the script.
    int Play(Script script)
    {
        m_script = std::move(script);
        m_bPlayed = false;
        const int nResult = this->DoModal();
        if (!m_bPlayed)
            throw std::logic_error("the dialog ended before its script ran");
        return nResult;
    }

    // What the dialog manager makes of the Escape key.
    void Escape() { this->PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED)); }

    std::string Text(int id) const
    {
        CString text;
        this->GetDlgItemText(id, text);
        return text.GetString();
    }

protected:
    BOOL OnInitDialog() override
    {
        const BOOL bResult = TDialog::OnInitDialog();
        this->PostMessage(WM_PLAY_SCRIPT);
        return bResult;
    }

    // Every script ends as the Escape key would end it: one that stopped early (a failed
    // assertion) must not leave the dialog open either.
    virtual void EndAfterScript() { Escape(); }

    // The message maps' macros name a class, not a template: the one message is routed by hand.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (message != WM_PLAY_SCRIPT)
            return TDialog::OnWndMsg(message, wParam, lParam, pResult);
        m_script(static_cast<TDriver&>(*this));
        m_bPlayed = true;
        EndAfterScript();
        *pResult = 0;
        return TRUE;
    }

private:
    static const UINT WM_PLAY_SCRIPT = WM_APP + 0x5C;
    Script m_script;
    bool m_bPlayed = false;
};
