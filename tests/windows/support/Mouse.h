// Real mouse and keyboard input for the tests (SendInput, as a hand on the
// mouse or the keys would give it).
#pragma once
#include "platform/owners/Win32.h"

#include <initializer_list>

namespace tovik_test {

enum class MouseButton { Left, Right, Middle };

// Moves the system pointer to (x, y) screen pixels; true once it is there.
bool MoveMouseTo(int x, int y);
void PressMouse(MouseButton button);
void ReleaseMouse(MouseButton button);

// Presses the key with the modifier (VK_CONTROL, VK_SHIFT, or 0 for none)
// held, and lets both go: one shortcut typed on the keyboard.
void TypeKey(WORD modifier, WORD key);
// The same with several modifiers held (Ctrl+Alt+PrintScreen: a hotkey).
void TypeKey(std::initializer_list<WORD> modifiers, WORD key);
// One key down, or up, alone: for keys held while something happens.
void PressKey(WORD key);
void ReleaseKey(WORD key);

}  // namespace tovik_test
