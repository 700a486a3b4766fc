// The file-type list of the open and save dialogs.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// Turns "text|pattern|text|pattern" into the list the file dialogs take:
// each part ended by a NUL, the whole ended by one more. Blanks are kept as
// they are written, around the patterns too. Empty text gives an empty list.
std::wstring DialogFilter(std::wstring_view filter);

}  // namespace platform
