// Resource ids of the module, shared by the .rc file and the code that loads them.
#pragma once

#define IDS_DESCRIPTION 100

#define IDB_TOOLS_LARGE 203
#define IDB_TOOLS_SMALL 204
#define IDB_LOCAL_MENU 205
#define IDB_ABOUT_STRIP 208

// The type library is resource 1 of type "TYPELIB".
#define IDR_TYPELIB 1
