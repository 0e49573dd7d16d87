; The Surftally installer, built with makensis on Linux or Windows (paths absolute, or
; relative to this script's folder):
;   makensis -DPROGRAM=surftally.exe -DDATA=data -DICON=data/LAN.ico -DVERSION=1.0.0
;            -DPUBLISHER="..." -DOUTFILE=surftally-setup.exe packaging/windows/surftally.nsi
;
; Layout. The program reads its data from one fixed folder, C:\Program Files\Surftally,
; which every user of the machine may write (the built-in Users group, by SID): the program
; rewrites remain.dat and history.dat every minute on-line, and makes history.dat at the
; first spell on-line. Users may add files there and change the files, nothing more. The program and its uninstaller live in its subfolder Program, whose
; inherited rights are cut and replaced by Program Files' own, so that nothing a standard
; user can write is ever run or loaded, elevated or not.
;
; The installer closes the running programs of every session first (asking each to close,
; so that it saves), waits for them, and starts again what it closed in its own session, as
; the desktop's user. The uninstaller
; asks whether to keep the balance, the settings and the history of on-line spells (kept by
; default and when silent).
; /S installs and uninstalls silently; a silent install that cannot close a running program
; fails with exit code 2.

!ifndef PROGRAM | DATA | ICON | VERSION | OUTFILE
  !error "define PROGRAM, DATA, ICON, VERSION and OUTFILE"
!endif
!ifndef PUBLISHER
  !define PUBLISHER "The Surftally developers"
!endif

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include LogicLib.nsh
!include FileFunc.nsh
!include MUI2.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Surftally"
; The program's fixed data folder, and the folder of its executables inside it.
!define DATADIR "C:\Program Files\Surftally"
!define PROGRAMDIR "${DATADIR}\Program"
; A running program's hidden message window, found by its class among the message-only
; windows, and the request that makes it close as "Close Application" does (WM_APP + 2).
!define CHANNEL_CLASS "SurftallyInstance"
!define CLOSE_REQUEST 0x8002
; What the programs of every session look for once a second: while it exists and is set,
; they close as on CLOSE_REQUEST. Only SYSTEM and administrators may create or set it; the
; Users group may only wait for it.
!define CLOSE_EVENT "Global\Surftally close request"
!define CLOSE_EVENT_SDDL "D:(A;;GA;;;SY)(A;;GA;;;BA)(A;;0x00100000;;;BU)"
; The strip of a program of the former layout, which knows only WM_CLOSE.
!define STRIP_CLASS "SurftallyStrip"
; Well-known SIDs: names differ between languages, SIDs do not.
!define SID_USERS "*S-1-5-32-545"
!define SID_ADMINS "*S-1-5-32-544"
!define SID_SYSTEM "*S-1-5-18"
!define SID_TRUSTED_INSTALLER "*S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"
!define SID_APP_PACKAGES "*S-1-15-2-1"
!define SID_RESTRICTED_APP_PACKAGES "*S-1-15-2-2"

Name "Surftally"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
; Not the user's choice: the program finds its data by the fixed path.
InstallDir "${PROGRAMDIR}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Surftally"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Surftally setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

; How many programs the install closed, to start again at its end.
Var Closed
; Whether the install has started the program already.
Var Started

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Surftally"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgramFromFinish
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishShow
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; $0 = 1 while a program holds the data folder's lock (of whatever session or user), else 0.
!macro DefineHeld un
Function ${un}ProgramHoldsData
  Push $1
  Push $2
  Push $3
  StrCpy $0 0
  ; GENERIC_READ, sharing everything, OPEN_EXISTING: no lock file, no program.
  System::Call 'kernel32::CreateFileW(w "${DATADIR}\surftally.lock", i 0x80000000, i 7, p 0, i 3, i 0, p 0) p .r1'
  ${If} $1 != -1
  ${AndIf} $1 != 0
    System::Alloc 32
    Pop $2
    ; LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY on the program's byte.
    System::Call 'kernel32::LockFileEx(p r1, i 3, i 0, i 1, i 0, p r2) i .r3 ?e'
    Pop $0
    ${If} $3 <> 0
      System::Call 'kernel32::UnlockFileEx(p r1, i 0, i 1, i 0, p r2)'
      StrCpy $0 0
    ${ElseIf} $0 = 33 ; ERROR_LOCK_VIOLATION
      StrCpy $0 1
    ${Else}
      StrCpy $0 0
    ${EndIf}
    System::Free $2
    System::Call 'kernel32::CloseHandle(p r1)'
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
FunctionEnd
!macroend
!insertmacro DefineHeld ""
!insertmacro DefineHeld "un."

; Asks every program to close (those of this session by their windows, those of other
; sessions by the event), waits up to ten seconds for every program to let go of the data
; folder, and, if one will not, says so and offers to retry (a silent run gives up).
; $0 = number of programs of this session asked; aborts when one still runs.
!macro DefineClose un
Function ${un}CloseRunningPrograms
  Push $1
  Push $2
  Push $3
  Push $4
  StrCpy $3 0
  StrCpy $4 0
  retry:
  ; The programs' hidden windows (HWND_MESSAGE = -3): each ends as "Close Application"
  ; does, saving the balance first.
  StrCpy $1 0
  ${Do}
    System::Call 'user32::FindWindowExW(p -3, p r1, w "${CHANNEL_CLASS}", p 0) p .r1'
    ${IfThen} $1 == 0 ${|} ${ExitDo} ${|}
    DetailPrint "Closing the running Surftally"
    System::Call 'user32::PostMessageW(p r1, i ${CLOSE_REQUEST}, p 0, p 0)'
    IntOp $3 $3 + 1
  ${Loop}
  ; A program of the former layout (surftally.exe beside its data) closes with its strip.
  ${If} ${FileExists} "${DATADIR}\surftally.exe"
    StrCpy $1 0
    ${Do}
      System::Call 'user32::FindWindowExW(p 0, p r1, w "${STRIP_CLASS}", p 0) p .r1'
      ${IfThen} $1 == 0 ${|} ${ExitDo} ${|}
      DetailPrint "Closing the running Surftally"
      System::Call 'user32::PostMessageW(p r1, i 0x0010, p 0, p 0)'
      IntOp $3 $3 + 1
    ${Loop}
  ${EndIf}
  ; Then the programs of other sessions, once the windows are counted.
  ${If} $4 == 0
    System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "${CLOSE_EVENT_SDDL}", i 1, *p .r1, p 0) i .r2'
    ${If} $2 <> 0
      ; SECURITY_ATTRIBUTES: length, (padding), descriptor, not inherited.
      System::Call '*(i 24, i 0, p r1, i 0, i 0) p .r2'
      ; Manual reset, set from the start.
      System::Call 'kernel32::CreateEventW(p r2, i 1, i 1, w "${CLOSE_EVENT}") p .r4'
      System::Call 'kernel32::SetEvent(p r4)'
      System::Free $2
      System::Call 'kernel32::LocalFree(p r1)'
    ${EndIf}
  ${EndIf}
  ; The processes, not their windows: a program ends when it lets go of the folder.
  StrCpy $2 0
  ${Do}
    Call ${un}ProgramHoldsData
    ${IfThen} $0 = 0 ${|} ${ExitDo} ${|}
    IntOp $2 $2 + 1
    ${IfThen} $2 >= 100 ${|} ${ExitDo} ${|}
    Sleep 100
  ${Loop}
  ${If} $0 = 1
    DetailPrint "Surftally is still running"
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Surftally is still running and could not be closed: it may be running for another user of this computer.$\r$\n$\r$\nClose it there (or let that user sign out), then choose Retry." /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Call ${un}EndCloseEvent
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Abort "Surftally is still running."
  ${EndIf}
  ; The event goes, so that the programs started from now on run.
  Call ${un}EndCloseEvent
  ; Let go of the folder is not quite gone: the executables may still be mapped a moment.
  Sleep 200
  StrCpy $0 $3
  Pop $4
  Pop $3
  Pop $2
  Pop $1
FunctionEnd

; Resets and closes the close event in $4, if any.
Function ${un}EndCloseEvent
  ${If} $4 != 0
    System::Call 'kernel32::ResetEvent(p r4)'
    System::Call 'kernel32::CloseHandle(p r4)'
    StrCpy $4 0
  ${EndIf}
FunctionEnd
!macroend
!insertmacro DefineClose ""
!insertmacro DefineClose "un."

; Starts the installed program as the user of the desktop (the shell's account, without
; the installer's elevation); nothing when there is no desktop (a deployment as SYSTEM).
Function StartAsDesktopUser
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  System::Call 'user32::GetShellWindow() p .r0'
  ${If} $0 == 0
    System::Call 'user32::FindWindowW(w "Shell_TrayWnd", p 0) p .r0'
  ${EndIf}
  ${If} $0 == 0
    DetailPrint "No desktop to start Surftally on"
    Goto done
  ${EndIf}
  System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
  ; PROCESS_QUERY_LIMITED_INFORMATION
  System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i r1) p .r2'
  ${If} $2 == 0
    Goto done
  ${EndIf}
  ; TOKEN_ASSIGN_PRIMARY | TOKEN_DUPLICATE | TOKEN_QUERY
  System::Call 'advapi32::OpenProcessToken(p r2, i 0xB, *p .r3) i .r4'
  System::Call 'kernel32::CloseHandle(p r2)'
  ${If} $4 = 0
    Goto done
  ${EndIf}
  ; MAXIMUM_ALLOWED, SecurityImpersonation, TokenPrimary
  System::Call 'advapi32::DuplicateTokenEx(p r3, i 0x02000000, p 0, i 2, i 1, *p .r5) i .r4'
  System::Call 'kernel32::CloseHandle(p r3)'
  ${If} $4 = 0
    Goto done
  ${EndIf}
  System::Alloc 104 ; STARTUPINFOW
  Pop $3
  System::Call '*$3(i 104)'
  System::Alloc 24 ; PROCESS_INFORMATION
  Pop $6
  System::Call 'advapi32::CreateProcessWithTokenW(p r5, i 0, w "$INSTDIR\surftally.exe", p 0, i 0, p 0, w "$INSTDIR", p r3, p r6) i .r4 ?e'
  Pop $1
  ${If} $4 <> 0
    System::Call '*$6(p .r0, p .r2)'
    System::Call 'kernel32::CloseHandle(p r0)'
    System::Call 'kernel32::CloseHandle(p r2)'
    StrCpy $Started 1
    DetailPrint "Started Surftally"
  ${Else}
    DetailPrint "Could not start Surftally (error $1)"
  ${EndIf}
  System::Free $3
  System::Free $6
  System::Call 'kernel32::CloseHandle(p r5)'
  done:
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

Function StartProgramFromFinish
  Call StartAsDesktopUser
FunctionEnd

; The finish page offers a start unless the install has started the program already.
Function FinishShow
  ${If} $Started == 1
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
  ${EndIf}
FunctionEnd

; Runs icacls with the arguments; $0 = its exit code.
!macro Icacls ARGS
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" ${ARGS}'
  Pop $0
!macroend

Section "Surftally"
  StrCpy $Started 0
  Call CloseRunningPrograms
  StrCpy $Closed $0

  ; The former layout: executables in the users' writable data folder, shortcuts in the
  ; installing account's profile.
  Delete "${DATADIR}\surftally.exe"
  Delete "${DATADIR}\uninstall.exe"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Surftally.lnk"
  Delete "$SMSTARTUP\Surftally.lnk"
  SetShellVarContext all

  CreateDirectory "${DATADIR}"
  ; The program's folder is made afresh by this installer: whatever a user may have put
  ; there (the former layout let users add folders) goes, a link to elsewhere included.
  System::Call 'kernel32::GetFileAttributesW(w "$INSTDIR") i .r0'
  ${If} $0 <> -1
    IntOp $0 $0 & 0x400 ; FILE_ATTRIBUTE_REPARSE_POINT: the link goes, not what it leads to
    ${If} $0 <> 0
      RMDir "$INSTDIR"
    ${EndIf}
  ${EndIf}
  RMDir /r "$INSTDIR"
  ${If} ${FileExists} "$INSTDIR"
    SetErrorLevel 2
    Abort "Could not empty $INSTDIR."
  ${EndIf}
  CreateDirectory "$INSTDIR"
  ; Program Files' own rights, not the data folder's: administrators, SYSTEM and
  ; TrustedInstaller change it, everyone else reads and runs it.
  !insertmacro Icacls '"$INSTDIR" /inheritance:r /grant:r ${SID_SYSTEM}:(OI)(CI)F ${SID_ADMINS}:(OI)(CI)F ${SID_TRUSTED_INSTALLER}:(OI)(CI)F ${SID_USERS}:(OI)(CI)RX ${SID_APP_PACKAGES}:(OI)(CI)RX ${SID_RESTRICTED_APP_PACKAGES}:(OI)(CI)RX'
  ${If} $0 != 0
    DetailPrint "icacls could not set the rights of $INSTDIR ($0)"
    MessageBox MB_OK|MB_ICONSTOP "Surftally could not protect its program folder $INSTDIR, and is not installed." /SD IDOK
    SetErrorLevel 2
    Abort "Could not protect $INSTDIR."
  ${EndIf}
  !insertmacro Icacls '"$INSTDIR" /setowner ${SID_ADMINS}'

  ; The data folder: its own rights are the inherited ones (a former grant to one account
  ; goes), and the Users group may add files (the atomic replace's temporary file, the
  ; lock) and change the files directly inside it; subfolders get nothing.
  !insertmacro Icacls '"${DATADIR}" /reset'
  StrCpy $1 $0
  !insertmacro Icacls '"${DATADIR}" /grant ${SID_USERS}:(WD)'
  IntOp $1 $1 | $0
  !insertmacro Icacls '"${DATADIR}" /grant ${SID_USERS}:(OI)(IO)(NP)M'
  IntOp $1 $1 | $0
  ${If} $1 != 0
    DetailPrint "icacls could not give the Users group the right to change ${DATADIR}'s files"
    MessageBox MB_OK|MB_ICONEXCLAMATION "Surftally could not give the users of this computer the right to change its data files in ${DATADIR}. Give the Users group that right yourself, or Surftally cannot save the time." /SD IDOK
  ${EndIf}

  ; Default data: a file that exists is the users' and is never replaced, so that an
  ; upgrade or a reinstall keeps the balance and the settings.
  SetOutPath "${DATADIR}"
  SetOverwrite off
  File "${DATA}\*.dat"
  File "${DATA}\*.ico"

  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "/oname=surftally.exe" "${PROGRAM}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; For every user of the machine, started in the program's own folder.
  SetShellVarContext all
  CreateShortCut "$SMPROGRAMS\Surftally.lnk" "$INSTDIR\surftally.exe" "" "$INSTDIR\surftally.exe" 0
  CreateShortCut "$SMSTARTUP\Surftally.lnk" "$INSTDIR\surftally.exe" "" "$INSTDIR\surftally.exe" 0

  ${GetSize} "${DATADIR}" "/S=0K" $0 $1 $2
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Surftally"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\surftally.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  ; What was closed runs again.
  ${If} $Closed > 0
    Call StartAsDesktopUser
  ${EndIf}
SectionEnd

Section "Uninstall"
  ; Asked first, before anything is gone.
  StrCpy $R0 1
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON1 "Keep your Surftally balance, settings and history?$\r$\n$\r$\nYes keeps them in ${DATADIR} for a later install; No deletes them." /SD IDYES IDYES +2
  StrCpy $R0 0

  Call un.CloseRunningPrograms
  ; $INSTDIR is the uninstaller's folder, the program's.
  Delete "$INSTDIR\surftally.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Surftally.lnk"
  Delete "$SMSTARTUP\Surftally.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ${If} $R0 = 0
    DetailPrint "Deleting the balance, the settings and the history"
    Delete "${DATADIR}\*.dat"
    Delete "${DATADIR}\*.dat.tmp"
    Delete "${DATADIR}\*.ico"
  ${EndIf}
  ; The running program's lock is no data; the folder goes only if it is empty.
  Delete "${DATADIR}\surftally.lock"
  RMDir "${DATADIR}"
SectionEnd
