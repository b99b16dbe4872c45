; Orvanel's per-user installer: no administrator, one fixed folder under
; %LOCALAPPDATA%\Programs, a Start-menu shortcut, an Apps & features entry
; and, when asked for, a start at sign-in.
;
;   makensis installer/Orvanel.nsi        (scripts/package runs it)
;
; Defines that may be given with -D: VERSION_MAJOR, VERSION_MINOR and
; VERSION_REVISION (all three; the tests build an "older" installer that
; way), PROGRAM_DIR (Orvanel.exe and Help\Orvanel.chm), ART_DIR (the
; wizard's bitmaps that scripts/package makes) and OUTFILE.
;
; Command line of the setup program: /S installs silently; /AUTOSTART=1
; adds the start at sign-in, /AUTOSTART=0 removes it; without it a silent
; install keeps what an installed copy had (none on a first install).

Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!define ROOT "${__FILEDIR__}/.."

; The version comes from the program's own version header, nowhere else.
!ifndef VERSION_MAJOR
  !searchparse /file "${ROOT}/resources/version.h" "#define ORVANEL_VERSION_MAJOR " VERSION_MAJOR
  !searchparse /file "${ROOT}/resources/version.h" "#define ORVANEL_VERSION_MINOR " VERSION_MINOR
  !searchparse /file "${ROOT}/resources/version.h" "#define ORVANEL_VERSION_REVISION " VERSION_REVISION
!endif
!searchparse /file "${ROOT}/resources/version.h" '#define ORVANEL_COPYRIGHT "' COPYRIGHT '"'
!define VERSION "${VERSION_MAJOR}.${VERSION_MINOR}.${VERSION_REVISION}"

!ifndef PROGRAM_DIR
  !define PROGRAM_DIR "${ROOT}/build/win/Orvanel"
!endif
!ifndef ART_DIR
  !define ART_DIR "${ROOT}/build/package"
!endif
!ifndef OUTFILE
  !define OUTFILE "${ROOT}/build/dist/Orvanel-${VERSION}-setup.exe"
!endif

!define APP "Orvanel"
!define MAKER "Kestrane"
!define EXE "Orvanel.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; Where Windows' Startup apps page marks a Run value as turned off.
!define APPROVED_KEY "Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run"
!define SETTINGS_KEY "SOFTWARE\${MAKER}\${APP}"
; The program's hidden window: WM_CLOSE to it ends the program.
!define TRAY_CLASS "OrvanelTrayWindow"

Name "${APP}"
Caption "${APP} ${VERSION} Setup"
UninstallCaption "${APP} ${VERSION} Uninstall"
BrandingText "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"
ShowInstDetails hide
ShowUninstDetails hide

VIProductVersion "${VERSION_MAJOR}.${VERSION_MINOR}.0.${VERSION_REVISION}"
VIAddVersionKey /LANG=1033 "ProductName" "${APP}"
VIAddVersionKey /LANG=1033 "CompanyName" "${MAKER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${APP} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COPYRIGHT}"

!include MUI2.nsh
!include nsDialogs.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

Var StartAtSignIn        ; 1 or 0: offered, then chosen
Var AutoStartAsked       ; 1 when chosen on the page or with /AUTOSTART
Var InstalledVersion     ; of the copy being replaced, empty on a first install
Var CheckBox
Var RemoveSettings       ; uninstaller: 1 when the user ticked the box
Var WasRunning           ; 1 when Setup closed a running Orvanel

!define MUI_ICON "${ROOT}/resources/orvanel.ico"
!define MUI_UNICON "${ROOT}/resources/orvanel.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${ART_DIR}/wizard.bmp"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${ART_DIR}/wizard.bmp"
!define MUI_HEADERIMAGE
!define MUI_HEADERIMAGE_RIGHT
!define MUI_HEADERIMAGE_BITMAP "${ART_DIR}/header.bmp"
!define MUI_HEADERIMAGE_UNBITMAP "${ART_DIR}/header.bmp"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TITLE "Welcome to ${APP} ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "${APP} makes a folder of your choice appear as a drive letter of its own, from an icon in the taskbar's notification area.$\r$\n$\r$\n${APP} is installed for you alone and needs no administrator rights. If ${APP} is running, Setup closes it first.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
Page custom OptionsPage OptionsPageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "${APP} ${VERSION} is installed"
!define MUI_FINISHPAGE_TEXT "${APP} is in your Start menu. Its icon appears in the taskbar's notification area; Windows 11 may first hide it behind the arrow of the overflow area, and Help tells you how to keep it in view."
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${APP} now"
!insertmacro MUI_PAGE_FINISH

UninstPage custom un.OptionsPage un.OptionsPageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Posts WM_CLOSE to every running Orvanel and waits, bounded, for each
; process to end. A copy that does not end after five tries is reported and
; Setup stops, as its files could not be replaced.
!macro CLOSE_ORVANEL prefix
Function ${prefix}CloseOrvanel
    StrCpy $R2 0
    ${Do}
        FindWindow $R0 "${TRAY_CLASS}"
        ${If} $R0 = 0
            Return
        ${EndIf}
        ; The pid first: once the window is gone it can no longer be asked.
        System::Call 'user32::GetWindowThreadProcessId(p R0, *i .R1)'
        System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i R1) p .R1'  ; SYNCHRONIZE
        StrCpy $WasRunning 1
        DetailPrint "Closing the running ${APP}..."
        System::Call 'user32::PostMessage(p R0, i ${WM_CLOSE}, p 0, p 0)'
        ${If} $R1 P<> 0
            System::Call 'kernel32::WaitForSingleObject(p R1, i 15000) i .R3'
            System::Call 'kernel32::CloseHandle(p R1)'
        ${Else}
            ; No handle to wait on: watch the window instead.
            ${For} $R3 1 150
                Sleep 100
                System::Call 'user32::IsWindow(p R0) i .R4'
                ${If} $R4 = 0
                    ${Break}
                ${EndIf}
            ${Next}
        ${EndIf}
        System::Call 'user32::IsWindow(p R0) i .R4'
        ${If} $R4 <> 0
            IntOp $R2 $R2 + 1
            ${If} $R2 >= 5
                MessageBox MB_OK|MB_ICONSTOP "${APP} is still running. Choose Exit in the menu of its icon, then try again." /SD IDOK
                SetErrorLevel 2
                Quit
            ${EndIf}
        ${EndIf}
    ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_ORVANEL ""
!insertmacro CLOSE_ORVANEL "un."

; $1 = 1 when Orvanel starts at sign-in now: its Run value is there and
; Windows' Startup apps page has not turned it off (an odd first byte of
; its mark there means off).
Function StartsAtSignIn
    ClearErrors
    ReadRegStr $1 HKCU "${RUN_KEY}" "${APP}"
    ${If} ${Errors}
        StrCpy $1 0
        Return
    ${EndIf}
    System::Alloc 64
    Pop $2
    ; HKCU, RRF_RT_REG_BINARY
    System::Call 'advapi32::RegGetValueW(p 0xFFFFFFFF80000001, w "${APPROVED_KEY}", w "${APP}", i 0x8, p 0, p r2, *i 64) i .r3'
    StrCpy $1 1
    ${If} $3 = 0
        System::Call '*$2(&i1 .r3)'
        IntOp $3 $3 & 1
        ${If} $3 = 1
            StrCpy $1 0
        ${EndIf}
    ${EndIf}
    System::Free $2
FunctionEnd

Function .onInit
    SetShellVarContext current
    ReadRegStr $InstalledVersion HKCU "${UNINSTALL_KEY}" "DisplayVersion"
    ; The check box offers start at sign-in on a first install, and what is
    ; in effect now on a reinstall.
    StrCpy $StartAtSignIn 1
    ${If} $InstalledVersion != ""
        Call StartsAtSignIn
        StrCpy $StartAtSignIn $1
    ${EndIf}
    StrCpy $AutoStartAsked 0
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/AUTOSTART=" $1
    ${IfNot} ${Errors}
        ${If} $1 == "1"
        ${OrIf} $1 == "0"
            StrCpy $StartAtSignIn $1
            StrCpy $AutoStartAsked 1
        ${EndIf}
    ${EndIf}
FunctionEnd

Function OptionsPage
    !insertmacro MUI_HEADER_TEXT "Choose options" "Choose how ${APP} starts."
    nsDialogs::Create 1018
    Pop $0
    ${If} $InstalledVersion != ""
        StrCpy $1 "${APP} $InstalledVersion is installed for you in the folder below. Setup puts ${VERSION} in its place and keeps your settings."
    ${Else}
        StrCpy $1 "${APP} will be installed for you alone, without administrator rights, in:"
    ${EndIf}
    ${NSD_CreateLabel} 0 0 100% 24u "$1"
    Pop $0
    ${NSD_CreateLabel} 10u 28u -10u 12u "$INSTDIR"
    Pop $0
    ${NSD_CreateCheckbox} 0 52u 100% 12u "&Start ${APP} when I sign in"
    Pop $CheckBox
    ${If} $StartAtSignIn = 1
        ${NSD_Check} $CheckBox
    ${EndIf}
    ${NSD_CreateLabel} 12u 66u -12u 30u "You can change this later in ${APP}'s Settings, in Windows Settings, Apps, Startup, or in Task Manager's Startup apps."
    Pop $0
    nsDialogs::Show
FunctionEnd

Function OptionsPageLeave
    ${NSD_GetState} $CheckBox $0
    ${If} $0 = ${BST_CHECKED}
        StrCpy $StartAtSignIn 1
    ${Else}
        StrCpy $StartAtSignIn 0
    ${EndIf}
    StrCpy $AutoStartAsked 1
FunctionEnd

Section "Orvanel" SecMain
    Call CloseOrvanel
    ; The same fixed folder every time, so installing over a copy replaces
    ; it in place and the Apps & features entry stays one.
    SetOutPath "$INSTDIR"
    File "${PROGRAM_DIR}/${EXE}"
    SetOutPath "$INSTDIR\Help"
    File "${PROGRAM_DIR}/Help/Orvanel.chm"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

    ; A choice made here is the one in effect, also where Windows' Startup
    ; apps page had turned Orvanel off. A silent install told nothing keeps
    ; what is there.
    ${If} $AutoStartAsked = 1
        ${If} $StartAtSignIn = 1
            WriteRegStr HKCU "${RUN_KEY}" "${APP}" '"$INSTDIR\${EXE}"'
        ${Else}
            DeleteRegValue HKCU "${RUN_KEY}" "${APP}"
        ${EndIf}
        DeleteRegValue HKCU "${APPROVED_KEY}" "${APP}"
    ${EndIf}

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
    ; An upgrade puts back what it found: the copy it closed runs again
    ; (mounting its drive if it is set to). The wizard's last page offers it.
    ${If} ${Silent}
    ${AndIf} $WasRunning = 1
        Exec '"$INSTDIR\${EXE}"'
    ${EndIf}
SectionEnd

Function un.onInit
    SetShellVarContext current
    StrCpy $RemoveSettings 0
FunctionEnd

Function un.OptionsPage
    !insertmacro MUI_HEADER_TEXT "Uninstall ${APP}" "Remove ${APP} from your computer."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateLabel} 0 0 100% 12u "${APP} will be removed from:"
    Pop $0
    ${NSD_CreateLabel} 10u 14u -10u 12u "$INSTDIR"
    Pop $0
    ${NSD_CreateLabel} 0 32u 100% 24u "Its Start-menu shortcut and its start at sign-in go too. If ${APP} is running, it is closed first, which unmounts its drive."
    Pop $0
    ${NSD_CreateCheckbox} 0 62u 100% 12u "&Also remove my ${APP} settings (the folder, the drive letter, mounting at start)"
    Pop $CheckBox
    ${NSD_CreateLabel} 12u 76u -12u 24u "Leave this unticked to keep them for a later install."
    Pop $0
    nsDialogs::Show
FunctionEnd

Function un.OptionsPageLeave
    ${NSD_GetState} $CheckBox $0
    ${If} $0 = ${BST_CHECKED}
        StrCpy $RemoveSettings 1
    ${EndIf}
FunctionEnd

Section "Uninstall"
    Call un.CloseOrvanel
    ; Only what the installer put there: nothing the user may have added.
    Delete "$INSTDIR\${EXE}"
    Delete "$INSTDIR\Help\Orvanel.chm"
    RMDir "$INSTDIR\Help"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    ; Removed only while empty: other programs install there too.
    RMDir "$LOCALAPPDATA\Programs"
    Delete "$SMPROGRAMS\${APP}.lnk"
    DeleteRegValue HKCU "${RUN_KEY}" "${APP}"
    DeleteRegValue HKCU "${APPROVED_KEY}" "${APP}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ${If} $RemoveSettings = 1
        DeleteRegKey HKCU "${SETTINGS_KEY}"
        DeleteRegKey /ifempty HKCU "SOFTWARE\${MAKER}"
    ${EndIf}
SectionEnd
