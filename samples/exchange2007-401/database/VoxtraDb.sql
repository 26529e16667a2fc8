-- Configuration database of a sample Voxtra 4.0(1.51) server on Exchange 2007
-- (server VOXEX07).

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


INSERT INTO Configuration (FullNodeName, NodeName, NodeValue, DataType) VALUES
  ('System.Messaging.Receipts.ExcludeAllReceipts', 'ExcludeAllReceipts', '1', 3),
  ('System.Messaging.Receipts.ExcludeReturnReceipts', 'ExcludeReturnReceipts', '0', 3);

INSERT INTO Subscriber (Alias, DisplayName, IsSubscriber, SubscriberType, HomeServer) VALUES
  ('Administrator', 'Voxtra Administrator', 1, 1, 'VOXEX07'),
  ('akhan', 'Ali Khan', 1, 1, 'VOXEX07'),
  ('bjones', 'Beth Jones', 1, 3, 'VOXEX07'),
  ('cdiaz', 'Carl Diaz', 1, 1, 'MAIL02'),
  ('contact1', 'Branch Contact', 1, 2, 'VOXEX07'),
  ('UndeliverableMessages', 'Undeliverable Messages', 0, 4, 'VOXEX07');

INSERT INTO CallHandler (Alias, IsPrimary) VALUES
  ('Opening Greeting', 0),
  ('Operator', 0),
  ('Goodbye', 0),
  ('akhan', 1);

INSERT INTO Location (Alias, DialingDomainName) VALUES
  ('default', 'MainDomain');

INSERT INTO GlobalLocation (Alias, HomeServer, DialingDomainName) VALUES
  ('default', 'VOXEX07', 'MainDomain');

INSERT INTO sysfiles (fileid, groupid, size, maxsize, growth, status, perf, name, filename) VALUES
  (1, 1, 12800, -1, 10, 1048578, 0, 'VoxtraDb', 'C:\Program Files\Microsoft SQL Server\MSSQL\Data\VoxtraDb.mdf                                   '),
  (2, 0, 2560, 268435456, 10, 1048642, 0, 'VoxtraDb_log', 'C:\Program Files\Microsoft SQL Server\MSSQL\Data\VoxtraDb_log.LDF                               ');

