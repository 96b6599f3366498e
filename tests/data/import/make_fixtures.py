#!/usr/bin/python3
"""Writes the spreadsheet fixtures of the import tests with Debian's Python writers
(python3-openpyxl for .xlsx, python3-xlwt for .xls). The files are committed; run this only
to change them:  cd tests/data/import && ./make_fixtures.py"""
import datetime as dt

import openpyxl
import xlwt
from openpyxl.utils.datetime import CALENDAR_MAC_1904

HEADERS = {
    "in": ["日期", "收入类别", "金额", "账户名称", "家庭成员", "备注"],
    "out": ["日期", "支出类别", "金额", "账户名称", "家庭成员", "备注"],
    "transfer": ["日期", "原账户", "到账账户", "转账金额", "家庭成员", "备注"],
    "debt": ["日期", "债权人", "债务金额", "账户名称", "家庭成员", "备注"],
    "credit": ["日期", "债务人", "债权金额", "账户名称", "家庭成员", "备注"],
    "investment": ["日期", "投资类别", "投资金额", "账户名称", "家庭成员", "备注"],
}


def xlsx(name, headers, rows, sheet="Sheet1", epoch=None, extra_sheet=True):
    wb = openpyxl.Workbook()
    if epoch:
        wb.epoch = epoch
    if extra_sheet:
        # Sheet1 is not the first sheet: it is found by its name.
        wb.active.title = "说明"
        wb.active["A1"] = "导入数据在 Sheet1"
        ws = wb.create_sheet(sheet)
    else:
        ws = wb.active
        ws.title = sheet
    ws.append(headers)
    for r in rows:
        ws.append(r)
    for row in ws.iter_rows():
        for c in row:
            if isinstance(c.value, dt.datetime) and c.value.time() == dt.time(0):
                c.number_format = "yyyy-mm-dd"
    wb.save(name)


d = dt.datetime
# Income: a date cell, a date-time cell, a date typed as text, an empty amount, amounts with
# binary noise, new names named twice, a quote in a remark, a name longer than 20 GBK bytes.
xlsx("income.xlsx", HEADERS["in"], [
    [d(2026, 3, 1), "奖金", 1000.5, "招行卡", "爸爸", "年终'奖"],
    [d(2026, 3, 2, 15, 30), "奖金", 0.1 + 0.2, "招行卡", "爸爸", None],
    ["2026/3/5", "利息", None, "钱包", "妈妈", "text date"],
    [d(2026, 3, 6), "一二三四五六七八九十一二", 7, "钱包", "妈妈", "长名称"],
])
xlsx("expense.xlsx", HEADERS["out"], [
    [d(2026, 4, 1), "餐饮", 35.5, "钱包", "妈妈", "午饭"],
    [d(2026, 4, 2), "交通", 12, "招行卡", "爸爸", ""],
])
xlsx("transfer.xlsx", HEADERS["transfer"], [
    [d(2026, 5, 1), "招行卡", "钱包", 200, "爸爸", "取现"],
    [d(2026, 5, 2), "钱包", "钱包", 50, "爸爸", "same"],
])
xlsx("debt.xlsx", HEADERS["debt"], [[d(2026, 6, 1), "老王", 5000, "招行卡", "爸爸", "借款"]])
xlsx("credit.xlsx", HEADERS["credit"], [[d(2026, 6, 2), "小李", 800, "钱包", "妈妈", "借出"]])
xlsx("investment.xlsx", HEADERS["investment"],
     [[d(2026, 7, 1, 9, 0), "基金", 3000, "招行卡", "爸爸", "定投"]])
# The third data row (row 4 of the sheet) has no member: nothing may be booked.
xlsx("bad-member.xlsx", HEADERS["in"], [
    [d(2026, 3, 1), "奖金", 10, "钱包", "爸爸", ""],
    [d(2026, 3, 2), "奖金", 20, "钱包", "爸爸", ""],
    [d(2026, 3, 3), "奖金", 30, "钱包", None, ""],
])
xlsx("bad-amount.xlsx", HEADERS["in"], [
    [d(2026, 3, 1), "奖金", 10, "钱包", "爸爸", ""],
    [d(2026, 3, 2), "奖金", "十块", "钱包", "爸爸", ""],
])
xlsx("no-sheet1.xlsx", HEADERS["in"], [[d(2026, 3, 1), "奖金", 10, "钱包", "爸爸", ""]],
     sheet="数据")
xlsx("date1904.xlsx", HEADERS["in"], [[d(2026, 3, 1), "奖金", 10, "钱包", "爸爸", "1904"]],
     epoch=CALENDAR_MAC_1904, extra_sheet=False)

# The .xls form of an income sheet.
book = xlwt.Workbook(encoding="utf-8")
book.add_sheet("说明").write(0, 0, "见 Sheet1")
ws = book.add_sheet("Sheet1")
date_style = xlwt.easyxf(num_format_str="yyyy-mm-dd")
for c, h in enumerate(HEADERS["in"]):
    ws.write(0, c, h)
ws.write(1, 0, d(2026, 3, 1), date_style)
for c, v in enumerate(["奖金", 1000.5, "招行卡", "爸爸", "xls"], start=1):
    ws.write(1, c, v)
ws.write(2, 0, "2026-03-02")
for c, v in enumerate(["利息", 0.3, "钱包", "妈妈", ""], start=1):
    ws.write(2, c, v)
book.save("income.xls")

with open("foreign.xlsx", "w") as f:
    f.write("日期,收入类别\n2026-03-01,奖金\n")
with open("income.xlsx", "rb") as f:
    data = f.read()
with open("damaged.xlsx", "wb") as f:
    f.write(data[: len(data) // 2])
