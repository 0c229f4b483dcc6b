#pragma once

#include "engine/EngineResources.h"

#define IDD_MAIN                102
#define IDD_ABOUT               144
#define IDD_FILTER_EDIT         159

#define IDR_MAINFRAME           128

#define IDB_CHECKMARKS          136
#define IDB_ABOUT_BACKGROUND    145
#define IDB_VERSION             147
#define IDB_LIST_ALL            148
#define IDB_RUN_ALL             149
#define IDB_STOP                150
#define IDB_EXIT                151
#define IDB_ADD_GROUP           152
#define IDB_DELETE_GROUP        153
#define IDB_ADD_ITEM            154
#define IDB_DELETE_ITEM         155
#define IDB_NEW_RULES           156
#define IDB_LIST_SELECTED       157
#define IDB_RUN_SELECTED        158

#define IDR_RESULT_RUN_MENU     142
#define IDR_TREE_GROUP_MENU     143
#define IDR_TREE_ITEM_MENU      144
#define IDR_TREE_BLANK_MENU     145
#define IDR_RESULT_LIST_MENU    146
#define IDR_RESULT_EMPTY_MENU   147

#define IDC_COMMAND_BAR         1
#define IDC_RULE_TREE           1000
#define IDC_RESULT_LIST         1001
#define IDC_ITEM_NAME           1004
#define IDC_ITEM_FILTER         1005
#define IDC_ITEM_FOLDER         1006
#define IDC_ITEM_SUBFOLDERS     1007
#define IDC_BROWSE_FOLDER       1008
#define IDC_NAME_LABEL          1009
#define IDC_DETAIL_FRAME        1010
#define IDC_FILTER_LABEL        1011
#define IDC_FOLDER_LABEL        1012
#define IDC_FILE_COUNT          1013
#define IDC_STATUS_TEXT         1014
#define IDC_TOTAL_SIZE          1015
#define IDC_EDIT_FILTER         1016
#define IDC_TOOLBAR_LINE        1017
#define IDC_ATTR_READONLY       1022
#define IDC_ATTR_ARCHIVE        1023
#define IDC_ATTR_FRAME          1024
#define IDC_ATTR_COMPRESSED     1025
#define IDC_ATTR_HIDDEN         1026
#define IDC_ATTR_SYSTEM         1027

#define IDC_LINK_WEB            1018
#define IDC_LINK_MAIL           1019
#define IDC_ABOUT_ICON          1020
#define IDC_VERSION_LABEL       1021

#define IDC_FILTER_TEXT         1028
#define IDC_PATTERN_LIST        1029
#define IDC_TEMPLATE_COMBO      1030
#define IDC_MOVE_UP             1031
#define IDC_MOVE_DOWN           1032
#define IDC_ADD_PATTERN         1033
#define IDC_DELETE_PATTERN      1034
#define IDC_EDIT_PATTERN        1035
#define IDC_EXPLANATION         1036

// The string table holds each command's toolbar label under the command's own id.
#define ID_RUN_ALL              32771
#define ID_RUN_SELECTED         32772
#define ID_LIST_SELECTED        32773
#define ID_EXIT                 32774
#define ID_ADD_GROUP            32775
#define ID_DELETE_GROUP         32776
#define ID_NEW_RULES            32777
#define ID_VERSION              32778
#define ID_ADD_ITEM             32779
#define ID_DELETE_ITEM          32780
#define ID_LIST_ALL             32781
#define ID_CLEAR_LIST           32783
#define ID_EDIT_NAME            32784
#define ID_SELECT_ALL_FILES     32785
#define ID_DELETE_FILES         32786
#define ID_STOP                 32787

#define IDS_COLUMN_NAME         2
#define IDS_COLUMN_FOLDER       3
#define IDS_COLUMN_SIZE         4
#define IDS_COLUMN_MODIFIED     5
#define IDS_SEARCHING           7
#define IDS_SEARCH_FINISHED     8
#define IDS_COLUMN_RESULT       9
#define IDS_CONFIRM_DELETE      18
#define IDS_PRODUCT_NAME        19
#define IDS_NOTHING_MARKED      24
#define IDS_SEARCH_STOPPED      25
#define IDS_COLUMN_ATTRIBUTES   26
