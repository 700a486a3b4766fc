// mnuFileArray: the recent-files elements in the real File menu, between
// the editor command and the separator before Exit.
#pragma once
#include "app/RecentFiles.h"
#include "platform/owners/Win32.h"

#include <map>
#include <string>

namespace app {

class FileArrayMenu : public recent::MenuArray {
public:
    void Attach(HMENU fileMenu) { menu_ = fileMenu; }

    std::wstring Caption(int index) const override;
    void ShowSeparator() override;
    void Create(int index, const std::wstring& caption) override;
    void Remove(int index) override;

private:
    // Just above mnuSep1, the separator before Exit: below every element.
    int EndPosition() const;

    HMENU menu_ = nullptr;
    std::map<int, std::wstring> captions_;   // exactly as opened; the menu shows them so
    bool separatorShown_ = false;
};

}  // namespace app
