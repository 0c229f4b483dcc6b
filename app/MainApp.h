#pragma once

#include "framework/WinApp.h"

class CMainApp : public CWinApp
{
public:
    CMainApp();

    BOOL InitInstance() override;

    // Dispatches every message waiting in the thread's queue, so that long work started by a command
    // keeps the window painted and lets the Stop command through. Returns at once when the queue is
    // empty or the quit message arrives (which stays posted for the modal loop).
    void PumpMessages();
};
