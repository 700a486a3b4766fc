// Real mouse input for the tests (SendInput, as a hand on the mouse would
// give it) and the resources another process holds.
#pragma once
#include "platform/Win32.h"

namespace tovik_test {

enum class MouseButton { Left, Right, Middle };

// Moves the system pointer to (x, y) screen pixels; true once it is there.
bool MoveMouseTo(int x, int y);
void PressMouse(MouseButton button);
void ReleaseMouse(MouseButton button);

// The GDI objects another process holds: the entries in use of its GDI
// handle table, stock objects left out. 0 when the table cannot be read.
unsigned GdiObjectCountOf(DWORD processId);
// The windows another process holds, child windows included.
unsigned WindowCountOf(DWORD processId);

}  // namespace tovik_test
