// The settings store's keys, defaults and text formats. Pure logic: the
// store itself is reached through a reader and a list of writes, so this
// unit compiles and is tested without Windows.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app::settings {

inline constexpr wchar_t kApplication[] = L"Capture";
inline constexpr wchar_t kStartup[] = L"Startup";
inline constexpr wchar_t kCapture[] = L"Capture";
inline constexpr wchar_t kHotkeys[] = L"Hotkeys";

inline constexpr wchar_t kTop[] = L"Top";
inline constexpr wchar_t kLeft[] = L"Left";
inline constexpr wchar_t kWidth[] = L"Width";
inline constexpr wchar_t kHeight[] = L"Height";
inline constexpr wchar_t kDelayTime[] = L"DelayTime";
inline constexpr wchar_t kEditerName[] = L"EditerName";
inline constexpr wchar_t kInitDir[] = L"InitDir";
inline constexpr wchar_t kTransClipboard[] = L"TransClipboard";
inline constexpr wchar_t kTrayIcon[] = L"TrayIcon";

inline constexpr float kDefaultTop = 0;
inline constexpr float kDefaultLeft = 0;
inline constexpr float kDefaultWidth = 4500;
inline constexpr float kDefaultHeight = 3000;
inline constexpr std::int32_t kDefaultDelayTime = 2000;
inline constexpr wchar_t kDefaultEditerName[] = L"Pbrush.exe";
inline constexpr std::int16_t kDefaultTransClipboard = 1;
inline constexpr std::int16_t kDefaultTrayIcon = 0;
inline constexpr int kRecentFileKeys = 4;
inline constexpr wchar_t kEmptyListMark[] = L"-";

// A hotkey: modifiers as RegisterHotKey takes them, and a virtual-key code.
// The keys a hotkey may have are PrintScreen, F1 to F24, A to Z and 0 to 9;
// a letter or a digit only with Ctrl, Alt or Win, since without them it
// would be taken from the typing in every program.
inline constexpr std::uint32_t kModAlt = 0x1, kModControl = 0x2, kModShift = 0x4, kModWin = 0x8;
inline constexpr std::uint32_t kKeyPrintScreen = 0x2C, kKeyF1 = 0x70, kKeyF24 = 0x87;
struct Hotkey {
    std::uint32_t modifiers = 0;
    std::uint32_t key = 0;   // 0: none
    bool None() const { return key == 0; }
    bool operator==(const Hotkey&) const = default;
};

// The five capture commands that have a hotkey, in the order of their store keys.
enum HotkeyCommand { kRectangleKey, kActiveWindowKey, kDesktopKey, kDelayActiveWindowKey, kDelayDesktopKey };
inline constexpr int kHotkeyCommands = 5;
using HotkeySet = std::array<Hotkey, kHotkeyCommands>;
using HotkeyFlags = std::array<bool, kHotkeyCommands>;
inline constexpr std::array<const wchar_t*, kHotkeyCommands> kHotkeyKeys{
    L"Rectangle", L"ActiveWindow", L"Desktop", L"DelayActiveWindow", L"DelayDesktop"};
// Each has Ctrl, so Windows keeps PrintScreen and Alt+PrintScreen for its
// own screenshots (and Windows 11 PrintScreen for its Snipping Tool).
inline constexpr HotkeySet kDefaultHotkeys{{{kModControl, kKeyPrintScreen},
                                          {kModControl | kModAlt, kKeyPrintScreen},
                                          {kModControl | kModShift, kKeyPrintScreen},
                                          {},
                                          {}}};
// The keys last named to the user as held by another program.
inline constexpr wchar_t kHeldElsewhere[] = L"HeldElsewhere";

// "Ctrl+Alt+Shift+Win+Key", the modifiers in that order; empty for none.
std::wstring FormatHotkey(const Hotkey& hotkey);
// The same text back, the modifiers in any order and any case; empty text
// is none. Nothing when it names no hotkey Tovik can have.
std::optional<Hotkey> ParseHotkey(std::wstring_view text);
bool IsUsableHotkey(const Hotkey& hotkey);
// As a hotkey control holds a key: its HOTKEYF_ modifiers in the high byte
// (Shift 1, Ctrl 2, Alt 4, extended key 8; no Win), the key in the low.
std::uint16_t ToHotkeyControl(const Hotkey& hotkey);
// A control's value as a hotkey: 0 is none; nothing when Tovik cannot have it.
std::optional<Hotkey> FromHotkeyControl(std::uint16_t value);
// One key runs one command: a command with the key of one before it has none.
void DropRepeatedHotkeys(HotkeySet& hotkeys);
// The commands' keys that `held` marks, as the store remembers them:
// "Rectangle=Ctrl+PrintScreen;Desktop=Ctrl+Shift+PrintScreen"; empty when none is.
std::wstring HeldHotkeysText(const HotkeySet& hotkeys, const HotkeyFlags& held);

// "MRU " followed by n with a blank in the sign position: "MRU  1".
std::wstring MruKeyName(int n);

// Number texts as the program writes them. Parsing accepts surrounding
// blanks, a sign, a fraction and an exponent; anything else is not a number.
std::optional<float> ParseSingle(std::wstring_view text);
std::optional<std::int32_t> ParseLong(std::wstring_view text);      // rounded half to even
std::optional<std::int16_t> ParseInteger(std::wstring_view text);   // rounded half to even
std::wstring FormatSingle(float value);   // up to 7 significant digits, "4500" not "4500.0"

// Reads one stored text: (section, key) -> text, or nothing when absent.
using Reader = std::function<std::optional<std::wstring>(const std::wstring&, const std::wstring&)>;

// The options the program runs with: read at start, changed by the setup
// dialog (the folder by the file dialogs), written at exit.
struct LiveOptions {
    std::int32_t DelayTime = kDefaultDelayTime;             // milliseconds, of the delayed captures
    std::wstring EditerName = kDefaultEditerName;           // the editor's command line
    std::wstring CurPath;                                   // the file dialogs' folder, stored as InitDir
    std::int16_t TransClipboard = kDefaultTransClipboard;   // 1: opened pictures go to the clipboard
    std::int16_t TrayIcon = kDefaultTrayIcon;               // 1: minimised, the window waits in the notification area
    HotkeySet Hotkeys = kDefaultHotkeys;                     // of the five capture commands
    std::wstring HeldElsewhere;                             // HeldHotkeysText last told the user
};

struct Options {
    float top = kDefaultTop, left = kDefaultLeft;          // twips
    float width = kDefaultWidth, height = kDefaultHeight;  // twips, outer size
    LiveOptions live;
    std::vector<std::wstring> recentFiles;                 // oldest first, as stored
};

// The start-up reads. Absent keys and values that are not valid numbers
// give the defaults; so do a width or height that is not positive, a delay
// below 1 ms (no timer runs it), a clipboard or notification-area option
// other than 0 or 1 and a hotkey Tovik cannot have; a command given the key
// of an earlier one has none. recentFiles stops at the first "-" or empty
// entry.
Options ReadOptions(const Reader& read, const std::wstring& programFolder);

struct Write {
    std::wstring section, key, value;
    bool operator==(const Write&) const = default;
};

// The shutdown writes, in order. With windowNormal false (minimized or
// maximized) the default geometry is written instead of the options'.
// recentFiles is the list as shown (oldest first); an empty list is
// written as key 1 = "-".
std::vector<Write> ShutdownWrites(const Options& options, bool windowNormal);

// The stored window geometry in screen pixels, at the given twips per pixel:
// sizes between 1 and the largest a window may take, positions far enough
// inside the int range that adding a size never overflows, whatever the
// store held (1e30, 2^31, a negative size).
struct PixelBounds {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const PixelBounds&) const = default;
};
PixelBounds ToPixelBounds(const Options& options, double twipsPerPixelX, double twipsPerPixelY,
                          int maxWidth, int maxHeight);

// A rectangle of screen pixels; right and bottom are outside it.
struct PixelArea {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The window as it comes back on `work` (a monitor's work area), whose
// title bar is its top `titleHeight` rows. One the user can take by its
// title bar stays as it is: a piece of the title bar at least three title
// heights wide (or the window's whole width) and at least half its height
// lies on the work area. Any other (a sliver left on the monitor, the title
// bar above it) is moved, and made smaller when it is larger, to lie whole
// on the work area, as near to where it was as it can.
PixelBounds WithinReach(const PixelBounds& window, const PixelArea& work, int titleHeight);

}  // namespace app::settings
