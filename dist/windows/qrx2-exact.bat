@start "" "%~dp0qrx2.exe" /exact
