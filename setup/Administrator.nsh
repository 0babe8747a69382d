; Only an administrator installs or removes vantu. Where Windows asks for no elevation
; (Windows XP; Vista and later with UAC off) the setup runs with the account's own
; rights, and another account is told so before anything is written. IsUserAnAdmin is
; true only in an elevated process where UAC splits the token.
!macro REQUIRE_ADMINISTRATOR
  System::Call 'shell32::IsUserAnAdmin() i .r0'
  ${If} $0 != 1
    MessageBox MB_ICONSTOP "Only an administrator can install or remove vantu: sign in as one and run this again." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
!macroend
