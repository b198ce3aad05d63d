// The wallpaper page 壁紙チェンジャー: the wallpaper list (files and folders) with its buttons, the style, order and
// timing choices, the manual change button, the preview and the drop target on the list.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/SettingsPage.h"
#include "settings/WallpaperChoices.h"
#include "base/Handles.h"
#include "wallpaper/AddWallpapers.h"
#include "wallpaper/FileDropTarget.h"
#include "wallpaper/PictureConverter.h"
#include "wallpaper/Wallpaper.h"
#include "wallpaper/WallpaperChanger.h"
#include "wallpaper/WallpaperPreview.h"
#include "wallpaper/WallpaperRules.h"

// The open-file dialog AddDialog: the chosen files in the dialog's order, or the folders chosen through its
// button "フォルダを追加..."; nothing when cancelled.
using OpenFilesFn = std::function<std::optional<std::vector<std::wstring>>(HWND owner)>;
// The system's item dialog, and its folder picker.
std::optional<std::vector<std::wstring>> ShowAddDialog(HWND owner);
inline constexpr wchar_t kAddFolderButtonText[] = L"フォルダを追加...";

// What the page reaches outside the program through; the defaults are the system's.
struct WallpaperServices {
    OpenFilesFn addDialog = ShowAddDialog;
    SystemParametersInfoFn tellSystem = SystemParametersInfoW;
    // What the end of the load runs when KabeChangeTime is "Sorabune 起動時".
    ChangeWallpaperFn startupChange = ChangeWallpaper;
    // Whether 表示方法 offers span; without it a stored span shows and applies as fill.
    bool spanOffered = SystemHasSpan();
    // The screens the preview shows the wallpaper on.
    ScreensFn screens = SystemScreens;
    // The program that converts the pictures of an add, a folder's pictures and the previews.
    ConverterProgram converter = ConverterBesideProgram();
    // Where a folder entry's pictures become the wallpaper.
    WallpaperBitmapFn ownBitmap = ProgramWallpaperBitmap;
};

class WallpaperPage : public SettingsPage {
public:
    static constexpr int kPreviewWidth = 220;
    static constexpr int kPreviewHeight = 165;

    explicit WallpaperPage(const WallpaperServices& services) : services_(services) {}

    void Build(SettingsDialog& dialog, HWND sheet) override;
    ValueBindings Bindings() const override;

    // The choices as the user left them (no selection reads as -1, which is none of their values).
    WallpaperChangeTime ChangeTime() const;
    WallpaperOrder Order() const;
    // The next wallpaper from the list, applied through the page's wallpaper call (the tick's change).
    void ChangeNow();
    // The style the desktop gets: the last one chosen in 表示方法 (a choice of none keeps it).
    WallpaperStyle StyleInForce() const { return styleInForce_; }
    // The change of wallpaper of this page's list.
    WallpaperChanger& Changer() { return *changer_; }
    bool OnCommand(HWND control, int code) override;
    bool OnDrawItem(DRAWITEMSTRUCT* item) override;
    void OnSelected() override;
    void OnLoaded() override;
    void OnDpiChanged(int dpi) override;
    bool OnDialogMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Handlers, named after the controls.
    void AddClick();
    void DeleteClick();
    void UpClick();
    void DownClick();
    void ListClick();
    void ChangeNowClick();
    void StyleChange();
    void FilesDropped(FileDropTarget& target, const std::vector<std::wstring>& files);

    FileDropTarget& fileDrop() { return *fileDrop_; }
    // What the preview draws in its frame (the frame's size at the dialog's DPI) for the style in force; nothing
    // when no picture is shown.
    std::optional<PreviewLayout> Preview() const { return preview_->Layout(); }
    // A preview asked for has not come yet.
    bool PreviewPending() const { return preview_->Pending(); }

private:
    HWND List() const { return list_.Hwnd(); }
    // The entry with the focus, or -1 when the list is empty.
    int CurrentEntry() const;
    std::wstring Entry(int index) const;
    void DeleteEntry(int index);
    // The current entry's path when its file exists; a missing one is taken off the list.
    std::optional<std::wstring> PresentCurrentEntry();
    void Exchange(const std::vector<std::pair<std::size_t, std::size_t>>& exchanges);
    std::vector<bool> Selection() const;
    void FramePreview();
    void AddFiles(const std::vector<std::wstring>& files);
    void UpdateHorizontalExtent();
    // The list's items are drawn by the page, a folder with the system's folder icon before it.
    void SizeListItems();
    void DrawListItem(const DRAWITEMSTRUCT& item);
    int IconColumn() const;

    WallpaperServices services_;
    SettingsDialog* dialog_ = nullptr;
    ListBox list_;
    Button add_;
    Button delete_;
    Button up_;
    Button down_;
    Button changeNow_;
    DropDown style_;
    DropDown order_;
    DropDown changeTime_;
    Control previewFrame_;
    HWND img_ = nullptr;
    WallpaperStyle styleInForce_ = kInitialWallpaperStyle;
    std::optional<WallpaperChanger> changer_;
    std::optional<WallpaperPreview> preview_;
    Icon folderIcon_; // made when a folder entry is first drawn, at the list's icon size
    int iconSize_ = 0;
    int extentCount_ = -1; // entries when the scroll range was last measured
    // Made with the page's controls, reporting to the dialog's error reporter.
    std::optional<FileDropTarget> fileDrop_;
    AddGuard addGuard_;
};
std::unique_ptr<WallpaperPage> MakeWallpaperPage(const WallpaperServices& services = {});
