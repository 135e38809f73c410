#include "settings/settings.h"

char programDir[PROGRAM_DIR_STORE];
char iniPath[INI_PATH_STORE];

Settings settings;
