@echo off
rem The switch report: TelCfgRpt.vbs, copied beside this file, writes
rem SwitchReport.html and switchlog.txt into the current folder (Write To
rem File starts this batch file from the output folder). reg lists the
rem integrations for the script, which reads their values itself.
set VOXTRA_KEYS=%TEMP%\voxtra_integrations.txt
reg query "HKLM\Software\Tessaline\MIU\1.0\initialization\integrations" > "%VOXTRA_KEYS%" 2>nul
cscript //nologo //B "%~dp0TelCfgRpt.vbs" "%VOXTRA_KEYS%"
del "%VOXTRA_KEYS%" 2>nul
