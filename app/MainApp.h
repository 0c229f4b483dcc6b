#pragma once

#include "framework/WinApp.h"

class CMainApp : public CWinApp
{
public:
    CMainApp();

    BOOL InitInstance() override;
};
