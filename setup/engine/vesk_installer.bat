@echo off

set targetDir1=%~1
set targetDir2=%~2

set sourceDir=%~dp0

set targetDir=%targetDir1% %targetDir2%

echo Copying files from "%sourceDir%" to "%targetDir%"

xcopy "%sourceDir%\*.exe" "%targetDir%\" /s /e /y
xcopy "%sourceDir%\*.dll" "%targetDir%\" /s /e /y
xcopy "%sourceDir%\*.pem" "%targetDir%\" /s /e /y

echo Executing mini_installer.exe in "%targetDir%"

start "" "%targetDir%\mini_installer.exe"

if %errorlevel% neq 0 (
    echo mini_installer.exe failed, error code: %errorlevel%
    set exitCode=%errorlevel%
) else (
    echo mini_installer.exe success
    set exitCode=0
)
exit %exitCode%