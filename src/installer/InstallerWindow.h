// The installer's only window InstallerWindow: it installs while it is created and then says that the installation
// has finished; its button ends the program.
#pragma once

#include "base/Window.h"
#include "installer/Installation.h"

class InstallerWindow : public Window {
public:
    static constexpr const wchar_t* kClassName = L"TForm1";
    static constexpr const wchar_t* kTitle = L"Sorabune のインストール";
    // At 96 DPI; the window is as much larger as its screen's scale.
    static constexpr int kOuterWidth = 451;
    static constexpr int kOuterHeight = 201;

    // The installation reaches the system through the given calls.
    explicit InstallerWindow(ErrorReporter& errors, InstallSystem system = {}) : Window(errors), system_(system) {}

    // Creates the window (running the installation) and shows it. install false leaves the
    // installation out, for tests of the window itself.
    bool Create(bool install = true);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    std::optional<SIZE> OuterSizeForDpi(int dpi) const override;

private:
    void OnCreate();
    void InstallClick();

    InstallSystem system_;
    bool install_ = true;
};
