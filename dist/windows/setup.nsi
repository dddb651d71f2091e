; The Windows installer of Halvane Shamsi Dates: installs the program folder
; (qrx2.exe, shamsi-dates.exe, DATES.TXT, the pictures) under Program Files,
; two Start-menu shortcuts (the program, and its exact start "qrx2.exe
; /exact") and an uninstaller. "/S" installs (and uninstalls)
; silently. Built by CMake (target windows_installer):
;   makensis -DPROGRAM_DIR=<installed program folder> -DVERSION=2.0.0
;            -DOUTFILE=<setup.exe> -DICON=<qrx2.ico> setup.nsi
Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define NAME "Halvane Shamsi Dates"
!define FOLDER "Halvane Shamsi Dates"
!define EXACT_NAME "Halvane Shamsi Dates (exact calendar)"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\HalvaneShamsiDates"

Name "${NAME}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
; The shipped build is 32-bit: its folder is the 32-bit Program Files.
InstallDir "$PROGRAMFILES\${FOLDER}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Install"
    SetOutPath "$INSTDIR"
    File /r "${PROGRAM_DIR}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; The shortcuts start the windowed program in its own folder: as it is,
    ; and its exact start, which places the dates by the Persian calendar
    ; (1800 to 2123) instead of the date table (1980 to 2023).
    SetShellVarContext all
    CreateDirectory "$SMPROGRAMS\${FOLDER}"
    IfFileExists "$INSTDIR\qrx2.exe" 0 +3
        CreateShortcut "$SMPROGRAMS\${FOLDER}\${NAME}.lnk" "$INSTDIR\qrx2.exe" "" "$INSTDIR\qrx2.exe" 0
        CreateShortcut "$SMPROGRAMS\${FOLDER}\${EXACT_NAME}.lnk" "$INSTDIR\qrx2.exe" "/exact" "$INSTDIR\qrx2.exe" 0
    CreateShortcut "$SMPROGRAMS\${FOLDER}\Uninstall ${NAME}.lnk" "$INSTDIR\uninstall.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Halvane"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\${FOLDER}\${NAME}.lnk"
    Delete "$SMPROGRAMS\${FOLDER}\${EXACT_NAME}.lnk"
    Delete "$SMPROGRAMS\${FOLDER}\Uninstall ${NAME}.lnk"
    RMDir "$SMPROGRAMS\${FOLDER}"
    ; Only the files this installer put there: a table or notes the user
    ; left in the folder stay, and so does the folder with them.
    !include "${FILE_LIST}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
