// The file-type list handed to the open and save dialogs.
#include "platform/portable/FileFilter.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

TEST(FileFilter, PartsEndInNulAndTheListInAnotherWithEveryBlankKept) {
    EXPECT_EQ(platform::DialogFilter(L"実行ﾌｧｲﾙ(*.exe) | *.exe |すべてのﾌｧｲﾙ (*.*)|*.*"),
              L"実行ﾌｧｲﾙ(*.exe) \0 *.exe \0すべてのﾌｧｲﾙ (*.*)\0*.*\0\0"s);
    EXPECT_EQ(platform::DialogFilter(L"BMP|*.bmp|"), L"BMP\0*.bmp\0\0"s);
    EXPECT_EQ(platform::DialogFilter(L""), L""s);
}

}  // namespace
