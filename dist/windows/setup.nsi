; The Windows installer of Halvane Shamsi Dates: installs the program folder
; (qrx2.exe, shamsi-dates.exe, DATES.TXT, the pictures, README.txt and
; LICENSE.txt) under Program Files,
; two Start-menu shortcuts (the program, and its exact start "qrx2.exe
; /exact") and an uninstaller. "/S" installs (and uninstalls)
; silently. Built by CMake (target windows_installer):
;   makensis -DPROGRAM_DIR=<installed program folder> -DVERSION=2.0.0
;            -DOUTFILE=<setup.exe> -DICON=<qrx2.ico> setup.nsi
Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include FileFunc.nsh

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

; setup.exe's version resource (its Properties, Details).
VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "CompanyName" "Halvane"
VIAddVersionKey "FileDescription" "${NAME} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright 2026 Halvane"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Install"
    ; The outermost folder of $INSTDIR that does not exist yet, made by this
    ; installer: the uninstaller removes it again when it is left empty
    ; (C:\Programs when installed to C:\Programs\Shamsi). A reinstall into
    ; an existing folder keeps what the first install noted.
    StrCpy $0 "$INSTDIR"
    StrCpy $1 ""
    outermost:
        IfFileExists "$0\*.*" outermost_found
        StrCpy $1 "$0"
        ${GetParent} "$0" $2
        StrCmp $2 "" outermost_found
        StrCmp $2 "$0" outermost_found
        StrCpy $0 "$2"
        Goto outermost
    outermost_found:
    StrCmp $1 "" +2
        WriteRegStr HKLM "${UNINSTALL_KEY}" "CreatedFolder" "$1"

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
    ; The icon and size "Apps & features" shows (the size in KiB).
    IfFileExists "$INSTDIR\qrx2.exe" 0 +3
        WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\qrx2.exe",0'
        Goto +2
        WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\uninstall.exe",0'
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
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
    ; The folders above $INSTDIR up to the one the installer made, each only
    ; when empty, and only when that folder does lie above $INSTDIR.
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "CreatedFolder"
    StrLen $1 "$0"
    StrCpy $2 "$INSTDIR" $1
    StrCmp $0 "" parents_done
    StrCmp $2 "$0" 0 parents_done
    StrCpy $3 "$INSTDIR"
    parents:
        StrCmp $3 "$0" parents_done
        ${un.GetParent} "$3" $3
        StrLen $4 "$3"
        IntCmp $4 $1 0 parents_done
        RMDir "$3"
        Goto parents
    parents_done:
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
