#!/usr/bin/python3
"""Writes the fuzzers' starting inputs that are not plain copies of the import fixtures: the
XML parts of a workbook, the helper's output for an .xls file, and bills in each app's layout.
The files are committed; run this only to change them:  cd fuzz/seeds && ./make_seeds.py BUILD"""
import os
import shutil
import subprocess
import sys
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURES = os.path.join(HERE, "..", "..", "tests", "data", "import")
SEP = b"\n--part--\n"
WORKBOOK = (b'<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="http://schemas.openxmlformats.org/'
            b'spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/'
            b'relationships"><workbookPr/><sheets><sheet name="Sheet1" sheetId="1" r:id="rId1"/>'
            b'</sheets></workbook>')


def write(target, name, data):
    os.makedirs(os.path.join(HERE, target), exist_ok=True)
    with open(os.path.join(HERE, target, name), "wb") as f:
        f.write(data)


def sheet_part(z):
    # openpyxl writes the sheet named Sheet1 second when an explanation sheet comes first.
    names = sorted(n for n in z.namelist() if n.startswith("xl/worksheets/sheet"))
    return z.read(names[-1])


for name in ["income.xlsx", "date1904.xlsx", "damaged.xlsx", "expense.xlsx"]:
    shutil.copy(os.path.join(FIXTURES, name), os.path.join(HERE, "xlsx", name))
    if name == "damaged.xlsx":
        continue
    with zipfile.ZipFile(os.path.join(FIXTURES, name)) as z:
        parts = [WORKBOOK, sheet_part(z), z.read("xl/sharedStrings.xml") if "xl/sharedStrings.xml"
                 in z.namelist() else b"", z.read("xl/styles.xml")]
    write("xlsx-parts", name.replace(".xlsx", ".parts"), SEP.join(parts))
shutil.copy(os.path.join(FIXTURES, "income.xls"), os.path.join(HERE, "xls", "income.xls"))

if len(sys.argv) > 1:
    helper = os.path.join(sys.argv[1], "program", "coinwick-xls")
    frames = subprocess.run([helper, os.path.join(FIXTURES, "income.xls")], input=b"1\n",
                            capture_output=True).stdout
    write("xls-frames", "income.frames", bytes([37]) + frames)

WECHAT = ("微信支付账单明细\n微信昵称：[小王]\n起始时间：[2026-11-01 00:00:00] 终止时间：[2026-11-30 23:59:59]\n"
          "----------------------微信支付账单明细列表--------------------\n"
          "交易时间,交易类型,交易对方,商品,收/支,金额(元),支付方式,当前状态,交易单号,商户单号,备注\n"
          "2026-11-03 12:01:02,商户消费,楼下面馆,牛肉面,支出,¥18.00,零钱,支付成功,4200001\t,10001\t,/\n"
          "2026-11-04 08:00:00,转账,小李,转账,收入,¥200.00,/,已存入零钱,1000050001\t,/,/\n"
          "2026-11-05 09:30:00,零钱提现,招商银行(1234),/,/,¥100.00,招商银行(1234),提现已到账,1000050002\t,/,服务费¥0.10\n"
          "2026-11-06 19:00:00,商户消费,超市,日用品,支出,¥35.50,建设银行信用卡(5678),已退款(¥5.50),4200002\t,10002\t,/\n"
          "2026-11-07 10:00:00,商户消费,书店,图书-退款,收入,¥20.00,零钱,已全额退款,4200003\t,10003\t,/\n")
write("bill", "wechat.csv", b"\xef\xbb\xbf" + WECHAT.encode("utf-8"))
ALIPAY = ("支付宝交易记录明细查询\n账号：[xiaowang@example.com]\n"
          "---------------------------------交易记录明细列表------------------------------------\n"
          "交易时间,交易分类,交易对方,对方账号,商品说明,收/支,金额,收/付款方式,交易状态,交易订单号,商家订单号,备注\n"
          "2026-11-02 18:20:00,餐饮美食,食堂,/,午餐,支出,25.00,花呗,交易成功,2026110222001,T001,\n"
          "2026-11-03 09:00:00,退款,网店,/,退款-鞋,不计收支,99.00,余额,退款成功,2026110322002_1,T002,\n"
          "2026-11-04 09:00:00,投资理财,余额宝,/,转入,不计收支,500.00,招商银行储蓄卡(1234),交易成功,2026110422003,,\n"
          "2026-11-05 09:00:00,日用百货,网店,/,鞋,支出,99.00,余额,交易关闭,2026110522004,T004,\n")
write("bill", "alipay.csv", ALIPAY.encode("gbk"))

# Bank statements: a preamble, each way of giving the money, closing lines.
PSBC = ("中国邮政储蓄银行账户交易明细\n账号：6221****1234,户名：王小明\n\n"
        "交易日期,交易渠道,摘要,收入金额,支出金额,账户余额,对方账号,对方户名\n"
        "2026-11-01,网银,工资,\"8,000.00\",-,\"9,000.00\",6222001,某某公司\n"
        "2026/11/3,POS,消费,,25.50,8974.50,,楼下超市\n"
        "20261105,柜面,利息,0.00,--,8974.50,,\n"
        "合计,,,8000.00,25.50,,,\n")
write("statement", "psbc.csv", PSBC.encode("gbk"))
BOCOM = ("交易日期,交易时间,交易类型,借贷,交易金额,余额,对方账号,对方户名,摘要\n"
         "2026年11月20日,180001,转账,贷,RMB 66.60,166.60,,老李,还款\n"
         "2026.11.19,17:59,消费,借,¥-10.00,100.00,,,\n"
         "以下空白\n")
write("statement", "bocom.csv", b"\xef\xbb\xbf" + BOCOM.encode("utf-8"))
CARD = ("招商银行信用卡对账单\n交易日,记账日,交易摘要,人民币金额,卡号末四位\n"
        "2026-11-02,2026-11-03,超市,58.00,1234\n2026-11-10,2026-11-10,还款,\"-2,000.00\",1234\n"
        "共 2 笔\n")
write("statement", "card.csv", CARD.encode("utf-8"))
GUESSED = ("日期,时间,收支,金额,对方名称,用途,本次余额\n"
           "2026-12-01 08:00:00,,收,1.00,甲,红包,1.00\n2026-12-02,120000,支,0.50,乙,,0.50\n")
write("statement", "guessed.csv", GUESSED.encode("gbk"))
shutil.copy(os.path.join(FIXTURES, "income.xlsx"), os.path.join(HERE, "statement", "income.xlsx"))
UNICODE = ("交易日期\t交易渠道\t摘要\t收入金额\t支出金额\t账户余额\t对方账号\t对方户名\r\n"
           "2026-11-01\t网银\t工资\t8,000.00\t\t9,000.00\t=\"6222001\"\t某某公司\r\n")
write("statement", "unicode.txt", UNICODE.encode("utf-16"))
# Other ledgers' exports: an account list, accounts with splits and transfers, skipped sections,
# day-first dates in GB18030; OFX in both forms, with entities and a ledger balance.
QIF = ("!Option:AutoSwitch\n!Account\nN储蓄卡\nTBank\n^\nN信用卡\nTCCard\n^\n!Clear:AutoSwitch\n"
       "!Type:Cat\nN餐饮\nD吃饭\nE\n^\n!Type:Class\nN家庭\n^\n"
       "!Account\nN储蓄卡\nTBank\n^\n!Type:Bank\n"
       "D12/31/2024\nT-1,234.56\nU-1,234.56\nP超市\nM年货\nL食品:蔬菜/家庭\nN101\nC*\nA地址\n^\n"
       "D01/05'25\nT-300.00\nP饭店\nM聚餐\nL餐饮\nS餐饮:午餐\nE午饭\n$-100.00\n%33%\n"
       "S[信用卡]\nE还款\n$-150.00\n^\n"
       "D1/ 6' 5\nT500\nL[现金]\n^\n"
       "!Account\nN信用卡\nTCCard\n^\n!Type:CCard\nD2025-01-07\nT-12.5\nP书店\n^\n"
       "!Type:Invst\nD1/7'25\nNBuy\nYFund\nI1.5\nQ10\nT15\n^\n!Type:Memorized\nKC\nT-5\n^\n"
       "!Type:Prices\n\"FUND\",1.5,\" 1/ 7'25\"\n^\n")
write("qif", "ledger.qif", QIF.encode("utf-8"))
DAY_FIRST = ("!Type:Cash\r\nD31.12.2024\r\nT-1.234,56\r\nP菜场\r\n^\r\n"
             "D05.01.2025\r\nT12,50\r\nL工资\r\n^\r\n!Type:Oth L\r\nD20250106\r\nT-8\r\n^\r\n")
write("qif", "day-first.qif", DAY_FIRST.encode("gb18030"))

OFX1 = (b"OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\nSECURITY:NONE\r\nENCODING:USASCII\r\n"
        b"CHARSET:1252\r\nCOMPRESSION:NONE\r\nOLDFILEUID:NONE\r\nNEWFILEUID:NONE\r\n\r\n"
        b"<OFX><SIGNONMSGSRSV1><SONRS><STATUS><CODE>0<SEVERITY>INFO</STATUS>"
        b"<DTSERVER>20250105120000<LANGUAGE>ENG</SONRS></SIGNONMSGSRSV1>\r\n"
        b"<BANKMSGSRSV1><STMTTRNRS><TRNUID>1<STMTRS><CURDEF>USD\r\n"
        b"<BANKACCTFROM><BANKID>123<ACCTID>6222 0001<ACCTTYPE>CHECKING</BANKACCTFROM>\r\n"
        b"<BANKTRANLIST><DTSTART>20250101<DTEND>20250105\r\n"
        b"<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20250102083005.000[-8:PST]<TRNAMT>-12.50\r\n"
        b"<FITID>A1<NAME>Ben &amp; Jerry&apos;s<MEMO>Caf\xe9 latte</STMTTRN>\r\n"
        b"<STMTTRN><TRNTYPE>XFER<DTPOSTED>20250103<TRNAMT>1000.00<FITID>A2<CHECKNUM>77\r\n"
        b"<PAYEE><NAME>Acme<CITY>Springfield</PAYEE><BANKACCTTO><BANKID>9<ACCTID>999</BANKACCTTO>\r\n"
        b"<CURRENCY><CURRATE>1.0<CURSYM>USD</CURRENCY></STMTTRN></BANKTRANLIST>\r\n"
        b"<LEDGERBAL><BALAMT>987.50<DTASOF>20250105</LEDGERBAL>"
        b"<AVAILBAL><BALAMT>1.00<DTASOF>20250104</AVAILBAL></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>")
write("ofx", "bank-v1.ofx", OFX1)
OFX2 = ("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
        "<?OFX OFXHEADER=\"200\" VERSION=\"211\" SECURITY=\"NONE\" OLDFILEUID=\"NONE\" NEWFILEUID=\"NONE\"?>\n"
        "<OFX>\n<!-- 信用卡 -->\n<CREDITCARDMSGSRSV1><CCSTMTTRNRS><TRNUID>2</TRNUID><CCSTMTRS>"
        "<CURDEF>CNY</CURDEF><CCACCTFROM><ACCTID>4321</ACCTID></CCACCTFROM><BANKTRANLIST>\n"
        "<STMTTRN><TRNTYPE>POS</TRNTYPE><DTPOSTED>20250120</DTPOSTED><TRNAMT>-88.00</TRNAMT>"
        "<FITID>X&lt;1&gt;</FITID><NAME>&#x4E2D;&#22269;超市</NAME><MEMO/></STMTTRN>\n"
        "<STMTTRN><TRNTYPE>CREDIT</TRNTYPE><DTPOSTED>20250121120000</DTPOSTED><TRNAMT>20</TRNAMT>"
        "<FITID>X2</FITID><PAYEE><NAME>退款</NAME></PAYEE><MEMO>&quot;鞋&quot;</MEMO></STMTTRN>\n"
        "</BANKTRANLIST><LEDGERBAL><BALAMT>-68.00</BALAMT><DTASOF>20250131</DTASOF></LEDGERBAL>"
        "</CCSTMTRS></CCSTMTTRNRS></CREDITCARDMSGSRSV1>\n</OFX>\n")
write("ofx", "card-v2.ofx", OFX2.encode("utf-8"))
