// The two reminder message windows TMessagesForm1 and TMessagesForm2: fixed frames, hidden until a
// reminder fires, owned by the main window.
#pragma once

#include <windows.h>

#include "shell/Handles.h"
#include "shell/Window.h"

class TMessagesForm : public Window {
public:
    static constexpr int kClientWidth = 488;
    static constexpr int kClientHeight = 54;

    // number is 1 or 2: the reminder timer the window belongs to.
    explicit TMessagesForm(int number);
    bool Create(HWND mainWindow);
    int Number() const { return number_; }
    COLORREF BackgroundColour() const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    int number_;
    Brush background_;
};
