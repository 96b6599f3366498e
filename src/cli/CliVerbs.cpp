// The verbs of coinwick-cli, each with the help lines `coinwick-cli --help` prints for it. The
// dispatch and the help read this one table, and the manual page is made from --help at build
// time, so a verb cannot be added without being documented in both.
#include "cli/Cli.h"

namespace cw {

const std::vector<Cli::Verb>& Cli::verbTable() {
    static const std::vector<Verb> table = {
        {"init", &Cli::cmdInit,
         "  init                 write a fresh data file under DIR (never over an existing one)\n"},
        {"lunar", &Cli::cmdLunar, "  lunar YYYY-MM-DD     the lunar date text\n"},
        {"pinyin", &Cli::cmdPinyin, "  pinyin TEXT          the pinyin code\n"},
        {"books", &Cli::cmdBooks, "  books                the books, TSV: name, created, remark\n"},
        {"newbook", &Cli::cmdNewBook,
         "  newbook NAME [password=P]  create a book with the seeded categories, as the\n"
         "                       first-book wizard does\n"},
        {"summary", &Cli::cmdSummary,
         "  summary              the dashboard figures and income/expense summary, TSV\n"},
        {"post", &Cli::cmdPost,
         "  post KIND key=value...  book one posting; prints the new row's ID\n"},
        {"edit", &Cli::cmdEdit,
         "  edit KIND ID key=value...  change a posting (a reversal, then the new\n"
         "                       values); keys not given keep their stored values\n"},
        {"delete", &Cli::cmdDelete, "  delete KIND ID       delete a posting\n"},
        {"journal", &Cli::cmdJournal,
         "  journal [account=] [from=] [to=] [member=] [remark=] [kind=] [last=N]\n"
         "                       the fund-flow journal in event order, TSV with a\n"
         "                       header row; last=N the newest N rows\n"},
        {"recompute", &Cli::cmdRecompute,
         "  recompute account=NAME  rewrite that account's journal balances in date\n"
         "                       order; prints the row count\n"},
        {"query", &Cli::cmdQuery,
         "  query in|out|transfer|debt|credit|investment|repay|collect|return\n"
         "        [from=] [to=] [category=] [account=] [member=] [contact=] [remark=]\n"
         "        [sort=ITEM] [order=asc|desc] [xlsx=FILE] [pdf=FILE]\n"
         "                       the query screen's grid as TSV with a 合计 line\n"},
        {"check", &Cli::cmdCheck,
         "  check                compare balances, journal and outstanding amounts;\n"
         "                       prints each difference, exit 1 when there is any\n"},
        {"report", &Cli::cmdReport,
         "  report monthly|yearly [from=YYYY-MM-DD] [to=YYYY-MM-DD] [account=NAME]\n"
         "        [member=NAME] [xlsx=FILE] [pdf=FILE]\n"
         "                       the report's grid as TSV with a 合计 line; xlsx= and pdf=\n"
         "                       write the screen's workbook and printed report\n"
         "  report income-by-category|income-by-account|income-by-member|\n"
         "        expense-by-category|expense-by-account|expense-by-member [xlsx=FILE]\n"
         "                       the month-by-name table\n"},
        {"stats", &Cli::cmdStats,
         "  stats in-out|debt-credit [by=category|account|member|day|month|year] [from=]\n"
         "        [to=] [account=] [member=] [sort=amount-desc|amount-asc|count-desc|\n"
         "        count-asc|name-desc|name-asc|none] [xlsx=FILE]\n"
         "                       both lists, each row tagged with its side\n"},
        {"analysis", &Cli::cmdAnalysis,
         "  analysis in|out [by=day|month|year|member|category|account] [from=] [to=]\n"
         "        [category=] [account=] [member=] [png=FILE [chart=bar|line|pie]]\n"
         "        [xlsx=FILE]\n"
         "                       统计的项 and 金额 with a 合计 line; png= paints the chart\n"},
        {"accounts", &Cli::cmdAccounts,
         "  accounts [kind=] [member=] [account=] [remark=] [xlsx=FILE]\n"
         "                       the enabled accounts with their balances\n"},
        {"backup", &Cli::cmdBackup,
         "  backup FILE|FOLDER   a consistent copy of the data file (a folder gets\n"
         "                       YYYY-MM-DD.kbk); prints the file written\n"},
        {"restore", &Cli::cmdRestore,
         "  restore FILE         put a checked backup in place of the data file; the\n"
         "                       replaced file is kept in Backup/\n"},
        {"renamebook", &Cli::cmdRenameBook,
         "  renamebook OLD NEW   rename a book everywhere (needs --book)\n"},
        {"deletebook", &Cli::cmdDeleteBook,
         "  deletebook NAME      delete a book and all its rows (needs --book)\n"},
        {"plan", &Cli::cmdPlan,
         "  plan add income|expense|investment|debt|credit category=|contact= amount=\n"
         "        account= member= [remark=] every=day|Ndays|month|year|Nmonths [n=N]\n"
         "        [day=D] [month=M] from=YYYY-MM-DD to=YYYY-MM-DD\n"
         "                       make a series of plans; prints how many\n"},
        {"plans", &Cli::cmdPlans, "  plans [due] [kind=]  the open plans, TSV with a 合计 line\n"},
        {"execute-due", &Cli::cmdExecuteDue,
         "  execute-due          execute every plan due by today; prints how many\n"},
        {"warn", &Cli::cmdWarn,
         "  warn list|add kind= member= amount= remark=|modify ID [amount=] [remark=]|\n"
         "       enable ID|disable ID|delete ID\n"
         "                       the monthly reminder thresholds\n"},
        {"import", &Cli::cmdImport,
         "  import in|out|transfer|debt|credit|investment FILE\n"
         "                       book the rows of Sheet1 of an .xls/.xlsx file;\n"
         "                       prints how many\n"},
        {"bill", &Cli::cmdBill,
         "  bill FILE [dry-run] [member=NAME] [transfers]\n"
         "                       import a WeChat Pay or Alipay bill with the remembered\n"
         "                       mappings; prints 新增, 已导入 and 跳过 counts; transfers\n"
         "                       also books the wallet moves it proposes; dry-run books\n"
         "                       nothing and lists every row as TSV\n"},
        {"statement", &Cli::cmdStatement,
         "  statement FILE account=NAME [profile=NAME] [dry-run] [member=NAME]\n"
         "                       import a bank or card statement (.csv UTF-8 or GBK, .xls,\n"
         "                       .xlsx; columns as the profile, else the recognised one,\n"
         "                       else the header words say) or a QIF or OFX file into the\n"
         "                       account; prints the bill verb's counts, then 账单余额,\n"
         "                       账户余额 and 差额 when the statement has balances\n"},
        {"export", &Cli::cmdExport,
         "  export ledger|beancount|qif|csv FILE [from=YYYY-MM-DD] [to=YYYY-MM-DD]\n"
         "                       the book for other bookkeeping programs (hledger\n"
         "                       journal, beancount, QIF, UTF-8 CSV), accounts opening at\n"
         "                       their balances before the first day; prints the number\n"
         "                       of entries\n"},
        {"notes", &Cli::cmdNotes,
         "  notes [from=] [to=] [member=] [title=] [text=] [xlsx=FILE] [pdf=FILE]\n"
         "                       the notes, TSV\n"},
        {"note", &Cli::cmdNote,
         "  note add [date=] member=NAME [title=] text=TEXT\n"
         "                       save a note; prints its ID\n"},
    };
    return table;
}

}  // namespace cw
