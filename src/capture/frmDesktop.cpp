#include "capture/frmDesktop.h"

#include "capture/CaptureRegion.h"
#include "capture/Selection.h"
#include "capture/frmSize.h"
#include "platform/portable/ScopeExit.h"
#include "platform/system/Compositor.h"
#include "platform/system/Screen.h"
#include "platform/ui/Messages.h"
#include "resources/resource.h"

#include <algorithm>
#include <memory>

namespace capture {

namespace {

constexpr int kEscapeKey = 1;   // the hot key id of Esc

// The one loaded overlay, or none. Unloading resets it; the next reference
// to the overlay loads a new one.
std::unique_ptr<frmDesktop> loadedDesktop;

RECT ToRect(const selection::Region& r) {
    return {static_cast<LONG>(r.left), static_cast<LONG>(r.top), static_cast<LONG>(r.right),
            static_cast<LONG>(r.bottom)};
}

}  // namespace

frmDesktop* Desktop(capture::Host& host, HRESULT* failure) {
    // Read at every use: not every display change is announced to the
    // program, and an overlay made for another screen would freeze only part
    // of this one, at the wrong place.
    RECT& screen = host.Shared().DesktopRect;
    screen = platform::DesktopRectangle();
    if (loadedDesktop && loadedDesktop->exists() && EqualRect(&loadedDesktop->Screen(), &screen))
        return loadedDesktop.get();
    loadedDesktop.reset();   // the old surface goes before the new one is made
    auto overlay = std::make_unique<frmDesktop>(host);
    if (const HRESULT loaded = overlay->Form_Load(); FAILED(loaded)) {
        if (failure) *failure = loaded;
        return nullptr;
    }
    loadedDesktop = std::move(overlay);
    return loadedDesktop.get();
}

void UnloadDesktop() { loadedDesktop.reset(); }

void EndSelection(capture::Host& host) {
    if (!loadedDesktop || !loadedDesktop->SelectionEnded()) return;
    // The main window comes first, while the overlay still holds the
    // activation, so that it stays with Tovik and does not pass to another
    // program.
    host.ShowMain();
    UnloadDesktop();
}

// ---------------------------------------------------------------- imgArrow

void ArrowImage::Load(HWND owner) {
    owner_ = owner;
    // Loaded once for the whole run and shared by every overlay: a fresh
    // overlay is made for each selection.
    if (!picture_)
        picture_ = static_cast<HCURSOR>(LoadImageW(platform::ModuleInstance(),
                                                   MAKEINTRESOURCEW(IDC_ARROW_PICTURE), IMAGE_CURSOR,
                                                   kSize, kSize, LR_SHARED));
}

void ArrowImage::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Invalidate();
}

void ArrowImage::Move(int left, int top) {
    if (visible_) Invalidate();   // where it was
    left_ = left;
    top_ = top;
    if (visible_) Invalidate();   // where it is now
}

void ArrowImage::Draw(HDC dc) const {
    // The picture's own transparency lets the snapshot show around the arrow;
    // drawn at its natural size, its top-left corner (not its hot spot) at the position.
    if (visible_ && picture_) DrawIconEx(dc, left_, top_, picture_, kSize, kSize, 0, nullptr, DI_NORMAL);
}

void ArrowImage::Invalidate() const {
    if (!owner_) return;
    const RECT bounds = Bounds();
    InvalidateRect(owner_, &bounds, FALSE);
}

// ---------------------------------------------------------------- frmDesktop

frmDesktop::frmDesktop(capture::Host& host) : host_(host) {}

frmDesktop::~frmDesktop() {
    dragCapture_.reset();
    escape_.reset();
    Destroy();   // the window goes before the surface it shows
}

HRESULT frmDesktop::Form_Load() {
    // It covers every monitor as they are now.
    screen_ = host_.Shared().DesktopRect;
    origin_ = {screen_.left, screen_.top};
    const int width = screen_.right - screen_.left, height = screen_.bottom - screen_.top;
    surface_.SetBackColor(GetSysColor(COLOR_BTNFACE));
    if (!surface_.Resize(width, height)) return platform::FailureOf(ERROR_NOT_ENOUGH_MEMORY);
    const platform::WindowClassInfo info{TOVIK_CLASS_DESKTOP};
    // No title bar, no frame, kept out of the task bar; its client origin is
    // the virtual screen's top-left corner. Above other programs'
    // always-on-top windows too, so the whole screen is frozen.
    RETURN_IF_WIN32_BOOL_FALSE(CreateWindowOf(info, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"", screen_.left,
                                              screen_.top, width, height, nullptr));
    // It appears at once: the pointer path reads the screen right after showing it.
    platform::DisableTransitions(hwnd());
    imgArrow.Load(hwnd());
    Dragging = false;
    return S_OK;
}

HRESULT frmDesktop::TakeSnapshot() {
    const RECT& snapshot = host_.Shared().DesktopRect;
    // The screen's device context counts in screen pixels, the surface in overlay pixels.
    const selection::Point at = selection::ToOverlay({snapshot.left, snapshot.top}, {origin_.x, origin_.y});
    platform::WindowDC screen(platform::DesktopWindow());
    const HRESULT unread = platform::CopyScreenPixels(surface_.hDC(), static_cast<int>(at.x), static_cast<int>(at.y),
                                                      snapshot.right - snapshot.left, snapshot.bottom - snapshot.top,
                                                      screen.get(), snapshot.left, snapshot.top);
    InvalidateRect(hwnd(), nullptr, FALSE);
    return unread;
}

void frmDesktop::TakeKeyboard() { SetForegroundWindow(hwnd()); }

void frmDesktop::SetMousePointer(HCURSOR cursor) {
    mousePointer_ = cursor;
    if (IsVisible()) SetCursor(mousePointer_ ? mousePointer_ : platform::SystemCursor(IDC_ARROW));
}

void frmDesktop::ShowFullScreen(bool activate) {
    if (activate) {
        // Windows may still give the keyboard to another program (its
        // foreground lock): Esc must take the selection back all the same,
        // and never reach a program hidden under the frozen screen.
        escape_.emplace(hwnd(), kEscapeKey, 0, VK_ESCAPE);
        Show(SW_SHOW);
        SetForegroundWindow(hwnd());
    } else {
        SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    UpdateWindow(hwnd());
    // The pointer takes the overlay's shape now, not at the next move.
    if (mousePointer_) SetCursor(mousePointer_);
}

void frmDesktop::PresentNow() const {
    UpdateWindow(hwnd());
    platform::PushDrawingToScreen();
}

bool frmDesktop::WaitUntilOnScreen(const RECT& area, DWORD timeoutMs) const {
    RECT client{};
    GetClientRect(hwnd(), &client);
    RECT probe{};
    if (!IntersectRect(&probe, &area, &client)) return true;
    // What the paint puts there: the snapshot, with the arrow on it. (The
    // surface's DC stands in for the screen's: it has the screen's format.)
    platform::MemoryDC expected = platform::CompatibleDC(surface_.hDC());
    platform::Bitmap pixels = platform::CreateCompatibleBitmapFor(
        surface_.hDC(), probe.right - probe.left, probe.bottom - probe.top);
    if (!pixels) return false;
    {
        platform::SelectedObject select(expected.get(), pixels.get());
        SetViewportOrgEx(expected.get(), -probe.left, -probe.top, nullptr);
        surface_.PaintTo(expected.get(), probe);
        imgArrow.Draw(expected.get());
        SetViewportOrgEx(expected.get(), 0, 0, nullptr);
    }
    platform::SelectedObject select(expected.get(), pixels.get());
    RECT onScreen = probe;
    OffsetRect(&onScreen, origin_.x, origin_.y);
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        platform::PushDrawingToScreen();
        if (platform::ScreenShows(expected.get(), onScreen)) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(1);
    }
}

void frmDesktop::InvertBand(POINT screenA, POINT screenB) {
    const selection::Point origin{origin_.x, origin_.y};
    const selection::Point pa = selection::ToOverlay({screenA.x, screenA.y}, origin);
    const selection::Point pb = selection::ToOverlay({screenB.x, screenB.y}, origin);
    const POINT a{static_cast<LONG>(pa.x), static_cast<LONG>(pa.y)};
    const POINT b{static_cast<LONG>(pb.x), static_cast<LONG>(pb.y)};
    platform::InvertOutline(surface_.hDC(), a, b);
    // Only the outline changed: copying its four edges keeps a drag smooth
    // even on a very large screen.
    const LONG left = std::min(a.x, b.x), right = std::max(a.x, b.x) + 1;
    const LONG top = std::min(a.y, b.y), bottom = std::max(a.y, b.y) + 1;
    const RECT edges[] = {{left, top, right, top + 1},
                          {left, bottom - 1, right, bottom},
                          {left, top, left + 1, bottom},
                          {right - 1, top, right, bottom}};
    platform::ClientDC window(hwnd());
    for (const RECT& edge : edges) surface_.PaintTo(window.get(), edge);
}

void frmDesktop::Form_MouseDown() {
    if (selectionEnded_) return;
    // A second button pressed during a drag (or a press after a release that
    // never reached the overlay) starts over: the band drawn so far goes
    // first, so no stray outline stays in the snapshot that is captured.
    if (bandDrawn_) InvertBand(StartPoint, LastPoint);
    bandDrawn_ = false;
    Dragging = true;
    StartPoint = platform::CursorPosition();
    LastPoint = StartPoint;
    dragCapture_.emplace(hwnd());
}

void frmDesktop::Form_MouseMove(int x, int y) {
    if (!Dragging) return;
    CurrentPoint = platform::CursorPosition();
    frmSize& box = SizeForm();
    box.SetSizeText(selection::SizeCaption({StartPoint.x, StartPoint.y}, {CurrentPoint.x, CurrentPoint.y},
                                           platform::LoadText(IDS_SIZE_CAPTION)));
    const selection::Point pointer = selection::ToScreen({x, y}, {origin_.x, origin_.y});
    box.ShowNear({static_cast<LONG>(pointer.x), static_cast<LONG>(pointer.y)});
    // Nothing is drawn at the press, so only a band that was drawn is
    // removed; inverting the lone start pixel on the first move would leave
    // it inverted in the snapshot once the band is erased at the release.
    if (bandDrawn_) InvertBand(StartPoint, LastPoint);
    LastPoint = CurrentPoint;
    InvertBand(StartPoint, LastPoint);
    bandDrawn_ = true;
}

void frmDesktop::Form_MouseUp() {
    if (!Dragging) return;
    Dragging = false;
    selectionEnded_ = true;
    dragCapture_.reset();
    escape_.reset();   // Esc closes a failure message again
    CurrentPoint = platform::CursorPosition();
    SizeForm().Hide();
    if (bandDrawn_) InvertBand(StartPoint, LastPoint);
    bandDrawn_ = false;
    // The selected pixels are those of the frozen snapshot, band erased: read
    // from the overlay's own surface, they cannot hold a frame the screen
    // had not yet replaced, nor the size box.
    // The points are screen pixels; the surface counts from the overlay's corner.
    const RECT region = ToRect(selection::RegionToOverlay(
        selection::Normalise({StartPoint.x, StartPoint.y}, {CurrentPoint.x, CurrentPoint.y}), {origin_.x, origin_.y}));
    // Whatever the capture does, the selection ends: the overlay never stays
    // on the screen and the main window always returns.
    const auto end = platform::ScopeExit([this] { EndSelectionLater(); });
    // A failure message belongs to the overlay, so it shows above it.
    platform::ShowFailure(hwnd(), CaptureRegion(host_.Image(), surface_.hDC(), region));
}

void frmDesktop::Form_KeyDown(UINT key) {
    // Keys reach the overlay only while a selection is being made: shown for
    // a delayed capture's pointer it is never activated, and is gone again
    // before any key could be read, so Esc there stays with the program the
    // user works in.
    if (key != VK_ESCAPE || selectionEnded_ || !IsVisible()) return;
    Dragging = false;
    selectionEnded_ = true;
    dragCapture_.reset();
    escape_.reset();
    SizeForm().Hide();
    EndSelectionLater();
}

void frmDesktop::EndSelectionLater() const { PostMessageW(host_.Image().Owner(), kSelectionEnded, 0, 0); }

void frmDesktop::Paint() {
    const platform::PaintDC paint(hwnd());
    surface_.PaintTo(paint.get(), paint.Area());
    imgArrow.Draw(paint.get());
}

LRESULT frmDesktop::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;   // the paint covers every pixel
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && mousePointer_) {
            SetCursor(mousePointer_);
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        Form_MouseDown();
        return 0;
    case WM_MOUSEMOVE:
        Form_MouseMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        Form_MouseUp();
        return 0;
    case WM_KEYDOWN:
        Form_KeyDown(static_cast<UINT>(wParam));
        return 0;
    case WM_HOTKEY:
        if (escape_ && static_cast<int>(wParam) == escape_->Id()) Form_KeyDown(VK_ESCAPE);
        return 0;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        // Losing the mouse capture does not end a drag: the overlay covers
        // the whole screen, so the moves and the release still reach it.
        if (message == WM_CANCELMODE) dragCapture_.reset();
        return 0;
    case WM_CLOSE:
        return 0;   // no close box: only a selection or Esc ends the overlay
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace capture
