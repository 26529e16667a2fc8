@echo off
rem Fernwick: the Windows system information, for the uptime line of the report.
systeminfo > c:\si.txt
