#include "app/MainApp.h"

CMainApp theApp;
