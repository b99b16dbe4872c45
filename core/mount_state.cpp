#include "mount_state.h"

#include <cwctype>

#include "resource.h"

namespace orvanel {
namespace {

constexpr std::string_view kUnmountedTip{"Drive Unmounted\0", 16};
constexpr std::string_view kMountedTip{"Drive Mounted\0", 14};

std::wstring Trimmed(std::wstring_view text) {
    const auto first = text.find_first_not_of(L" \t\r\n");
    if (first == std::wstring_view::npos) return std::wstring();
    const auto last = text.find_last_not_of(L" \t\r\n");
    return std::wstring(text.substr(first, last - first + 1));
}

std::wstring_view WithoutTrailingSlash(std::wstring_view path) {
    // "D:\" keeps its slash: it is the root, not a trailing separator.
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.remove_suffix(1);
    return path;
}

bool SameText(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towupper(a[i]) != std::towupper(b[i])) return false;
    }
    return true;
}

std::wstring FailureText(const CommandOutcome& outcome) {
    std::wstring text = Trimmed(outcome.message);
    if (text.empty()) text = L"subst.exe ended with exit code " + std::to_wstring(outcome.exit_code) + L".";
    return text;
}

}  // namespace

TrayLook LookOf(MountState state) {
    if (state == MountState::Mounted) return {L"Unmount", false, IDI_MOUNTED, kMountedTip};
    return {L"Mount", true, IDI_UNMOUNTED, kUnmountedTip};
}

MountState MountTracker::Toggle() {
    shown_ = shown_ == MountState::Mounted ? MountState::Unmounted : MountState::Mounted;
    return shown_;
}

std::optional<Correction> MountTracker::Finished(const CommandOutcome& outcome) {
    if (pending_ > 0) --pending_;
    if (outcome.exit_code != 0 || !Trimmed(outcome.message).empty()) failure_ = FailureText(outcome);
    if (pending_ > 0) return std::nullopt;

    const MountState real = outcome.mapped ? MountState::Mounted : MountState::Unmounted;
    std::wstring failure;
    failure.swap(failure_);
    if (real == shown_) return std::nullopt;
    shown_ = real;
    if (failure.empty()) failure = FailureText(outcome);
    return Correction{real, failure};
}

std::optional<MountState> MountTracker::Observe(bool mapped) {
    const MountState real = mapped ? MountState::Mounted : MountState::Unmounted;
    // A command of ours that is still running is judged when it ends.
    if (Pending() || real == shown_) return std::nullopt;
    shown_ = real;
    return real;
}

bool MappingNamesFolder(std::wstring_view target, std::wstring_view folder) {
    constexpr std::wstring_view kPrefix = L"\\??\\";
    if (target.substr(0, kPrefix.size()) == kPrefix) target.remove_prefix(kPrefix.size());
    if (folder.empty()) return false;
    return SameText(WithoutTrailingSlash(target), WithoutTrailingSlash(folder));
}

bool MaskHoldsDrive(std::uint32_t unit_mask, std::wstring_view drive_spec) {
    if (drive_spec.size() != 2 || drive_spec[1] != L':') return false;
    const wchar_t letter = static_cast<wchar_t>(std::towupper(drive_spec[0]));
    if (letter < L'A' || letter > L'Z') return false;
    return ((unit_mask >> (letter - L'A')) & 1u) != 0;
}

}  // namespace orvanel
