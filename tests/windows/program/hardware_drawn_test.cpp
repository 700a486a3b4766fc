// The real Tovik.exe on a display without Wine's virtual desktop, where a
// window drawn by the graphics hardware (OpenGL) shows on the screen but
// holds nothing in its own device context, as on a composited desktop.
#include "support/Driver.h"
#include "support/Mouse.h"
#include "support/RealProgram.h"

#include "platform/owners/Gdi.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

namespace {

using namespace tovik_test;

constexpr int kX = 300, kY = 200, kW = 240, kH = 160;
constexpr float kRed = 0.2f, kGreen = 0.6f, kBlue = 0.8f;   // 0x3399CC

LRESULT CALLBACK GlProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        const platform::PaintDC paint(window);
        glClearColor(kRed, kGreen, kBlue, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        SwapBuffers(paint.get());
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A frame-less window whose every pixel OpenGL clears to one colour.
class GlWindow {
public:
    GlWindow() {
        PIXELFORMATDESCRIPTOR format{};
        format.nSize = sizeof format;
        format.nVersion = 1;
        format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        format.iPixelType = PFD_TYPE_RGBA;
        format.cColorBits = 32;
        SetPixelFormat(dc_.get(), ChoosePixelFormat(dc_.get(), &format), &format);
        context_ = wglCreateContext(dc_.get());
        wglMakeCurrent(dc_.get(), context_);
        ShowWindow(window_.get(), SW_SHOW);
        UpdateWindow(window_.get());
    }
    ~GlWindow() {
        wglMakeCurrent(nullptr, nullptr);
        if (context_) wglDeleteContext(context_);
    }
    HWND hwnd() const { return window_.get(); }

private:
    OwnWindow window_ = MakeWindow(L"TovikTestOpenGL", 0, WS_POPUP, {kX, kY, kX + kW, kY + kH}, &GlProcedure, CS_OWNDC,
                                   L"OpenGL");
    platform::ClientDC dc_{window_.get()};
    HGLRC context_ = nullptr;
};

bool AllOneColour(const Pixels& p, std::uint32_t colour) {
    return !p.data.empty() && Mismatches(p, Solid(colour)) == 0;
}

using HardwareDrawnWindow = RealProgram;

// Immediate and delayed, with and without the pointer drawn in (the pointer
// kept off the window): the picture is the window as the screen shows it.
TEST_F(HardwareDrawnWindow, ActiveWindowCaptureShowsWhatTheScreenShowsNotBlack) {
    WriteSetting(L"Capture", L"DelayTime", L"1000");
    const GlWindow gl;
    const std::uint32_t colour = Rgb(0x33, 0x99, 0xCC);
    ASSERT_TRUE(WaitUntil([&] { return AllOneColour(ReadScreen({kX, kY, kX + kW, kY + kH}), colour); }))
        << "the OpenGL window never reached the screen";
    ASSERT_TRUE(MoveMouseTo(kX + kW + 60, kY + kH + 60));
    ASSERT_TRUE(tovik_.Start());
    for (int command : {ID_mnuWindow, ID_mnuDelayActive}) {
        for (bool pointer : {false, true}) {
            if (pointer) tovik_.Command(ID_mnuOptionMouseCapt);
            PutMarkerOnClipboard();
            tovik_.Command(command);
            ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(Main()); }));
            // The main window's hiding hands the activation on; the OpenGL
            // window is brought forward until the capture is over.
            ASSERT_TRUE(WaitUntil([&] {
                if (GetForegroundWindow() != gl.hwnd()) SetForegroundWindow(gl.hwnd());
                return IsWindowVisible(Main()) != FALSE;
            }, 15000));
            const auto clip = ReadClipboardBitmap();
            ASSERT_TRUE(clip);
            EXPECT_EQ(clip->width, kW);
            EXPECT_EQ(clip->height, kH);
            EXPECT_TRUE(AllOneColour(*clip, colour))
                << "command " << command << ", pointer " << pointer << ": first pixel " << std::hex
                << (clip->data.empty() ? 0u : clip->data[0]);
            if (pointer) tovik_.Command(ID_mnuOptionMouseCapt);
        }
    }
    EXPECT_TRUE(tovik_.CloseAndWait());
}

}  // namespace
