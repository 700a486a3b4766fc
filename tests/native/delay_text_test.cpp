// The delay typed in the setup dialog: only what the delayed-capture timer can run is taken.
#include "dialogs/DelayText.h"

#include <gtest/gtest.h>

namespace {

using dialogs::ParseDelayTime;

TEST(DelayText, WholeNumbersFromOneToTheTimersLimitAreTaken) {
    EXPECT_EQ(ParseDelayTime(L"1"), 1);
    EXPECT_EQ(ParseDelayTime(L"1234"), 1234);
    EXPECT_EQ(ParseDelayTime(L"2147483647"), 2147483647);
    EXPECT_EQ(ParseDelayTime(L"  5000 "), 5000);        // blanks around it are forgiven
    EXPECT_EQ(ParseDelayTime(L"0002000"), 2000);
}

TEST(DelayText, AnythingTheTimerCannotRunIsRefused) {
    for (const wchar_t* text : {L"", L"   ", L"abc", L"0", L"000", L"-5", L"+5", L"12x", L"1 000", L"1,000",
                                L"1.5", L"2147483648", L"99999999999", L"99999999999999999999999999",
                                L"\uFF11\uFF12\uFF13",   // full-width digits
                                L"\u0661\u0662",         // other scripts' digits
                                L"\u3000" L"12", L"\t12", L"0x10"})
        EXPECT_FALSE(ParseDelayTime(text).has_value()) << testing::PrintToString(std::wstring(text));
}

}  // namespace
