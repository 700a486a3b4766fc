#include "app/FileArrayMenu.h"

#include "platform/ui/Controls.h"
#include "resources/resource.h"

namespace app {

std::wstring FileArrayMenu::Caption(int index) const {
    if (index == 0) return recent::kSeparatorCaption;
    const auto found = captions_.find(index);
    return found == captions_.end() ? std::wstring() : found->second;
}

void FileArrayMenu::ShowSeparator() {
    if (separatorShown_) return;
    // A menu cannot hide an item: element 0 exists in the menu only once visible.
    platform::InsertMenuSeparator(menu_, EndPosition(), ID_mnuFileArray);
    separatorShown_ = true;
}

void FileArrayMenu::Create(int index, const std::wstring& caption) {
    captions_[index] = caption;   // what can run out of memory, before the menu changes
    platform::InsertMenuText(menu_, EndPosition(), ID_mnuFileArray + index, caption);
}

void FileArrayMenu::Remove(int index) {
    platform::RemoveMenuItem(menu_, ID_mnuFileArray + index);
    captions_.erase(index);
}

int FileArrayMenu::EndPosition() const { return platform::MenuPosition(menu_, ID_mnuExit) - 1; }

}  // namespace app
