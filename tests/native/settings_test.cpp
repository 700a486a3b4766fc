#include "app/Settings.h"
#include "platform/portable/Twips.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <map>
#include <utility>

using namespace app;

namespace {

using Store = std::map<std::pair<std::wstring, std::wstring>, std::wstring>;

settings::Options Read(const Store& store, const std::wstring& folder = L"C:\\Tools\\Tovik") {
    return settings::ReadOptions(
        [&](const std::wstring& section, const std::wstring& key) -> std::optional<std::wstring> {
            const auto found = store.find({section, key});
            if (found == store.end()) return std::nullopt;
            return found->second;
        },
        folder);
}

Store Apply(const std::vector<settings::Write>& writes) {
    Store store;
    for (const auto& w : writes) store[{w.section, w.key}] = w.value;
    return store;
}

TEST(Settings, EmptyStoreGivesEveryDefault) {
    const auto o = Read({});
    EXPECT_EQ(o.top, 0);
    EXPECT_EQ(o.left, 0);
    EXPECT_EQ(o.width, 4500);
    EXPECT_EQ(o.height, 3000);
    EXPECT_EQ(o.live.DelayTime, 2000);
    EXPECT_EQ(o.live.EditerName, L"Pbrush.exe");
    EXPECT_EQ(o.live.CurPath, L"C:\\Tools\\Tovik\\");
    EXPECT_EQ(o.live.TransClipboard, 1);
    EXPECT_EQ(o.live.TrayIcon, 0);
    EXPECT_TRUE(o.recentFiles.empty());
    EXPECT_EQ(o.live.Hotkeys, settings::kDefaultHotkeys);
    EXPECT_EQ(o.live.HeldElsewhere, L"");
    EXPECT_EQ(Read({}, L"D:\\").live.CurPath, L"D:\\");   // a drive root keeps its one backslash
}

TEST(Settings, ValuesThatAreNotNumbersFallBackToDefaults) {
    for (const std::wstring bad : {L"", L"abc", L"12abc", L"0x10", L"１２", L"inf", L"nan", L"1,5",
                                   L"--3", L"+-3", L"1e", L" ", L"3 4"}) {
        const auto o = Read({{{L"Startup", L"Top"}, bad},
                             {{L"Startup", L"Left"}, bad},
                             {{L"Startup", L"Width"}, bad},
                             {{L"Startup", L"Height"}, bad},
                             {{L"Capture", L"DelayTime"}, bad},
                             {{L"Startup", L"TransClipboard"}, bad},
                             {{L"Startup", L"TrayIcon"}, bad}});
        SCOPED_TRACE(std::string(bad.begin(), bad.end()));
        EXPECT_EQ(o.top, 0);
        EXPECT_EQ(o.left, 0);
        EXPECT_EQ(o.width, 4500);
        EXPECT_EQ(o.height, 3000);
        EXPECT_EQ(o.live.DelayTime, 2000);
        EXPECT_EQ(o.live.TransClipboard, 1);
        EXPECT_EQ(o.live.TrayIcon, 0);
    }
}

TEST(Settings, NegativeAndHugeNumbers) {
    const auto o = Read({{{L"Startup", L"Top"}, L"-150"},
                         {{L"Startup", L"Left"}, L"-3e4"},
                         {{L"Startup", L"Width"}, L"-100"},      // no size: default
                         {{L"Startup", L"Height"}, L"0"},
                         {{L"Capture", L"DelayTime"}, L"-5"},
                         {{L"Startup", L"TransClipboard"}, L"-1"}});
    EXPECT_EQ(o.top, -150);
    EXPECT_EQ(o.left, -30000);
    EXPECT_EQ(o.width, 4500);
    EXPECT_EQ(o.height, 3000);
    // Neither is a value the program can use: the defaults are in effect,
    // and they are what goes back to the store.
    EXPECT_EQ(o.live.DelayTime, 2000);
    EXPECT_EQ(o.live.TransClipboard, 1);
    const auto fixed = Apply(settings::ShutdownWrites(Read({{{L"Capture", L"DelayTime"}, L"0"},
                                                            {{L"Startup", L"TransClipboard"}, L"2"},
                                                            {{L"Startup", L"TrayIcon"}, L"-1"}}), true));
    EXPECT_EQ(fixed.at({L"Capture", L"DelayTime"}), L"2000");
    EXPECT_EQ(fixed.at({L"Startup", L"TransClipboard"}), L"1");
    EXPECT_EQ(fixed.at({L"Startup", L"TrayIcon"}), L"0");
    EXPECT_EQ(Read({{{L"Startup", L"TransClipboard"}, L"0"}}).live.TransClipboard, 0);
    EXPECT_EQ(Read({{{L"Startup", L"TrayIcon"}, L"1"}}).live.TrayIcon, 1);
    EXPECT_EQ(Read({{{L"Capture", L"DelayTime"}, L"1"}}).live.DelayTime, 1);

    const auto huge = Read({{{L"Startup", L"Top"}, L"1e40"},             // beyond single precision
                            {{L"Startup", L"Width"}, L"1e30"},           // a number; the window cuts it down
                            {{L"Capture", L"DelayTime"}, L"2147483648"},  // beyond 32 bits
                            {{L"Startup", L"TransClipboard"}, L"32768"}});  // beyond 16 bits
    EXPECT_EQ(huge.top, 0);
    EXPECT_FLOAT_EQ(huge.width, 1e30f);
    EXPECT_EQ(huge.live.DelayTime, 2000);
    EXPECT_EQ(huge.live.TransClipboard, 1);
    EXPECT_EQ(Read({{{L"Capture", L"DelayTime"}, L"2147483647"}}).live.DelayTime, 2147483647);
    EXPECT_EQ(Read({{{L"Capture", L"DelayTime"}, L"-2147483648"}}).live.DelayTime, 2000);
}

TEST(Settings, NumbersAreReadLikeTheProgramWritesThem) {
    EXPECT_EQ(settings::ParseSingle(L" 4500 "), 4500.0f);
    EXPECT_EQ(settings::ParseSingle(L"+15"), 15.0f);
    EXPECT_EQ(settings::ParseSingle(L"1234.5"), 1234.5f);
    EXPECT_EQ(settings::ParseLong(L"2000.5"), 2000);    // half to even
    EXPECT_EQ(settings::ParseLong(L"2001.5"), 2002);
    EXPECT_EQ(settings::ParseLong(L"1e3"), 1000);
    EXPECT_EQ(settings::ParseInteger(L"0"), 0);
    EXPECT_EQ(settings::ParseInteger(L"32767"), 32767);

    EXPECT_EQ(settings::FormatSingle(4500), L"4500");
    EXPECT_EQ(settings::FormatSingle(0), L"0");
    EXPECT_EQ(settings::FormatSingle(-0.0f), L"0");
    EXPECT_EQ(settings::FormatSingle(-15), L"-15");
    EXPECT_EQ(settings::FormatSingle(1234.5f), L"1234.5");
    EXPECT_EQ(settings::FormatSingle(28800), L"28800");
    for (float v : {0.0f, 15.0f, -2880.0f, 4500.0f, 57585.0f, 1234.5f, 8.571428f})
        EXPECT_EQ(settings::ParseSingle(settings::FormatSingle(v)), v);
}

TEST(Settings, RecentFileKeysAreSixCharactersAndStopAtTheFirstGap) {
    EXPECT_EQ(settings::MruKeyName(1), L"MRU  1");
    EXPECT_EQ(settings::MruKeyName(4).size(), 6u);
    const auto o = Read({{{L"Startup", L"MRU  1"}, L"C:\\a.bmp"},
                         {{L"Startup", L"MRU  2"}, L""},
                         {{L"Startup", L"MRU  3"}, L"C:\\c.bmp"}});
    EXPECT_EQ(o.recentFiles, std::vector<std::wstring>{L"C:\\a.bmp"});
    EXPECT_TRUE(Read({{{L"Startup", L"MRU  1"}, L"-"}, {{L"Startup", L"MRU  2"}, L"C:\\b.bmp"}})
                    .recentFiles.empty());
}

TEST(Settings, ShutdownWritesEveryKeyInOrderWithExactTexts) {
    settings::Options o;
    o.top = 1500; o.left = 750; o.width = 6000; o.height = 4500;
    o.live.DelayTime = 5000; o.live.EditerName = L"C:\\ペイント\\edit.exe"; o.live.CurPath = L"D:\\画像\\";
    o.live.TransClipboard = 0;
    o.live.TrayIcon = 1;
    o.live.Hotkeys[settings::kRectangleKey] = {settings::kModShift | settings::kModWin | settings::kModAlt, 'R'};
    o.live.Hotkeys[settings::kDesktopKey] = {};
    o.live.Hotkeys[settings::kDelayDesktopKey] = {0, settings::kKeyF1 + 11};
    o.live.HeldElsewhere = L"ActiveWindow=Ctrl+Alt+PrintScreen";
    const std::vector<settings::Write> expected{
        {L"Startup", L"Top", L"1500"},        {L"Startup", L"Left", L"750"},
        {L"Startup", L"Width", L"6000"},      {L"Startup", L"Height", L"4500"},
        {L"Capture", L"DelayTime", L"5000"},  {L"Capture", L"EditerName", L"C:\\ペイント\\edit.exe"},
        {L"Startup", L"InitDir", L"D:\\画像\\"}, {L"Startup", L"TransClipboard", L"0"},
        {L"Startup", L"TrayIcon", L"1"},      {L"Startup", L"MRU  1", L"-"},
        {L"Hotkeys", L"Rectangle", L"Alt+Shift+Win+R"}, {L"Hotkeys", L"ActiveWindow", L"Ctrl+Alt+PrintScreen"},
        {L"Hotkeys", L"Desktop", L""},        {L"Hotkeys", L"DelayActiveWindow", L""},
        {L"Hotkeys", L"DelayDesktop", L"F12"}, {L"Hotkeys", L"HeldElsewhere", L"ActiveWindow=Ctrl+Alt+PrintScreen"}};
    EXPECT_EQ(settings::ShutdownWrites(o, true), expected);

    const auto back = Read(Apply(settings::ShutdownWrites(o, true)));
    EXPECT_EQ(back.top, 1500);
    EXPECT_EQ(back.width, 6000);
    EXPECT_EQ(back.live.DelayTime, 5000);
    EXPECT_EQ(back.live.EditerName, o.live.EditerName);
    EXPECT_EQ(back.live.CurPath, o.live.CurPath);
    EXPECT_EQ(back.live.TransClipboard, 0);
    EXPECT_EQ(back.live.TrayIcon, 1);
    EXPECT_EQ(back.live.Hotkeys, o.live.Hotkeys);
    EXPECT_EQ(back.live.HeldElsewhere, o.live.HeldElsewhere);
    EXPECT_TRUE(back.recentFiles.empty());
}

// Hotkeys are stored as their modifiers in a fixed order, then the key.
// Read back, the modifiers may come in any order and any case; a text that
// names no key Tovik can have (or one a command before it has) is not
// taken, and the command keeps its default (or has none).
TEST(Settings, HotkeyTextsNameModifiersInOrderThenTheKey) {
    using settings::Hotkey;
    constexpr auto kCtrl = settings::kModControl, kAlt = settings::kModAlt, kShift = settings::kModShift,
                   kWin = settings::kModWin, kPrintScreen = settings::kKeyPrintScreen, kF1 = settings::kKeyF1;
    const struct { Hotkey hotkey; const wchar_t* text; } named[] = {
        {{kCtrl, kPrintScreen}, L"Ctrl+PrintScreen"},
        {{kWin | kShift | kAlt | kCtrl, 'Z'}, L"Ctrl+Alt+Shift+Win+Z"},
        {{kAlt, '0'}, L"Alt+0"},
        {{0, kF1}, L"F1"},
        {{kShift, settings::kKeyF24}, L"Shift+F24"},
        {{0, kPrintScreen}, L"PrintScreen"},
        {{}, L""},
    };
    for (const auto& [hotkey, text] : named) {
        EXPECT_EQ(settings::FormatHotkey(hotkey), text);
        EXPECT_EQ(settings::ParseHotkey(text), hotkey) << text;
        EXPECT_EQ(settings::FromHotkeyControl(settings::ToHotkeyControl(hotkey)),
                  (Hotkey{hotkey.modifiers & ~kWin, hotkey.key}));   // the control has no Win
    }
    EXPECT_EQ(settings::ParseHotkey(L"shift+ctrl+printscreen"), (Hotkey{kCtrl | kShift, kPrintScreen}));
    EXPECT_EQ(settings::ParseHotkey(L"win+f10"), (Hotkey{kWin, kF1 + 9}));
    for (const wchar_t* unreadable : {L"A", L"Shift+5", L"Ctrl+", L"+A", L"Ctrl++A", L"Ctrl+Ctrl+A", L"Ctrl+F0",
                                      L"Ctrl+F25", L"Ctrl+F01", L"Ctrl+Space", L"Ctrl+AB", L" Ctrl+A", L"Ctrl+Ａ",
                                      L"Ctrl"})
        EXPECT_FALSE(settings::ParseHotkey(unreadable).has_value()) << unreadable;

    // A hotkey control's value: HOTKEYF_ modifiers high, the key low; the extended-key bit plays no part.
    EXPECT_EQ(settings::ToHotkeyControl({kCtrl | kAlt, kPrintScreen}), 0x0E2C);
    EXPECT_EQ(settings::FromHotkeyControl(0x0645), (Hotkey{kCtrl | kAlt, 'E'}));
    EXPECT_EQ(settings::FromHotkeyControl(0x0200), Hotkey{});   // Ctrl held, no key yet
    EXPECT_FALSE(settings::FromHotkeyControl(0x0141).has_value());   // Shift+A: taken from the typing
    EXPECT_FALSE(settings::FromHotkeyControl(0x0220).has_value());   // Ctrl+Space: no key of the store

    const auto o = Read({{{L"Hotkeys", L"Rectangle"}, L"Ctrl+Banana"},
                         {{L"Hotkeys", L"ActiveWindow"}, L"F5"},
                         {{L"Hotkeys", L"Desktop"}, L""},
                         {{L"Hotkeys", L"DelayActiveWindow"}, L"f5"},
                         {{L"Hotkeys", L"DelayDesktop"}, L"Alt+Ctrl+PrintScreen"}});
    EXPECT_EQ(o.live.Hotkeys, (settings::HotkeySet{settings::kDefaultHotkeys[0], Hotkey{0, kF1 + 4}, Hotkey{}, Hotkey{},
                                                   Hotkey{kCtrl | kAlt, kPrintScreen}}));

    EXPECT_EQ(settings::HeldHotkeysText(settings::kDefaultHotkeys, {true, false, true, true, false}),
              L"Rectangle=Ctrl+PrintScreen;Desktop=Ctrl+Shift+PrintScreen");
    EXPECT_EQ(settings::HeldHotkeysText(settings::kDefaultHotkeys, {}), L"");
}

TEST(Settings, MinimizedOrMaximizedWindowStoresTheDefaultGeometry) {
    settings::Options o;
    o.top = -32000; o.left = -32000; o.width = 2400; o.height = 540;
    const auto store = Apply(settings::ShutdownWrites(o, false));
    EXPECT_EQ(store.at({L"Startup", L"Top"}), L"0");
    EXPECT_EQ(store.at({L"Startup", L"Left"}), L"0");
    EXPECT_EQ(store.at({L"Startup", L"Width"}), L"4500");
    EXPECT_EQ(store.at({L"Startup", L"Height"}), L"3000");
}

TEST(Settings, RecentFilesAreWrittenOldestFirst) {
    settings::Options o;
    o.recentFiles = {L"C:\\b.bmp", L"C:\\c.gif"};
    const auto store = Apply(settings::ShutdownWrites(o, true));
    EXPECT_EQ(store.at({L"Startup", L"MRU  1"}), L"C:\\b.bmp");
    EXPECT_EQ(store.at({L"Startup", L"MRU  2"}), L"C:\\c.gif");
    EXPECT_EQ(store.count({L"Startup", L"MRU  3"}), 0u);
}

TEST(Twips, FollowTheScreenResolution) {
    EXPECT_EQ(platform::twips::PerPixel(96), 15.0);
    EXPECT_EQ(platform::twips::PerPixel(120), 12.0);
    EXPECT_EQ(platform::twips::PerPixel(144), 10.0);
    EXPECT_EQ(platform::twips::PerPixel(0), 15.0);
    EXPECT_EQ(platform::twips::ToPixels(4500, 15), 300);
    EXPECT_EQ(platform::twips::ToPixels(3000, 15), 200);
    EXPECT_EQ(platform::twips::ToPixels(4500, 12), 375);
    EXPECT_EQ(platform::twips::ToPixels(-150, 15), -10);
    EXPECT_EQ(platform::twips::ToPixels(22, 15), 1);   // nearest pixel
    EXPECT_EQ(platform::twips::FromPixels(300, 15), 4500.0f);
    EXPECT_EQ(platform::twips::FromPixels(-8, 15), -120.0f);
    const double odd = platform::twips::PerPixel(168);   // 8.57... twips per pixel
    for (int px : {0, 1, 7, 300, 1919, -1})
        EXPECT_EQ(platform::twips::ToPixels(platform::twips::FromPixels(px, odd), odd), px);
    EXPECT_EQ(platform::twips::AtDpi(480, 144), 48);
    EXPECT_EQ(platform::twips::AtDpi(-15, 120), -1);
}

// Whatever the store holds, converting it and adding a size to a position
// stays inside an int: 1e30, values near 2^31, infinities.
TEST(Twips, StoredGeometryFarOutOfRangeIsCutNotOverflowed) {
    EXPECT_EQ(platform::twips::ToPixels(1e30, 15), INT_MAX);
    EXPECT_EQ(platform::twips::ToPixels(-1e30, 15), INT_MIN);
    EXPECT_EQ(platform::twips::ToPixels(std::numeric_limits<double>::infinity(), 15), INT_MAX);
    EXPECT_EQ(platform::twips::ToPixels(std::numeric_limits<double>::quiet_NaN(), 15), 0);
    settings::Options o;
    o.left = 2147483647.0f * 15;
    o.top = -1e30f;
    o.width = 1e30f;
    o.height = 3000;
    const settings::PixelBounds b = settings::ToPixelBounds(o, 15, 15, 2000, 1500);
    EXPECT_EQ(b.width, 2000);
    EXPECT_EQ(b.height, 200);
    EXPECT_LE(static_cast<long long>(b.left) + b.width, INT_MAX);
    EXPECT_GE(b.left, 0);
    EXPECT_LT(b.top, 0);
    EXPECT_GE(static_cast<long long>(b.top) - b.height, INT_MIN);
}

// A stored window the user can take by its title bar stays where it is,
// partly off the monitor or not; one that could not be taken comes back
// whole on the work area, as near as it was, no larger than the work area.
TEST(Twips, StoredWindowOutOfReachComesBackWholeOnTheWorkArea) {
    const settings::PixelArea work{0, 40, 1280, 800};   // a task bar along the top
    constexpr int kTitle = 30;
    using B = settings::PixelBounds;
    for (const B& kept : {B{100, 100, 400, 300}, B{-300, 100, 400, 300}, B{1280 - 90, 700, 400, 300},
                          B{200, 40 - 15, 400, 300}, B{-1100, 100, 1200, 300}})
        EXPECT_EQ(settings::WithinReach(kept, work, kTitle), kept) << kept.left << "," << kept.top;
    const struct { B stored, back; } moved[] = {
        {{1280 - 89, 100, 400, 300}, {880, 100, 400, 300}},    // a sliver on the right
        {{-395, 500, 400, 300}, {0, 500, 400, 300}},           // a sliver on the left
        {{200, 40 - 16, 400, 300}, {200, 40, 400, 300}},       // the title bar half under the task bar
        {{200, 790, 400, 300}, {200, 500, 400, 300}},          // only the title bar's top rows on it
        {{-50, -200, 2000, 1000}, {0, 40, 1280, 760}},         // and larger than the work area
        {{-(1 << 30), 1 << 30, 400, 300}, {0, 500, 400, 300}}, // as far as a stored value goes
    };
    for (const auto& [stored, back] : moved)
        EXPECT_EQ(settings::WithinReach(stored, work, kTitle), back) << stored.left << "," << stored.top;
    const B anywhere{5000, 5000, 10, 10};
    EXPECT_EQ(settings::WithinReach(anywhere, {0, 0, 0, 0}, kTitle), anywhere) << "no work area: left alone";
}

}  // namespace
