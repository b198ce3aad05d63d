// FileDropTarget on a plain list box: drops read whole and in order, one OnDrop per drop, other messages untouched,
// and unhooking on release, on the component's end and on the control's.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "wallpaper/FileDropTarget.h"
#include "wallpaper/WallpaperTestSupport.h"

namespace {

class FileDropTargetTest : public testing::Test {
protected:
    void SetUp() override
    {
        list = CreateWindowExW(0, WC_LISTBOXW, L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(list, nullptr);
        drop = std::make_unique<FileDropTarget>(TestErrors());
        drop->OnDrop = [this](FileDropTarget& target, const std::vector<std::wstring>& files) {
            EXPECT_EQ(&target, drop.get());
            drops.push_back(files);
        };
    }
    void TearDown() override
    {
        drop.reset();
        if (IsWindow(list)) {
            DestroyWindow(list);
        }
    }
    void Drop(const std::vector<std::wstring>& files)
    {
        SendMessageW(list, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(files)), 0);
    }
    bool AcceptsFiles() { return (GetWindowLongPtrW(list, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; }

    HWND list = nullptr;
    std::unique_ptr<FileDropTarget> drop;
    std::vector<std::vector<std::wstring>> drops;
};
} // namespace

TEST_F(FileDropTargetTest, ADropOfSeveralFilesFiresOnceWithAllNamesInOrderWhateverTheirLength)
{
    drop->SetTargetControl(list);
    EXPECT_TRUE(AcceptsFiles());
    const std::vector<std::wstring> files = {L"C:\\a\\1.bmp", L"C:\\日本語\\写真.jpg",
                                             L"C:\\" + std::wstring(400, L'n') + L".bmp"};
    Drop(files);
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0], files);
    Drop({L"C:\\b.bmp"});
    ASSERT_EQ(drops.size(), 2u);
    EXPECT_EQ(drop->Files(), std::vector<std::wstring>{L"C:\\b.bmp"}) << "refilled at every drop";
}

TEST_F(FileDropTargetTest, WithoutAHandlerADropIsStillReadAndOtherMessagesReachTheControl)
{
    drop->OnDrop = nullptr;
    drop->SetTargetControl(list);
    Drop({L"C:\\x.bmp", L"C:\\y.bmp"});
    EXPECT_EQ(drop->Files().size(), 2u);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"item"));
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
}

TEST_F(FileDropTargetTest, ReleasingGivesTheControlBackAndAssigningItAgainKeepsItHooked)
{
    drop->SetTargetControl(list);
    drop->SetTargetControl(list);
    Drop({L"C:\\a.bmp"});
    EXPECT_EQ(drops.size(), 1u);
    EXPECT_TRUE(AcceptsFiles());

    drop->SetTargetControl(nullptr);
    EXPECT_EQ(drop->TargetControl(), nullptr);
    EXPECT_FALSE(AcceptsFiles());
    Drop({L"C:\\b.bmp"});
    EXPECT_EQ(drops.size(), 1u);

    drop->SetTargetControl(list);
    drop.reset();
    Drop({L"C:\\c.bmp"});
    EXPECT_EQ(drops.size(), 1u) << "the component's end unhooks";
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"item"));
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
}

TEST_F(FileDropTargetTest, TheControlsEndUnhooksItAndTheComponentForgetsIt)
{
    drop->SetTargetControl(list);
    DestroyWindow(list);
    EXPECT_EQ(drop->TargetControl(), nullptr);
    drop.reset(); // must not touch the destroyed control
}

namespace {
WNDPROC listProc = nullptr;
int outerCalls = 0;
LRESULT CALLBACK OuterProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ++outerCalls;
    return CallWindowProcW(listProc, hwnd, msg, wParam, lParam);
}
} // namespace

TEST_F(FileDropTargetTest, ReleasedUnderSomeoneElsesSubclassItPassesEverythingOn)
{
    drop->SetTargetControl(list);
    listProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OuterProc)));
    drop->SetTargetControl(nullptr);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_WNDPROC)), &OuterProc) << "theirs stays on top";
    Drop({L"C:\\a.bmp"});
    EXPECT_TRUE(drops.empty());
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"item"));
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
    EXPECT_GT(outerCalls, 0);

    drop->SetTargetControl(list);
    Drop({L"C:\\b.bmp"});
    EXPECT_EQ(drops.size(), 1u) << "hooked again through the same chain";
}
