// Starting Tovik when the user logs on: a shortcut in the user's Startup
// folder that starts this program minimised, without taking the keyboard
// from what the user turns to first. The shortcut is the setting: nothing
// about it is kept in the settings store.
#pragma once
#include "platform/owners/Failure.h"

namespace app {

// True when the Startup folder holds the shortcut and it starts this very program.
bool StartsAtLogon();
// Makes the shortcut (on) or removes it (off). S_OK, or the failure.
[[nodiscard]] HRESULT SetStartAtLogon(bool on);

}  // namespace app
