// The listing of a folder entry's pictures on a thread of its own, so that a folder of thousands of pictures, or one
// on a slow share, never holds the user-interface thread; the answer comes back on that thread.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/AppError.h"
#include "base/MessageLoop.h"
#include "wallpaper/PictureFolders.h"

class FolderLister {
public:
    using DoneFn = std::function<void(FolderPictures pictures)>;

    // What a done call throws is reported to errors; the walk's end is watched for in loop.
    FolderLister(ErrorReporter& errors, MessageLoop& loop, FolderQueries queries = SystemFolderQueries());
    // A walk still running is abandoned: it ends by itself, and its answer goes nowhere.
    ~FolderLister();
    FolderLister(const FolderLister&) = delete;
    FolderLister& operator=(const FolderLister&) = delete;

    // Lists the pictures (every type the add takes, decodedExtensions included) of folder and its subfolders
    // (ListFolderPictures); done is called once on this thread, from the message loop or a wait that handles
    // messages. False, and no call, while another walk runs or when no thread can be started.
    bool Start(const std::wstring& folder, const std::vector<std::wstring>& decodedExtensions, DoneFn done);
    bool Busy() const { return static_cast<bool>(walk_); }
    // Abandons the walk that runs; its done is not called.
    void Cancel();

private:
    struct Walk;
    void Ended();

    ErrorReporter& errors_;
    MessageLoop& loop_;
    FolderQueries queries_;
    std::shared_ptr<Walk> walk_;
    DoneFn done_;
};
