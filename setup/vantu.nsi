; vantu's setup program: a per-machine install under the 32-bit Program Files, the one
; place from which vantu's autostart is allowed, and an uninstaller that takes all of
; vantu away again. Made by make-setup.cmake, which defines VERSION, EXE (the shipped
; vantu.exe), TEXT (the folder of README.txt and LICENSE.txt), ICON and OUTFILE.
Unicode true
SetCompressor /SOLID lzma
; No file times in the setup: two builds of the same sources give the same bytes.
SetDateSave off
XPStyle on
RequestExecutionLevel admin
; A file that cannot be written fails the install; nothing is skipped silently.
AllowSkipFiles off
Name "vantu"
Caption "vantu ${VERSION} Setup"
BrandingText "vantu ${VERSION}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
VIProductVersion "${VERSION}"
VIAddVersionKey ProductName "vantu"
VIAddVersionKey FileDescription "vantu setup"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey LegalCopyright "MIT License"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\vantu"
InstallDir "$PROGRAMFILES\vantu"
; An update goes where the last install went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" InstallLocation
ShowInstDetails show
ShowUninstDetails show

!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include WinVer.nsh
!include nsDialogs.nsh
!include Administrator.nsh
!include RunningVantu.nsh
!include ProgramFiles.nsh
!include PortLibrary.nsh
!include Autostart.nsh

Page directory "" "" DirectoryLeave
Page instfiles
Page custom FinishShow FinishLeave
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  !insertmacro REQUIRE_ADMINISTRATOR
  Call FolderRefusal
  ${If} $0 != ""
    MessageBox MB_ICONSTOP $0 /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd

Function DirectoryLeave
  Call FolderRefusal
  ${If} $0 != ""
    MessageBox MB_ICONSTOP $0 /SD IDOK
    Abort
  ${EndIf}
FunctionEnd

; A write that failed ends the install with exit code 2.
!macro STOP_ON_ERRORS
  ${If} ${Errors}
    MessageBox MB_ICONSTOP "Setup could not write all of vantu into $INSTDIR." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
!macroend

Section
  Call CloseVantu
  ClearErrors
  SetOutPath "$INSTDIR"
  File "${EXE}"
  File "${TEXT}\README.txt"
  File "${TEXT}\LICENSE.txt"
  Call InstallPortLibraryBeside
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; A folder not fully written gets no shortcut and no entry.
  !insertmacro STOP_ON_ERRORS
  SetShellVarContext all
  CreateShortCut "$SMPROGRAMS\vantu.lnk" "$INSTDIR\vantu.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayName "vantu"
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayIcon "$INSTDIR\vantu.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoModify 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoRepair 1
  !insertmacro STOP_ON_ERRORS
  ; Last: GetSize clears the error flag first.
  ${GetSize} "$INSTDIR" "/S=0K /G=0" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" EstimatedSize $0
  !insertmacro STOP_ON_ERRORS
SectionEnd

; The last page: where the port library goes when none is in the folder, and vantu
; started on leaving (a silent install shows no page, so it starts nothing). The box is
; checked when vantu ran before, or when there is a port library: without one vantu
; would only say that it has no port access.
Var StartBox

Function FinishShow
  GetDlgItem $0 $HWNDPARENT 1
  SendMessage $0 ${WM_SETTEXT} 0 "STR:&Finish"
  GetDlgItem $0 $HWNDPARENT 2
  EnableWindow $0 0
  GetDlgItem $0 $HWNDPARENT 3
  ShowWindow $0 ${SW_HIDE}
  nsDialogs::Create 1018
  Pop $0
  Call PortLibraryNote
  ${NSD_CreateLabel} 0 0 100% 75% "vantu is installed in $INSTDIR.$\r$\n$\r$\n$0"
  Pop $1
  ${NSD_CreateCheckbox} 0 80% 100% 12u "&Start vantu"
  Pop $StartBox
  ${If} $0 == ""
  ${OrIf} $WasRunning = 1
    ${NSD_Check} $StartBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function FinishLeave
  ${NSD_GetState} $StartBox $0
  ${If} $0 == ${BST_CHECKED}
    Exec '"$INSTDIR\vantu.exe"'
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro REQUIRE_ADMINISTRATOR
FunctionEnd

Section Uninstall
  Call un.CloseVantu
  ClearErrors
  Call un.RemoveAutostart
  Delete "$INSTDIR\vantu.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  !insertmacro DELETE_PORT_LIBRARY
  ; The settings, and what a save cut off left (older versions wrote vantu.ini.new).
  Delete "$INSTDIR\vantu.ini"
  Delete "$INSTDIR\vantu.ini.new"
  Delete "$INSTDIR\~vantu-*.tmp"
  ${If} ${Errors}
    ; The entry and the shortcut stay, so that the uninstall can be run again.
    MessageBox MB_ICONSTOP "Some of vantu's files or its autostart could not be removed (see the details); run the uninstall again once nothing uses them." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  ; In use when run as "uninstall.exe _?=FOLDER": it stays then, with the folder.
  Delete "$INSTDIR\uninstall.exe"
  SetShellVarContext all
  Delete "$SMPROGRAMS\vantu.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; Only when empty: files of the user's stay, with the folder.
  RMDir "$INSTDIR"
SectionEnd
