// A writer killed at its worst moment: writes the settings file of the working
// folder and is killed (SIGKILL, as a power cut would stop it) once the
// temporary file is written and synced, before it is put in place.
#include <signal.h>
#include <unistd.h>

#include "platform/files.h"
#include "platform/testing.h"
#include "settings/settings.h"

int main() {
  char dir[4096];
  if (!getcwd(dir, sizeof dir) || !buildProgramPathsFrom(dir)) return 2;
  filesSetTempWrittenHook([] { ::raise(SIGKILL); });
  saveSettings();
  return 1;  // not reached when the seam works
}
