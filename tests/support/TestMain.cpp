// Entry of every test program: common controls, and error messages collected instead of shown in a box.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "support/TestSupport.h"

std::vector<std::wstring>& CapturedErrors()
{
    static std::vector<std::wstring> errors;
    return errors;
}

int wmain(int argc, wchar_t** argv)
{
    testing::InitGoogleTest(&argc, argv);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    SetErrorSink([](const std::wstring& message) { CapturedErrors().push_back(message); });
    return RUN_ALL_TESTS();
}
