; The Surftally installer, built with makensis on Linux or Windows (paths absolute, or
; relative to this script's folder):
;   makensis -DPROGRAM=surftally.exe -DDATA=data -DICON=data/LAN.ico -DVERSION=1.0.0
;            -DOUTFILE=surftally-setup.exe packaging/windows/surftally.nsi
; Installs surftally.exe into the program's fixed data folder, C:\Program Files\Surftally,
; copies the default data files there without ever overwriting one that exists, lets the
; installing user change them, and adds a Start-menu and a Startup shortcut. The uninstaller
; removes the program and the shortcuts and keeps the user's data. /S installs and
; uninstalls silently.

!ifndef PROGRAM | DATA | ICON | VERSION | OUTFILE
  !error "define PROGRAM, DATA, ICON, VERSION and OUTFILE"
!endif

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Surftally"
; The program's windows: the strip's class, by which a running program is found and closed.
!define STRIP_CLASS "SurftallyStrip"

Name "Surftally"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
; The program reads its data from this folder alone; it is not the user's choice.
InstallDir "C:\Program Files\Surftally"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Surftally"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Surftally setup"
VIAddVersionKey /LANG=1033 "CompanyName" "Surftally"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Surftally"

Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Asks a running program to close (its file cannot be replaced while it runs) and waits for
; it, up to ten seconds.
!macro CloseRunningProgram
  FindWindow $R0 "${STRIP_CLASS}"
  ${If} $R0 <> 0
    DetailPrint "Closing the running Surftally"
    System::Call 'user32::PostMessageW(p $R0, i 0x0010, p 0, p 0)'
    StrCpy $R1 0
    ${Do}
      Sleep 100
      IntOp $R1 $R1 + 1
      ${IfThen} $R1 >= 100 ${|} ${ExitDo} ${|}
      FindWindow $R0 "${STRIP_CLASS}"
    ${LoopUntil} $R0 = 0
  ${EndIf}
!macroend

Section "Surftally"
  !insertmacro CloseRunningProgram
  SetOutPath "$INSTDIR"

  ; The installing user may change the folder's files: the program rewrites remain.dat
  ; every minute on-line. Granted first, so that the files copied below inherit it.
  ReadEnvStr $0 USERNAME
  ReadEnvStr $1 USERDOMAIN
  ${If} $1 != ""
    StrCpy $0 "$1\$0"
  ${EndIf}
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR" /grant "$0:(OI)(CI)M"'
  Pop $2
  ${If} $2 != 0
    DetailPrint "icacls could not give $0 modify rights on $INSTDIR ($2)"
    MessageBox MB_OK|MB_ICONEXCLAMATION "Surftally could not give $0 the right to change its files in $INSTDIR. Give that right yourself, or Surftally cannot save the time on your account." /SD IDOK
  ${EndIf}

  SetOverwrite on
  File "/oname=surftally.exe" "${PROGRAM}"

  ; Default data: a file that exists is the user's and is never replaced, so that an
  ; upgrade or a reinstall keeps the balance and the settings.
  SetOverwrite off
  File "${DATA}\*.dat"
  File "${DATA}\*.ico"
  SetOverwrite on

  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Shortcuts of the installing user, whose files these are.
  SetShellVarContext current
  CreateShortCut "$SMPROGRAMS\Surftally.lnk" "$INSTDIR\surftally.exe" "" "$INSTDIR\surftally.exe" 0
  CreateShortCut "$SMSTARTUP\Surftally.lnk" "$INSTDIR\surftally.exe" "" "$INSTDIR\surftally.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Surftally"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\surftally.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Surftally"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  !insertmacro CloseRunningProgram
  Delete "$INSTDIR\surftally.exe"
  Delete "$INSTDIR\uninstall.exe"
  ; The running program's lock is no data.
  Delete "$INSTDIR\surftally.lock"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Surftally.lnk"
  Delete "$SMSTARTUP\Surftally.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; The data files stay (balance, settings, icons): the folder goes only if it is empty.
  RMDir "$INSTDIR"
SectionEnd
