; A running vantu is closed as its tray menu's Exit closes it: WM_CLOSE to its hidden
; main window makes it hand the fan back to the EC, save its settings and close the port
; library. One that has not ended 30 s later, or one that runs where this session has no
; window of it (another user's session: its lock file in the Windows folder is held),
; stops the setup before anything is written or removed. $WasRunning is 1 when a vantu
; was closed. The uninstall also removes the lock file once no vantu holds it.
Var WasRunning

!macro CLOSE_VANTU PREFIX
Function ${PREFIX}CloseVantu
  StrCpy $WasRunning 0
  ${Do}
    FindWindow $0 "vantu.frmMain" "Main"
    ${IfThen} $0 = 0 ${|} ${ExitDo} ${|}
    DetailPrint "Closing vantu..."
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
    ; SYNCHRONIZE: enough to wait for its end.
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2'
    ${If} $2 = 0
      ; Ended since it was found: look again.
      System::Call 'user32::IsWindow(p r0) i .r3'
      ${IfThen} $3 = 0 ${|} ${Continue} ${|}
      StrCpy $0 "vantu could not be waited for."
      Goto refuse
    ${EndIf}
    System::Call 'user32::PostMessageW(p r0, i ${WM_CLOSE}, p 0, p 0)'
    System::Call 'kernel32::WaitForSingleObject(p r2, i 30000) i .r3'
    System::Call 'kernel32::CloseHandle(p r2)'
    ${If} $3 <> 0
      StrCpy $0 "vantu did not close within 30 seconds."
      Goto refuse
    ${EndIf}
    StrCpy $WasRunning 1
  ${Loop}
  System::Call 'kernel32::GetSystemWindowsDirectoryW(w .r1, i ${NSIS_MAX_STRLEN})'
  ${IfNot} ${FileExists} "$1\vantu.lock"
    Return
  ${EndIf}
  ClearErrors
  FileOpen $2 "$1\vantu.lock" r
  ${IfNot} ${Errors}
    FileClose $2  ; no vantu holds it
    !if "${PREFIX}" == "un."
      Delete "$1\vantu.lock"
    !endif
    Return
  ${EndIf}
  StrCpy $0 "vantu is running in another user's session."
  refuse:
  MessageBox MB_ICONSTOP "$0 Nothing has been changed: close vantu (Exit in its tray menu) and run this again." /SD IDOK
  SetErrorLevel 2
  Abort
FunctionEnd
!macroend
!insertmacro CLOSE_VANTU ""
!insertmacro CLOSE_VANTU "un."
