// The wallpaper page's preview: an entry's picture (a folder entry's next one) decoded by the converter to the size
// the preview draws it at, laid on the screen as the style in force lays it, and painted from a kept drawing. The
// user-interface thread asks and goes on; the picture is drawn when the converter answers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "base/Handles.h"
#include "settings/WallpaperChoices.h"
#include "wallpaper/FolderLister.h"
#include "wallpaper/PictureConverter.h"
#include "wallpaper/Wallpaper.h"
#include "wallpaper/WallpaperRules.h"

class FolderPlaces;

class WallpaperPreview {
public:
    // The preview lays the picture out by style, the page's style in force.
    WallpaperPreview(HWND frame, ScreensFn screens, ConverterProgram converter, FolderPlaces& places,
                     const WallpaperStyle& style, ErrorReporter& errors, MessageLoop& loop);

    // Shows the entry's picture, a folder entry's the one it shows next in the order given. The preview shown so
    // far stays until the converter answers; a picture that cannot be read, or a folder without one, shows none.
    // Asked again while one is being made, the latest request waits and the others are dropped.
    void Show(const std::wstring& entry, WallpaperOrder order);
    // No picture, and no answer awaited.
    void Clear();
    // A request is being answered or waits.
    bool Pending() const { return running_ || waiting_.has_value(); }

    // What the preview draws in its frame for the style in force; nothing when no picture is shown.
    std::optional<PreviewLayout> Layout() const;
    // Draws the preview into an owner-drawn item of the frame's size.
    void Paint(const DRAWITEMSTRUCT& item);
    // The style, the frame or its DPI changed: drawn anew, and the picture decoded again when the one held is too
    // small for the new layout or far larger than it needs.
    void Refit();
    // Ends the converter until the next request (the dialog was hidden), at once or once it has answered.
    void Rest();

    // What a decode for the style asks: the reduced picture covers the box of all screens as the frame shows them
    // (stretch, fit, fill, span), or keeps the screen's scale in the frame (centre, tile, where the picture lies at
    // its own size).
    PreviewFit FitFor(WallpaperStyle style) const;

private:
    struct Request {
        std::wstring entry;
        WallpaperOrder order;
        bool picture; // entry names the picture itself: no folder to list
    };
    void Start();
    void Listed(const Request& request, FolderPictures found);
    void Decode(const std::wstring& picture);
    void Decoded(const std::wstring& picture, const ConversionResult& result);
    void Done();
    void SetPicture(GdiObject picture, SIZE shown, SIZE pixels, const std::wstring& path);
    void Draw(HDC dc, const PreviewLayout& layout) const;

    HWND frame_;
    ScreensFn screens_;
    PictureConverter converter_;
    FolderLister lister_;
    FolderPlaces& places_;
    const WallpaperStyle& style_;
    std::optional<Request> waiting_;
    bool running_ = false;
    bool resting_ = false;
    // Counts requests and clears: an answer to an older one is dropped.
    unsigned generation_ = 0;
    unsigned runningGeneration_ = 0;

    GdiObject picture_;
    SIZE shown_ = {};  // the picture as the desktop would show it
    SIZE pixels_ = {}; // the decoded pixels, at most shown_
    std::wstring picturePath_;
    // The preview as last drawn, with the layout and frame size it was drawn for; a new picture drops it.
    GdiObject drawn_;
    PreviewLayout drawnLayout_;
    SIZE drawnSize_ = {};
};
