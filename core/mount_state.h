// What the tray shows in each mount state, and how the outcome of the
// subst.exe commands brings the shown state back in line with the real one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvanel {

enum class MountState { Unmounted, Mounted };

struct TrayLook {
    std::wstring_view caption;  // of the Mount/Unmount menu item
    bool settings_enabled;
    int icon_id;
    std::string_view tip;  // with its NUL
};

TrayLook LookOf(MountState state);

// What a finished subst.exe reported.
struct CommandOutcome {
    bool mapped;           // the drive now maps to the stored folder
    unsigned long exit_code;
    std::wstring message;  // what it printed, or why it could not start
};

// Asks the window to show another look, and possibly a message.
struct Correction {
    MountState look;
    std::wstring message;  // empty: nothing to show
};

// The menu switches at once; the commands run on their own. Only when the
// last of them has ended is the real mapping compared with the shown state,
// so commands that overlap cannot leave a stale look behind.
class MountTracker {
public:
    MountState Shown() const { return shown_; }
    bool Pending() const { return pending_ > 0; }

    // The user chose Mount or Unmount: the new state is shown right away.
    MountState Toggle();
    // Records that the command for the latest toggle is running.
    void Started() { ++pending_; }
    // A command ended (or could not start); nullopt when the look stands.
    std::optional<Correction> Finished(const CommandOutcome& outcome);
    // The mapping as it is now, seen while no command of ours runs (at
    // start-up, when Windows says a drive came or went, before the menu
    // opens): the look to change to, silently, or nullopt when it stands.
    std::optional<MountState> Observe(bool mapped);

private:
    MountState shown_ = MountState::Unmounted;
    int pending_ = 0;
    std::wstring failure_;  // the latest message of a command that failed
};

// True when a QueryDosDevice target ("\??\D:\Data") names `folder`.
bool MappingNamesFolder(std::wstring_view target, std::wstring_view folder);

// True when the unit mask of a volume's arrival or removal (bit 0 for A:)
// holds the drive of `drive_spec` ("X:", in either case).
bool MaskHoldsDrive(std::uint32_t unit_mask, std::wstring_view drive_spec);

}  // namespace orvanel
