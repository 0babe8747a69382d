; vantu's autostart goes with it: the scheduled task "vantu" that vantu registers on
; Windows 6.0 and later, deleted by the system's schtasks with no window (seen by its
; file in the Tasks folder, through Sysnative for this 32-bit program on 64-bit
; Windows), and this account's Startup shortcut vantu.lnk (Windows XP's, or one left
; by an upgrade from it). Sets the error flag when either stays.
Function un.RemoveAutostart
  ${If} ${AtLeastWinVista}
    StrCpy $1 "$WINDIR\Sysnative"
    ${IfNot} ${FileExists} "$1\*.*"
      StrCpy $1 $SYSDIR
    ${EndIf}
    ${If} ${FileExists} "$1\Tasks\vantu"
      Call un.DeleteTask
      ${IfThen} ${FileExists} "$1\Tasks\vantu" ${|} SetErrors ${|}
    ${EndIf}
  ${EndIf}
  SetShellVarContext current
  Delete "$SMSTARTUP\vantu.lnk"
FunctionEnd

; schtasks started with CREATE_NO_WINDOW (a console of its own would flash up), and
; waited for up to a minute.
Function un.DeleteTask
  DetailPrint "Deleting the scheduled task vantu"
  StrCpy $2 '"$SYSDIR\schtasks.exe" /delete /tn vantu /f'
  System::Call '*(i 68, &v64) p .r3'  ; STARTUPINFOW, its size first
  System::Call '*(&v16) p .r4'        ; PROCESS_INFORMATION
  System::Call 'kernel32::CreateProcessW(p 0, w r2, p 0, p 0, i 0, i 0x08000000, p 0, p 0, p r3, p r4) i .r5'
  ${If} $5 <> 0
    System::Call '*$4(p .r6, p .r7)'
    System::Call 'kernel32::WaitForSingleObject(p r6, i 60000)'
    System::Call 'kernel32::CloseHandle(p r6)'
    System::Call 'kernel32::CloseHandle(p r7)'
  ${EndIf}
  System::Free $3
  System::Free $4
FunctionEnd
