@echo off
rem Fernwick: the IP configuration of every adapter, for the end of the report.
ipconfig /all > c:\tempipoutput.txt
