// The chime player: which sound an index names, how it plays, whether a user file plays, and the preview and
// stop buttons that show it.
#include "scheduler/ChimePlayer.h"

#include "scheduler/ChimePage.h"
#include "scheduler/SchedulerRules.h"
#include "settings/SettingsRules.h"
#include "base/FileSystem.h"
#include "base/Multimedia.h"

namespace {
// SND_RESOURCE | SND_ASYNC: no SND_NODEFAULT, so a resource that cannot play gives the system's sound.
constexpr DWORD kBuiltInChimeFlags = SND_RESOURCE | SND_ASYNC;

void PlayBuiltInChime(const PlaySoundFn& playSound, int index)
{
    std::wstring name = L"TIMER" + std::to_wstring(index + 1) + L"A";
    playSound(name.c_str(), GetModuleHandleW(nullptr), kBuiltInChimeFlags);
}

} // namespace

BOOL WINAPI SystemPlaySound(LPCWSTR sound, HMODULE module, DWORD flags)
{
    return MultimediaPlaySound(sound, module, flags);
}

ChimePlayer::~ChimePlayer()
{
    CloseMediaPlayer();
}

void ChimePlayer::Attach(ChimePage& page, HWND noticeWindow)
{
    page_ = &page;
    noticeWindow_ = noticeWindow;
}

void ChimePlayer::Detach(ChimePage& page)
{
    if (page_ != &page) {
        return;
    }
    CloseMediaPlayer();
    playing_ = false;
    page_ = nullptr;
    noticeWindow_ = nullptr;
}

void ChimePlayer::PlayTimerWave(unsigned index)
{
    if (index < static_cast<unsigned>(kBuiltInChimeCount)) {
        PlayBuiltInChime(playSound_, static_cast<int>(index));
        return;
    }
    if (index >= static_cast<unsigned>(kMaxChimeItems) || !page_) {
        return;
    }
    int item = static_cast<int>(index);
    std::wstring path = page_->ChimeFile(item);
    if (FileExists(path)) {
        PlayUserFile(path);
        return;
    }
    // The file is gone: it leaves every chime list and the first built-in chime sounds in its place.
    page_->DropUserChime(item);
    PlayBuiltInChime(playSound_, 0);
}

void ChimePlayer::PlayUserFile(const std::wstring& path)
{
    CloseMediaPlayer();
    MCI_OPEN_PARMSW open = {};
    open.lpstrElementName = path.c_str();
    // No device type: the system chooses the device from the file's extension.
    if (MultimediaSendCommand(0, MCI_OPEN, MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&open)) != 0) {
        return;
    }
    device_ = open.wDeviceID;
    MCI_PLAY_PARMS play = {};
    play.dwCallback = reinterpret_cast<DWORD_PTR>(noticeWindow_);
    if (MultimediaSendCommand(device_, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&play)) != 0) {
        CloseMediaPlayer();
        return;
    }
    SetPlaying(true);
}

void ChimePlayer::CloseMediaPlayer()
{
    if (device_ == 0) {
        return;
    }
    MultimediaSendCommand(device_, MCI_CLOSE, 0, 0);
    device_ = 0;
    // The closed device's notice (aborted, or an end that raced the close) is stale: a device opened later
    // may get the same id, and the notice must not close that one.
    if (noticeWindow_) {
        MSG stale;
        while (PeekMessageW(&stale, noticeWindow_, MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE)) {
        }
    }
}

void ChimePlayer::Stop()
{
    if (!page_) {
        return;
    }
    SetPlaying(false);
    if (device_ != 0) {
        MultimediaSendCommand(device_, MCI_STOP, 0, 0);
    }
    CloseMediaPlayer();
}

void ChimePlayer::PlaybackEnded(WPARAM, LPARAM deviceId)
{
    // A notice for another device is stale; some devices (Wine's MPEG player) report no device at all.
    const auto device = static_cast<MCIDEVICEID>(deviceId);
    if (device_ != 0 && device != 0 && device != device_) {
        return;
    }
    CloseMediaPlayer();
    SetPlaying(false);
}

void ChimePlayer::SetPlaying(bool playing)
{
    playing_ = playing;
    if (page_) {
        page_->ShowPlaying(playing);
    }
}
