#include "drive_mount.h"

#include "command_lines.h"
#include "dos_device.h"
#include "drives.h"

namespace orvanel {
namespace {

// Each drive's wait has a timer of its own above the window's own timers.
constexpr UINT_PTR kFolderWaitTimers = 100;

}  // namespace

DriveMount::DriveMount(HWND window, UINT message, UINT tag, std::size_t index)
    : window_(window), message_(message), tag_(tag), store_(index) {}

UINT_PTR DriveMount::WaitTimer() const { return kFolderWaitTimers + tag_; }

std::optional<MountRefusal> DriveMount::Load() {
    const DriveSettings stored = store_.Read(L"", L"C");
    letter_ = stored.letter.text;
    folder_ = stored.folder.text;
    spec_ = DriveSpecFor(letter_);
    mount_at_start_ = OptionIsOn(stored.mount_at_start);
    damage_ = CheckMountSettings(stored.letter, stored.folder);
    if (!folder_.empty()) mountable_ = true;
    return Refusal();
}

std::optional<MountRefusal> DriveMount::Refusal() const {
    if (damage_) return damage_;
    if (clashing_) return LetterClashRefusal(letter_);
    return std::nullopt;
}

std::optional<std::wstring> DriveMount::Toggle() {
    StopWaiting();  // the user's own choice ends the wait
    if (tracker_.Shown() == MountState::Unmounted) return Mount();
    Unmount();
    return std::nullopt;
}

std::optional<std::wstring> DriveMount::Mount() {
    // A damaged setting never reaches subst: it would map something other
    // than what the shown state is checked against.
    if (const std::optional<MountRefusal> refusal = Load()) return refusal->message;
    tracker_.Toggle();
    StartWatchedSubst(window_, message_, tag_, MountCommandLine(spec_, folder_));
    tracker_.Started();
    return std::nullopt;
}

void DriveMount::Unmount() {
    // Settings damaged since the mount: the drive that was mounted is the
    // one to free.
    std::wstring mounted_drive = spec_;
    std::wstring mounted_folder = folder_;
    if (Load()) {
        spec_ = std::move(mounted_drive);
        folder_ = std::move(mounted_folder);
    }
    tracker_.Toggle();
    StartWatchedSubst(window_, message_, tag_, UnmountCommandLine(spec_));
    tracker_.Started();
}

std::optional<Correction> DriveMount::Finished(const SubstReport& report) {
    return tracker_.Finished({Mapped(), report.exit_code, report.output});
}

bool DriveMount::Follow() { return tracker_.Observe(Mapped()).has_value(); }

// A drive refused for its letter never takes the mapping of the drive that
// has the letter first.
bool DriveMount::Mapped() const {
    if (clashing_) return false;
    const std::optional<std::wstring> target = DosDeviceTarget(spec_);
    return target && MappingNamesFolder(*target, folder_);
}

std::optional<std::wstring> DriveMount::MountAtStart(bool read_again) {
    const std::optional<MountRefusal> refusal = read_again ? Load() : Refusal();
    StartupFacts facts;
    facts.option_on = mount_at_start_;
    facts.folder_stored = !folder_.empty();
    facts.damaged = refusal.has_value();
    // The drive and the folder are looked at only where they decide something.
    if (facts.option_on && facts.folder_stored && !facts.damaged) {
        facts.mapped = Mapped();
        facts.folder_exists = FolderExists(folder_);
    }
    const StartupMount step = DecideStartupMount(facts);
    if (step == StartupMount::Wait) {
        if (!folder_wait_) folder_wait_.emplace(::GetTickCount());
        if (const std::optional<std::uint32_t> pause = folder_wait_->Missing(::GetTickCount())) {
            ::SetTimer(window_, WaitTimer(), *pause, nullptr);
            return std::nullopt;
        }
    }
    folder_wait_.reset();
    if (step == StartupMount::Refuse) return refusal->message;
    // A folder that never came is mounted all the same, so that subst.exe
    // says what a Mount would have said.
    const bool mount = step == StartupMount::Wait || step == StartupMount::Mount;
    if (mount && tracker_.Shown() == MountState::Unmounted) return Mount();
    return std::nullopt;
}

void DriveMount::StopWaiting() {
    ::KillTimer(window_, WaitTimer());
    folder_wait_.reset();
}

}  // namespace orvanel
