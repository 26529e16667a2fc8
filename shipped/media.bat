@echo off
rem The switch report: TelCfgRpt.vbs, copied beside this file, writes
rem SwitchReport.html and switchlog.txt into the current folder (Write To
rem File starts this batch file from the output folder).
cscript //nologo //B "%~dp0TelCfgRpt.vbs"
