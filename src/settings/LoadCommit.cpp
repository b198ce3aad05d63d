// The settings dialog's load from the registry (FormCreate) and its commit (OkBtnClick).
#include "settings/OptionEtcForm.h"

void TOptionEtcForm::FormCreate() {}

void TOptionEtcForm::OkBtnClick()
{
    ShowWindow(hwnd_, SW_HIDE);
}
