@echo off
rem Installs Halvane Shamsi Dates silently, uses the installed programs, and
rem uninstalls it silently, checking each step. Run under Wine by CTest:
rem   check-installer.bat SETUP.EXE TABLE.DBF CHECK-SHORTCUT.EXE
setlocal
set SETUP=%~1
set TABLE=%~2
set CHECK=%~3
set DIR=%ProgramFiles%\Halvane Shamsi Dates
set MENU=%ProgramData%\Microsoft\Windows\Start Menu\Programs\Halvane Shamsi Dates
set LINK=%MENU%\Halvane Shamsi Dates.lnk
set EXACT_LINK=%MENU%\Halvane Shamsi Dates (exact calendar).lnk

start /wait "" "%SETUP%" /S
if errorlevel 1 (echo FAIL: the installer failed & exit /b 1)
for %%f in (shamsi-dates.exe DATES.TXT wait.BMP success.BMP 1.BMP 15.BMP uninstall.exe) do (
    if not exist "%DIR%\%%f" (echo FAIL: %%f is not installed in %DIR% & exit /b 1)
)
echo ok: installed in %DIR%
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
exit /b 0
