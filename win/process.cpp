#include "process.h"

#include <vector>

#include "command_lines.h"

namespace orvanel {
namespace {

std::wstring FolderFrom(UINT (WINAPI* query)(LPWSTR, UINT)) {
    wchar_t buffer[MAX_PATH];
    const UINT n = query(buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

struct Pipe {
    UniqueHandle read;
    UniqueHandle write;  // inheritable: the child's stdout and stderr
};

bool MakeOutputPipe(Pipe& pipe) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    if (!::CreatePipe(pipe.read.put(), pipe.write.put(), &inherit, 0)) return false;
    return ::SetHandleInformation(pipe.read.get(), HANDLE_FLAG_INHERIT, 0) != 0;
}

}  // namespace

std::wstring SystemDirectory() { return FolderFrom(::GetSystemDirectoryW); }
std::wstring WindowsDirectory() { return FolderFrom(::GetSystemWindowsDirectoryW); }

StartedProcess StartProgram(const std::wstring& directory, const std::wstring& command_line,
                            WORD show, Output output) {
    StartedProcess started;
    const std::wstring program = directory + L"\\" + ProgramFile(command_line);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = show;
    Pipe pipe;
    DWORD flags = 0;
    if (output == Output::Capture) {
        if (!MakeOutputPipe(pipe)) {
            started.error = ::GetLastError();
            return started;
        }
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdOutput = pipe.write.get();
        startup.hStdError = pipe.write.get();
        flags |= CREATE_NO_WINDOW;
    }

    std::vector<wchar_t> line(command_line.begin(), command_line.end());
    line.push_back(L'\0');
    PROCESS_INFORMATION info{};
    // A captured command inherits the program's inheritable handles: its
    // output pipe, and the mark that tells a newer copy it still runs.
    const BOOL inherit = output == Output::Capture;
    if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, inherit, flags, nullptr,
                          nullptr, &startup, &info)) {
        started.error = ::GetLastError();
        return started;
    }
    ::CloseHandle(info.hThread);
    started.process.reset(info.hProcess);
    started.output = std::move(pipe.read);
    return started;  // our copy of the write end closes here, so reads end with the child
}

std::wstring ErrorText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::wstring result = n > 0 ? std::wstring(text, n) : L"Error " + std::to_wstring(error);
    ::LocalFree(text);
    return result;
}

}  // namespace orvanel
