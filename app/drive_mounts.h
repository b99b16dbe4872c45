// The rooms of all the drives, in menu order, as they are stored: made,
// loaded, told apart, followed and removed together.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "drive_mount.h"

namespace orvanel {

class DriveMounts {
public:
    // Commands' ends reach `window` as `message`.
    void Attach(HWND window, UINT message);

    std::size_t Count() const { return rooms_.size(); }
    DriveMount& operator[](std::size_t index) const { return *rooms_[index]; }
    // The room one of whose commands or timers carries `tag`; null when it went.
    DriveMount* Tagged(UINT tag) const;

    // As many rooms as drives are stored, each loaded; of two with one
    // letter, the later is refused.
    void Load();
    // A room for the drive just stored after the last.
    void Add();
    // Forgets the drive's settings; its mapping, if any, is left alone.
    // False when the store failed part-way. Load then makes the rooms
    // follow the store either way.
    bool Remove(std::size_t index);

    std::vector<DriveView> Views() const;
    std::vector<const MountTracker*> Trackers() const;
    // The letters of every drive but `except`; one refused for its letter holds none.
    std::vector<std::wstring> LettersInUse(std::size_t except) const;
    // Leaving: no drive waits for its folder any more; each mounted one is unmounted.
    void StopWaiting();
    void UnmountMounted();
    // Every look follows its real mapping: true when one changed.
    bool Follow();
    bool Follow(std::uint32_t unit_mask);

private:
    HWND window_ = nullptr;
    UINT message_ = 0;
    UINT next_tag_ = 0;
    std::vector<std::unique_ptr<DriveMount>> rooms_;
};

}  // namespace orvanel
