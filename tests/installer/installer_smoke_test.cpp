// The win64 installer as a user meets it, on a Wine prefix of its own
// (tools/test.sh gives these cases a bench without the other tests): a silent
// install into the user's own programs folder, the installed Tovik started from
// there, and a silent uninstall that removes the program and keeps the settings
// unless asked. Every case installs first, so each also runs alone; a case that
// needs the installed program to do more (capture, save through the installed
// converter) starts it with InstalledExe().
#include "support/Dialogs.h"
#include "support/Driver.h"
#include "support/Pictures.h"
#include "support/Programs.h"

#include "platform/owners/Handle.h"
#include "platform/owners/Registry.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace tovik_test;

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tovik";

std::wstring Expand(const wchar_t* text) {
    wchar_t buffer[MAX_PATH];
    const DWORD n = ExpandEnvironmentStringsW(text, buffer, MAX_PATH);
    return n > 0 && n <= MAX_PATH ? std::wstring(buffer) : std::wstring();
}

std::wstring InstallFolder() { return Expand(L"%LOCALAPPDATA%\\Programs\\Tovik\\"); }
std::wstring InstalledExe() { return InstallFolder() + L"Tovik.exe"; }
std::wstring StartMenuEntry() { return Expand(L"%APPDATA%\\Microsoft\\Windows\\Start Menu\\Programs\\Tovik.lnk"); }
std::wstring StartupFolder() { return Expand(L"%APPDATA%\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"); }
// Made by Tovik when the user asks it to start at logon.
std::wstring StartupEntry() { return StartupFolder() + L"\\Tovik.lnk"; }

bool Registered() {
    platform::RegistryKey key;
    return RegOpenKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

std::wstring RegisteredValue(const wchar_t* name) {
    wchar_t buffer[1024];
    DWORD bytes = sizeof buffer;
    if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS)
        return {};
    return buffer;
}

// Runs exe with the arguments and waits for it to end: its exit code, or -1.
int RunAndWait(const std::wstring& exe, const std::wstring& arguments) {
    return RunProcess(L"\"" + exe + L"\" " + arguments, 60000, exe);
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        const std::wstring setup = WindowsPath(TOVIK_SETUP_UNIX);
        ASSERT_TRUE(Exists(setup)) << "no installer at " << TOVIK_SETUP_UNIX << "; tools/build.sh makes it";
        ASSERT_EQ(RunAndWait(setup, L"/S"), 0);
        ASSERT_TRUE(Exists(InstalledExe()));
    }

    // Leaves the prefix as the case found it.
    void TearDown() override {
        if (Registered()) Uninstall(L"/S /REMOVESETTINGS");
        ClearSettings();
    }

    // The uninstaller hands over to a copy of itself and ends at once; its
    // last step, the removal of its registration, tells that the copy is done.
    static bool Uninstall(const std::wstring& arguments) {
        if (RunAndWait(InstallFolder() + L"uninstall.exe", arguments) != 0) return false;
        return WaitUntil([] { return !Registered(); }, 30000);
    }
};

TEST_F(Installer, SilentInstall_TovikStartsFromTheUsersProgramsFolder) {
    for (const wchar_t* file : {L"Tovik.html", L"README-ja.txt", L"LICENSE.txt", L"uninstall.exe"})
        EXPECT_TRUE(Exists(InstallFolder() + file)) << "missing " << testing::PrintToString(std::wstring(file));
    EXPECT_EQ(Exists(InstallFolder() + L"bmp2jpg.exe"), Exists(DistFolder() + L"bmp2jpg.exe"));
    EXPECT_TRUE(Exists(StartMenuEntry()));
    EXPECT_EQ(RegisteredValue(L"UninstallString"), L"\"" + InstallFolder() + L"uninstall.exe\"");

    TovikProcess tovik;
    ASSERT_TRUE(tovik.Start(InstalledExe()));
    EXPECT_TRUE(IsWindowVisible(tovik.MainWindow()));
    // A desktop capture saved as JPEG through the installed converter.
    DWORD_PTR done = 0;
    ASSERT_TRUE(SendMessageTimeoutW(tovik.MainWindow(), WM_COMMAND, ID_mnuDesktop, 0, SMTO_NORMAL, 20000, &done));
    const TempFolder pictures(L"tovik インストール");
    tovik.Command(ID_mnuSaveAs);
    HWND save = WaitForDialog(tovik.ProcessId(), L"名前を付けて保存");
    ASSERT_TRUE(save);
    ChooseFile(save, pictures.path() + L"desktop.jpg");
    std::optional<Pixels> jpeg;
    EXPECT_TRUE(WaitUntil([&] { return (jpeg = ReadPictureFile(pictures.path() + L"desktop.jpg")).has_value(); }, 30000))
        << "the installed converter wrote no JPEG";
    if (jpeg) {
        EXPECT_EQ(jpeg->width, OuterRect(GetDesktopWindow()).right - OuterRect(GetDesktopWindow()).left);
    }
    EXPECT_TRUE(tovik.CloseAndWait());
    // A normal exit writes the settings: the installed program has its own store.
    EXPECT_TRUE(ReadSetting(L"Capture", L"DelayTime").has_value());
}

TEST_F(Installer, SilentUninstall_RemovesTheProgramKeepsSettingsAndSavedPictures) {
    WriteSetting(L"Capture", L"DelayTime", L"1234");
    // The save dialogs start in the program folder, so users' pictures end up there.
    const std::wstring picture = InstallFolder() + L"saved.bmp";
    CreateDirectoryW(StartupFolder().c_str(), nullptr);
    for (const std::wstring& made : {picture, StartupEntry()}) {
        const platform::KernelHandle file(CreateFileW(made.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        ASSERT_TRUE(file) << testing::PrintToString(made);
    }

    ASSERT_TRUE(Uninstall(L"/S"));
    for (const wchar_t* file : {L"Tovik.exe", L"bmp2jpg.exe", L"Tovik.html", L"README-ja.txt", L"LICENSE.txt",
                                L"uninstall.exe"})
        EXPECT_FALSE(Exists(InstallFolder() + file)) << "left " << testing::PrintToString(std::wstring(file));
    EXPECT_FALSE(Exists(StartMenuEntry()));
    EXPECT_FALSE(Exists(StartupEntry()));
    EXPECT_TRUE(Exists(picture));
    EXPECT_EQ(ReadSetting(L"Capture", L"DelayTime"), std::wstring(L"1234"));
    DeleteFileW(picture.c_str());
    RemoveDirectoryW(InstallFolder().c_str());
}

TEST_F(Installer, SilentUninstallAskedToRemoveSettings_LeavesNothing) {
    WriteSetting(L"Capture", L"DelayTime", L"1234");
    ASSERT_TRUE(Uninstall(L"/S /REMOVESETTINGS"));
    EXPECT_FALSE(Exists(InstallFolder()));
    EXPECT_FALSE(ReadSetting(L"Capture", L"DelayTime").has_value());
}

}  // namespace
