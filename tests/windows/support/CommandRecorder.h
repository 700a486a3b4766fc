// command_recorder.exe, built beside the tests, stands in for a program Tovik
// starts: it writes the arguments it was given, exactly as they follow its
// name on the command line, beside itself.
#pragma once
#include <optional>
#include <string>

namespace tovik_test {

class CommandRecorder {
public:
    CommandRecorder();    // no record of an earlier start
    ~CommandRecorder();
    CommandRecorder(const CommandRecorder&) = delete;
    CommandRecorder& operator=(const CommandRecorder&) = delete;

    static std::wstring Program();   // the recorder's full path
    static std::wstring Record();    // where it writes
    // The arguments of its latest start, once it has been started.
    std::optional<std::wstring> Arguments() const;
    std::optional<std::wstring> Opened() const { return Arguments(); }
};

// While this lives, the shell opens .html pages with the recorder.
class PagesOpenWithRecorder : public CommandRecorder {
public:
    PagesOpenWithRecorder();
    ~PagesOpenWithRecorder();

private:
    std::wstring previous_ = L"htmlfile";
};

}  // namespace tovik_test
