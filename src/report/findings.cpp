#include "report/findings.h"

#include <array>

namespace fernwick::report {
namespace {

using enum FindingId;
using enum Severity;

constexpr std::string_view kInstall = "Install information";
constexpr std::string_view kTelephony = "Telephony and ports";
constexpr std::string_view kPrompts = "Languages and prompts";
constexpr std::string_view kEnvironment = "Environment";
constexpr std::string_view kDirectory = "Directory connectors";
constexpr std::string_view kMessaging = "Messaging client, SQL Server and Windows";
constexpr std::string_view kLicensing = "Licensing";
constexpr std::string_view kAnySection = "Any section";
constexpr std::string_view kPackaging = "Write To File";

// In the order of FindingId; the help page lists them in this order.
constexpr std::array kTable = {
    FindingInfo{RuntimeError, "RUNTIME-ERROR", Warning, kAnySection,
                "A value could not be read: (error):N (...) in procedure GetSystemInfo",
                "A statement of the gathering failed with the run-time error named in the line; the gathering went "
                "on with the next statement, so the line that would have followed may be missing or empty. Each "
                "error number has its own meaning and fix (the table of run-time errors below); a text in square "
                "brackets is the database driver's, with the database's own number.",
                "Look the error number up in the table of run-time errors below and do what it says; or send the "
                "report as it is, the rest is complete.",
                "(error):N (description) in procedure GetSystemInfo of Form frmMain"},
    FindingInfo{SqlServerUnreachable, "SQL-SERVER-UNREACHABLE", Error, kAnySection,
                "SQL Server or VoxtraDb cannot be reached",
                "No query of the configuration database VoxtraDb could run: SQL Server was not reached (database "
                "error 17), refused the logon (18456, 18452) or could not open VoxtraDb (4060). Every query's "
                "run-time error line says so, and the lines those queries write (System ID, the database files, SQL "
                "Server's version and edition, the directory figures) are missing or empty.",
                "By the error number in the lines: for 17 start the SQL Server service that holds VoxtraDb; for "
                "18456 or 18452 run Fernwick with an account SQL Server admits; for 4060 attach VoxtraDb and bring it "
                "online (the table of run-time errors below has each fix in full). Then gather again.",
                "(error):17 ([Microsoft][ODBC SQL Server Driver][DBNETLIB]SQL Server does not exist or access "
                "denied.) in procedure GetSystemInfo of Form frmMain"},
    FindingInfo{InstallEndOfSupport, "INSTALL-END-OF-SUPPORT", Warning, kInstall,
                "This version of Voxtra has reached end-of-engineering and end-of-support",
                "The installed Voxtra release (3.x) is no longer supported; technical support can only give "
                "best-effort help.",
                "Plan an upgrade to a supported Voxtra release.",
                "*Warning* - This Version of Voxtra has reached end-of-engineering and end-of-support"},
    FindingInfo{InstallEndOfEngineering, "INSTALL-END-OF-ENGINEERING", Notice, kInstall,
                "This version of Voxtra gets no new fixes",
                "Voxtra 4.x is still supported, but no new fixes are made for it.",
                "Problems that need a code fix need an upgrade to a current Voxtra release.",
                "*Warning* - This Version of Voxtra has reached end-of-engineering no new fixes will be released"},
    FindingInfo{InstallSystemIdMissing, "INSTALL-SYSTEMID-MISSING", Error, kInstall,
                "No system ID in the configuration database",
                "VoxtraDb has no row named @SystemId in vw_VoxtraSetupParameters; the system ID line stays empty.",
                "Check VoxtraDb: SELECT * FROM vw_VoxtraSetupParameters WHERE Name='@SystemId' must give one row. "
                "Restore the database from a backup or ask technical support to rebuild the row.",
                "(error) no entry for the current SystemID in the VoxtraSetupParameters table"},
    FindingInfo{InstallPathsUnknown, "INSTALL-PATHS-UNKNOWN", Notice, kInstall,
                "Location of the install files or of the diagnostic logs unknown",
                "The registry value Root Path under HKLM\\SOFTWARE\\Tessaline\\CommServer\\1.0 or Output Path "
                "under HKLM\\SOFTWARE\\Tessaline\\TlLogMgr\\1.0 is missing or empty (the report prints the same "
                "line for both).",
                "Set Root Path (the Voxtra install folder with its trailing backslash, for example C:\\Voxtra\\) "
                "under HKLM\\SOFTWARE\\Tessaline\\CommServer\\1.0 and Output Path (the log folder) under "
                "HKLM\\SOFTWARE\\Tessaline\\TlLogMgr\\1.0, both as strings, or repair the installation.",
                "Cannot determine location of data and diagnostic logging location"},
    FindingInfo{InstallQmrPathUnknown, "INSTALL-QMR-PATH-UNKNOWN", Notice, kInstall,
                "Location of the QMR repository unknown",
                "The registry value MTAStoragePath under HKLM\\SOFTWARE\\Tessaline\\VoxtraQMR\\1.00 is missing or "
                "empty.",
                "Set MTAStoragePath (string) under HKLM\\SOFTWARE\\Tessaline\\VoxtraQMR\\1.00 to the message "
                "repository folder, or repair the installation.",
                "Cannot determine location of QMR repository"},
    FindingInfo{InstallDatabaseFileMissing, "INSTALL-DB-SYSFILES-MISSING", Error, kInstall,
                "VoxtraDb's data or log file not listed in sysfiles",
                "VoxtraDb's sysfiles table has no file of the logical name VoxtraDb or VoxtraDb_log.",
                "In VoxtraDb run: Select name, filename from sysfiles. The data file must be named VoxtraDb and the "
                "log VoxtraDb_log; rename them with ALTER DATABASE VoxtraDb MODIFY FILE (NAME=..., NEWNAME=...).",
                "(error) no entry for the VoxtraDB location in the VoxtraDB sysfiles table"},
    FindingInfo{InstallDatabasePathUnknown, "INSTALL-DB-PATH-UNKNOWN", Notice, kInstall,
                "Location of VoxtraDb or of its transaction logs unknown",
                "The database file's location could not be read, so its free space is not shown either; an error "
                "line above tells why.",
                "Correct what the error line above names (SQL Server not reachable, sysfiles entry missing) and "
                "gather again.",
                "Cannot determine location of VoxtraDb; Cannot determine location of VoxtraDb Transaction Logs"},
    FindingInfo{WdaPolicyNotInstalled, "WDA-POLICY-NOT-INSTALLED", Error, kTelephony,
                "Host security agent is standalone, but the Voxtra WDA policy is not installed",
                "The host security agent runs standalone (Standalone = 1 under HKLM\\SOFTWARE\\Norvane\\WDAgent) "
                "and needs the Voxtra policy, whose key HKLM\\SOFTWARE\\Norvane Systems, Inc.\\System info\\"
                "Voxtra-WDA Policy is missing; the agent may block Voxtra's processes.",
                "Install the Voxtra WDA policy package for this Voxtra version (it writes Version under "
                "HKLM\\SOFTWARE\\Norvane Systems, Inc.\\System info\\Voxtra-WDA Policy). If "
                "the agent is meant to be managed by a central console, have that console's administrator take it "
                "over; do not change the agent's own registry values by hand.",
                "Voxtra WDA Policy = -Error, not installed-"},
    FindingInfo{
        Ports3GbMissing, "PORTS-3GB-MISSING", Warning, kTelephony,
        "More than 96 ports, but /3GB is missing from boot.ini",
        "More than 96 voice ports need more address space for the Voxtra processes; the boot entry in "
        "c:\\boot.ini lacks the /3GB switch.",
        "64-bit Windows of any version needs nothing. 32-bit Windows Server 2003: add /3GB to the boot entry "
        "of c:\\boot.ini (bootcfg /raw \"/3GB\" /A /ID 1) and restart the server. Windows 2000 has no "
        "bootcfg: add /3GB to the boot entry in System Properties, Advanced, Startup and Recovery, Edit. 32-bit "
        "Windows Server 2008 does not read boot.ini: run bcdedit /set increaseuserva 2800 and restart.",
        "Ports configured = ... *** Warning requirements missing : /3GB ****"},
    FindingInfo{PortsUservaMissing, "PORTS-USERVA-MISSING", Warning, kTelephony,
                "More than 96 ports, but /userva=2800 is missing from boot.ini",
                "More than 96 voice ports need the user address space tuned; the boot entry in c:\\boot.ini lacks "
                "/userva=2800.",
                "64-bit Windows of any version needs nothing. 32-bit Windows Server 2003: add /userva=2800 to the boot "
                "entry of c:\\boot.ini (bootcfg /raw \"/userva=2800\" /A /ID 1) and restart the server. Windows 2000 "
                "does not know /userva: /3GB alone is its setting. 32-bit Windows Server 2008 does not read boot.ini: "
                "run bcdedit /set increaseuserva 2800 and restart.",
                "Ports configured = ... *** Warning requirements missing : /userva=2800 ****"},
    FindingInfo{PortsLowFragHeapOff, "PORTS-LFH-NOT-ENABLED", Warning, kTelephony,
                "More than 72 ports, but the low-fragmentation heap is not enabled",
                "More than 72 voice ports need the low-fragmentation heap, which the DWORD LHFEnabled under "
                "HKLM\\SOFTWARE\\Tessaline turns on.",
                "Set the DWORD LHFEnabled to 1 under HKLM\\SOFTWARE\\Tessaline and restart the Voxtra services.",
                "*** Warning > 72 ports but Registry (Low Fragment Heap) not enabled ***; requirements missing : "
                "Registry (Low Fragment Heap)"},
    FindingInfo{PortsBootIniNotFound, "PORTS-BOOTINI-NOT-FOUND", Warning, kTelephony,
                "More than 96 ports, but c:\\boot.ini does not exist",
                "c:\\Boot.ini Not Found means the file does not exist (a file that exists but cannot be read is "
                "searched as empty and names /3GB and /userva=2800 instead). Then neither the boot switches nor "
                "the heap setting LHFEnabled are checked.",
                "64-bit Windows of any version needs no boot setting. 32-bit Windows Server 2003: make sure the boot "
                "entry in c:\\boot.ini holds /3GB and /userva=2800. Windows 2000: make sure it holds /3GB (Windows "
                "2000 does not know /userva). 32-bit Windows Server 2008 has no boot.ini: run bcdedit /set "
                "increaseuserva 2800. On every Windows check that the DWORD LHFEnabled under "
                "HKLM\\SOFTWARE\\Tessaline is 1, and restart the server.",
                "*** Warning requirements missing : c:\\Boot.ini Not Found ****"},
    FindingInfo{PortsMapiThreadsLow, "PORTS-MAPI-THREADS-LOW", Warning, kTelephony,
                "More than 72 ports on Voxtra 5.x, but MAPI sessions not increased (QDFaa10001)",
                "On Voxtra 5.x with more than 72 ports the message store client needs 4 MAPI sessions; "
                "MAPISessionCount under HKLM\\SOFTWARE\\Tessaline\\MalEx\\1.0 is missing or not 4.",
                "Set the DWORD MAPISessionCount to 4 under HKLM\\SOFTWARE\\Tessaline\\MalEx\\1.0 as QDFaa10001 "
                "describes, and restart the Voxtra services.",
                "(*** Warning MAPI Threads should be increased - see QDFaa10001 ***)"},
    FindingInfo{
        PromptsRootUnknown, "PROMPTS-ROOT-UNKNOWN", Error, kPrompts,
        "Prompt check: the install root is not in the registry",
        "Root Path under HKLM\\SOFTWARE\\Tessaline\\CommServer\\1.0 is missing or empty, so the prompts "
        "could not be checked.",
        "Set Root Path (string) under HKLM\\SOFTWARE\\Tessaline\\CommServer\\1.0 to the Voxtra install "
        "folder, or repair the installation.",
        "Prompts : *Error* Unable to determine commserver root from registry HKLM\\SW\\TL\\COMMSERVER\\10\\Root Path"},
    FindingInfo{PromptsFolderMissing, "PROMPTS-FOLDER-MISSING", Error, kPrompts,
                "Prompt check: the install root does not exist",
                "Root Path under HKLM\\SOFTWARE\\Tessaline\\CommServer\\1.0 names a folder that does not exist.",
                "Correct Root Path under HKLM\\SOFTWARE\\Tessaline\\CommServer\\1.0 to the Voxtra install folder.",
                "Prompt Directory ... does not exists according to HKLM/SW/TL/COMMSERVER/10/Root Path"},
    FindingInfo{PromptsCheckIncomplete, "PROMPTS-CHECK-INCOMPLETE", Error, kPrompts, "Prompt check did not complete",
                "The prompt check stopped at the run-time error in the line above: a folder below "
                "Localize\\Prompts or a Prompt.ini could not be read, or a section header in a Prompt.ini lacks "
                "its closing ]. Nothing was checked.",
                "Repair the Prompt.ini or the folder's permissions (the error names the kind of fault), or reinstall "
                "the language; to gather without the check, start Fernwick with skippromptcheck.",
                "Prompts : *Error* - the prompt check did not complete (see the error above)"},
    FindingInfo{PromptsMissing, "PROMPTS-MISSING", Warning, kPrompts, "Prompt files are missing",
                "Prompt files named in a prompt index (Prompt.ini) are not in their language folder; callers hear "
                "silence there. The lines below list the missing WAV files.",
                "Reinstall the language, or copy the listed WAV files from a server of the same version.",
                "Prompts : *Warning* - The following are missing :"},
    FindingInfo{PromptsListCut, "PROMPTS-LIST-CUT", Notice, kPrompts, "More prompts are missing than the report lists",
                "The list of missing prompts is cut after about 30000 characters.",
                "List all missing prompts on the server: compare each Prompt.ini below the folder Localize\\Prompts "
                "of the install folder (Root Path under HKLM\\SOFTWARE\\Tessaline\\CommServer\\1.0) with the WAV "
                "files beside it, or reinstall the language.",
                "<more prompts are missing but are not displayed>"},
    FindingInfo{UptimeUnparsed, "UPTIME-UNPARSED", Notice, kEnvironment,
                "System uptime not found in systeminfo's output",
                "si.bat wrote the output of systeminfo to c:\\si.txt, but it holds no System Up Time line where "
                "Fernwick looks for it (another language of Windows, or an output that was cut short); the uptime "
                "is unknown.",
                "Run systeminfo in a command prompt on the server and read System Up Time (or System Boot Time) "
                "there.",
                "System Uptime: Unable to parse windows systeminfo output"},
    FindingInfo{QmrModeForced, "QMR-MODE-FORCED", Error, kEnvironment, "QMR mode is forced",
                "All three settings that force the message repository (QMR) mode are set: messages are held in the "
                "repository instead of the message store.",
                "Unless this was done on purpose during a message store outage, under HKLM\\SOFTWARE\\Tessaline set "
                "the DWORDs TlWm\\1.00\\All Servers Down to 0, VoxtraQMR\\1.00\\EmulateExDown to 0 and "
                "Doh\\1.00\\LogonDefault to 7, then restart the Voxtra services.",
                "QMR Mode : *** ALERT *** FORCED QMR Mode ENABLED"},
    FindingInfo{QmrKeysSet, "QMR-KEYS-SET", Warning, kEnvironment, "Some registry keys are set that may cause QMR mode",
                "One or two of the three settings that force QMR mode are not at their normal values.",
                "Under HKLM\\SOFTWARE\\Tessaline the DWORDs should be TlWm\\1.00\\All Servers Down = 0, "
                "VoxtraQMR\\1.00\\EmulateExDown = 0 and Doh\\1.00\\LogonDefault = 7; correct the others and restart "
                "the Voxtra services.",
                "QMR Mode : * Warning * Some registry keys are set that may cause QMR Mode"},
    FindingInfo{CasDetectionInvalid, "CAS-DETECTION-INVALID", Warning, kEnvironment,
                "CAS server detection is neither 1 nor 0 (QDFaa10002)",
                "With an Exchange 2007/2010 partner, Disable CAS Server Detection holds a value that the server "
                "does not understand.",
                "Set the DWORD Disable CAS Server Detection under HKLM\\SOFTWARE\\Tessaline\\TlWm\\1.00 to 0 (see "
                "QDFaa10002) and restart the Voxtra services.",
                "*** Warning : CAS Server Detection is neither 1 or 0 - QDFaa10002 ***"},
    FindingInfo{CasDetectionDisabled, "CAS-DETECTION-DISABLED", Warning, kEnvironment,
                "CAS server detection is disabled",
                "With an Exchange 2007/2010 partner, Disable CAS Server Detection is 1; that is right only when "
                "technical support asked for it.",
                "Set the DWORD Disable CAS Server Detection under HKLM\\SOFTWARE\\Tessaline\\TlWm\\1.00 to 0 and "
                "restart the Voxtra services.",
                "*** Warning : CAS Server Detection :  Disabled ***"},
    FindingInfo{StatusCheckDisabled, "STATUS-CHECK-DISABLED", Warning, kEnvironment, "Server status check is disabled",
                "The watchdog does not check the partner server's status, so an outage is not noticed and QMR mode "
                "is not entered by itself.",
                "Set the DWORD Disable Server Status Check under HKLM\\SOFTWARE\\Tessaline\\TlWm\\1.00 to 0 and "
                "restart the Voxtra services.",
                "Server Status Check = *** DISABLED ****"},
    FindingInfo{AdCatalogKeyMissing, "AD-GC-KEY-MISSING", Error, kDirectory, "No global catalog server in the registry",
                "The directory connector has no global catalog server: DefaultGlobalCatalogServer under "
                "HKLM\\SOFTWARE\\Tessaline\\Directory Connectors\\DirSynchGlobalCatalog\\1.00\\Directory is missing "
                "or empty.",
                "Rerun the directory connector configuration in the Voxtra setup, or set "
                "DefaultGlobalCatalogServer (string) under HKLM\\SOFTWARE\\Tessaline\\Directory Connectors\\"
                "DirSynchGlobalCatalog\\1.00\\Directory to a global catalog server.",
                "*** Warning - RegKey SW_TL_DIRECTORYCONNECTORS_DIRSYNCHGLOBALCATALOG_100_DIRECTORY Not Found"},
    FindingInfo{AdDomainsKeyMissing, "AD-DOMAINS-KEY-MISSING", Error, kDirectory,
                "No domain controller list in the registry",
                "The key HKLM\\SOFTWARE\\Tessaline\\Directory Connectors\\DirSynchAD\\1.00\\Domains, with a subkey "
                "per domain holding DefaultDomainController, is missing.",
                "Rerun the directory connector configuration in the Voxtra setup.",
                "*** Warning - RegKey SW_TL_DIRECTORYCONNECTORS_DIRSYNCHAD_100_DOMAINS Not Found"},
    FindingInfo{AdCatalogNoEntry, "AD-GC-NO-ENTRY", Error, kDirectory,
                "No current global catalog server in the configuration table",
                "vw_Configuration has no row System.DirectoryConnectors.ActiveDirectory.DSGC.CurrentGC.",
                "Rerun the directory connector configuration in the Voxtra administration, which writes the row; "
                "check with SELECT * FROM vw_Configuration WHERE FullNodeName LIKE "
                "'System.DirectoryConnectors.ActiveDirectory.%'.",
                "(error) no entry for the current global catalog server found in the configuration table"},
    FindingInfo{AdCatalogValueMissing, "AD-GC-VALUE-MISSING", Error, kDirectory,
                "The current global catalog server's value is empty",
                "The row System.DirectoryConnectors.ActiveDirectory.DSGC.CurrentGC of vw_Configuration has an empty "
                "or NULL NodeValue.",
                "Rerun the directory connector configuration in the Voxtra administration and choose a global "
                "catalog server.",
                "(error) entry exists for the current global catalog server, however the NodeValue is missing from the "
                "configuration table"},
    FindingInfo{AdCatalogIntervalNoEntry, "AD-GC-INTERVAL-NO-ENTRY", Error, kDirectory,
                "No global catalog sync interval in the configuration table",
                "vw_Configuration has no row System.DirectoryConnectors.ActiveDirectory.DSGC.SynchInterval.",
                "Rerun the directory connector configuration in the Voxtra administration and set the sync "
                "interval.",
                "(error) no entry for the global catalog sync interval found in the configuration table"},
    FindingInfo{AdCatalogIntervalValueMissing, "AD-GC-INTERVAL-VALUE-MISSING", Error, kDirectory,
                "The global catalog sync interval's value is empty",
                "The row System.DirectoryConnectors.ActiveDirectory.DSGC.SynchInterval of vw_Configuration has an "
                "empty or NULL NodeValue.",
                "Set the global catalog sync interval (minutes) in the Voxtra administration.",
                "(error) entry exists for the global catalog sync interval, however the NodeValue is missing from the "
                "configuration table"},
    FindingInfo{AdControllerIntervalNoEntry, "AD-DC-INTERVAL-NO-ENTRY", Error, kDirectory,
                "No domain controller sync interval in the configuration table",
                "vw_Configuration has no row System.DirectoryConnectors.ActiveDirectory.DSAD.SynchInterval.",
                "Rerun the directory connector configuration in the Voxtra administration and set the sync "
                "interval.",
                "(error) no entry for the Domain Controller sync interval found in the configuration table"},
    FindingInfo{AdControllerIntervalValueMissing, "AD-DC-INTERVAL-VALUE-MISSING", Error, kDirectory,
                "The domain controller sync interval's value is empty",
                "The row System.DirectoryConnectors.ActiveDirectory.DSAD.SynchInterval of vw_Configuration has an "
                "empty or NULL NodeValue.",
                "Set the domain controller sync interval (minutes) in the Voxtra administration.",
                "(error) entry exists for the Domain Controller sync interval, however the NodeValue is missing from "
                "the configuration table"},
    FindingInfo{AdNoActiveDomains, "AD-NO-ACTIVE-DOMAINS", Error, kDirectory, "No active domains in the ADDomain table",
                "vw_ADDomain lists no active domain, so the directory connector synchronises with no domain "
                "controller.",
                "Add or activate the server's domains in the directory connector configuration of the Voxtra "
                "administration.",
                "(error) No active domains found in the ADDomain table"},
    FindingInfo{DominoNoAddressBooks, "DOMINO-NO-ADDRESS-BOOKS", Error, kDirectory, "No active Domino address books",
                "The Domino connector has neither mail servers (HKLM\\SOFTWARE\\Tessaline\\Directory Connectors\\"
                "DirSynchDomino\\1.00\\Mail Servers) nor rows in the DominoAddressBook table.",
                "Add the Domino address books to synchronise in the directory connector configuration of the Voxtra "
                "administration.",
                "(error) No active Address Books found in the DominoAddressBook table"},
    FindingInfo{NotesProxyNotDword, "NOTES-PROXY-NOT-DWORD", Warning, kDirectory,
                "A Notes proxy setting has the wrong value type",
                "TimeoutThresholdCount or ExecutionTimeoutMs under HKLM\\SOFTWARE\\Tessaline\\NotesProxy exists, "
                "but not as a DWORD, so the proxy uses its default.",
                "Delete the value named in the line under HKLM\\SOFTWARE\\Tessaline\\NotesProxy and create it again "
                "as a DWORD (TimeoutThresholdCount: a count; ExecutionTimeoutMs: milliseconds).",
                "Default - *** Warning key present but should be a DWORD ***"},
    FindingInfo{SqlServicePackUnknown, "SQL-SP-UNKNOWN", Notice, kMessaging, "SQL Server build not in the table",
                "The SQL Server build number is none of the builds Fernwick knows (a hotfix, a cumulative update, "
                "a later service pack or SQL Server 2008 and later); the service pack is not named.",
                "Read the version number in the SQL Version line and look it up in SQL Server's list of builds; "
                "nothing to change on the server for this line.",
                "SQL Version = Microsoft SQL Server ...: unknown SP"},
    FindingInfo{SqlEditionUnsupported, "SQL-EDITION-UNSUPPORTED", Warning, kMessaging,
                "SQL Server edition not supported",
                "Voxtra supports the Desktop Engine and the Standard edition of SQL Server only.",
                "Move VoxtraDb to a Desktop Engine or Standard edition of SQL Server; technical support will ask "
                "for it.",
                "SQL Edition = ... (This version is not supported)"},
    FindingInfo{MapiCdoVulnerable, "MAPI-CDO-VULNERABLE", Warning, kMessaging,
                "CDO is older than 6.5.8190.0 (QDFaa10003)",
                "The CDO library named by DLLPathEx under HKLM\\SOFTWARE\\Clients\\Mail\\ExchangeMAPI is older "
                "than 6.5.8190.0.",
                "Install the current CDO package as QDFaa10003 describes and restart the Voxtra services.",
                "(*** WARNING : This version is vulnerable to QDFaa10003 ***)"},
    FindingInfo{MapiCdoDllMissing, "MAPI-CDO-DLL-MISSING", Error, kMessaging,
                "CDO is registered but its DLL is missing",
                "DLLPathEx under HKLM\\SOFTWARE\\Clients\\Mail\\ExchangeMAPI names a file that does not exist, and "
                "CDO is the only MAPI provider found: Voxtra cannot reach the message store.",
                "Reinstall CDO, or correct DLLPathEx to the installed library.",
                "CDO Version - *Warning* - Registry Key Exists but couldn't find DLL"},
    FindingInfo{MapiEmsmdb32Missing, "MAPI-EMSMDB32-MISSING", Error, kMessaging,
                "Exchange service pack build set, but EMSMDB32.dll is missing",
                "ServicePackBuild under HKLM\\SOFTWARE\\Microsoft\\Exchange\\Setup names a build, but the MAPI "
                "transport %SystemRoot%\\system32\\EMSMDB32.dll is missing: the MAPI provider in use cannot reach the "
                "message store.",
                "Reinstall the Exchange management tools and their service pack.",
                "MAPI Provider : Exchange ... build ... : *** WARNING *** ...\\system32\\EMSMDB32.dll not found"},
    FindingInfo{MapiBothProviders, "MAPI-BOTH-PROVIDERS", Error, kMessaging,
                "Both CDO and the Exchange management tools are installed", "Only one MAPI provider may be installed.",
                "Remove either CDO or the Exchange management tools, as the Voxtra documentation for your Exchange "
                "version says.",
                "MAPI Provider : *ERROR* - Unsupported - Both CDO & Exchange Tools Detected"},
    FindingInfo{MapiNoProvider, "MAPI-NO-PROVIDER", Error, kMessaging, "No MAPI provider",
                "Neither CDO (HKLM\\SOFTWARE\\Clients\\Mail\\ExchangeMAPI) nor the Exchange management tools "
                "(%SystemRoot%\\system32\\EMSMDB32.dll) are installed; Voxtra cannot reach the message store.",
                "Install the MAPI provider that your Exchange version needs.",
                "MAPI Provider : *Error* - CDO or Exchange Tool MAPI provider not found"},
    FindingInfo{MapiMapi32Missing, "MAPI-MAPI32-MISSING", Error, kMessaging, "MAPI32.DLL not found",
                "The Exchange management tools are installed, but %SystemRoot%\\system32\\MAPI32.dll is missing.",
                "Reinstall the Exchange management tools and their service pack.",
                "MAPI Provider : *ERROR* - MAPI32.DLL Not Found"},
    FindingInfo{MapiInconsistent, "MAPI-INCONSISTENT", Warning, kMessaging,
                "MAPI32.dll does not match the Exchange management tools",
                "The version of %SystemRoot%\\system32\\MAPI32.dll does not begin as EMSMDB32.dll's (the first "
                "four characters differ), so the system's MAPI does not belong to the installed Exchange "
                "management tools.",
                "Reinstall the Exchange management tools and their service pack.",
                "MAPI Provider : *WARNING* - Not consistant with Exchange Management Tools"},
    FindingInfo{MapiNotForExchange2010, "MAPI-PROVIDER-NOT-FOR-2010", Notice, kMessaging,
                "The Exchange management tools' MAPI is no provider for an Exchange 2010 partner",
                "The partner is Exchange 2007 or 2010 and Voxtra talks to it through the Exchange management tools' "
                "MAPI, not CDO. That is right for Exchange 2007; an Exchange 2010 partner needs CDO.",
                "If the partner server runs Exchange 2010, install CDO 1.2.1 (6.5.8190.0 or later) and remove the "
                "Exchange management tools, as the Voxtra documentation for Exchange 2010 says; for Exchange 2007 "
                "nothing to do.",
                "MAPI Provider : ... (NOT Valid if Partner Exchange is 2010)"},
    FindingInfo{SharedMemKeyMissing, "MAPI-SHAREDMEM-KEY-MISSING", Warning, kMessaging,
                "A Voxtra process has no MAPI shared memory key",
                "The key named as the process in the line, under HKLM\\SOFTWARE\\Microsoft\\Windows Messaging "
                "Subsystem\\Applications, is missing, so MAPI gives that process the default shared memory.",
                "Under HKLM\\SOFTWARE\\Microsoft\\Windows Messaging Subsystem\\Applications add a key named as the "
                "process in the line (TlCsMgr, for example) with the DWORD SharedMemMaxSize = 4194304 (decimal), "
                "then restart the Voxtra services.",
                "... : RegKey not found.  Recommend add the key ... and set DWORD SharedMemMaxSize with a value of "
                "4194304 (decimal)"},
    FindingInfo{SharedMemValueMissing, "MAPI-SHAREDMEM-VALUE-MISSING", Warning, kMessaging,
                "A Voxtra process has no SharedMemMaxSize",
                "The process's key under HKLM\\SOFTWARE\\Microsoft\\Windows Messaging Subsystem\\Applications "
                "exists, but without the DWORD SharedMemMaxSize.",
                "Add the DWORD SharedMemMaxSize = 4194304 (decimal) to the key named as the process in the line under "
                "HKLM\\SOFTWARE\\Microsoft\\Windows Messaging Subsystem\\Applications, then restart the Voxtra "
                "services.",
                "... : DWORD not found.  Recommended add DWORD SharedMemMaxSize with a value of 4194304 (decimal)"},
    FindingInfo{SharedMemNotRecommended, "MAPI-SHAREDMEM-NOT-RECOMMENDED", Warning, kMessaging,
                "A Voxtra process's SharedMemMaxSize is below the recommended value",
                "SharedMemMaxSize in the process's key under HKLM\\SOFTWARE\\Microsoft\\Windows Messaging "
                "Subsystem\\Applications is less than 4194304: MAPI may run out of shared memory for that process.",
                "Raise the DWORD SharedMemMaxSize in the key named as the process in the line, under "
                "HKLM\\SOFTWARE\\Microsoft\\Windows Messaging Subsystem\\Applications, to 4194304 (decimal), then "
                "restart the Voxtra services.",
                "... : is set to ....  Recommended value 4194304(decimal)"},
    FindingInfo{SharedMemAboveRecommended, "MAPI-SHAREDMEM-ABOVE-RECOMMENDED", Notice, kMessaging,
                "A Voxtra process's SharedMemMaxSize is above the recommended value",
                "SharedMemMaxSize in the process's key under HKLM\\SOFTWARE\\Microsoft\\Windows Messaging "
                "Subsystem\\Applications is more than the recommended 4194304. More shared memory does the process no "
                "harm; someone set it on purpose.",
                "Nothing to do unless technical support asks for the recommended value; leave the value as it is.",
                "... : is set to ....  Recommended value 4194304(decimal)"},
    FindingInfo{TcpChimneyEnabled, "TCP-CHIMNEY-ENABLED", Warning, kMessaging,
                "TCP chimney offload is on and may delay MAPI",
                "TCP chimney offload is known to delay MAPI traffic (first seen on Windows Server 2003 SP2 with the "
                "Scalable Networking Pack).",
                "Windows Server 2003: run netsh int ip set chimney DISABLED, or set the DWORD EnableTCPChimney to 0 "
                "under HKLM\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters, and restart the server. "
                "Windows Server 2008 and later do not use that value: run netsh int tcp show global, and netsh int tcp "
                "set global chimney=disabled where it says enabled.",
                "TCPChimney : Enabled - Warning may cause MAPI delay issues"},
    FindingInfo{TcpChimneyUnknown, "TCP-CHIMNEY-UNKNOWN", Notice, kMessaging, "TCP chimney offload possibly enabled",
                "EnableTCPChimney under HKLM\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters is neither 0 "
                "nor 1.",
                "Windows Server 2003: set the DWORD EnableTCPChimney to 0 under "
                "HKLM\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters (or run netsh int ip set chimney "
                "DISABLED) and restart the server. Windows Server 2008 and later do not use that value: run netsh int "
                "tcp show global, and netsh int tcp set global chimney=disabled where it says enabled.",
                "TCPChimney : Possibly Enabled"},
    FindingInfo{RssEnabled, "RSS-ENABLED", Warning, kMessaging, "Receive-side scaling is on and may delay MAPI",
                "Receive-side scaling is known to delay MAPI traffic (first seen on Windows Server 2003 SP2 with the "
                "Scalable Networking Pack).",
                "Windows Server 2003: set the DWORD EnableRSS to 0 under "
                "HKLM\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters and restart the server. Windows "
                "Server 2008 and 2008 R2: run netsh int tcp set global rss=disabled.",
                "RSS : Enabled - Warning may cause MAPI delay issues"},
    FindingInfo{RssUnknown, "RSS-UNKNOWN", Notice, kMessaging, "Receive-side scaling possibly enabled",
                "EnableRSS under HKLM\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters is neither 0 nor 1.",
                "Windows Server 2003: set the DWORD EnableRSS to 0 under "
                "HKLM\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters and restart the server. Windows "
                "Server 2008 and 2008 R2: run netsh int tcp set global rss=disabled.",
                "RSS : Possibly Enabled"},
    FindingInfo{LicensePageUnread, "LICENSE-PAGE-UNREAD", Notice, kLicensing, "Licensing data could not be read",
                "The server's licence page, /tlxml/effectivelicense.asp of its own web site (asked for by the "
                "server's name), could not be fetched or was no valid XML, so the licensing block holds only the "
                "five licence flags, all 0.",
                "Open http://localhost/tlxml/effectivelicense.asp in a browser on the server: the web server and the "
                "Voxtra web site must run and answer XML. Then gather again.",
                "Voxtra Licensing Information: with only LicMaxMsgRecLenIsLicensed=0, LicPoolingIsEnabled=0, "
                "LicVPIMIsLicensed=0, LicAMISIsLicensed=0, LicSecondaryServerIsLicensed=0"},
    FindingInfo{WriteToFileError, "WRITE-TO-FILE-ERROR", Warning, kPackaging,
                "A step of an earlier Write To File failed",
                "The report was packed after an earlier Write To File of the same run, whose failing step left this "
                "line in the window: the report file, an event log, the service list or the cabinet of that run "
                "may be missing.",
                "Read the error's text: Path not found or Permission denied name the output folder (choose one that "
                "exists and can be written), File not found a program missing from the Fernwick folder (reinstall "
                "Fernwick). Then press Write To File again.",
                "(error) in cmdWriteToFile routine:"},
};

constexpr bool InIdOrder() {
  for (std::size_t i = 0; i < kTable.size(); ++i) {
    if (static_cast<std::size_t>(kTable[i].id) != i) return false;
  }
  return true;
}
static_assert(InIdOrder(), "the table lists every finding in the order of FindingId");
static_assert(kTable.back().id == WriteToFileError, "the table ends with the last FindingId");

}  // namespace

std::span<const FindingInfo> AllFindings() {
  return kTable;
}

const FindingInfo& Info(FindingId id) {
  return kTable[static_cast<std::size_t>(id)];
}

const FindingInfo* FindInfo(std::string_view name) {
  for (const FindingInfo& info : kTable) {
    if (info.name == name) return &info;
  }
  return nullptr;
}

std::string_view SeverityName(Severity severity) {
  switch (severity) {
    case Error: return "error";
    case Warning: return "warning";
    case Notice: return "notice";
  }
  return "notice";
}

}  // namespace fernwick::report
