// The four dialog templates and the procedures that drive them.
#pragma once

#include "platform/dialog.h"

extern const DlgTemplate STARTUP_TEMPLATE;    // resource 105
extern const DlgTemplate MAP_SIZE_TEMPLATE;   // resource 102
extern const DlgTemplate SETTINGS_TEMPLATE;   // resource 110
extern const DlgTemplate ATTRIBUTE_TEMPLATE;  // resource 112

int startupDialogProc(DlgHandle* h, int event, int id, int notification);
int mapSizeDialogProc(DlgHandle* h, int event, int id, int notification);
int settingsDialogProc(DlgHandle* h, int event, int id, int notification);
int attributeDialogProc(DlgHandle* h, int event, int id, int notification);

// The information block the start-up and settings dialogs share.
void fillProgramInformation(DlgHandle* h);
// The caption and icon of every complaint a dialog makes while staying open.
void dialogComplain(DlgHandle* h, const char* textUtf8);
// Reads a path field into a PATH_STORE-sized store; on a text that Shift_JIS
// cannot hold or that is too long, complains and returns 0.
int readPathField(DlgHandle* h, int id, char* out);
