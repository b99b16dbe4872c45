// One drive's life in the tray: its stored settings, the state it shows,
// its commands, its wait for a folder that comes later and the truth of its
// mapping. The main window keeps one for each drive and shows what they say.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "drive_menu.h"
#include "drive_store.h"
#include "mount_state.h"
#include "settings_rules.h"
#include "startup_mount.h"
#include "subst_watch.h"

namespace orvanel {

class DriveMount {
public:
    // The commands' ends reach `window` as `message`, the wait's looks as a
    // timer, each told apart by `tag`, which no other drive of the run has.
    DriveMount(HWND window, UINT message, UINT tag, std::size_t index);
    DriveMount(const DriveMount&) = delete;
    DriveMount& operator=(const DriveMount&) = delete;

    UINT Tag() const { return tag_; }
    UINT_PTR WaitTimer() const;
    std::size_t Index() const { return store_.Index(); }
    // Its values moved to another place (an earlier drive was removed).
    void MoveTo(std::size_t index) { store_ = DriveStore(index); }

    // Reads the stored letter and folder; says why they may not be used.
    std::optional<MountRefusal> Load();
    // An earlier drive has this one's letter: it is refused as a damaged one is.
    void SetClashing(bool clashing) { clashing_ = clashing; }
    bool Clashing() const { return clashing_; }
    const std::wstring& Letter() const { return letter_; }
    void EnableMount() { mountable_ = true; }
    DriveView View() const { return {letter_, folder_, tracker_.Shown(), mountable_}; }
    const MountTracker& Tracker() const { return tracker_; }

    // The menu's Mount or Unmount; a message to show, or nullopt.
    std::optional<std::wstring> Toggle();
    std::optional<std::wstring> Mount();
    void Unmount();
    // One of its commands ended: a new look (and a message), or nullopt.
    std::optional<Correction> Finished(const SubstReport& report);
    // The look follows the real mapping, silently: true when it changed.
    bool Follow();
    // Windows told of a letter that came or went.
    bool Concerns(std::uint32_t unit_mask) const { return MaskHoldsDrive(unit_mask, spec_); }
    // "Mount the drive when Orvanel starts", at start-up (just loaded) and
    // each time the wait for a missing folder looks again (read afresh); a
    // message to show, or nullopt.
    std::optional<std::wstring> MountAtStart(bool read_again);
    void StopWaiting();

private:
    std::optional<MountRefusal> Refusal() const;
    bool Mapped() const;

    HWND window_;
    UINT message_;
    UINT tag_;
    DriveStore store_;
    std::wstring letter_;
    std::wstring spec_;    // the letter with its colon, as subst gets it
    std::wstring folder_;
    std::optional<MountRefusal> damage_;
    bool mount_at_start_ = false;
    bool clashing_ = false;
    bool mountable_ = false;
    MountTracker tracker_;
    std::optional<FolderWait> folder_wait_;
};

}  // namespace orvanel
