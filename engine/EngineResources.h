#pragma once

// The resources that the rule model and the engine use: the texts they load from the string
// table, and the controls of the window that a result list writes into, which it finds by these
// ids. res/resource.h takes them from here, so the resource script and the dialogs use the same
// numbers.

#define IDC_RESULT_LIST         1001
#define IDC_FILE_COUNT          1013
#define IDC_STATUS_TEXT         1014
#define IDC_TOTAL_SIZE          1015

#define IDS_FILE_COUNT          6
#define IDS_DELETED             10
#define IDS_DELETE_FAILED       11
#define IDS_DEFAULT_FILTER      12
#define IDS_PROCESSING_ITEM     20
#define IDS_TOTAL_SIZE          21
#define IDS_NAME_NOT_EXACT      27
