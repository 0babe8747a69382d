; vantu's autostart is refused from any folder that someone other than an
; administrator can change, so vantu goes only below the 32-bit Program Files folder.
; FolderRefusal makes $INSTDIR a full path (".", ".." and "/" resolved, no trailing
; "\") and sets $0 to the reason it is refused, or to "" when it lies below that folder.
Function FolderRefusal
  System::Call 'kernel32::GetFullPathNameW(w "$INSTDIR", i ${NSIS_MAX_STRLEN}, w .r1, p 0) i .r0'
  ${If} $0 = 0
  ${OrIf} $0 >= ${NSIS_MAX_STRLEN}
    StrCpy $1 $INSTDIR
  ${EndIf}
  ${DoWhile} $1 != ""
    StrCpy $2 $1 1 -1
    ${IfThen} $2 != "\" ${|} ${ExitDo} ${|}
    StrCpy $1 $1 -1
  ${Loop}
  StrCpy $INSTDIR $1
  StrLen $2 "$PROGRAMFILES\"
  StrCpy $3 $1 $2
  StrCpy $4 $1 "" $2
  StrCpy $0 ""
  ${If} $3 != "$PROGRAMFILES\"
  ${OrIf} $4 == ""
    StrCpy $0 "vantu can be installed only in a folder under $PROGRAMFILES, not in $1.$\r$\n$\r$\nvantu starts with Windows only from a folder that nobody but an administrator can change; elsewhere its autostart would be refused."
  ${EndIf}
FunctionEnd
