// Planted beside a copy of the program, named like what it starts and loads:
// run or loaded, it leaves NAME.ran beside itself. The program must never find it.
#include <windows.h>

#include <filesystem>
#include <fstream>

static void LeaveMark(HMODULE self) {
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(self, path, MAX_PATH);
    std::ofstream(std::filesystem::path(path) += L".ran");
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) LeaveMark(self);
    return TRUE;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    LeaveMark(nullptr);
    return 0;
}
