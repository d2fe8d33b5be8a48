; The Windows setup program: voidrift.scr, data.ssd and the help page into the user's program folder,
; "Path" in the registry so the screensaver finds its data wherever Windows starts it, and
; on request Voidrift as the current screensaver. Built by scripts/build-windows.sh:
;   makensis -DFILES=<folder with voidrift.scr and data.ssd> -DOUTFILE=<setup.exe> voidrift.nsi
; A 64-bit setup for a 64-bit program: it runs where the screensaver can.
Target amd64-unicode
Name "Voidrift 3D Screensaver"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Voidrift"
SetCompressor /SOLID lzma

!define SETTINGS_KEY "Software\Voidrift 3D Screensaver"
!define DESKTOP_KEY "Control Panel\Desktop"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Voidrift"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Voidrift"
  SetOutPath "$INSTDIR"
  File "${FILES}/voidrift.scr"
  File "${FILES}/data.ssd"
  File "${FILES}/voidrift.html"
  WriteRegStr HKCU "${SETTINGS_KEY}" "Path" "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Voidrift 3D Screensaver"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\voidrift.scr"
  ; A silent install takes the offer: whoever scripts it wants the screensaver in use.
  MessageBox MB_YESNO|MB_ICONQUESTION "Make Voidrift your current screensaver?" /SD IDYES IDNO done
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$INSTDIR\voidrift.scr"
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  done:
SectionEnd

Section "Uninstall"
  ; Someone else's screensaver choice is theirs to keep.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  StrCmp $0 "$INSTDIR\voidrift.scr" 0 +2
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$INSTDIR\voidrift.scr"
  Delete "$INSTDIR\data.ssd"
  Delete "$INSTDIR\voidrift.html"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
