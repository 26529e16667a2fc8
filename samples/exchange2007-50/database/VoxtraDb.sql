-- Configuration database of a sample Voxtra 5.0(1.3) server on Exchange 2007
-- (server VOXTRA50, domain corp.example.com), as a SQLite script.
--
-- Only the objects the report reads are here, with the columns it reads and
-- a few neighbours. Text columns compare without regard to case, as under
-- SQL Server's default collation. sysfiles keeps SQL Server's fixed-width
-- file names, padded with blanks.

CREATE TABLE Configuration (
  ConfigurationObjectId INTEGER PRIMARY KEY,
  FullNodeName TEXT COLLATE NOCASE NOT NULL,
  NodeName TEXT COLLATE NOCASE NOT NULL,
  NodeValue TEXT COLLATE NOCASE,
  DataType INTEGER NOT NULL DEFAULT 0
);

CREATE VIEW vw_Configuration AS
  SELECT ConfigurationObjectId, FullNodeName, NodeName, NodeValue, DataType FROM Configuration;

CREATE TABLE VoxtraSetupParameters (
  Name TEXT COLLATE NOCASE PRIMARY KEY,
  Value TEXT COLLATE NOCASE
);

CREATE VIEW vw_VoxtraSetupParameters AS SELECT Name, Value FROM VoxtraSetupParameters;

CREATE TABLE ADDomain (
  ADDomainObjectId INTEGER PRIMARY KEY,
  DomainName TEXT COLLATE NOCASE NOT NULL,
  CurrentDC TEXT COLLATE NOCASE,
  Active INTEGER NOT NULL DEFAULT 1
);

CREATE VIEW vw_ADDomain AS SELECT DomainName, CurrentDC FROM ADDomain WHERE Active = 1;

CREATE TABLE DominoAddressBook (
  DominoAddressBookObjectId INTEGER PRIMARY KEY,
  DisplayName TEXT COLLATE NOCASE,
  AddressBook TEXT COLLATE NOCASE,
  Server TEXT COLLATE NOCASE,
  Domain TEXT COLLATE NOCASE
);

CREATE TABLE Subscriber (
  SubscriberObjectId INTEGER PRIMARY KEY,
  Alias TEXT COLLATE NOCASE NOT NULL,
  DisplayName TEXT COLLATE NOCASE,
  IsSubscriber INTEGER NOT NULL,
  SubscriberType INTEGER NOT NULL,
  HomeServer TEXT COLLATE NOCASE
);

CREATE TABLE CallHandler (
  CallHandlerObjectId INTEGER PRIMARY KEY,
  Alias TEXT COLLATE NOCASE NOT NULL,
  IsPrimary INTEGER NOT NULL
);

CREATE TABLE Location (
  LocationObjectId INTEGER PRIMARY KEY,
  Alias TEXT COLLATE NOCASE NOT NULL,
  DialingDomainName TEXT COLLATE NOCASE
);

CREATE TABLE GlobalLocation (
  GlobalLocationObjectId INTEGER PRIMARY KEY,
  Alias TEXT COLLATE NOCASE,
  HomeServer TEXT COLLATE NOCASE,
  DialingDomainName TEXT COLLATE NOCASE
);

CREATE TABLE sysfiles (
  fileid INTEGER PRIMARY KEY,
  groupid INTEGER NOT NULL,
  size INTEGER NOT NULL,
  maxsize INTEGER NOT NULL,
  growth INTEGER NOT NULL,
  status INTEGER NOT NULL,
  perf INTEGER NOT NULL,
  name TEXT COLLATE NOCASE NOT NULL,
  filename TEXT COLLATE NOCASE NOT NULL
);

INSERT INTO VoxtraSetupParameters (Name, Value) VALUES
  ('@SystemId', '{9F3B6C12-4E7A-4D08-B1C5-7A2E90D4F853}'),
  ('@DatabaseVersion', '5.0.1.3');

INSERT INTO Configuration (FullNodeName, NodeName, NodeValue, DataType) VALUES
  ('System.Security.RpcPortNumber', 'RpcPortNumber', '5040', 3),
  ('System.Security.UnidentifiedCallerMessageSecurity', 'UnidentifiedCallerMessageSecurity', '1', 3),
  ('System.Security.MessageAging', 'MessageAging', '30', 3),
  ('System.Security.MixedMode', 'MixedMode', '1', 3),
  ('System.DirectoryConnectors.ActiveDirectory.DSGC.CurrentGC', 'CurrentGC', 'DC01.corp.example.com', 1),
  ('System.DirectoryConnectors.ActiveDirectory.DSGC.SynchInterval', 'SynchInterval', '15', 3),
  ('System.DirectoryConnectors.ActiveDirectory.DSAD.SynchInterval', 'SynchInterval', '10', 3),
  ('System.Messaging.Receipts.ExcludeAllReceipts', 'ExcludeAllReceipts', '0', 3),
  ('System.Messaging.Receipts.ExcludeReturnReceipts', 'ExcludeReturnReceipts', '1', 3),
  ('System.Messaging.MessageStore.DisableSearchFolderUse', 'DisableSearchFolderUse', '0', 3),
  ('System.Telephony.MaxRingCount', 'MaxRingCount', '4', 3);

INSERT INTO ADDomain (DomainName, CurrentDC, Active) VALUES
  ('corp.example.com', 'DC01.corp.example.com', 1),
  ('sales.corp.example.com', 'DC05.sales.corp.example.com', 1),
  ('retired.example.com', 'OLDDC.retired.example.com', 0);

INSERT INTO Subscriber (Alias, DisplayName, IsSubscriber, SubscriberType, HomeServer) VALUES
  ('Administrator', 'Voxtra Administrator', 1, 1, 'VOXTRA01'),
  ('jsmith', 'Jane Smith', 1, 1, 'VOXTRA01'),
  ('pbrown', 'Paul Brown', 1, 1, 'VOXTRA01'),
  ('mgarcia', 'Maria Garcia', 1, 3, 'VOXTRA01'),
  ('tlee', 'Tom Lee', 1, 1, 'EXCH02'),
  ('kwong', 'Kim Wong', 1, 2, 'VOXTRA01'),
  ('remote1', 'Remote Site Contact', 1, 5, 'VOXTRA01'),
  ('UndeliverableMessages', 'Undeliverable Messages', 0, 4, 'VOXTRA01'),
  ('EAdmin', 'Example Administrator', 0, 6, 'VOXTRA01');

INSERT INTO CallHandler (Alias, IsPrimary) VALUES
  ('Opening Greeting', 0),
  ('Operator', 0),
  ('Goodbye', 0),
  ('Example Interview', 0),
  ('jsmith', 1),
  ('pbrown', 1);

INSERT INTO Location (Alias, DialingDomainName) VALUES
  ('default', 'HQDomain'),
  ('Branch Office', NULL);

INSERT INTO GlobalLocation (Alias, HomeServer, DialingDomainName) VALUES
  ('default', 'VOXTRA01', 'HQDomain'),
  ('default', 'VOXTRA02', 'HQDomain'),
  ('default', 'VOXTRA03', 'BranchDomain'),
  ('Branch Office', 'VOXTRA01', NULL);

INSERT INTO sysfiles (fileid, groupid, size, maxsize, growth, status, perf, name, filename) VALUES
  (1, 1, 12800, -1, 10, 1048578, 0, 'VoxtraDb',
   'C:\Program Files\Microsoft SQL Server\MSSQL\Data\VoxtraDb.mdf                                  '),
  (2, 0, 2560, 268435456, 10, 1048642, 0, 'VoxtraDb_log',
   'C:\Program Files\Microsoft SQL Server\MSSQL\Data\VoxtraDb_log.LDF                              ');
