; TARNEVO installer: per-user, no elevation. Built by installer/Release.cmake, which runs
; makensis in the staged release folder with
;   -DVERSION=a.b.c.d  -DOUTFILE=<setup.exe>  -DFILES=<generated file lists>
; The file lists define the macros TarnevoInstallFiles, TarnevoRemoveFiles and
; TarnevoInUseFiles, and TARNEVO_HELP when the help file is part of the release.

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma
AllowSkipFiles off

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include TextFunc.nsh
!include "${FILES}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TARNEVO"
!define MENU "$SMPROGRAMS\TARNEVO"
!define USER_FOLDER "$APPDATA\Tarnevo"
!define CONF "${USER_FOLDER}\TARNEVO.conf"

Name "TARNEVO ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\TARNEVO"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}"
VIAddVersionKey ProductName "TARNEVO"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey FileDescription "TARNEVO CAPE-OPEN property server setup"
VIAddVersionKey LegalCopyright "TARNEVO"

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$SYSDIR\rundll32.exe"
!define MUI_FINISHPAGE_RUN_PARAMETERS "$\"$INSTDIR\TARNEVO64.dll$\",DllConfigure"
!define MUI_FINISHPAGE_RUN_TEXT "Open the TARNEVO package manager"
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "TARNEVO has been removed.$\r$\n$\r$\nYour property packages and the configuration file TARNEVO.conf were kept in ${USER_FOLDER}; a REFPROP installation was not touched. Delete that folder yourself if you no longer need them."
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "English"

; $R0 = the first installed program file that another process holds open, or "".
!macro TarnevoCheckInUse FILE
  ${If} $R0 == ""
  ${AndIf} ${FileExists} "$INSTDIR\${FILE}"
    ClearErrors
    FileOpen $0 "$INSTDIR\${FILE}" a
    ${If} ${Errors}
      StrCpy $R0 "${FILE}"
    ${Else}
      FileClose $0
    ${EndIf}
  ${EndIf}
!macroend

!macro InUseFunctions PREFIX ACTION
; $R0 = "TARNEVO64.dll" and $R2 = the program's file name when a running program has the
; installed server loaded (Windows also refuses to open a loaded DLL for writing, Wine does not).
Function ${PREFIX}FindServerUser
  System::Alloc 16384
  Pop $1
  System::Alloc 8192
  Pop $6
  System::Call 'psapi::EnumProcesses(p r1, i 16384, *i .r2) i .r0'
  ${IfThen} $0 = 0 ${|} StrCpy $2 0 ${|}
  StrCpy $3 0
  ${DoWhile} $3 < $2
    IntOp $4 $1 + $3
    IntOp $3 $3 + 4
    System::Call '*$4(i .r4)'
    System::Call 'kernel32::OpenProcess(i 0x410, i 0, i r4) p .r5'
    ${If} $5 P<> 0
      System::Call 'psapi::EnumProcessModulesEx(p r5, p r6, i 8192, *i .r7, i 3) i .r0'
      ${IfThen} $0 = 0 ${|} StrCpy $7 0 ${|}
      ${IfThen} $7 > 8192 ${|} StrCpy $7 8192 ${|}
      StrCpy $8 0
      ${DoWhile} $8 < $7
        IntOp $9 $6 + $8
        IntOp $8 $8 + 8
        System::Call '*$9(p .r9)'
        System::Call 'psapi::GetModuleFileNameExW(p r5, p r9, w .r0, i ${NSIS_MAX_STRLEN})'
        ${If} $0 == "$INSTDIR\TARNEVO64.dll"
          StrCpy $R0 "TARNEVO64.dll"
          System::Call 'psapi::GetModuleBaseNameW(p r5, p 0, w .R2, i ${NSIS_MAX_STRLEN})'
          ${ExitDo}
        ${EndIf}
      ${Loop}
      System::Call 'kernel32::CloseHandle(p r5)'
    ${EndIf}
    ${IfThen} $R0 != "" ${|} ${ExitDo} ${|}
  ${Loop}
  System::Free $1
  System::Free $6
FunctionEnd

; Asks until no installed program file is in use; Cancel (the answer of a silent run) aborts
; before anything has been changed.
Function ${PREFIX}WaitUntilNotInUse
  check:
  StrCpy $R0 ""
  StrCpy $R2 "another program (a simulator, or tarnevo in a command prompt)"
  Call ${PREFIX}FindServerUser
  !insertmacro TarnevoInUseFiles
  ${If} $R0 != ""
    DetailPrint "In use: $INSTDIR\$R0 ($R2)"
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "TARNEVO cannot be ${ACTION} while it is in use: $INSTDIR\$R0 is loaded by $R2.$\r$\n$\r$\nClose that program and click Retry, or click Cancel to leave TARNEVO as it is." /SD IDCANCEL IDRETRY check
    Abort "TARNEVO is in use; nothing was changed."
  ${EndIf}
FunctionEnd
!macroend
!insertmacro InUseFunctions "" "updated"
!insertmacro InUseFunctions "un." "removed"

; The REFPROP folder that TARNEVO.conf records (its first REFPROP_FOLDER line), or "".
Function RecordedRefpropFolder
  Push $0
  Push $1
  StrCpy $R1 ""
  ClearErrors
  FileOpen $0 "${CONF}" r
  ${IfNot} ${Errors}
    ${Do}
      ClearErrors
      FileRead $0 $1
      ${IfThen} ${Errors} ${|} ${ExitDo} ${|}
      ${TrimNewLines} $1 $1
      StrCpy $R1 $1 15
      ${If} $R1 S== "REFPROP_FOLDER="
        StrCpy $R1 $1 "" 15
        ${ExitDo}
      ${EndIf}
      StrCpy $R1 ""
    ${Loop}
    FileClose $0
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

; Points TARNEVO.conf at the bundled engine unless the user already has REFPROP: a recorded
; folder that holds refprop.dll, or REFPROP in the program-files folder.
Function ConfigureEngine
  Call RecordedRefpropFolder
  ${If} $R1 != ""
  ${AndIf} ${FileExists} "$R1\refprop.dll"
    DetailPrint "REFPROP folder kept: $R1"
    Return
  ${EndIf}
  ${If} ${FileExists} "$PROGRAMFILES64\REFPROP\refprop.dll"
    DetailPrint "REFPROP found in $PROGRAMFILES64\REFPROP"
    Return
  ${EndIf}
  CreateDirectory "${USER_FOLDER}"
  ClearErrors
  FileOpen $0 "${CONF}" w
  ${If} ${Errors}
    MessageBox MB_ICONEXCLAMATION "Could not write ${CONF}; TARNEVO will ask for refprop.dll when it is first used (choose $INSTDIR\Engine\refprop.dll)." /SD IDOK
    Return
  ${EndIf}
  FileWrite $0 "REFPROP_FOLDER=$INSTDIR\Engine$\r$\n"
  FileClose $0
  DetailPrint "REFPROP folder set to the bundled engine: $INSTDIR\Engine"
FunctionEnd

Section "TARNEVO" SecMain
  SectionIn RO
  Call WaitUntilNotInUse
  !insertmacro TarnevoInstallFiles
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "TARNEVO"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "TARNEVO"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

  CreateDirectory "${MENU}"
  CreateShortCut "${MENU}\TARNEVO Package Manager.lnk" "$SYSDIR\rundll32.exe" '"$INSTDIR\TARNEVO64.dll",DllConfigure'
!ifdef TARNEVO_HELP
  CreateShortCut "${MENU}\TARNEVO Help.lnk" "$INSTDIR\TARNEVO.chm"
!endif
  CreateShortCut "${MENU}\TARNEVO Read Me.lnk" "$INSTDIR\README.txt"
  SetOutPath "$DOCUMENTS"
  CreateShortCut "${MENU}\TARNEVO Command Prompt.lnk" "$SYSDIR\cmd.exe" '/k "set "PATH=$INSTDIR;%PATH%" && tarnevo --help"'
  CreateShortCut "${MENU}\Uninstall TARNEVO.lnk" "$INSTDIR\uninstall.exe"

  ClearErrors
  RegDLL "$INSTDIR\TARNEVO64.dll"
  ${If} ${Errors}
    MessageBox MB_ICONSTOP "TARNEVO64.dll could not be registered for CAPE-OPEN simulators. Run the setup again, or remove TARNEVO from Apps and Features." /SD IDOK
    Abort "Registration of TARNEVO64.dll failed."
  ${EndIf}
  DetailPrint "TARNEVO64.dll registered for the current user"

  Call ConfigureEngine
SectionEnd

Section "Uninstall"
  Call un.WaitUntilNotInUse
  ClearErrors
  UnRegDLL "$INSTDIR\TARNEVO64.dll"
  ${If} ${Errors}
    DetailPrint "TARNEVO64.dll could not be unregistered"
  ${EndIf}
  Delete "${MENU}\TARNEVO Package Manager.lnk"
  Delete "${MENU}\TARNEVO Help.lnk"
  Delete "${MENU}\TARNEVO Read Me.lnk"
  Delete "${MENU}\TARNEVO Command Prompt.lnk"
  Delete "${MENU}\Uninstall TARNEVO.lnk"
  RMDir "${MENU}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  !insertmacro TarnevoRemoveFiles
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DetailPrint "Kept: your property packages and TARNEVO.conf in ${USER_FOLDER}"
SectionEnd

; The uninstaller runs from a copy in the temporary folder, which Windows would delete only at a
; restart with administrator rights: a hidden command prompt deletes it once this process has ended.
Function un.onUninstSuccess
  ${If} $EXEDIR != $INSTDIR
    SetOutPath "$TEMP"
    ExecShell "" "$SYSDIR\cmd.exe" '/c ping -n 3 127.0.0.1 >nul & del /f /q "$EXEPATH" & rmdir "$EXEDIR"' SW_HIDE
  ${EndIf}
FunctionEnd
