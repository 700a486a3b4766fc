// Real mouse input for the tests (SendInput, as a hand on the mouse would
// give it).
#pragma once
#include "platform/Win32.h"

namespace tovik_test {

enum class MouseButton { Left, Right, Middle };

// Moves the system pointer to (x, y) screen pixels; true once it is there.
bool MoveMouseTo(int x, int y);
void PressMouse(MouseButton button);
void ReleaseMouse(MouseButton button);

}  // namespace tovik_test
