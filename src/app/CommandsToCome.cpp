// Commands whose subsystems are not built yet. The menu items exist and do
// nothing; each handler moves to its subsystem when that is built.
#include "app/frmMain.h"

void frmMain::mnuOpen_Click() {}
void frmMain::mnuFileArray_Click(int) {}
void frmMain::mnuSaveAs_Click() {}
void frmMain::mnuPbrush_Click() {}
void frmMain::mnuPrint_Click() {}
void frmMain::mnuPrintSetup_Click() {}
