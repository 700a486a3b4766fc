// A real frmMain inside the test process, loaded from an empty settings store
// and shown, as the program starts it.
#pragma once
#include "app/frmMain.h"
#include "support/Driver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace tovik_test {

class LoadedMainForm : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
    }
    void SetUp() override {
        ClearSettings();
        ASSERT_EQ(main_.Form_Load(), S_OK);
        main_.Show(SW_SHOWNORMAL);
    }
    void TearDown() override { ClearSettings(); }

    app::frmMain main_;
};

}  // namespace tovik_test
