// A test of the real Tovik.exe: it begins with an empty settings store; at
// its end the program, if it still runs, is closed as the user closes it,
// and the store is emptied again.
#pragma once
#include "support/Dialogs.h"
#include "support/Driver.h"

#include <gtest/gtest.h>

#include <string>

namespace tovik_test {

class RealProgram : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
    void TearDown() override {
        if (tovik_.IsRunning()) tovik_.CloseAndWait();
        ClearSettings();
    }

    HWND Main() const { return tovik_.MainWindow(); }
    // Runs the command and waits for its dialog with this caption; nullptr if none comes up.
    HWND OpenDialog(int command, const std::wstring& caption) {
        tovik_.Command(command);
        return WaitForDialog(tovik_.ProcessId(), caption);
    }

    TovikProcess tovik_;
};

}  // namespace tovik_test
