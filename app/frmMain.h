// The hidden main window: it owns the notification-area icon, its menu and
// the mount state for the whole run.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>

#include "handles.h"
#include "icon_retries.h"
#include "mount_state.h"
#include "settings_rules.h"
#include "startup_mount.h"

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
    // messages still handled), unmounts when mounted, removes the icon and
    // ends the process. Does not return.
    [[noreturn]] void Terminate();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
    LRESULT Dispatch(UINT msg, WPARAM wparam, LPARAM lparam);
    bool DispatchRegistered(UINT msg);

    void Form_Load();
    void Form_MouseMove(LPARAM lparam);
    void OnMenuChoice(UINT id);
    void OnSubstFinished(LPARAM lparam);
    void OnTaskbarCreated();
    void OnTimer(UINT_PTR id);
    void OnDeviceChange(WPARAM event, LPARAM data);
    void OnBringForward();
    void OnClose();
    LRESULT OnQueryEndSession();
    void OnEndSession(WPARAM ending);
    void OnDestroy();

    void mnuEnabled_Click();
    void mnuSet_Click();
    void mnuAbout_Click();
    void mnuHelp_Click();
    void mnuExit_Click();

    void EnableMount();
    // Reads the stored folder and letter; says why when they may not be used.
    std::optional<MountRefusal> LoadMountSettings();
    void MountDrive();
    void UnmountDrive();
    // "Mount the drive when Orvanel starts": at the end of start-up, and
    // again each time the wait for a missing folder looks, with the
    // settings just read and what the mount rule said of them.
    void MountAtStart(const std::optional<MountRefusal>& refusal);
    void StopWaitingForFolder();
    // Brings the look in line with the drive's real mapping, silently.
    void FollowMapping();
    bool DriveMapped() const;
    void SetLook(MountState state);
    void ShowLook(MountState state);
    void AddTrayIcon(std::string_view tip);
    void TryAddTrayIcon();
    void RemoveTrayIcon();
    void BringDialogForward();
    void WaitForMessages(DWORD timeout_ms);

    HWND hwnd_ = nullptr;
    UINT taskbar_created_ = 0;
    UINT bring_forward_ = 0;
    bool leaving_ = false;
    UniqueMenu menu_;
    UniqueIcon icon_;
    NOTIFYICONDATAA TrayData{};
    IconRetrySchedule icon_retries_;
    std::wstring DriveSpec;
    std::wstring FolderPath;
    MountTracker mount_;
    std::optional<FolderWait> folder_wait_;
};

// The single instance, created on first use and loaded by Main.
FrmMain& frmMain();

// Asks the copy already running in this session to bring forward the
// dialog it has open, if any.
void BringRunningCopyForward();

}  // namespace orvanel
