#pragma once

// The texts that the rule model and the engine load from the string table. res/resource.h takes
// them from here, so the resource script and the dialogs use the same numbers.

#define IDS_FILE_COUNT          6
#define IDS_DELETED             10
#define IDS_DELETE_FAILED       11
#define IDS_DEFAULT_FILTER      12
#define IDS_PROCESSING_ITEM     20
#define IDS_TOTAL_SIZE          21
#define IDS_NAME_NOT_EXACT      27
