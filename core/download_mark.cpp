#include "download_mark.h"

#include <algorithm>

namespace orvanel {

// The first ZoneId line decides, spelt as Windows writes it.
bool MarkBlocks(std::string_view mark) {
    for (std::size_t start = 0; start < mark.size();) {
        const std::size_t end = std::min(mark.find('\n', start), mark.size());
        std::string_view line = mark.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.substr(0, 7) == "ZoneId=") return line != "ZoneId=0" && line != "ZoneId=1" && line != "ZoneId=2";
    }
    return true;
}

std::wstring UnblockQuestionText(std::wstring_view help_file) {
    return L"Windows has marked Orvanel's help file as downloaded from the internet, so Help would "
           L"show no pages:\r\n\r\n" +
           std::wstring(help_file) +
           L"\r\n\r\nUnblock the help file? This does what Unblock in the file's Properties does.";
}

std::wstring UnblockFailedText(std::wstring_view reason) {
    return L"Orvanel could not unblock its help file, so Help may show no pages.\r\n" + std::wstring(reason);
}

}  // namespace orvanel
