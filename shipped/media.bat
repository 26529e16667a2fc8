@echo off
rem The switch report: TelCfgRpt.vbs, copied beside this file, writes
rem SwitchReport.html and switchlog.txt into the current folder. Write To
rem File copies this batch file into the output folder and starts it there;
rem pushd makes that folder current once more, because cmd refuses a network
rem folder (\\server\share\...) as the folder it starts in and falls back to
rem the Windows folder, while pushd maps it to a free drive letter, which
rem popd frees again. reg lists the integrations for the script, which reads
rem their values itself.
pushd "%~dp0"
if errorlevel 1 exit /b 1
set VOXTRA_KEYS=%TEMP%\voxtra_integrations.txt
reg query "HKLM\Software\Tessaline\MIU\1.0\initialization\integrations" > "%VOXTRA_KEYS%" 2>nul
cscript //nologo //B "%~dp0TelCfgRpt.vbs" "%VOXTRA_KEYS%"
del "%VOXTRA_KEYS%" 2>nul
popd
