// The chime player: built-in WAVE resources through PlaySound, the user's sound files through the media
// player (MCI), whose end notice the basic page passes on, and the stop. The entry makes it and hands it to
// the basic page and to the tick.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <functional>
#include <string>
#include <utility>

class ChimePage;

// The PlaySound call of the built-in chimes; the system's loads the multimedia library on first use.
using PlaySoundFn = std::function<BOOL(LPCWSTR sound, HMODULE module, DWORD flags)>;
BOOL WINAPI SystemPlaySound(LPCWSTR sound, HMODULE module, DWORD flags);

class ChimePlayer {
public:
    explicit ChimePlayer(PlaySoundFn playSound = SystemPlaySound) : playSound_(std::move(playSound)) {}
    ~ChimePlayer();
    ChimePlayer(const ChimePlayer&) = delete;
    ChimePlayer& operator=(const ChimePlayer&) = delete;

    // The basic page whose chime lists hold the user's files and whose preview buttons show a file playing, and
    // the window that gets the end notice. Detach closes the device while that page still exists; it leaves a player
    // attached to another page alone.
    void Attach(ChimePage& page, HWND noticeWindow);
    void Detach(ChimePage& page);

    // Starts chime index 0-7 (built-in) or 8-9 (user file) and returns at once; other indices do nothing.
    // A user file that is gone is dropped from the three chime lists and "時報 1" plays instead.
    void PlayTimerWave(unsigned index);
    // Stops a user file that plays and gives the preview button back.
    void Stop();
    // End notice of a user file's playback (MM_MCINOTIFY), whether it ended by itself or was stopped.
    void PlaybackEnded(WPARAM flags, LPARAM deviceId);

    // A user file plays, from the preview or the tick; chimes wait until it ends.
    bool IsPlayingUserFile() const { return playing_; }

    // The open media player device, 0 while closed.
    MCIDEVICEID MediaPlayerDevice() const { return device_; }

private:
    void PlayUserFile(const std::wstring& path);
    void CloseMediaPlayer();
    void SetPlaying(bool playing);

    PlaySoundFn playSound_;
    ChimePage* page_ = nullptr;
    HWND noticeWindow_ = nullptr;
    MCIDEVICEID device_ = 0;
    bool playing_ = false;
};
