// The four dialog templates and the procedures that drive them.
#pragma once

#include "platform/dialog.h"

extern const DlgTemplate STARTUP_TEMPLATE;    // resource 105
extern const DlgTemplate MAP_SIZE_TEMPLATE;   // resource 102
extern const DlgTemplate SETTINGS_TEMPLATE;   // resource 110
extern const DlgTemplate ATTRIBUTE_TEMPLATE;  // resource 112

// The start-up and settings dialogs work on the Settings and the document and
// take no context; the map-size and attribute dialogs' context is the record
// of their run (what it opened on, where OK leaves the answer), kept in their
// own files.
int startupDialogProc(DlgHandle* h, void* context, int event, int id, int notification);
int mapSizeDialogProc(DlgHandle* h, void* context, int event, int id, int notification);
int settingsDialogProc(DlgHandle* h, void* context, int event, int id, int notification);
int attributeDialogProc(DlgHandle* h, void* context, int event, int id, int notification);

// The information block the start-up and settings dialogs share.
void fillProgramInformation(DlgHandle* h);
// The caption and icon of every complaint a dialog makes while staying open.
void dialogComplain(DlgHandle* h, const char* textUtf8);
// Reads a path field into a PATH_STORE-sized store; on a text that Shift_JIS
// cannot hold or that is too long, complains and returns 0.
int readPathField(DlgHandle* h, int id, char* out);
