// The mark Windows leaves on a file downloaded with a browser (and on what
// is extracted from such a zip): a Zone.Identifier stream. The help viewer
// shows no pages of a help file marked as coming from the internet.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvanel {

// The stream's name, after the file's path and a colon.
constexpr wchar_t kDownloadMarkStream[] = L":Zone.Identifier";

// Whether a mark's text ("[ZoneTransfer]\r\nZoneId=3\r\n...") makes the
// viewer refuse the file. Zones 0 to 2 (this computer, the intranet,
// trusted sites) do not; any other zone, and a text that names none, do:
// a needless question is better than a help file that shows nothing.
bool MarkBlocks(std::string_view mark);

enum class UnblockAnswer { Removed, Kept, RemovalFailed };

// What Help does when chosen: open the file, ask first, or bring forward
// the question it has open already.
enum class HelpStep { OpenFile, Ask, BringQuestionForward };

// Help asks about a blocking mark before opening the file. A No, or a Yes
// whose removal failed, stands for the rest of the run: asking again would
// nag, or fail the same way. The question is asked once: while it is open,
// Help again brings it forward, and the Help that asked opens the file
// once it is answered.
class UnblockQuestion {
public:
    // `mark`: the stream's text, nullopt when the file has none.
    HelpStep Next(const std::optional<std::string>& mark) const {
        if (open_) return HelpStep::BringQuestionForward;
        return !settled_ && mark && MarkBlocks(*mark) ? HelpStep::Ask : HelpStep::OpenFile;
    }
    void Asking() { open_ = true; }
    void Answered(UnblockAnswer answer) {
        open_ = false;
        settled_ = answer != UnblockAnswer::Removed;
    }

private:
    bool open_ = false;
    bool settled_ = false;
};

std::wstring UnblockQuestionText(std::wstring_view help_file);
std::wstring UnblockFailedText(std::wstring_view reason);

}  // namespace orvanel
