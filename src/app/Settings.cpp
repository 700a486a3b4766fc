#include "app/Settings.h"

#include "platform/portable/Paths.h"
#include "platform/portable/Twips.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace app::settings {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The text as plain ASCII without surrounding blanks, or nothing when it
// holds any other character.
std::optional<std::string> AsciiNumberText(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    std::string ascii;
    ascii.reserve(text.size());
    for (wchar_t c : text) {
        if (c > 0x7F) return std::nullopt;
        ascii.push_back(static_cast<char>(c));
    }
    return ascii;
}

std::optional<double> ParseNumber(std::wstring_view text) {
    const auto ascii = AsciiNumberText(text);
    if (!ascii) return std::nullopt;
    const char* first = ascii->data();
    const char* last = first + ascii->size();
    if (*first == '+') ++first;   // from_chars takes only a minus
    if (first == last || *first == '+' || (ascii->front() == '+' && *first == '-')) return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
    return value;
}

template <typename Integer>
std::optional<Integer> ParseRounded(std::wstring_view text) {
    const auto value = ParseNumber(text);
    if (!value) return std::nullopt;
    const double rounded = std::nearbyint(*value);   // the default mode: half to even
    if (rounded < std::numeric_limits<Integer>::min() || rounded > std::numeric_limits<Integer>::max())
        return std::nullopt;
    return static_cast<Integer>(rounded);
}

// The modifiers' names in the order they are written.
struct ModifierName {
    std::uint32_t modifier;
    const wchar_t* name;
};
constexpr ModifierName kModifierNames[] = {
    {kModControl, L"Ctrl"}, {kModAlt, L"Alt"}, {kModShift, L"Shift"}, {kModWin, L"Win"}};
constexpr std::uint32_t kAllModifiers = kModControl | kModAlt | kModShift | kModWin;

bool IsLetterOrDigit(std::uint32_t key) { return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'); }

std::wstring KeyName(std::uint32_t key) {
    if (key == kKeyPrintScreen) return L"PrintScreen";
    if (key >= kKeyF1 && key <= kKeyF24) return L"F" + std::to_wstring(key - kKeyF1 + 1);
    if (IsLetterOrDigit(key)) return std::wstring(1, static_cast<wchar_t>(key));
    return {};
}

bool SameLetters(std::wstring_view a, std::wstring_view b) {
    auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](wchar_t x, wchar_t y) {
               return lower(x) == lower(y);
           });
}

std::optional<std::uint32_t> KeyNamed(std::wstring_view name) {
    if (SameLetters(name, L"PrintScreen")) return kKeyPrintScreen;
    if (name.size() == 1) {
        const wchar_t c = name[0] >= L'a' && name[0] <= L'z' ? static_cast<wchar_t>(name[0] - L'a' + L'A') : name[0];
        if (IsLetterOrDigit(c)) return static_cast<std::uint32_t>(c);
        return std::nullopt;
    }
    if ((name[0] == L'F' || name[0] == L'f') && name.size() <= 3 && name[1] >= L'1' && name[1] <= L'9') {
        std::uint32_t n = 0;
        for (wchar_t c : name.substr(1)) {
            if (c < L'0' || c > L'9') return std::nullopt;
            n = n * 10 + static_cast<std::uint32_t>(c - L'0');
        }
        if (n >= 1 && n <= kKeyF24 - kKeyF1 + 1) return kKeyF1 + n - 1;
    }
    return std::nullopt;
}

// The hotkey control's modifier bits (HOTKEYF_SHIFT, _CONTROL, _ALT, _EXT).
constexpr std::uint16_t kControlShift = 0x1, kControlCtrl = 0x2, kControlAlt = 0x4, kControlExtended = 0x8;

}  // namespace

bool IsUsableHotkey(const Hotkey& hotkey) {
    if (hotkey.None()) return true;
    if ((hotkey.modifiers & ~kAllModifiers) != 0 || KeyName(hotkey.key).empty()) return false;
    return !IsLetterOrDigit(hotkey.key) || (hotkey.modifiers & (kModControl | kModAlt | kModWin)) != 0;
}

std::wstring FormatHotkey(const Hotkey& hotkey) {
    if (hotkey.None()) return {};
    std::wstring text;
    for (const ModifierName& m : kModifierNames)
        if (hotkey.modifiers & m.modifier) text += std::wstring(m.name) + L"+";
    return text + KeyName(hotkey.key);
}

std::optional<Hotkey> ParseHotkey(std::wstring_view text) {
    Hotkey hotkey;
    if (text.empty()) return hotkey;
    for (;;) {
        const size_t plus = text.find(L'+');
        const std::wstring_view part = text.substr(0, plus);
        if (part.empty()) return std::nullopt;
        if (plus == std::wstring_view::npos) {
            const auto key = KeyNamed(part);
            if (!key) return std::nullopt;
            hotkey.key = *key;
            break;
        }
        const auto named = std::find_if(std::begin(kModifierNames), std::end(kModifierNames),
                                        [&](const ModifierName& m) { return SameLetters(part, m.name); });
        if (named == std::end(kModifierNames) || (hotkey.modifiers & named->modifier)) return std::nullopt;
        hotkey.modifiers |= named->modifier;
        text.remove_prefix(plus + 1);
    }
    if (!IsUsableHotkey(hotkey)) return std::nullopt;
    return hotkey;
}

std::uint16_t ToHotkeyControl(const Hotkey& hotkey) {
    if (hotkey.None()) return 0;
    std::uint16_t modifiers = 0;
    if (hotkey.modifiers & kModShift) modifiers |= kControlShift;
    if (hotkey.modifiers & kModControl) modifiers |= kControlCtrl;
    if (hotkey.modifiers & kModAlt) modifiers |= kControlAlt;
    // PrintScreen is an extended key: so marked, the control names it rightly.
    if (hotkey.key == kKeyPrintScreen) modifiers |= kControlExtended;
    return static_cast<std::uint16_t>(modifiers << 8 | (hotkey.key & 0xFF));
}

std::optional<Hotkey> FromHotkeyControl(std::uint16_t value) {
    Hotkey hotkey;
    hotkey.key = value & 0xFF;
    if (hotkey.None()) return Hotkey{};   // modifiers held without a key yet: none
    const std::uint16_t modifiers = value >> 8;
    if (modifiers & kControlShift) hotkey.modifiers |= kModShift;
    if (modifiers & kControlCtrl) hotkey.modifiers |= kModControl;
    if (modifiers & kControlAlt) hotkey.modifiers |= kModAlt;
    if (!IsUsableHotkey(hotkey)) return std::nullopt;
    return hotkey;
}

void DropRepeatedHotkeys(HotkeySet& hotkeys) {
    // Windows would only refuse the second registration of a key.
    for (int i = 0; i < kHotkeyCommands; ++i)
        for (int earlier = 0; earlier < i; ++earlier)
            if (!hotkeys[i].None() && hotkeys[i] == hotkeys[earlier]) hotkeys[i] = {};
}

std::wstring HeldHotkeysText(const HotkeySet& hotkeys, const HotkeyFlags& held) {
    std::wstring text;
    for (int i = 0; i < kHotkeyCommands; ++i) {
        if (!held[i] || hotkeys[i].None()) continue;
        if (!text.empty()) text += L";";
        text += std::wstring(kHotkeyKeys[i]) + L"=" + FormatHotkey(hotkeys[i]);
    }
    return text;
}

std::wstring MruKeyName(int n) { return L"MRU  " + std::to_wstring(n); }

std::optional<float> ParseSingle(std::wstring_view text) {
    const auto value = ParseNumber(text);
    if (!value || std::fabs(*value) > std::numeric_limits<float>::max()) return std::nullopt;
    return static_cast<float>(*value);
}

std::optional<std::int32_t> ParseLong(std::wstring_view text) { return ParseRounded<std::int32_t>(text); }

std::optional<std::int16_t> ParseInteger(std::wstring_view text) { return ParseRounded<std::int16_t>(text); }

std::wstring FormatSingle(float value) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                            std::chars_format::general, 7);
    if (error != std::errc()) return L"0";
    std::wstring text(buffer, end);
    if (text == L"-0") text = L"0";
    return text;
}

PixelBounds ToPixelBounds(const Options& o, double tx, double ty, int maxWidth, int maxHeight) {
    // No screen reaches a billion pixels; a position beyond that is cut, so
    // left + width always fits an int.
    constexpr int kFarthest = 1 << 30;
    PixelBounds b;
    b.width = std::clamp(platform::twips::ToPixels(o.width, tx), 1, std::max(maxWidth, 1));
    b.height = std::clamp(platform::twips::ToPixels(o.height, ty), 1, std::max(maxHeight, 1));
    b.left = std::clamp(platform::twips::ToPixels(o.left, tx), -kFarthest, kFarthest);
    b.top = std::clamp(platform::twips::ToPixels(o.top, ty), -kFarthest, kFarthest);
    return b;
}

PixelBounds WithinReach(const PixelBounds& w, const PixelArea& work, int titleHeight) {
    if (work.right <= work.left || work.bottom <= work.top) return w;
    const long long shownWidth = std::min<long long>(static_cast<long long>(w.left) + w.width, work.right) -
                                 std::max(w.left, work.left);
    const long long shownHeight = std::min<long long>(static_cast<long long>(w.top) + titleHeight, work.bottom) -
                                  std::max(w.top, work.top);
    const long long grip = std::min(w.width, 3 * titleHeight);
    if (shownWidth >= grip && 2 * shownHeight >= titleHeight) return w;
    PixelBounds moved;
    moved.width = std::min(w.width, work.right - work.left);
    moved.height = std::min(w.height, work.bottom - work.top);
    moved.left = std::clamp(w.left, work.left, work.right - moved.width);
    moved.top = std::clamp(w.top, work.top, work.bottom - moved.height);
    return moved;
}

Options ReadOptions(const Reader& read, const std::wstring& programFolder) {
    Options o;
    auto single = [&](const wchar_t* key, float fallback) {
        const auto text = read(kStartup, key);
        const auto value = text ? ParseSingle(*text) : std::nullopt;
        return value ? *value : fallback;
    };
    o.top = single(kTop, kDefaultTop);
    o.left = single(kLeft, kDefaultLeft);
    o.width = single(kWidth, kDefaultWidth);
    o.height = single(kHeight, kDefaultHeight);
    if (!(o.width > 0)) o.width = kDefaultWidth;
    if (!(o.height > 0)) o.height = kDefaultHeight;

    // A delay the timer cannot run, or an option that is neither on nor off,
    // is read as its default, so the setup dialog shows what the program
    // does and the store gets that back at exit.
    if (const auto text = read(kCapture, kDelayTime)) {
        const auto delay = ParseLong(*text);
        if (delay && *delay > 0) o.live.DelayTime = *delay;
    }
    if (const auto text = read(kCapture, kEditerName)) o.live.EditerName = *text;
    o.live.CurPath = read(kStartup, kInitDir).value_or(platform::WithTrailingBackslash(programFolder));
    auto onOrOff = [&](const wchar_t* key, std::int16_t& option) {
        if (const auto text = read(kStartup, key)) {
            const auto value = ParseInteger(*text);
            if (value && (*value == 0 || *value == 1)) option = *value;
        }
    };
    onOrOff(kTransClipboard, o.live.TransClipboard);
    onOrOff(kTrayIcon, o.live.TrayIcon);

    for (int i = 0; i < kHotkeyCommands; ++i)
        if (const auto text = read(kHotkeys, kHotkeyKeys[i]))
            if (const auto hotkey = ParseHotkey(*text)) o.live.Hotkeys[i] = *hotkey;
    DropRepeatedHotkeys(o.live.Hotkeys);
    o.live.HeldElsewhere = read(kHotkeys, kHeldElsewhere).value_or(L"");

    for (int n = 1; n <= kRecentFileKeys; ++n) {
        const std::wstring path = read(kStartup, MruKeyName(n)).value_or(L"");
        if (path.empty() || path == kEmptyListMark) break;
        o.recentFiles.push_back(path);
    }
    return o;
}

std::vector<Write> ShutdownWrites(const Options& o, bool windowNormal) {
    std::vector<Write> writes;
    const std::wstring startup = kStartup, capture = kCapture;
    writes.push_back({startup, kTop, FormatSingle(windowNormal ? o.top : kDefaultTop)});
    writes.push_back({startup, kLeft, FormatSingle(windowNormal ? o.left : kDefaultLeft)});
    writes.push_back({startup, kWidth, FormatSingle(windowNormal ? o.width : kDefaultWidth)});
    writes.push_back({startup, kHeight, FormatSingle(windowNormal ? o.height : kDefaultHeight)});
    writes.push_back({capture, kDelayTime, std::to_wstring(o.live.DelayTime)});
    writes.push_back({capture, kEditerName, o.live.EditerName});
    writes.push_back({startup, kInitDir, o.live.CurPath});
    writes.push_back({startup, kTransClipboard, std::to_wstring(o.live.TransClipboard)});
    writes.push_back({startup, kTrayIcon, std::to_wstring(o.live.TrayIcon)});
    if (o.recentFiles.empty()) {
        writes.push_back({startup, MruKeyName(1), kEmptyListMark});
    } else {
        int n = 1;
        for (const auto& path : o.recentFiles) writes.push_back({startup, MruKeyName(n++), path});
    }
    for (int i = 0; i < kHotkeyCommands; ++i)
        writes.push_back({kHotkeys, kHotkeyKeys[i], FormatHotkey(o.live.Hotkeys[i])});
    writes.push_back({kHotkeys, kHeldElsewhere, o.live.HeldElsewhere});
    return writes;
}

}  // namespace app::settings
