// The hidden main window: it owns the notification-area icon and its menu
// for the whole run, and a room for each drive, which keeps that drive's
// mount state.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <string>

#include "drive_mounts.h"
#include "handles.h"
#include "icon_retries.h"

namespace orvanel {

class FrmMain {
public:
    FrmMain() = default;
    FrmMain(const FrmMain&) = delete;
    FrmMain& operator=(const FrmMain&) = delete;

    // Creates the hidden window and runs Form_Load; false when the window
    // could not be made (GetLastError says why).
    bool Load();

    // Leaves the program: lets commands still running end (bounded, the
    // messages still handled), unmounts every drive that is mounted,
    // removes the icon and ends the process. Does not return.
    [[noreturn]] void Terminate();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
    LRESULT Dispatch(UINT msg, WPARAM wparam, LPARAM lparam);
    bool DispatchRegistered(UINT msg);

    void Form_Load();
    void Form_MouseMove(LPARAM lparam);
    void OnMenuChoice(UINT id);
    void OnSubstFinished(WPARAM tag, LPARAM lparam);
    void OnTaskbarCreated();
    void OnTimer(UINT_PTR id);
    void OnDeviceChange(WPARAM event, LPARAM data);
    void OnBringForward();
    void OnClose();
    LRESULT OnQueryEndSession();
    void OnEndSession(WPARAM ending);
    void OnDestroy();

    void mnuEnabled_Click(std::size_t drive);
    void mnuSet_Click(std::size_t drive);
    void mnuAddDrive_Click();
    void mnuRemoveDrive_Click(std::size_t drive);
    void mnuAbout_Click();
    void mnuHelp_Click();
    void mnuExit_Click();

    // Shows what a drive's room said, naming the drive once there are several.
    void ShowDriveMessage(std::size_t drive, const std::wstring& text) const;
    // The drives are read again and their looks follow their real mappings.
    void ReloadDrives();
    // The icon's picture and tip for the drives' states, shown anew when they changed.
    void ShowLook();
    void SetIcon(MountState state);
    void AddTrayIcon(std::string_view tip);
    void TryAddTrayIcon();
    void RemoveTrayIcon();
    void BringDialogForward();
    void WaitForMessages(DWORD timeout_ms);

    HWND hwnd_ = nullptr;
    UINT taskbar_created_ = 0;
    UINT bring_forward_ = 0;
    bool leaving_ = false;
    UniqueIcon icon_;
    NOTIFYICONDATAA TrayData{};
    std::string shown_tip_;
    IconRetrySchedule icon_retries_;
    DriveMounts drives_;
};

// The single instance, created on first use and loaded by Main.
FrmMain& frmMain();

// Asks the copy already running in this session to bring forward the
// dialog it has open, if any.
void BringRunningCopyForward();

}  // namespace orvanel
