// Numbers of the plug-in's resources and of the controls inside its dialogs. The numbers are
// part of the plug-in's outside contract (the host and users' tools see them), so they never
// change. Included by the resource script and by the code that loads the resources.
#pragma once

// Icons.
#define IDI_PLUGIN 1            // the plug-in's own icon: notification window, dialogs
#define IDI_NEW_MAIL_ALERT 173  // shown in turn with the host's icons while new mail waits

// Bitmaps.
#define IDB_TOOLBAR_BUTTON 113  // 23 x 16, 16 colours: the plug-in's toolbar button
#define IDB_MARKS 116           // 112 x 12, 16 colours: seven 16-pixel marks, white transparent

// Strings.
#define IDS_TOOLBAR_TOOLTIP 1   // "Tarnwick"

// The toolbar button's popup menu.
#define IDM_TOOLBAR_POPUP 114
#define IDM_TOOLBAR_SETTINGS 32768         // "振り分け設定", replaced at run time
#define IDM_TOOLBAR_OPEN_CLASSIFIER 32769  // "POPFileを開く", replaced at run time
#define IDM_TOOLBAR_SELF_TEST 32770        // "POPFileとの接続を確認", replaced at run time

// Dialog templates.
#define IDD_ABOUT 100
#define IDD_OTHER_SETTINGS 101
#define IDD_CLASSIFIER_WAIT 103
#define IDD_HEADER_RULE_LIST 104
#define IDD_SORT_RULE_LIST 105
#define IDD_SORT_RULE_EDIT 106
#define IDD_HEADER_RULE_EDIT 109
#define IDD_RECLASSIFY_PROGRESS 115
#define IDD_WHY_HERE 117            // "Tarnwick 振り分けの理由"
#define IDD_LINK_SELF_TEST 118

// Shared by the boxes that only offer "ｷｬﾝｾﾙ" or "キャンセル" (wait box, progress box,
// other settings).
#define IDC_CANCEL_BUTTON 1004

// Other settings (101).
#define IDC_OK_BUTTON 1003
#define IDC_CHECK_CONNECT 1009
#define IDC_CLASSIFIER_URL 1012
#define IDC_AFTER_SET_BOLD 1013
#define IDC_SUBJECT_EDIT 1014
#define IDC_AUTO_RECEIVE 1015
#define IDC_LINK_SELF_TEST 1016  // "接続テスト": the self-test of the URL typed in 1012

// Sorting-rule list (105).
#define IDC_SORT_RULE_LIST 1020
#define IDC_SORT_RULE_ADD 1021
#define IDC_SORT_RULE_EDIT 1022
#define IDC_SORT_RULE_DELETE 1023
#define IDC_OPEN_HEADER_RULES 1024
#define IDC_OPEN_OTHER_SETTINGS 1025

// Sorting-rule edit (106).
#define IDC_RULE_BUCKET 1022
#define IDC_RULE_FOLDER 1023
#define IDC_RULE_ACTION 1024
#define IDC_RULE_DELETE_FROM_SERVER 1030
#define IDC_RULE_DUPLICATE 1031
#define IDC_RULE_MARK 1034

// Header-rule list (104).
#define IDC_HEADER_RULE_ADD 1021
#define IDC_HEADER_RULE_EDIT 1022
#define IDC_HEADER_RULE_DELETE 1023
#define IDC_HEADER_RULE_UP 1024
#define IDC_HEADER_RULE_DOWN 1025
#define IDC_HEADER_RULE_LIST 1026

// Header-rule edit (109).
#define IDC_HEADER_RULE_BUCKET 1022
#define IDC_HEADER_RULE_SEARCH 1027
#define IDC_HEADER_RULE_HEADER 1028

// Reclassification progress (115).
#define IDC_PROGRESS_ICON 102
#define IDC_PROGRESS_TEXT 1032

// Why a message went where it did (117).
#define IDC_WHY_HERE_TEXT 1101

// Link self-test (118).
#define IDC_SELF_TEST_REPORT 1201
