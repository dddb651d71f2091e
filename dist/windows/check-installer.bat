@echo off
rem Installs Halvane Shamsi Dates silently, uses the installed programs, and
rem uninstalls it silently, checking each step. Run under Wine by CTest:
rem   check-installer.bat SETUP.EXE TABLE.DBF CHECK-SHORTCUT.EXE CHECK-VERSION.EXE VERSION
setlocal
set SETUP=%~1
set TABLE=%~2
set CHECK=%~3
set CHECK_VERSION=%~4
set VERSION=%~5
set KEY=HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\HalvaneShamsiDates
set DIR=%ProgramFiles%\Halvane Shamsi Dates
set MENU=%ProgramData%\Microsoft\Windows\Start Menu\Programs\Halvane Shamsi Dates
set LINK=%MENU%\Halvane Shamsi Dates.lnk
set EXACT_LINK=%MENU%\Halvane Shamsi Dates (exact calendar).lnk

"%CHECK_VERSION%" "%SETUP%" "%VERSION%" "Halvane Shamsi Dates"
if errorlevel 1 (echo FAIL: setup.exe has no version resource of %VERSION% & exit /b 1)
echo ok: setup.exe's version resource says %VERSION%

start /wait "" "%SETUP%" /S
if errorlevel 1 (echo FAIL: the installer failed & exit /b 1)
for %%f in (shamsi-dates.exe DATES.TXT wait.BMP success.BMP 1.BMP 15.BMP README.txt LICENSE.txt uninstall.exe) do (
    if not exist "%DIR%\%%f" (echo FAIL: %%f is not installed in %DIR% & exit /b 1)
)
echo ok: installed in %DIR%
findstr /c:"C:\Shamsi.dbf" "%DIR%\README.txt" >nul
if errorlevel 1 (echo FAIL: README.txt does not say where the table goes & exit /b 1)
findstr /c:"distributed free of charge" "%DIR%\LICENSE.txt" >nul
if errorlevel 1 (echo FAIL: LICENSE.txt has not the licence text & exit /b 1)
rem Add/Remove Programs: the program's icon and the size of the folder (KiB).
reg query "%KEY%" /v DisplayIcon /reg:32 > "%TEMP%\key.txt"
if errorlevel 1 (echo FAIL: the uninstall key has no DisplayIcon & exit /b 1)
findstr /i /c:"\shamsi-dates.exe" /c:"\qrx2.exe" /c:"\uninstall.exe" "%TEMP%\key.txt" >nul
if errorlevel 1 (type "%TEMP%\key.txt" & echo FAIL: DisplayIcon names no installed program & exit /b 1)
reg query "%KEY%" /v EstimatedSize /reg:32 > "%TEMP%\key.txt"
if errorlevel 1 (echo FAIL: the uninstall key has no EstimatedSize & exit /b 1)
findstr /c:"REG_DWORD" "%TEMP%\key.txt" >nul
if errorlevel 1 (type "%TEMP%\key.txt" & echo FAIL: EstimatedSize is no DWORD & exit /b 1)
set SIZE=
for /f "usebackq tokens=3" %%s in ("%TEMP%\key.txt") do set SIZE=%%s
if "%SIZE%"=="" (type "%TEMP%\key.txt" & echo FAIL: EstimatedSize unreadable & exit /b 1)
if "%SIZE%"=="0x0" (echo FAIL: EstimatedSize is 0 & exit /b 1)
echo ok: the uninstall key has DisplayIcon and EstimatedSize %SIZE% KiB
rem Two shortcuts to the windowed program: as it is, and its exact start.
if exist "%DIR%\qrx2.exe" (
    if not exist "%DIR%\qrx2-exact.bat" (echo FAIL: qrx2-exact.bat is not installed & exit /b 1)
    "%CHECK%" "%LINK%" "%DIR%\qrx2.exe" ""
    if errorlevel 1 (echo FAIL: the Start-menu shortcut & exit /b 1)
    "%CHECK%" "%EXACT_LINK%" "%DIR%\qrx2.exe" "/exact"
    if errorlevel 1 (echo FAIL: the exact calendar's Start-menu shortcut & exit /b 1)
    echo ok: both Start-menu shortcuts start qrx2.exe, the second with /exact
)

copy /y "%TABLE%" "C:\Shamsi.dbf" >nul
"%DIR%\shamsi-dates.exe" > "%TEMP%\run.txt"
if errorlevel 1 (type "%TEMP%\run.txt" & echo FAIL: the installed shamsi-dates failed & exit /b 1)
findstr /c:"C:\Shamsi.dbf: 8 records" "%TEMP%\run.txt" >nul
if errorlevel 1 (type "%TEMP%\run.txt" & echo FAIL: the table was not filled & exit /b 1)
echo ok: the installed shamsi-dates filled C:\Shamsi.dbf

rem The installed qrx2.exe starts and keeps running (it waits on its splash
rem window); one that cannot start (a DLL missing) has ended by then.
if exist "%DIR%\qrx2.exe" (
    start "" "%DIR%\qrx2.exe"
    ping -n 4 127.0.0.1 >nul
    taskkill /f /im qrx2.exe >nul
    if errorlevel 1 (echo FAIL: the installed qrx2.exe did not start or ended at once & exit /b 1)
    echo ok: the installed qrx2.exe started
    call "%DIR%\qrx2-exact.bat"
    ping -n 4 127.0.0.1 >nul
    taskkill /f /im qrx2.exe >nul
    if errorlevel 1 (echo FAIL: qrx2-exact.bat did not start qrx2.exe & exit /b 1)
    echo ok: qrx2-exact.bat started qrx2.exe
)

rem The uninstaller copies itself away and returns at once: wait for it.
"%DIR%\uninstall.exe" /S
for /l %%i in (1,1,60) do (
    if not exist "%DIR%" goto removed
    ping -n 2 127.0.0.1 >nul
)
echo FAIL: %DIR% is still there after uninstalling & exit /b 1
:removed
if exist "%LINK%" (echo FAIL: the Start-menu shortcut is still there & exit /b 1)
if exist "%EXACT_LINK%" (echo FAIL: the exact calendar's shortcut is still there & exit /b 1)
if exist "%MENU%" (echo FAIL: the Start-menu folder is still there & exit /b 1)
echo ok: uninstalled

rem Installed below a folder the installer makes, that folder goes too when
rem the uninstaller leaves it empty; one that was there before stays.
call :nested "C:\HalvaneMade\Deeper\Shamsi" "C:\HalvaneMade" absent
if errorlevel 1 exit /b 1
mkdir "C:\HalvaneKept"
call :nested "C:\HalvaneKept\Shamsi" "C:\HalvaneKept" present
if errorlevel 1 exit /b 1
exit /b 0

rem :nested FOLDER OUTER absent|present: installs to FOLDER, uninstalls, and
rem checks that OUTER is gone (absent) or still there (present).
:nested
start /wait "" "%SETUP%" /S /D=%~1
if not exist "%~1\uninstall.exe" (echo FAIL: not installed in %~1 & exit /b 1)
"%~1\uninstall.exe" /S
for /l %%i in (1,1,60) do (
    if not exist "%~1" goto nested_removed
    ping -n 2 127.0.0.1 >nul
)
echo FAIL: %~1 is still there after uninstalling & exit /b 1
:nested_removed
rem The uninstaller removes the folders above after the folder itself.
ping -n 3 127.0.0.1 >nul
if "%~3"=="absent" if exist "%~2" (echo FAIL: %~2, made by the installer, is still there & exit /b 1)
if "%~3"=="present" if not exist "%~2" (echo FAIL: %~2, there before, was removed & exit /b 1)
echo ok: installed in %~1 and uninstalled, %~2 %~3
exit /b 0
