// The walk's thread: it owns a share of what it reads and writes, so that a lister gone before it ends leaves it
// nothing dangling; the event it sets as its last act is watched by the message loop.
#include "wallpaper/FolderLister.h"

#include <atomic>

#include "base/CallbackGuard.h"
#include "base/Handles.h"
#include "wallpaper/WallpaperRules.h"

namespace {
// The walk's recursion is shallow and its frames small; a small stack keeps a thread under Wine cheap.
constexpr SIZE_T kStackBytes = 256 * 1024;
} // namespace

struct FolderLister::Walk {
    std::wstring folder;
    FolderQueries queries;
    std::vector<std::wstring> extensions;
    std::atomic<bool> stop{false};
    FolderPictures found;
    // Set once found is complete. Not the thread's own handle: that is signalled only once the system has let the
    // thread go, which under Wine 8 came at times some 15 s after the walk's last statement.
    KernelHandle finished{CreateEventW(nullptr, TRUE, FALSE, nullptr)};

    static DWORD WINAPI Run(void* parameter)
    {
        // The thread's own share, released as it ends.
        std::unique_ptr<std::shared_ptr<Walk>> share(static_cast<std::shared_ptr<Walk>*>(parameter));
        Walk& walk = **share;
        // No one on this thread can be told: a failed walk is an incomplete one, which the user-interface thread
        // takes as it takes any.
        walk.found = GuardWithoutReport(
            [&walk] {
                return ListFolderPictures(
                    walk.folder, walk.queries,
                    [&walk](std::wstring_view path) { return AddKindOf(path, walk.extensions) != AddKind::Unreadable; },
                    &walk.stop);
            },
            FolderPictures{{}, false});
        SetEvent(walk.finished.Get());
        return 0;
    }
};

FolderLister::FolderLister(ErrorReporter& errors, MessageLoop& loop, FolderQueries queries)
    : errors_(errors), loop_(loop), queries_(std::move(queries))
{
}

FolderLister::~FolderLister()
{
    Cancel();
}

bool FolderLister::Start(const std::wstring& folder, const std::vector<std::wstring>& decodedExtensions, DoneFn done)
{
    if (walk_) {
        return false;
    }
    auto walk = std::make_shared<Walk>();
    walk->folder = folder;
    walk->queries = queries_;
    walk->extensions = decodedExtensions;
    if (!walk->finished) {
        return false;
    }
    auto* share = new std::shared_ptr<Walk>(walk);
    const KernelHandle thread(
        CreateThread(nullptr, kStackBytes, Walk::Run, share, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    if (!thread) {
        delete share;
        return false;
    }
    walk_ = std::move(walk);
    done_ = std::move(done);
    loop_.Watch(walk_->finished.Get(), errors_, [this] { Ended(); });
    return true;
}

void FolderLister::Cancel()
{
    if (!walk_) {
        return;
    }
    walk_->stop = true;
    loop_.Unwatch(walk_->finished.Get());
    walk_.reset();
    done_ = nullptr;
}

void FolderLister::Ended()
{
    loop_.Unwatch(walk_->finished.Get());
    FolderPictures found = std::move(walk_->found);
    walk_.reset();
    if (DoneFn done = std::move(done_)) {
        done_ = nullptr;
        done(std::move(found));
    }
}
