// The version page バージョン: the program's title and version, release date, author and the two links,
// underlined in the system's link colour, which turn bold under the pointer and open the mail program or the
// browser when clicked.
#include "info/VersionPage.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "info/InfoIds.h"
#include "base/Handles.h"
#include "base/HighContrast.h"
#include "base/ProductFiles.h"
#include "base/Subclass.h"
#include "settings/SettingsDialog.h"

const wchar_t kMailAddress[] = L"sorabune@example.com";
const wchar_t kHomepageUrl[] = L"http://www.example.com/sorabune/";

namespace {
constexpr wchar_t kAuthorName[] = L"空舟工房";
constexpr wchar_t kMailScheme[] = L"mailto:";
constexpr wchar_t kOpenVerb[] = L"OPEN";
constexpr UiFontStyle kTitleFont = {33, true};
constexpr UiFontStyle kTextFont = {20};
// Links look like links at all times: underlined, in the colour the system gives links (LinkColour).
constexpr UiFontStyle kLinkFont = {20, false, false, false, true};
constexpr UiFontStyle kPointedFont = {20, true, false, false, true};

// The captions of the links stand 20 px above them, so they are only as tall as their characters; the
// links keep the full line height for the descenders of their letters, and take the width of their bold face.
const ControlDef kControls[] = {
    {IDC_TITLE_VERSION, WC_STATICW, kTitleAndVersion, 137, 116, 300, 40, SS_LEFT | SS_NOPREFIX},
    {IDC_RELEASE_DATE, WC_STATICW, L"2003.10.15", 423, 48, 120, 22, SS_LEFT},
    {IDC_AUTHOR, WC_STATICW, kAuthorName, 424, 72, 130, 22, SS_LEFT | SS_NOPREFIX},
    {IDC_MAIL_CAPTION, WC_STATICW, L"メール", 48, 216, 120, 20, SS_LEFT},
    {IDC_MAIL_LINK, WC_STATICW, kMailAddress, 48, 236, 300, 22, SS_LEFT | SS_NOPREFIX | SS_NOTIFY | WS_TABSTOP},
    {IDC_HOMEPAGE_CAPTION, WC_STATICW, L"ホームページ", 48, 268, 160, 20, SS_LEFT},
    {IDC_HOMEPAGE_LINK, WC_STATICW, kHomepageUrl, 48, 288, 360, 22, SS_LEFT | SS_NOPREFIX | SS_NOTIFY | WS_TABSTOP},
};

class VersionPage;

// A link label reports the pointer's coming and going and shows the hand cursor; from the keyboard, Tab reaches
// it, it looks pointed while it has the focus, and Enter opens it.
LRESULT LinkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, const SubclassLink& link);

class VersionPage : public SettingsPage {
public:
    explicit VersionPage(ShellOpenFn openLink) : openLink_(std::move(openLink)) {}

    void Build(SettingsDialog& dialog, HWND sheet) override
    {
        dialog_ = &dialog;
        made_ = CreateControls(dialog, sheet, kControls);
        SetFonts(dialog.Fonts());
        for (int id : {IDC_MAIL_LINK, IDC_HOMEPAGE_LINK}) {
            AddSubclass<LinkProc>(made_[id], dialog.Errors(), this);
        }
    }

    bool OnCommand(HWND control, int code) override
    {
        if (code != STN_CLICKED) {
            return false;
        }
        if (control == made_[IDC_MAIL_LINK]) {
            MailLinkClick();
            return true;
        }
        if (control == made_[IDC_HOMEPAGE_LINK]) {
            HomepageLinkClick();
            return true;
        }
        return false;
    }

    HBRUSH OnCtlColor(HDC dc, HWND control) override
    {
        if (control != made_[IDC_MAIL_LINK] && control != made_[IDC_HOMEPAGE_LINK]) {
            return nullptr;
        }
        SetTextColor(dc, LinkColour(dialog_->HighContrast(), GetSysColor(COLOR_HOTLIGHT), GetSysColor(COLOR_BTNFACE)));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return GetSysColorBrush(COLOR_BTNFACE);
    }

    void MailLinkClick() { Open(std::wstring(kMailScheme) + kMailAddress); }
    void HomepageLinkClick() { Open(kHomepageUrl); }
    void MailLinkMouseEnter() { SetPointed(IDC_MAIL_LINK, true); }
    void MailLinkMouseLeave() { SetPointed(IDC_MAIL_LINK, false); }
    void HomepageLinkMouseEnter() { SetPointed(IDC_HOMEPAGE_LINK, true); }
    void HomepageLinkMouseLeave() { SetPointed(IDC_HOMEPAGE_LINK, false); }

    void Activate(int id) { id == IDC_MAIL_LINK ? MailLinkClick() : HomepageLinkClick(); }
    void MouseEnter(int id) { id == IDC_MAIL_LINK ? MailLinkMouseEnter() : HomepageLinkMouseEnter(); }
    void MouseLeave(int id) { id == IDC_MAIL_LINK ? MailLinkMouseLeave() : HomepageLinkMouseLeave(); }
    bool IsPointed(int id) const { return id == IDC_MAIL_LINK ? mailPointed_ : homepagePointed_; }

    void OnDpiChanged(int) override { FitLinks(); }

private:
    // The page's own fonts, among the dialog's, which follow its DPI.
    void SetFonts(DpiFontSet& fonts)
    {
        const DpiFontSet::Id titleFont = fonts.Add(kTitleFont);
        const DpiFontSet::Id textFont = fonts.Add(kTextFont);
        linkFont_ = fonts.Add(kLinkFont);
        pointedFont_ = fonts.Add(kPointedFont);
        fonts.SetOn(made_[IDC_TITLE_VERSION], titleFont);
        for (int id : {IDC_RELEASE_DATE, IDC_AUTHOR, IDC_MAIL_CAPTION, IDC_HOMEPAGE_CAPTION}) {
            fonts.SetOn(made_[id], textFont);
        }
        for (int id : {IDC_MAIL_LINK, IDC_HOMEPAGE_LINK}) {
            SetPointed(id, IsPointed(id));
        }
        FitLinks();
    }

    // A link is as wide as its text in the bold face it has under the pointer, at the dialog's DPI: the whole
    // address shows either way, and a click beside it opens nothing.
    void FitLinks()
    {
        for (int id : {IDC_MAIL_LINK, IDC_HOMEPAGE_LINK}) {
            HWND link = made_[id];
            const std::wstring text = WindowText(link);
            RECT extent = {};
            {
                WindowDC dc(link);
                SelectInDC select(dc.Get(), dialog_->Fonts().Get(pointedFont_));
                DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent,
                          DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
            }
            RECT place = {};
            GetClientRect(link, &place);
            SetWindowPos(link, nullptr, 0, 0, extent.right - extent.left, place.bottom,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    void Open(const std::wstring& target)
    {
        // What the shell makes of it is not looked at: with no mail program or browser nothing happens.
        openLink_(dialog_->Hwnd(), kOpenVerb, target.c_str(), L"", L"", SW_SHOW);
    }

    void SetPointed(int id, bool pointed)
    {
        (id == IDC_MAIL_LINK ? mailPointed_ : homepagePointed_) = pointed;
        HWND link = made_[id];
        dialog_->Fonts().SetOn(link, pointed ? pointedFont_ : linkFont_);
        InvalidateRect(link, nullptr, TRUE);
    }

    ShellOpenFn openLink_;
    SettingsDialog* dialog_ = nullptr;
    MadeControls made_;
    DpiFontSet::Id linkFont_ = 0;
    DpiFontSet::Id pointedFont_ = 0;
    bool mailPointed_ = false;
    bool homepagePointed_ = false;
};

LRESULT LinkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, const SubclassLink& link)
{
    auto* page = link.Data<VersionPage>();
    const int id = GetDlgCtrlID(hwnd);
    switch (msg) {
    case WM_MOUSEMOVE:
        if (!page->IsPointed(id)) {
            TRACKMOUSEEVENT track = {};
            track.cbSize = sizeof(track);
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = hwnd;
            TrackMouseEvent(&track);
            page->MouseEnter(id);
        }
        break;
    case WM_MOUSELEAVE:
        if (page->IsPointed(id)) {
            page->MouseLeave(id);
        }
        return 0;
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    case WM_SETFOCUS:
        page->MouseEnter(id);
        break;
    case WM_KILLFOCUS:
        page->MouseLeave(id);
        break;
    case WM_GETDLGCODE: {
        // Enter is the link's own, not the dialog's default button.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) {
            return DLGC_WANTMESSAGE;
        }
        break;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            page->Activate(id);
            return 0;
        }
        break;
    default:
        break;
    }
    return link.Pass(hwnd, msg, wParam, lParam);
}
} // namespace

std::unique_ptr<SettingsPage> MakeVersionPage(ShellOpenFn openLink)
{
    return std::make_unique<VersionPage>(std::move(openLink));
}
