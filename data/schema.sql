-- The delivered data file: every table, its columns and kinds, the indexes the screens
-- filter and sort on, and the delivered rows (the settings row and the account types).
--
-- Conventions: ID is numbered by the engine and never reused (sub-records and journal rows
-- point at their parents by ID); numeric columns start at 0; text columns start empty.
-- Names compare exactly (binary): "Visa" and "visa" are two accounts. The type-ahead
-- search is the only place that ignores the case of Latin letters.

-- Books and settings
CREATE TABLE SBook (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  BPass TEXT NOT NULL DEFAULT '',
  BDate TEXT NOT NULL DEFAULT '',
  Remark TEXT NOT NULL DEFAULT '',
  thePX INTEGER NOT NULL DEFAULT 0,
  theJZPX INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX SBook_BName ON SBook(BName);

CREATE TABLE SMRX (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  BPassKG INTEGER NOT NULL DEFAULT 0,
  BPass TEXT NOT NULL DEFAULT '',
  FName TEXT NOT NULL DEFAULT '',
  AName TEXT NOT NULL DEFAULT '',
  IName TEXT NOT NULL DEFAULT '',
  OName TEXT NOT NULL DEFAULT '',
  TName TEXT NOT NULL DEFAULT '',
  PName TEXT NOT NULL DEFAULT '',
  D_I INTEGER NOT NULL DEFAULT 0,
  D_O INTEGER NOT NULL DEFAULT 0,
  D_C INTEGER NOT NULL DEFAULT 0,
  D_B INTEGER NOT NULL DEFAULT 0,
  D_D INTEGER NOT NULL DEFAULT 0,
  D_T INTEGER NOT NULL DEFAULT 0,
  TX_M INTEGER NOT NULL DEFAULT 0,
  TX_T INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX SMRX_BName ON SMRX(BName);

CREATE TABLE SMRB (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT ''
);

CREATE TABLE SBase (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  theB TEXT NOT NULL DEFAULT ''
);

CREATE TABLE SAType (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  theName TEXT NOT NULL DEFAULT ''
);

-- Reference data
CREATE TABLE SFamily (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  FName TEXT NOT NULL DEFAULT '',
  thePY TEXT NOT NULL DEFAULT '',
  theGX TEXT NOT NULL DEFAULT '',
  BirDate TEXT NOT NULL DEFAULT '',
  Remark TEXT NOT NULL DEFAULT ''
);
CREATE INDEX SFamily_BName_FName ON SFamily(BName, FName);

CREATE TABLE PD (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  PName TEXT NOT NULL DEFAULT '',
  thePY TEXT NOT NULL DEFAULT '',
  Remark TEXT NOT NULL DEFAULT '',
  theState TEXT NOT NULL DEFAULT '',
  theCount INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX PD_BName_PName ON PD(BName, PName);

CREATE TABLE SAccount (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  AName TEXT NOT NULL DEFAULT '',
  thePY TEXT NOT NULL DEFAULT '',
  theType TEXT NOT NULL DEFAULT '',
  FName TEXT NOT NULL DEFAULT '',
  AMoney REAL NOT NULL DEFAULT 0,
  Remark TEXT NOT NULL DEFAULT '',
  theState TEXT NOT NULL DEFAULT '',
  theCount INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX SAccount_BName_AName ON SAccount(BName, AName);
CREATE INDEX SAccount_BName_theType ON SAccount(BName, theType, AMoney);

CREATE TABLE InD (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  IName TEXT NOT NULL DEFAULT '',
  thePY TEXT NOT NULL DEFAULT '',
  Remark TEXT NOT NULL DEFAULT '',
  theState TEXT NOT NULL DEFAULT '',
  theCount INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX InD_BName_IName ON InD(BName, IName);

CREATE TABLE OutD (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  OName TEXT NOT NULL DEFAULT '',
  thePY TEXT NOT NULL DEFAULT '',
  Remark TEXT NOT NULL DEFAULT '',
  theState TEXT NOT NULL DEFAULT '',
  theCount INTEGER NOT NULL DEFAULT 0,
  theMC REAL NOT NULL DEFAULT 0
);
CREATE INDEX OutD_BName_OName ON OutD(BName, OName);

CREATE TABLE TD (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  TName TEXT NOT NULL DEFAULT '',
  thePY TEXT NOT NULL DEFAULT '',
  Remark TEXT NOT NULL DEFAULT '',
  theState TEXT NOT NULL DEFAULT '',
  theCount INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX TD_BName_TName ON TD(BName, TName);

-- Postings
CREATE TABLE InTable (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  IDate TEXT NOT NULL DEFAULT '',
  IName TEXT NOT NULL DEFAULT '',
  IMoney REAL NOT NULL DEFAULT 0,
  AName TEXT NOT NULL DEFAULT '',
  FName TEXT NOT NULL DEFAULT '',
  Remark TEXT NOT NULL DEFAULT ''
);
CREATE INDEX InTable_BName ON InTable(BName);
CREATE INDEX InTable_BName_IDate ON InTable(BName, IDate, IMoney);
CREATE INDEX InTable_BName_FName ON InTable(BName, FName, IDate, IMoney);
CREATE INDEX InTable_BName_IName ON InTable(BName, IName);
CREATE INDEX InTable_BName_AName ON InTable(BName, AName);
-- Narrow, so the book's total and the amount order read as few pages as possible.
CREATE INDEX InTable_BName_IMoney ON InTable(BName, IMoney);

CREATE TABLE OutTable (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  ODate TEXT NOT NULL DEFAULT '',
  OName TEXT NOT NULL DEFAULT '',
  OMoney REAL NOT NULL DEFAULT 0,
  AName TEXT NOT NULL DEFAULT '',
  FName TEXT NOT NULL DEFAULT '',
  Remark TEXT NOT NULL DEFAULT ''
);
CREATE INDEX OutTable_BName ON OutTable(BName);
CREATE INDEX OutTable_BName_ODate ON OutTable(BName, ODate, OMoney);
CREATE INDEX OutTable_BName_FName ON OutTable(BName, FName, ODate, OMoney);
CREATE INDEX OutTable_BName_OName ON OutTable(BName, OName, ODate, OMoney);
CREATE INDEX OutTable_BName_AName ON OutTable(BName, AName);
CREATE INDEX OutTable_BName_OMoney ON OutTable(BName, OMoney);

-- BEGIN book totals
-- The income and expense totals of each book, in cents, kept by triggers in the same
-- transaction as every row written to InTable and OutTable (whatever writes it: a screen, an
-- import, a plan, a rename), so the main window reads two rows instead of summing a table of
-- a million postings. The book check recomputes them. A book's row is made when it is first
-- needed by an insert that cannot conflict, so the triggers work under whatever conflict
-- clause the statement that fires them carries (an import inserts OR FAIL).
CREATE TABLE SBookSum (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  theT TEXT NOT NULL DEFAULT '',
  theCents INTEGER NOT NULL DEFAULT 0,
  theCount INTEGER NOT NULL DEFAULT 0,
  UNIQUE (BName, theT)
);
CREATE TRIGGER InTable_Sum_Insert AFTER INSERT ON InTable BEGIN
  INSERT INTO SBookSum(BName, theT) SELECT NEW.BName, 'InTable'
    WHERE NOT EXISTS (SELECT 1 FROM SBookSum WHERE BName = NEW.BName AND theT = 'InTable');
  UPDATE SBookSum SET theCents = theCents + CAST(round(NEW.IMoney * 100) AS INTEGER),
    theCount = theCount + 1 WHERE BName = NEW.BName AND theT = 'InTable';
END;
CREATE TRIGGER InTable_Sum_Delete AFTER DELETE ON InTable BEGIN
  UPDATE SBookSum SET theCents = theCents - CAST(round(OLD.IMoney * 100) AS INTEGER),
    theCount = theCount - 1 WHERE BName = OLD.BName AND theT = 'InTable';
END;
CREATE TRIGGER InTable_Sum_Update AFTER UPDATE OF IMoney, BName ON InTable BEGIN
  UPDATE SBookSum SET theCents = theCents - CAST(round(OLD.IMoney * 100) AS INTEGER),
    theCount = theCount - 1 WHERE BName = OLD.BName AND theT = 'InTable';
  INSERT INTO SBookSum(BName, theT) SELECT NEW.BName, 'InTable'
    WHERE NOT EXISTS (SELECT 1 FROM SBookSum WHERE BName = NEW.BName AND theT = 'InTable');
  UPDATE SBookSum SET theCents = theCents + CAST(round(NEW.IMoney * 100) AS INTEGER),
    theCount = theCount + 1 WHERE BName = NEW.BName AND theT = 'InTable';
END;
CREATE TRIGGER OutTable_Sum_Insert AFTER INSERT ON OutTable BEGIN
  INSERT INTO SBookSum(BName, theT) SELECT NEW.BName, 'OutTable'
    WHERE NOT EXISTS (SELECT 1 FROM SBookSum WHERE BName = NEW.BName AND theT = 'OutTable');
  UPDATE SBookSum SET theCents = theCents + CAST(round(NEW.OMoney * 100) AS INTEGER),
    theCount = theCount + 1 WHERE BName = NEW.BName AND theT = 'OutTable';
END;
CREATE TRIGGER OutTable_Sum_Delete AFTER DELETE ON OutTable BEGIN
  UPDATE SBookSum SET theCents = theCents - CAST(round(OLD.OMoney * 100) AS INTEGER),
    theCount = theCount - 1 WHERE BName = OLD.BName AND theT = 'OutTable';
END;
CREATE TRIGGER OutTable_Sum_Update AFTER UPDATE OF OMoney, BName ON OutTable BEGIN
  UPDATE SBookSum SET theCents = theCents - CAST(round(OLD.OMoney * 100) AS INTEGER),
    theCount = theCount - 1 WHERE BName = OLD.BName AND theT = 'OutTable';
  INSERT INTO SBookSum(BName, theT) SELECT NEW.BName, 'OutTable'
    WHERE NOT EXISTS (SELECT 1 FROM SBookSum WHERE BName = NEW.BName AND theT = 'OutTable');
  UPDATE SBookSum SET theCents = theCents + CAST(round(NEW.OMoney * 100) AS INTEGER),
    theCount = theCount + 1 WHERE BName = NEW.BName AND theT = 'OutTable';
END;
-- END book totals

-- BEGIN bill imports
-- The transaction numbers of the payment-app bill rows each book has booked, so a bill
-- imported again books none of them twice, and the accounts and categories the household
-- chose for a payment method, an app's category or a counterparty, proposed next time.
CREATE TABLE SBillDone (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  theNo TEXT NOT NULL DEFAULT ''
);
CREATE INDEX SBillDone_BName_theNo ON SBillDone(BName, theNo);
CREATE TABLE SBillMap (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  theT TEXT NOT NULL DEFAULT '',
  theKey TEXT NOT NULL DEFAULT '',
  theName TEXT NOT NULL DEFAULT ''
);
CREATE INDEX SBillMap_BName_theT_theKey ON SBillMap(BName, theT, theKey);
-- END bill imports

-- BEGIN statement profiles
-- How the user mapped a bank's or card's statement columns, by a name of their own, for every
-- book; theSpec holds the mapping as a small JSON object.
CREATE TABLE SStatementProfile (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  theName TEXT NOT NULL DEFAULT '',
  theSpec TEXT NOT NULL DEFAULT ''
);
CREATE INDEX SStatementProfile_theName ON SStatementProfile(theName);
-- END statement profiles

CREATE TABLE ChangeT (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  CDate TEXT NOT NULL DEFAULT '',
  OldN TEXT NOT NULL DEFAULT '',
  NewN TEXT NOT NULL DEFAULT '',
  CMoney REAL NOT NULL DEFAULT 0,
  FName TEXT NOT NULL DEFAULT '',
  Remark TEXT NOT NULL DEFAULT ''
);
CREATE INDEX ChangeT_BName ON ChangeT(BName);
CREATE INDEX ChangeT_BName_CDate ON ChangeT(BName, CDate, CMoney);
CREATE INDEX ChangeT_BName_CMoney ON ChangeT(BName, CMoney);

CREATE TABLE Borrow (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  BDate TEXT NOT NULL DEFAULT '',
  BPro TEXT NOT NULL DEFAULT '',
  BMoney REAL NOT NULL DEFAULT 0,
  RMoney REAL NOT NULL DEFAULT 0,
  AName TEXT NOT NULL DEFAULT '',
  FName TEXT NOT NULL DEFAULT '',
  Remark TEXT NOT NULL DEFAULT ''
);
CREATE INDEX Borrow_BName ON Borrow(BName, BMoney);
CREATE INDEX Borrow_BName_BDate ON Borrow(BName, BDate);
CREATE INDEX Borrow_BName_FName ON Borrow(BName, FName, BDate, BMoney);

CREATE TABLE BorrowR (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  BID INTEGER NOT NULL DEFAULT 0,
  RDate TEXT NOT NULL DEFAULT '',
  RMoney REAL NOT NULL DEFAULT 0,
  AName TEXT NOT NULL DEFAULT '',
  FName TEXT NOT NULL DEFAULT '',
  Remark TEXT NOT NULL DEFAULT ''
);
CREATE INDEX BorrowR_BID ON BorrowR(BID);
CREATE INDEX BorrowR_BName_RDate ON BorrowR(BName, RDate);

CREATE TABLE BList (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BID INTEGER NOT NULL DEFAULT 0,
  BName TEXT NOT NULL DEFAULT '',
  theDate TEXT NOT NULL DEFAULT '',
  theMoney REAL NOT NULL DEFAULT 0,
  AName TEXT NOT NULL DEFAULT '',
  FName TEXT NOT NULL DEFAULT '',
  Remark TEXT NOT NULL DEFAULT ''
);
CREATE INDEX BList_BID ON BList(BID);

CREATE TABLE Debt (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  DDate TEXT NOT NULL DEFAULT '',
  DPro TEXT NOT NULL DEFAULT '',
  DMoney REAL NOT NULL DEFAULT 0,
  RMoney REAL NOT NULL DEFAULT 0,
  AName TEXT NOT NULL DEFAULT '',
  FName TEXT NOT NULL DEFAULT '',
  Remark TEXT NOT NULL DEFAULT ''
);
CREATE INDEX Debt_BName ON Debt(BName, DMoney);
CREATE INDEX Debt_BName_DDate ON Debt(BName, DDate);
CREATE INDEX Debt_BName_FName ON Debt(BName, FName, DDate, DMoney);

CREATE TABLE DebtR (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  DID INTEGER NOT NULL DEFAULT 0,
  RDate TEXT NOT NULL DEFAULT '',
  RMoney REAL NOT NULL DEFAULT 0,
  AName TEXT NOT NULL DEFAULT '',
  FName TEXT NOT NULL DEFAULT '',
  Remark TEXT NOT NULL DEFAULT ''
);
CREATE INDEX DebtR_DID ON DebtR(DID);
CREATE INDEX DebtR_BName_RDate ON DebtR(BName, RDate);

CREATE TABLE DList (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  DID INTEGER NOT NULL DEFAULT 0,
  BName TEXT NOT NULL DEFAULT '',
  theDate TEXT NOT NULL DEFAULT '',
  theMoney REAL NOT NULL DEFAULT 0,
  AName TEXT NOT NULL DEFAULT '',
  FName TEXT NOT NULL DEFAULT '',
  Remark TEXT NOT NULL DEFAULT ''
);
CREATE INDEX DList_DID ON DList(DID);

CREATE TABLE TTable (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  TDate TEXT NOT NULL DEFAULT '',
  TName TEXT NOT NULL DEFAULT '',
  TMoney REAL NOT NULL DEFAULT 0,
  RMoney REAL NOT NULL DEFAULT 0,
  AName TEXT NOT NULL DEFAULT '',
  FName TEXT NOT NULL DEFAULT '',
  Remark TEXT NOT NULL DEFAULT ''
);
CREATE INDEX TTable_BName ON TTable(BName, TMoney);
CREATE INDEX TTable_BName_TDate ON TTable(BName, TDate);
CREATE INDEX TTable_BName_FName ON TTable(BName, FName, TDate, TMoney);

CREATE TABLE TTableR (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  TID INTEGER NOT NULL DEFAULT 0,
  RDate TEXT NOT NULL DEFAULT '',
  RMoney REAL NOT NULL DEFAULT 0,
  SMoney REAL NOT NULL DEFAULT 0,
  AName TEXT NOT NULL DEFAULT '',
  FName TEXT NOT NULL DEFAULT '',
  Remark TEXT NOT NULL DEFAULT ''
);
CREATE INDEX TTableR_TID ON TTableR(TID);
CREATE INDEX TTableR_BName_RDate ON TTableR(BName, RDate);

CREATE TABLE TList (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  TID INTEGER NOT NULL DEFAULT 0,
  BName TEXT NOT NULL DEFAULT '',
  theDate TEXT NOT NULL DEFAULT '',
  theMoney REAL NOT NULL DEFAULT 0,
  AName TEXT NOT NULL DEFAULT '',
  FName TEXT NOT NULL DEFAULT '',
  Remark TEXT NOT NULL DEFAULT ''
);
CREATE INDEX TList_TID ON TList(TID);

-- The fund-flow journal: one row per movement of one account, in the order of events.
CREATE TABLE UList (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  theDate TEXT NOT NULL DEFAULT '',
  theType TEXT NOT NULL DEFAULT '',
  Remark TEXT NOT NULL DEFAULT '',
  theIn REAL NOT NULL DEFAULT 0,
  theOut REAL NOT NULL DEFAULT 0,
  AName TEXT NOT NULL DEFAULT '',
  AMoney REAL NOT NULL DEFAULT 0,
  FName TEXT NOT NULL DEFAULT '',
  theT TEXT NOT NULL DEFAULT '',
  theID INTEGER NOT NULL DEFAULT 0,
  theE TEXT NOT NULL DEFAULT ''
);
CREATE INDEX UList_BName ON UList(BName);
CREATE INDEX UList_BName_AName ON UList(BName, AName, theDate);
CREATE INDEX UList_BName_theDate ON UList(BName, theDate);
CREATE INDEX UList_BName_theType ON UList(BName, theType);
CREATE INDEX UList_theT_theID ON UList(theT, theID);

-- Work table of the monthly and yearly reports.
CREATE TABLE SZTable (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  theDate TEXT NOT NULL DEFAULT '',
  theSM REAL NOT NULL DEFAULT 0,
  theSC INTEGER NOT NULL DEFAULT 0,
  theZM REAL NOT NULL DEFAULT 0,
  theZC INTEGER NOT NULL DEFAULT 0,
  theJY REAL NOT NULL DEFAULT 0,
  theBC REAL NOT NULL DEFAULT 0
);

-- Plans, reminders and notes
CREATE TABLE UPlan (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  PType TEXT NOT NULL DEFAULT '',
  PDate TEXT NOT NULL DEFAULT '',
  PName TEXT NOT NULL DEFAULT '',
  PMoney REAL NOT NULL DEFAULT 0,
  AName TEXT NOT NULL DEFAULT '',
  FName TEXT NOT NULL DEFAULT '',
  PState TEXT NOT NULL DEFAULT '',
  Remark TEXT NOT NULL DEFAULT ''
);
CREATE INDEX UPlan_BName_PState ON UPlan(BName, PState, PDate);

CREATE TABLE UWarn (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  theType TEXT NOT NULL DEFAULT '',
  FName TEXT NOT NULL DEFAULT '',
  WMoney REAL NOT NULL DEFAULT 0,
  Remark TEXT NOT NULL DEFAULT '',
  theState TEXT NOT NULL DEFAULT ''
);
CREATE INDEX UWarn_BName_theType ON UWarn(BName, theType, FName);

CREATE TABLE UThing (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  BName TEXT NOT NULL DEFAULT '',
  TDate TEXT NOT NULL DEFAULT '',
  FName TEXT NOT NULL DEFAULT '',
  Title TEXT NOT NULL DEFAULT '',
  Detail TEXT NOT NULL DEFAULT '',
  Summary TEXT NOT NULL DEFAULT ''
);
CREATE INDEX UThing_BName_TDate ON UThing(BName, TDate);

-- Delivered rows
INSERT INTO SBase(ID, theB) VALUES (1, '是');
INSERT INTO SAType(theName) VALUES ('现金');
INSERT INTO SAType(theName) VALUES ('银行卡');
INSERT INTO SAType(theName) VALUES ('信用卡');
INSERT INTO SAType(theName) VALUES ('电子账户');
INSERT INTO SAType(theName) VALUES ('其它');
