// The main window's own simple commands.
#include "app/frmMain.h"

void frmMain::mnuClear_Click() {
    Picture1().Cls();
    Picture2().Cls();
    Picture1().Refresh();
}
