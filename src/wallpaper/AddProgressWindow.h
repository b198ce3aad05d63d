// AddProgressWindow: the small window of a long add of wallpapers, which names the file being added, counts the
// files and offers a Cancel button (Esc too) that ends the add at once.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "base/Window.h"

class AddProgressWindow : public Window {
public:
    static constexpr const wchar_t* kClassName = L"TKabeAddForm";
    static constexpr const wchar_t* kTitle = L"壁紙の追加";
    static constexpr int kClientWidth = 360;
    static constexpr int kClientHeight = 128;

    explicit AddProgressWindow(ErrorReporter& errors) : Window(errors) {}
    ~AddProgressWindow() override;

    // Creates the window owned by owner and shows it active: the user has just started the add.
    bool Create(HWND owner);
    // File number (from 1) of total, and its path; painted at once.
    void ShowFile(std::size_t number, std::size_t total, const std::wstring& path);
    // Cancel was pressed (or Esc, or the close box).
    bool Cancelled() const { return cancelled_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    std::optional<SIZE> OuterSizeForDpi(int dpi) const override;

private:
    void Show(const std::wstring& count, const std::wstring& path, int position);

    bool cancelled_ = false;
};
