// Resource ids of the module, shared by the .rc file and the code that loads them.
#pragma once

#define IDS_DESCRIPTION 100

#define IDB_TOOLS_LARGE 203
#define IDB_TOOLS_SMALL 204
#define IDB_LOCAL_MENU 205
#define IDB_ABOUT_STRIP 208

// The pick dialog and its controls.
#define IDD_PICK_LIST 104
#define IDC_PICK_LIST 231
#define IDC_PICK_EDIT 235
#define IDC_PICK_AUTO_ADD 226
#define IDC_PICK_REMOVE 233
#define IDC_PICK_ADD 234

// The options dialog and its controls, and the about box it opens.
#define IDD_OPTIONS 102
#define IDC_OPTIONS_PREVIEW 222
#define IDC_OPTIONS_START 223
#define IDC_OPTIONS_CONVERT_POINT 226
#define IDC_OPTIONS_OBJECT_SOURCE 237
#define IDC_OPTIONS_FORMAT 238
#define IDC_OPTIONS_AUTO_PICK 245
#define IDC_OPTIONS_LIST 252
#define IDC_OPTIONS_ABOUT 262
// The label style, after the controls above.
#define IDC_OPTIONS_PREFIX 270
#define IDC_OPTIONS_SUFFIX 271
#define IDC_OPTIONS_STEP 272
#define IDC_OPTIONS_DIGITS 273
#define IDC_OPTIONS_LETTER_SET 274
#define IDC_OPTIONS_CONTINUE 275
#define IDD_ABOUT 108

// The renumber dialog and its controls.
#define IDD_RENUMBER 103
#define IDC_RENUMBER_ALL 224
#define IDC_RENUMBER_NUMERIC 218
#define IDC_RENUMBER_SAME_FORMAT 227
#define IDC_RENUMBER_START_AT 225
#define IDC_RENUMBER_ARABIC 210
#define IDC_RENUMBER_LETTERS 214
#define IDC_RENUMBER_ROMAN 212
#define IDC_RENUMBER_FIX_ORDER 226
#define IDC_RENUMBER_RESET 209
#define IDC_RENUMBER_PREVIEW 222
#define IDC_RENUMBER_ORDER_LABELS 270
#define IDC_RENUMBER_ORDER_ROWS 271
#define IDC_RENUMBER_ORDER_COLUMNS 272
#define IDC_RENUMBER_ORDER_SELECTION 273
#define IDC_RENUMBER_TOLERANCE 274
#define IDC_RENUMBER_REPORT 275
#define IDC_RENUMBER_SEQUENCE 276

// The type library is resource 1 of type "TYPELIB".
#define IDR_TYPELIB 1
