// Commands whose subsystems are not built yet. The menu items exist and do
// nothing; each handler moves to its subsystem when that is built.
#include "app/frmMain.h"

void frmMain::mnuOptionSetup_Click() {}
void frmMain::mnuAbout_Click() {}
void frmMain::mnuContents_Click() {}
