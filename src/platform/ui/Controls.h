// Common controls and menus: the image list, the toolbar and menu check marks.
#pragma once
#include "platform/owners/UniqueHandle.h"
#include "platform/owners/Win32.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace platform {

// An image list, destroyed with its owner.
inline void DestroyImageList(HIMAGELIST list) noexcept { ImageList_Destroy(list); }
using ImageList = UniqueHandle<HIMAGELIST, DestroyImageList>;

// Cuts a resource bitmap into width x height images; pixels of the mask
// colour become transparent.
ImageList LoadImageListResource(UINT id, int width, int height, COLORREF mask);

struct ToolbarButton {
    int command;       // WM_COMMAND id; 0 for a separator
    int image;         // 0-based image index; -1 for a separator
    bool separator;
    bool checkStyle;   // stays pressed until clicked again
};

// A toolbar child window that keeps the place and width it is given.
class Toolbar {
public:
    bool Create(HWND parent, int id, int x, int y, int width, int height, HIMAGELIST images,
                SIZE buttonSize, const std::vector<ToolbarButton>& buttons);
    HWND hwnd() const { return window_; }
    // New images (another resolution) and the button size that fits them.
    void SetImages(HIMAGELIST images, SIZE buttonSize) const;
    void Place(int x, int y, int width, int height) const;
    bool IsPressed(int command) const;
    void SetPressed(int command, bool pressed) const;
private:
    HWND window_ = nullptr;   // a child: destroyed with its parent
};

// Registers the common controls the windows use (toolbar, tooltips, hotkey controls).
void LoadCommonControls();

// Lets a hotkey control (msctls_hotkey32) take PrintScreen with its
// modifiers too: Windows keeps that key's press to itself and gives a
// window only its release, which the control alone ignores.
void TakePrintScreenIn(HWND hotkeyControl);

// Sets or clears a menu item's check mark.
void SetMenuCheck(HMENU menu, int command, bool checked);
// The position of the item with the command id in the menu, or -1.
int MenuPosition(HMENU menu, int command);
// Inserts an item at the position, showing the text exactly: an "&" in it
// is a character, never an access key.
void InsertMenuText(HMENU menu, int position, int command, const std::wstring& text);
// Inserts a separator at the position, with an id to remove it by.
void InsertMenuSeparator(HMENU menu, int position, int id);
void RemoveMenuItem(HMENU menu, int command);

// A shortcut menu of the program's own, destroyed with its owner.
inline void DestroyMenuHandle(HMENU menu) noexcept { DestroyMenu(menu); }
using PopupMenu = UniqueHandle<HMENU, DestroyMenuHandle>;
// The caption of the item with the command id, without the shortcut shown
// after a tab: "矩形(&R)" of "矩形(&R)\tCtrl+R". Empty when there is none.
std::wstring MenuItemCaption(HMENU menu, int command);
// Appends an item whose "&" marks its access key; command 0 appends a separator.
void AppendMenuItem(HMENU menu, int command, const std::wstring& caption);
// Shows the shortcut menu at `at` (screen pixels) for the window and returns
// the command chosen, or 0. The window is brought to the front first and
// sent a message after, so the menu closes when the user clicks elsewhere,
// also when the window itself is hidden.
int ChooseFromPopupMenu(HWND window, HMENU menu, POINT at);

HICON LoadIconResource(UINT id, int size);   // shared resource icon, never destroyed
HMENU LoadMenuResource(UINT id);             // given to a window, destroyed with it
HACCEL LoadAcceleratorResource(UINT id);     // freed with the program

}  // namespace platform
