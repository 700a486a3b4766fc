// The selection overlay: a borderless window covering the screen that shows
// a frozen snapshot of it. The user drags a rectangle on it; the pointer path
// of a delayed capture places the arrow picture on it. It exists only while
// the screen is frozen: each use makes a fresh one.
#pragma once
#include "capture/CaptureHost.h"
#include "platform/owners/Failure.h"
#include "platform/owners/Gdi.h"
#include "platform/ui/Surface.h"
#include "platform/ui/Window.h"

#include <optional>

namespace capture {

// imgArrow: a picture placed on the overlay, drawn over the snapshot by
// every repaint while it is visible; transparent around its shape.
class ArrowImage {
public:
    ArrowImage() = default;
    ArrowImage(const ArrowImage&) = delete;
    ArrowImage& operator=(const ArrowImage&) = delete;

    void Load(HWND owner);   // the 32 x 32 arrow picture of the resources
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Moves the top-left corner to (left, top) overlay pixels, size kept.
    void Move(int left, int top);
    RECT Bounds() const { return {left_, top_, left_ + kSize, top_ + kSize}; }
    void Draw(HDC dc) const;

    static constexpr int kSize = 32;

private:
    void Invalidate() const;

    HWND owner_ = nullptr;
    HCURSOR picture_ = nullptr;   // shared resource cursor, never destroyed
    int left_ = 0;
    int top_ = 0;
    bool visible_ = false;
};

class frmDesktop : public platform::Window {
public:
    explicit frmDesktop(capture::Host& host);
    ~frmDesktop() override;

    // Creates the window hidden, covering DesktopRect (the virtual screen,
    // every monitor), with a surface of that size; Dragging is False.
    // S_OK, or why it could not be made (no memory for the snapshot, no window).
    [[nodiscard]] HRESULT Form_Load();

    // The virtual screen the overlay was made for, screen pixels.
    const RECT& Screen() const { return screen_; }

    // The persistent drawing surface, which the window shows: what is drawn
    // into it stays until the overlay is unloaded. Read by the tests of the
    // band and the snapshot, which the screen shows only a moment later.
    HDC hDC() const { return surface_.hDC(); }
    // Copies the screen (DesktopRect, every monitor) into the surface. S_OK,
    // or why the screen could not be read (the surface then holds nothing of it).
    [[nodiscard]] HRESULT TakeSnapshot();
    // The pointer shown over the overlay; nullptr for the arrow.
    void SetMousePointer(HCURSOR cursor);
    // Makes the overlay, still hidden, the active window: keys go to it
    // rather than to whichever program Windows would activate when the main
    // window hides. Nothing of it shows.
    void TakeKeyboard();
    // Shows the overlay above the other windows and paints it at once.
    // Activated (a selection), it takes the mouse and the keyboard focus,
    // and Esc comes to it wherever the keyboard focus is until the
    // selection ends.
    void ShowFullScreen(bool activate);
    // Paints what is still to be painted and makes sure the screen shows it
    // before anything reads the screen.
    void PresentNow() const;
    // Waits, at most timeoutMs, until the screen shows in `area` (overlay
    // pixels) what the overlay paints there; false when it still does not.
    bool WaitUntilOnScreen(const RECT& area, DWORD timeoutMs) const;

    // Selection state, discarded with the overlay; the points are screen pixels.
    bool Dragging = false;
    POINT StartPoint{};
    POINT CurrentPoint{};
    POINT LastPoint{};

    // Mouse handlers; any button. x and y are the event's overlay pixels.
    void Form_MouseDown();
    void Form_MouseMove(int x, int y);
    void Form_MouseUp();
    // Esc, before or during a drag, takes the selection back: nothing is
    // captured, the overlay goes and the main window returns as it was.
    // No other key does anything.
    void Form_KeyDown(UINT key);
    // Released or taken back: the overlay waits for EndSelection.
    bool SelectionEnded() const { return selectionEnded_; }

    ArrowImage imgArrow;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Inverts the band's outline (corners in screen pixels) on the surface
    // and copies just its edges to the window.
    void InvertBand(POINT a, POINT b);
    void Paint();
    // The selection is over: the main window ends it (EndSelection) once
    // the handler that ended it has returned, since unloading destroys this
    // object.
    void EndSelectionLater() const;

    capture::Host& host_;
    platform::Surface surface_;
    std::optional<platform::MouseCapture> dragCapture_;
    std::optional<platform::HotKey> escape_;   // while a selection is on the screen
    POINT origin_{};                   // the screen position of overlay pixel (0, 0): the virtual screen's top-left corner
    RECT screen_{};                    // see Screen()
    HCURSOR mousePointer_ = nullptr;   // shared system cursor, never destroyed
    bool bandDrawn_ = false;           // the outline StartPoint..LastPoint is on the surface
    bool selectionEnded_ = false;      // released: later presses belong to no selection
};

// The overlay, created and loaded when it is not: each reference after an
// unload gets a fresh one, and so does the first after the virtual screen
// has changed its place or size (a monitor docked or removed, a resolution
// changed, a remote session reconnected). DesktopRect is the virtual screen
// as it is now. Nothing when it cannot be made, the reason in *failure.
frmDesktop* Desktop(capture::Host& host, HRESULT* failure = nullptr);
// Discards the overlay: its window, snapshot and selection state.
void UnloadDesktop();

// Posted to the main window (the image's owner) when a selection has ended,
// by the release or by Esc; the main window passes it to EndSelection.
inline constexpr UINT kSelectionEnded = WM_APP + 0x43;
// The end of a selection, run whatever happened in its capture: the main
// window returns and the overlay is unloaded. An overlay whose selection
// has not ended stays: a late message never takes a fresh one away.
void EndSelection(capture::Host& host);

}  // namespace capture
