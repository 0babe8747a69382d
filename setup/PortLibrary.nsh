; The port library and the programs vantu takes from its own folder: installed when they
; lie beside the setup program and the folder has none of them yet, since a port library
; set up earlier is kept as it is (its driver may be loaded). The uninstall removes them.
!macro INSTALL_BESIDE FILE
  ${IfNot} ${FileExists} "$INSTDIR\${FILE}"
  ${AndIf} ${FileExists} "$EXEDIR\${FILE}"
    CopyFiles /SILENT "$EXEDIR\${FILE}" "$INSTDIR"
  ${EndIf}
!macroend

; WinIo's library and its driver only together: either alone does nothing.
!macro INSTALL_PAIR_BESIDE LIBRARY DRIVER
  ${IfNot} ${FileExists} "$INSTDIR\${LIBRARY}"
  ${AndIfNot} ${FileExists} "$INSTDIR\${DRIVER}"
  ${AndIf} ${FileExists} "$EXEDIR\${LIBRARY}"
  ${AndIf} ${FileExists} "$EXEDIR\${DRIVER}"
    CopyFiles /SILENT "$EXEDIR\${LIBRARY}" "$INSTDIR"
    CopyFiles /SILENT "$EXEDIR\${DRIVER}" "$INSTDIR"
  ${EndIf}
!macroend

Function InstallPortLibraryBeside
  !insertmacro INSTALL_PAIR_BESIDE WinIo.dll WinIo.sys
  !insertmacro INSTALL_PAIR_BESIDE WinIo32.dll WinIo32.sys
  !insertmacro INSTALL_BESIDE LpcACPIEC.bin
  !insertmacro INSTALL_BESIDE devcon.exe
  !insertmacro INSTALL_BESIDE hdparm.exe
FunctionEnd

; $0: where the port library goes when the folder has none, else "".
Function PortLibraryNote
  StrCpy $0 ""
  ${IfNot} ${FileExists} "$INSTDIR\WinIo.dll"
  ${AndIfNot} ${FileExists} "$INSTDIR\WinIo32.dll"
  ${AndIfNot} ${FileExists} "$INSTDIR\LpcACPIEC.bin"
    StrCpy $0 "vantu reaches the fan through a port library, which is not in its folder yet. Put there, as an administrator: on 32-bit Windows WinIo.dll and WinIo.sys (WinIo 2.0) or WinIo32.dll and WinIo32.sys (WinIo 3.0); on 64-bit Windows 10 and 11, which refuse WinIo's driver, install PawnIO and put its module LpcACPIEC.bin there. README.txt in the folder says more."
  ${EndIf}
FunctionEnd

!macro DELETE_PORT_LIBRARY
  Delete "$INSTDIR\WinIo.dll"
  Delete "$INSTDIR\WinIo.sys"
  Delete "$INSTDIR\WinIo32.dll"
  Delete "$INSTDIR\WinIo32.sys"
  Delete "$INSTDIR\LpcACPIEC.bin"
  Delete "$INSTDIR\devcon.exe"
  Delete "$INSTDIR\hdparm.exe"
!macroend
