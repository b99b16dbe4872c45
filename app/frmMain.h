// The hidden main window: it owns the notification-area icon, its menu and
// the mount state for the whole run.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "handles.h"
#include "mount_state.h"

namespace orvanel {

class FrmMain {
public:
    FrmMain();
    FrmMain(const FrmMain&) = delete;
    FrmMain& operator=(const FrmMain&) = delete;

    // Leaves the program, unmounting first when mounted. Does not return.
    [[noreturn]] void Terminate();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
    LRESULT Dispatch(UINT msg, WPARAM wparam, LPARAM lparam);

    void Form_Load();
    void Form_MouseMove(LPARAM lparam);
    void OnMenuChoice(UINT id);
    void OnSubstFinished(LPARAM lparam);
    void OnTaskbarCreated();
    void OnDestroy();

    void mnuEnabled_Click();
    void mnuSet_Click();
    void mnuAbout_Click();
    void mnuHelp_Click();
    void mnuExit_Click();

    void EnableMount();
    void LoadMountSettings();
    void MountDrive();
    // Whether the command's outcome is compared with the shown state.
    enum class OutcomeCheck { Compare, Skip };
    void UnmountDrive(OutcomeCheck check);
    void ShowLook(MountState state);
    void AddTrayIcon(std::string_view tip);
    void RemoveTrayIcon();

    HWND hwnd_ = nullptr;
    UINT taskbar_created_ = 0;
    UniqueMenu menu_;
    UniqueIcon icon_;
    NOTIFYICONDATAA TrayData{};
    std::wstring DriveSpec;
    std::wstring FolderPath;
    MountTracker mount_;
};

// The single instance, created (and loaded) on first use.
FrmMain& frmMain();

}  // namespace orvanel
