; The Windows installer: the programs and their DLLs under Program Files, a Start-menu entry, .SCN
; files opening in the tool, and an uninstaller that takes exactly that away again.
; scripts/make-windows passes VERSION, PAYLOAD (the folder to install), FILES and DIRS (generated
; lists of what the uninstaller deletes) and OUTFILE.
; A 64-bit installer for the 64-bit programs (and Wine without its 32-bit half runs it).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define NAME "Corvane Scene Tool"
!define PROGRAM "corvane-scene-tool.exe"
!define FILETYPE "Ostrel.CorvaneScene"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\CorvaneSceneTool"

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Ostrel\${NAME}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File /r "${PAYLOAD}\*.*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${NAME}"
  CreateShortcut "$SMPROGRAMS\${NAME}\${NAME}.lnk" "$INSTDIR\${PROGRAM}"

  WriteRegStr HKLM "Software\Classes\.SCN" "" "${FILETYPE}"
  WriteRegStr HKLM "Software\Classes\${FILETYPE}" "" "Corvane scene file"
  WriteRegStr HKLM "Software\Classes\${FILETYPE}\DefaultIcon" "" "$INSTDIR\${PROGRAM},0"
  WriteRegStr HKLM "Software\Classes\${FILETYPE}\shell\open\command" "" '"$INSTDIR\${PROGRAM}" "%1"'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Ostrel"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; Explorer picks up the new file type at once.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  ; Only what was installed goes: a folder the user chose may hold other things.
  !include "${FILES}"
  Delete "$INSTDIR\uninstall.exe"
  !include "${DIRS}"
  RMDir "$INSTDIR"
  RMDir "$PROGRAMFILES64\Ostrel"

  Delete "$SMPROGRAMS\${NAME}\${NAME}.lnk"
  RMDir "$SMPROGRAMS\${NAME}"

  ; .SCN is left alone if another program has taken it over since.
  ReadRegStr $0 HKLM "Software\Classes\.SCN" ""
  StrCmp $0 "${FILETYPE}" 0 +2
    DeleteRegKey HKLM "Software\Classes\.SCN"
  DeleteRegKey HKLM "Software\Classes\${FILETYPE}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
