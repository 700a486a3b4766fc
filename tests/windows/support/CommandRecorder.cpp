#include "support/CommandRecorder.h"
#include "support/Driver.h"

#include "platform/owners/Win32.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace tovik_test {
namespace {

constexpr wchar_t kClass[] = L"Tovik.TestRecordedPage";

void SetDefault(const std::wstring& key, const std::wstring& value) {
    RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

std::wstring TestFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring file(path);
    return file.substr(0, file.find_last_of(L'\\') + 1);
}

CommandRecorder::CommandRecorder() { DeleteFileW(Record().c_str()); }
CommandRecorder::~CommandRecorder() { DeleteFileW(Record().c_str()); }

std::wstring CommandRecorder::Program() { return TestFolder() + L"command_recorder.exe"; }
std::wstring CommandRecorder::Record() { return TestFolder() + L"command_record.txt"; }

std::optional<std::wstring> CommandRecorder::Arguments() const {
    std::ifstream in(std::filesystem::path(Record()), std::ios::binary);
    if (!in) return std::nullopt;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

PagesOpenWithRecorder::PagesOpenWithRecorder() {
    wchar_t old[256] = {};
    DWORD bytes = sizeof old;
    if (RegGetValueW(HKEY_CLASSES_ROOT, L".html", nullptr, RRF_RT_REG_SZ, nullptr, old, &bytes) == ERROR_SUCCESS)
        previous_ = old;
    SetDefault(L".html", kClass);
    SetDefault(std::wstring(kClass) + L"\\shell\\open\\command", L"\"" + Program() + L"\" \"%1\"");
}

PagesOpenWithRecorder::~PagesOpenWithRecorder() {
    SetDefault(L".html", previous_);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kClass);
}

}  // namespace tovik_test
