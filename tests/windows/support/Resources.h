// The GDI objects and windows a process holds, for the tests that check
// that repeated captures leave nothing behind.
#pragma once
#include "platform/owners/Win32.h"

namespace tovik_test {

// The GDI objects a process holds: GetGuiResources where it answers, and
// under Wine (where it answers 0) the entries in use of the process's GDI
// handle table, stock objects left out. 0 when neither can be read.
unsigned GdiObjectCountOf(DWORD processId);
// The windows a process holds, child windows included.
unsigned WindowCountOf(DWORD processId);

inline unsigned GdiObjectCount() { return GdiObjectCountOf(GetCurrentProcessId()); }
inline unsigned WindowCount() { return WindowCountOf(GetCurrentProcessId()); }

}  // namespace tovik_test
