// Entry of every test program: common controls, and the error reporter that collects messages instead of
// showing them in a box.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "support/TestSupport.h"

std::vector<std::wstring>& CapturedErrors()
{
    static std::vector<std::wstring> errors;
    return errors;
}

CapturingErrors& TestErrors()
{
    static CapturingErrors errors;
    return errors;
}

MessageLoop& TestLoop()
{
    static MessageLoop loop;
    return loop;
}

int wmain(int argc, wchar_t** argv)
{
    testing::InitGoogleTest(&argc, argv);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    return RUN_ALL_TESTS();
}
