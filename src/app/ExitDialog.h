// The exit dialog ExitDialog: asks whether to end Sorabune; OK destroys the main window (its owner),
// Cancel and the close box only hide it. Always shown without modality.
#pragma once

#include <windows.h>

#include "base/Window.h"

class ExitDialog : public Window {
public:
    static constexpr const wchar_t* kClassName = L"TMsgDlgForm";
    static constexpr const wchar_t* kTitle = L"Sorabune";
    static constexpr const wchar_t* kMessage = L"Sorabuneを終了します ？";
    static constexpr int kClientWidth = 348;
    static constexpr int kClientHeight = 137;

    explicit ExitDialog(ErrorReporter& errors) : Window(errors) {}

    // Creates the dialog hidden, owned by the main window, which OK destroys.
    bool Create(HWND mainWindow);
    void ShowDialog();

    void OKBtnClick();
    void CancelBtnClick();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    std::optional<SIZE> OuterSizeForDpi(int dpi) const override;

private:
    HWND mainWindow_ = nullptr;
};
