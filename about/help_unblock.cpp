#include "help_unblock.h"

#include <windows.h>

#include <optional>

#include "download_mark.h"
#include "handles.h"
#include "message_box.h"
#include "process.h"

namespace orvanel {
namespace {

// The mark's text, nullopt when there is none (a volume without streams
// has none). One that is there but can't be read counts as blocking.
std::optional<std::string> ReadMark(const std::wstring& stream) {
    const UniqueHandle file(::CreateFileW(stream.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) return std::string();
        return std::nullopt;
    }
    std::string text(4096, '\0');  // a few short lines, the zone first
    DWORD read = 0;
    if (!::ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr)) return std::string();
    text.resize(read);
    return text;
}

// `shown` holds whichever of its boxes is open.
UnblockAnswer Ask(const std::wstring& help_file, const std::wstring& stream, HWND* shown) {
    if (!AskAppQuestion(nullptr, UnblockQuestionText(help_file), shown)) return UnblockAnswer::Kept;
    // Gone meanwhile (unblocked in its Properties, say) is as good as removed.
    if (::DeleteFileW(stream.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND) return UnblockAnswer::Removed;
    const DWORD error = ::GetLastError();
    ShowAppMessage(nullptr, UnblockFailedText(ErrorText(error)), shown);
    return UnblockAnswer::RemovalFailed;
}

}  // namespace

bool OfferToUnblock(const std::wstring& help_file) {
    static UnblockQuestion question;  // a No stands for the rest of the run
    static HWND open_box = nullptr;   // the question, or what its Yes failed with
    const std::wstring stream = help_file + kDownloadMarkStream;
    switch (question.Next(ReadMark(stream))) {
        case HelpStep::BringQuestionForward:
            // One question at a time: Help shows the one that waits.
            ::SetForegroundWindow(open_box);
            return false;
        case HelpStep::Ask:
            question.Asking();
            question.Answered(Ask(help_file, stream, &open_box));
            return true;
        case HelpStep::OpenFile: break;
    }
    return true;
}

}  // namespace orvanel
