#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include "reference/ui/ManagerScreen.h"
#include "reference/ui/ReferenceScreens.h"
#include "reference/ui/TfrmA_M.h"
#include "reference/ui/TfrmA_TZ.h"
#include "reference/ui/TfrmJZCS.h"
#include "reference/ui/TfrmPY.h"
#include "storage/PinyinCode.h"
#include "ui/support/MainFixture.h"
#include "widgets/DatePicker.h"
#include "widgets/MoneyEdit.h"
#include "widgets/Navigator.h"
#include "widgets/QueryGrid.h"

using namespace cw;

namespace {

const QString kHome = QStringLiteral("我家账簿");
const QString kOther = QStringLiteral("别人账簿");
const QString kDeleteQuestion = QStringLiteral("确认要删除吗？该删除将不可恢复！");

// A main window over a data file with two books, the reference managers plugged in and
// the home book open.
struct Fixture : test::MainFixture {
    Fixture() {
        file.addBook(kOther);
        file.addBook(kHome);
        registerReferenceScreens(*main);
    }
    // The working window goes before the main window, as it does when the program runs.
    ~Fixture() {
        main->myfrmClose();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    ManagerScreen* open(const QString& className) {
        main->openScreen(className);
        auto* w = qobject_cast<ManagerScreen*>(main->workingWindow());
        if (w) messages.clear();
        return w;
    }

    int rows(const QString& sql, const QString& value) {
        return int(file.db()
                       .query(QStringLiteral("SELECT count(*) AS n FROM ") + sql, value)
                       .integer(QStringLiteral("n")));
    }

    // Drives the next dialog with script and answers as the dialog ended.
    template <typename Dialog>
    void nextDialog(std::function<void(Dialog&)> script) {
        onDialog = [script](QDialog& d) {
            auto* dialog = qobject_cast<Dialog*>(&d);
            if (!dialog) return int(QDialog::Rejected);
            script(*dialog);
            return d.result();
        };
    }
};

// Types as the keyboard would, Chinese characters included (keyClicks takes ASCII only).
void type(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void retype(QLineEdit* edit, const QString& text) {
    edit->clear();
    type(edit, text);
}

void pick(QComboBox* box, const QString& text) {
    box->setCurrentIndex(box->findText(text));
}

QStringList menuTexts(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

QStringList shownTitles(const QueryGrid* grid) {
    QStringList out;
    const QueryGridModel* m = grid->gridModel();
    for (int c = 0; c < m->columnCount(); ++c) {
        if (!grid->isColumnHidden(c)) out << m->headerData(c, Qt::Horizontal).toString();
    }
    return out;
}

QString cell(const ManagerScreen* w, const QString& column) {
    return w->grid()->gridModel()->textAt(w->grid()->currentRow(), column);
}

// The buttons that can be pressed, in the order of the button bar.
QStringList pressable(const ManagerScreen* w) {
    QStringList out;
    for (QPushButton* b : {w->newButton(), w->modifyButton(), w->saveNewButton(),
                           w->saveEditButton(), w->cancelButton(), w->deleteButton()}) {
        if (b && !b->isHidden() && b->isEnabled()) out << b->text();
    }
    return out;
}

}  // namespace

class ManagersTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void everyManagerIsRegisteredUnderItsClassName();
    void categoryManagersAddRefuseModifyAndDelete();
    void modesSwitchButtonsGridAndNavigator();
    void titlesSortOnlyWhereTheListSaysSo();
    void popupMenusInTheirOrder();
    void enableAndDisableRefreshTheList();
    void pinyinDialogRefreshesItsOwner();
    void countDialogTakesDigitsOnlyAndRefreshesItsOwner();
    void familyManagerKeepsTheBirthdayAndRenamesEverywhere();
    void accountManagerOpensChecksAndDeletes();
    void accountDialogsModifyAndAdjust();
};

void ManagersTest::everyManagerIsRegisteredUnderItsClassName() {
    Fixture fx;
    const std::pair<const char*, const char*> screens[] = {
        {"TfrmIn_Manage", "收入类别"}, {"TfrmOut_Manage", "支出类别"},
        {"TfrmT_Manage", "投资类别"},  {"TfrmFamily", "家庭成员管理"},
        {"TfrmP_Manage", "往来人员"},  {"TfrmA_Manage", "账户管理"},
    };
    for (const auto& [cls, caption] : screens) {
        ManagerScreen* w = fx.open(QLatin1String(cls));
        QVERIFY2(w, cls);
        QCOMPARE(fx.main->workingWindowClass(), QLatin1String(cls));
        QCOMPARE(w->objectName(), QLatin1String(cls));
        QCOMPARE(w->windowTitle(), QString::fromUtf8(caption));
    }
    QVERIFY(fx.main->action(QStringLiteral("家庭成员 &F"))->isEnabled());
    QVERIFY(fx.main->action(QStringLiteral("投资分类 &T"))->isEnabled());

    ManagerScreen* in = fx.open(QStringLiteral("TfrmIn_Manage"));
    QCOMPARE(in->entryGroup()->title(), QStringLiteral("收入类别信息"));
    QCOMPARE(shownTitles(in->grid()),
             QStringList({"收入类别", "拼音码", "备注", "状态", "记账次数"}));
    ManagerScreen* out = fx.open(QStringLiteral("TfrmOut_Manage"));
    QCOMPARE(shownTitles(out->grid()),
             QStringList({"支出类别", "拼音码", "备注", "状态", "记账次数", "月上限"}));
    QVERIFY(out->capEdit());
    ManagerScreen* family = fx.open(QStringLiteral("TfrmFamily"));
    QCOMPARE(shownTitles(family->grid()), QStringList({"姓名", "拼音码", "关系", "生日", "备注"}));
    QCOMPARE(family->grid()->toolTip(), QStringLiteral("亲，鼠标右键 有惊喜哟！"));
    QCOMPARE(family->modifyButton()->text(), QStringLiteral("修改（&M）"));
    ManagerScreen* accounts = fx.open(QStringLiteral("TfrmA_Manage"));
    QCOMPARE(shownTitles(accounts->grid()),
             QStringList({"账户分类", "家庭成员", "账户名称", "拼音码", "账户余额", "备注", "状态",
                          "记账次数"}));
    QVERIFY(!accounts->modifyButton());
    QVERIFY(!accounts->saveEditButton());
    QCOMPARE(accounts->typeBox()->count(), 5);
}

void ManagersTest::categoryManagersAddRefuseModifyAndDelete() {
    struct Case {
        const char* cls;
        const char* label;
        const char* postings;  // the postings table and its name column
        const char* column;
    };
    const Case cases[] = {
        {"TfrmIn_Manage", "收入类别", "InTable", "IName"},
        {"TfrmOut_Manage", "支出类别", "OutTable", "OName"},
        {"TfrmT_Manage", "投资类别", "TTable", "TName"},
    };
    for (const Case& c : cases) {
        Fixture fx;
        const QString label = QString::fromUtf8(c.label);
        const QString postings = QLatin1String(c.postings);
        const QString column = QLatin1String(c.column);
        ManagerScreen* w = fx.open(QLatin1String(c.cls));
        QVERIFY(w);

        w->newButton()->click();
        w->saveNewButton()->click();
        QCOMPARE(fx.messages.texts(), QStringList({label + "不能为空！请重新录入！"}));
        QCOMPARE(w->mode(), ManagerScreen::Mode::Adding);

        type(w->nameEdit(), QStringLiteral("工资"));
        w->remarkEdit()->setText(QStringLiteral("每月"));
        if (w->capEdit()) w->capEdit()->setText(QStringLiteral("500"));
        w->saveNewButton()->click();
        QCOMPARE(w->mode(), ManagerScreen::Mode::Browse);
        QCOMPARE(w->grid()->gridModel()->rowCount(), 1);
        QCOMPARE(cell(w, label), QStringLiteral("工资"));
        QCOMPARE(cell(w, "拼音码"), PinyinCode::of(QStringLiteral("工资")));
        QCOMPARE(cell(w, "状态"), QStringLiteral("启用"));
        if (w->capEdit()) QCOMPARE(cell(w, "月上限"), QStringLiteral("500"));

        fx.messages.clear();
        w->newButton()->click();
        w->nameEdit()->setText(QStringLiteral("工资"));
        w->saveNewButton()->click();
        QCOMPARE(fx.messages.texts(), QStringList({label + "添加重复！"}));
        QCOMPARE(w->mode(), ManagerScreen::Mode::Adding);
        w->cancelButton()->click();
        QCOMPARE(w->nameEdit()->text(), QStringLiteral("工资"));

        // A rename reaches the postings of this book only.
        fx.file.db().exec(QStringLiteral("INSERT INTO %1(BName,%2) VALUES(?,'工资'),(?,'工资')")
                              .arg(postings, column),
                          kHome, kOther);
        w->modifyButton()->click();
        QCOMPARE(w->mode(), ManagerScreen::Mode::Modifying);
        retype(w->nameEdit(), QStringLiteral("薪水's"));
        w->saveEditButton()->click();
        QCOMPARE(w->mode(), ManagerScreen::Mode::Browse);
        QCOMPARE(cell(w, label), QStringLiteral("薪水's"));
        QCOMPARE(cell(w, "拼音码"), PinyinCode::of(QStringLiteral("薪水's")));
        QCOMPARE(
            fx.rows(postings + QStringLiteral(" WHERE %1=?").arg(column), QStringLiteral("薪水's")),
            1);
        QCOMPARE(
            fx.rows(postings + QStringLiteral(" WHERE %1=?").arg(column), QStringLiteral("工资")),
            1);

        fx.messages.clear();
        fx.messages.answers = {false};
        w->deleteButton()->click();
        QCOMPARE(fx.messages.entries.size(), 1);
        QCOMPARE(fx.messages.entries[0].kind, QStringLiteral("ask"));
        QCOMPARE(fx.messages.entries[0].text, kDeleteQuestion);
        QCOMPARE(fx.messages.entries[0].caption, QStringLiteral("删除"));
        QVERIFY(!fx.messages.entries[0].defaultYes);
        QCOMPARE(w->grid()->gridModel()->rowCount(), 1);
        fx.messages.answers = {true};
        w->deleteButton()->click();
        QCOMPARE(w->grid()->gridModel()->rowCount(), 0);
        QVERIFY(w->nameEdit()->text().isEmpty());
        // With no row, delete and modify do nothing at all.
        fx.messages.clear();
        w->deleteButton()->click();
        w->modifyButton()->click();
        QVERIFY(fx.messages.entries.isEmpty());
        QCOMPARE(w->mode(), ManagerScreen::Mode::Browse);
    }
}

void ManagersTest::modesSwitchButtonsGridAndNavigator() {
    Fixture fx;
    ManagerScreen* w = fx.open(QStringLiteral("TfrmP_Manage"));
    for (const QString& name : {QStringLiteral("老王"), QStringLiteral("老李")}) {
        w->newButton()->click();
        w->nameEdit()->setText(name);
        w->saveNewButton()->click();
    }
    const QStringList browse = {"新增（&N）", "修改（&E）", "删除（&D）"};
    QCOMPARE(pressable(w), browse);
    QVERIFY(!w->entryGroup()->isEnabled());
    QVERIFY(!w->grid()->isLocked());
    QVERIFY(w->navigator()->firstButton()->isEnabled());
    QVERIFY(w->exitButton()->isEnabled());

    w->newButton()->click();
    QCOMPARE(pressable(w), QStringList({"保存（&S）", "取消（&C）"}));
    QVERIFY(!w->saveNewButton()->isHidden());
    QVERIFY(w->saveEditButton()->isHidden());
    QVERIFY(w->entryGroup()->isEnabled());
    QVERIFY(w->grid()->isLocked());
    QVERIFY(!w->navigator()->firstButton()->isEnabled());
    QVERIFY(w->nameEdit()->text().isEmpty());
    w->cancelButton()->click();
    QCOMPARE(pressable(w), browse);
    QCOMPARE(w->nameEdit()->text(), cell(w, "往来人员"));

    w->navigator()->first();
    w->modifyButton()->click();
    QCOMPARE(pressable(w), QStringList({"保存（&S）", "取消（&C）"}));
    QVERIFY(w->saveNewButton()->isHidden());
    QVERIFY(!w->saveEditButton()->isHidden());
    QVERIFY(w->grid()->isLocked());
    // Saving in the other mode's way does nothing.
    w->ButSaveNewClick();
    QCOMPARE(w->mode(), ManagerScreen::Mode::Modifying);
    w->nameEdit()->clear();
    w->saveEditButton()->click();
    QCOMPARE(fx.messages.texts(), QStringList({"往来人员不能为空！请重新录入！"}));
    // Onto the other contact's name: the two would merge.
    fx.messages.clear();
    w->nameEdit()->setText(QStringLiteral("老李"));
    w->saveEditButton()->click();
    QCOMPARE(fx.messages.texts(), QStringList({"往来人员添加重复！"}));
    QCOMPARE(w->mode(), ManagerScreen::Mode::Modifying);
    w->cancelButton()->click();
    QCOMPARE(fx.rows(QStringLiteral("PD WHERE PName=?"), QStringLiteral("老王")), 1);
    QCOMPARE(fx.rows(QStringLiteral("PD WHERE PName=?"), QStringLiteral("老李")), 1);

    // The entry group follows the current row while browsing.
    w->navigator()->last();
    QCOMPARE(w->nameEdit()->text(), QStringLiteral("老李"));
    w->navigator()->first();
    QCOMPARE(w->nameEdit()->text(), QStringLiteral("老王"));
    fx.messages.answers = {true};
    w->deleteButton()->click();
    QCOMPARE(fx.rows(QStringLiteral("PD WHERE BName=?"), kHome), 1);
    QCOMPARE(w->nameEdit()->text(), QStringLiteral("老李"));
    w->exitButton()->click();
    QTRY_VERIFY(fx.main->workingWindow() == nullptr);
}

void ManagersTest::titlesSortOnlyWhereTheListSaysSo() {
    Fixture fx;
    for (const char* name : {"b", "a"}) {
        fx.file.db().exec(
            QStringLiteral("INSERT INTO InD(BName,IName,theState) VALUES(?,?,'启用')"), kHome,
            QString::fromLatin1(name));
        fx.file.db().exec(QStringLiteral("INSERT INTO PD(BName,PName,theState) VALUES(?,?,'启用')"),
                          kHome, QString::fromLatin1(name));
    }
    ManagerScreen* in = fx.open(QStringLiteral("TfrmIn_Manage"));
    emit in->grid()->horizontalHeader()->sectionClicked(0);
    QCOMPARE(in->grid()->gridModel()->sortColumn(), -1);
    QCOMPARE(cell(in, "收入类别"), QStringLiteral("b"));

    ManagerScreen* contacts = fx.open(QStringLiteral("TfrmP_Manage"));
    emit contacts->grid()->horizontalHeader()->sectionClicked(0);
    const QueryGridModel* m = contacts->grid()->gridModel();
    QCOMPARE(m->sortColumn(), 0);
    QCOMPARE(m->sortOrder(), Qt::AscendingOrder);
    QCOMPARE(m->headerData(0, Qt::Horizontal, Qt::ForegroundRole).value<QBrush>().color(),
             QColor(Qt::red));
    QCOMPARE(m->textAt(0, QStringLiteral("往来人员")), QStringLiteral("a"));
    emit contacts->grid()->horizontalHeader()->sectionClicked(0);
    QCOMPARE(m->sortOrder(), Qt::DescendingOrder);
    QCOMPARE(m->headerData(0, Qt::Horizontal, Qt::ForegroundRole).value<QBrush>().color(),
             QColor(Qt::blue));
}

void ManagersTest::popupMenusInTheirOrder() {
    Fixture fx;
    const QStringList categories = {"启用 &S", "停用 &E", "-", "修改拼音码 &P", "修改记账次数 &A"};
    for (const char* cls : {"TfrmIn_Manage", "TfrmOut_Manage", "TfrmT_Manage", "TfrmP_Manage"}) {
        QCOMPARE(menuTexts(fx.open(QLatin1String(cls))->popupMenu()), categories);
    }
    ManagerScreen* family = fx.open(QStringLiteral("TfrmFamily"));
    QCOMPARE(menuTexts(family->popupMenu()), QStringList({"修改拼音码 &P", "查看流动记录 &V"}));
    QVERIFY(family->commandAction(ManagerScreen::Command::ViewLog)->isEnabled());
    ManagerScreen* accounts = fx.open(QStringLiteral("TfrmA_Manage"));
    QCOMPARE(menuTexts(accounts->popupMenu()),
             QStringList({"查看流动日志 &V", "-", "启用 &S", "停用 &E", "-", "修改拼音码 &P",
                          "修改记账次数 &A", "-", "调整账户余额 &T", "修改账户 &M"}));
    QAction* log = accounts->commandAction(ManagerScreen::Command::ViewLog);
    QVERIFY(log && log->isEnabled());
    // Outside the main window there is no log to open: a double-click does nothing.
    fx.file.addAccount(QStringLiteral("现金"));
    accounts->myRef();
    emit accounts->grid()->rowDoubleClicked(0);
    QVERIFY(fx.dialogs.isEmpty());
    QVERIFY(fx.messages.entries.isEmpty());
}

void ManagersTest::enableAndDisableRefreshTheList() {
    Fixture fx;
    ManagerScreen* w = fx.open(QStringLiteral("TfrmOut_Manage"));
    w->newButton()->click();
    w->nameEdit()->setText(QStringLiteral("食品"));
    w->saveNewButton()->click();
    w->commandAction(ManagerScreen::Command::Disable)->trigger();
    QCOMPARE(cell(w, "状态"), QStringLiteral("停用"));
    QVERIFY(!fx.ctx.dm.ComOutType().contains(QStringLiteral("食品")));
    w->commandAction(ManagerScreen::Command::Enable)->trigger();
    QCOMPARE(cell(w, "状态"), QStringLiteral("启用"));
    QVERIFY(fx.ctx.dm.ComOutType().contains(QStringLiteral("食品")));
}

void ManagersTest::pinyinDialogRefreshesItsOwner() {
    Fixture fx;
    fx.file.db().exec(
        QStringLiteral("INSERT INTO SFamily(BName,FName,thePY) VALUES(?,'爸爸','BB')"), kHome);
    ManagerScreen* w = fx.open(QStringLiteral("TfrmFamily"));
    fx.nextDialog<TfrmPY>([&](TfrmPY& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("爸爸 拼音码 修改"));
        QCOMPARE(d.codeEdit()->text(), QStringLiteral("BB"));
        QCOMPARE(d.codeEdit()->maxLength(), 20);
        d.codeEdit()->clear();
        d.modifyButton()->click();
        QCOMPARE(fx.messages.texts(), QStringList({"拼音码 不能为空！"}));
        QCOMPARE(d.result(), int(QDialog::Rejected));
        d.codeEdit()->setText(QStringLiteral("PAPA"));
        d.modifyButton()->click();
    });
    w->commandAction(ManagerScreen::Command::Pinyin)->trigger();
    QCOMPARE(fx.dialogs, QStringList({"cw::TfrmPY"}));
    QCOMPARE(cell(w, "拼音码"), QStringLiteral("PAPA"));
    // The next modification makes the code from the name again.
    w->modifyButton()->click();
    w->saveEditButton()->click();
    QCOMPARE(cell(w, "拼音码"), PinyinCode::of(QStringLiteral("爸爸")));
}

void ManagersTest::countDialogTakesDigitsOnlyAndRefreshesItsOwner() {
    Fixture fx;
    fx.file.addAccount(QStringLiteral("现金"));
    ManagerScreen* w = fx.open(QStringLiteral("TfrmA_Manage"));
    fx.nextDialog<TfrmJZCS>([&](TfrmJZCS& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("修改记账次数"));
        QCOMPARE(d.findChild<QGroupBox*>()->title(), QStringLiteral("现金 的记账次数"));
        QCOMPARE(d.countEdit()->text(), QStringLiteral("0"));
        d.countEdit()->clear();
        d.modifyButton()->click();
        QCOMPARE(fx.messages.texts(), QStringList({"记账次数 不能为空！"}));
        QTest::keyClicks(d.countEdit(), QStringLiteral("-1.2x34567"));
        QCOMPARE(d.countEdit()->text(), QStringLiteral("123456"));
        d.modifyButton()->click();
    });
    w->commandAction(ManagerScreen::Command::Count)->trigger();
    QCOMPARE(cell(w, "记账次数"), QStringLiteral("123456"));
}

void ManagersTest::familyManagerKeepsTheBirthdayAndRenamesEverywhere() {
    Fixture fx;
    fx.file.db().exec(
        QStringLiteral("INSERT INTO SFamily(BName,FName,BirDate) VALUES(?,'爷爷',''),(?,'奶奶',"
                       "'1950-06-07'),(?,'外公','不详')"),
        kHome, kHome, kHome);
    ManagerScreen* w = fx.open(QStringLiteral("TfrmFamily"));
    QVERIFY(w->birthdayPicker()->isHidden());
    QVERIFY(!w->birthdayText()->isHidden());

    // A new member starts on 1980-01-01; the picker then keeps the last date it held.
    w->newButton()->click();
    QVERIFY(!w->birthdayPicker()->isHidden());
    QVERIFY(w->birthdayText()->isHidden());
    QCOMPARE(w->birthdayPicker()->text(), QStringLiteral("1980-01-01"));
    type(w->nameEdit(), QStringLiteral("爸爸"));
    w->relationEdit()->setText(QStringLiteral("父亲"));
    w->birthdayPicker()->setText(QStringLiteral("1976-05-04"));
    w->saveNewButton()->click();
    QCOMPARE(cell(w, "生日"), QStringLiteral("1976-05-04"));
    QCOMPARE(cell(w, "关系"), QStringLiteral("父亲"));
    QCOMPARE(w->birthdayText()->text(), QStringLiteral("1976-05-04"));
    w->newButton()->click();
    QCOMPARE(w->birthdayPicker()->text(), QStringLiteral("1976-05-04"));
    w->nameEdit()->setText(QStringLiteral("爸爸"));
    w->saveNewButton()->click();
    QCOMPARE(fx.messages.texts(), QStringList({"姓名添加重复！"}));
    w->cancelButton()->click();

    // Modifications that leave the picker alone keep what is stored, an empty birthday too.
    fx.file.db().exec(
        QStringLiteral("INSERT INTO SAccount(BName,AName,FName) VALUES(?,'存折','爷爷'),"
                       "(?,'存折','爷爷')"),
        kHome, kOther);
    fx.file.db().exec(QStringLiteral("INSERT INTO UWarn(BName,FName) VALUES(?,'爷爷')"), kHome);
    fx.ctx.state.myFName = QStringLiteral("爷爷");
    w->navigator()->first();
    QCOMPARE(w->nameEdit()->text(), QStringLiteral("爷爷"));
    w->modifyButton()->click();
    QCOMPARE(w->birthdayPicker()->text(), QString());
    w->nameEdit()->setText(QStringLiteral("祖父"));
    w->saveEditButton()->click();
    QCOMPARE(cell(w, "姓名"), QStringLiteral("祖父"));
    QCOMPARE(cell(w, "生日"), QString());
    QCOMPARE(fx.rows(QStringLiteral("SAccount WHERE FName='祖父' AND BName=?"), kHome), 1);
    QCOMPARE(fx.rows(QStringLiteral("SAccount WHERE FName='爷爷' AND BName=?"), kOther), 1);
    QCOMPARE(fx.rows(QStringLiteral("UWarn WHERE FName='祖父' AND BName=?"), kHome), 1);
    QCOMPARE(fx.ctx.state.myFName, QStringLiteral("祖父"));

    w->navigator()->next();
    QCOMPARE(w->nameEdit()->text(), QStringLiteral("奶奶"));
    w->modifyButton()->click();
    QCOMPARE(w->birthdayPicker()->text(), QStringLiteral("1950-06-07"));
    w->remarkEdit()->setText(QStringLiteral("外婆家"));
    w->saveEditButton()->click();
    QCOMPARE(cell(w, "生日"), QStringLiteral("1950-06-07"));
    QCOMPARE(cell(w, "备注"), QStringLiteral("外婆家"));
    // A date the user picks is stored.
    w->modifyButton()->click();
    w->birthdayPicker()->setText(QStringLiteral("1951-01-02"));
    w->saveEditButton()->click();
    QCOMPARE(cell(w, "生日"), QStringLiteral("1951-01-02"));
    // A stored text that is no date cannot be shown by the picker, and stays as it is.
    w->navigator()->next();
    w->modifyButton()->click();
    w->relationEdit()->setText(QStringLiteral("外祖父"));
    w->saveEditButton()->click();
    QCOMPARE(cell(w, "姓名"), QStringLiteral("外公"));
    QCOMPARE(cell(w, "生日"), QStringLiteral("不详"));
}

void ManagersTest::accountManagerOpensChecksAndDeletes() {
    Fixture fx;
    fx.file.db().exec(QStringLiteral("INSERT INTO SFamily(BName,FName) VALUES(?,'爸爸')"), kHome);
    ManagerScreen* w = fx.open(QStringLiteral("TfrmA_Manage"));
    QCOMPARE(w->memberBox()->count(), 1);

    w->newButton()->click();
    QCOMPARE(pressable(w), QStringList({"保存（&S）", "取消（&C）"}));
    QCOMPARE(w->typeBox()->currentIndex(), -1);
    const auto save = [&] {
        fx.messages.clear();
        w->saveNewButton()->click();
        return fx.messages.last();
    };
    QCOMPARE(save(), QStringLiteral("请选择 账户分类！"));
    pick(w->typeBox(), QStringLiteral("信用卡"));
    QCOMPARE(save(), QStringLiteral("请选择 家庭成员！"));
    pick(w->memberBox(), QStringLiteral("爸爸"));
    QCOMPARE(save(), QStringLiteral("账户名称不能为空！请重新录入！"));
    type(w->nameEdit(), QStringLiteral("招行信用卡"));
    QCOMPARE(save(), QStringLiteral("账户余额不能为空！请重新录入！"));
    QTest::keyClicks(w->amountEdit(), QStringLiteral("-500"));
    QCOMPARE(save(), QString());
    QCOMPARE(w->mode(), ManagerScreen::Mode::Browse);
    QCOMPARE(cell(w, "账户余额"), QStringLiteral("-500"));
    QCOMPARE(w->grid()->gridModel()->data(w->grid()->gridModel()->index(0, 5)).toString(),
             QStringLiteral("-500.00"));
    const Query journal = fx.file.db().query(QStringLiteral("SELECT * FROM UList"));
    QCOMPARE(journal.recordCount(), 1);
    QCOMPARE(journal.text(QStringLiteral("theType")), QStringLiteral("开户"));
    QCOMPARE(journal.number(QStringLiteral("theIn")), -500.0);

    w->newButton()->click();
    pick(w->typeBox(), QStringLiteral("现金"));
    pick(w->memberBox(), QStringLiteral("爸爸"));
    w->nameEdit()->setText(QStringLiteral("招行信用卡"));
    w->amountEdit()->setText(QStringLiteral("0"));
    QCOMPARE(save(), QStringLiteral("账户名称添加重复！"));
    w->cancelButton()->click();

    // A balance other than 0 is refused before any question.
    fx.messages.clear();
    w->deleteButton()->click();
    QCOMPARE(
        fx.messages.texts(),
        QStringList({"账户余额不为零，不能删除；若要删除，请将该账户余额转账到其它账户后删除！"}));
    fx.file.db().exec(QStringLiteral("UPDATE SAccount SET AMoney=0.004"));
    w->myRef();
    fx.messages.clear();
    fx.messages.answers = {true};
    w->deleteButton()->click();
    QCOMPARE(fx.messages.texts(), QStringList({kDeleteQuestion}));
    QCOMPARE(w->grid()->gridModel()->rowCount(), 0);
    QCOMPARE(fx.file.count(QStringLiteral("UList")), 1);
}

void ManagersTest::accountDialogsModifyAndAdjust() {
    Fixture fx;
    fx.file.db().exec(
        QStringLiteral("INSERT INTO SFamily(BName,FName) VALUES(?,'爸爸'),(?,'妈妈')"), kHome,
        kHome);
    fx.file.addAccount(QStringLiteral("现金"), 100, QStringLiteral("爸爸"));
    fx.file.addAccount(QStringLiteral("工行卡"), 0, QStringLiteral("妈妈"),
                       QStringLiteral("银行卡"));
    fx.file.db().exec(
        QStringLiteral("INSERT INTO ChangeT(BName,OldN,NewN) VALUES(?,'现金','工行卡'),"
                       "(?,'工行卡','现金')"),
        kHome, kHome);
    ManagerScreen* w = fx.open(QStringLiteral("TfrmA_Manage"));
    QCOMPARE(cell(w, "账户名称"), QStringLiteral("现金"));

    fx.nextDialog<TfrmA_M>([&](TfrmA_M& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("修改账户"));
        QCOMPARE(d.typeBox()->currentText(), QStringLiteral("现金"));
        QCOMPARE(d.memberBox()->currentText(), QStringLiteral("爸爸"));
        QCOMPARE(d.nameEdit()->maxLength(), 20);
        QCOMPARE(d.remarkEdit()->maxLength(), 50);
        QVERIFY(d.saveButton()->isDefault());
        d.nameEdit()->setText(QStringLiteral("工行卡"));
        d.saveButton()->click();
        QCOMPARE(fx.messages.texts(), QStringList({"账户名称添加重复！"}));
        d.nameEdit()->clear();
        d.saveButton()->click();
        QCOMPARE(fx.messages.last(), QStringLiteral("账户名称不能为空！请重新录入！"));
        fx.messages.clear();
        d.nameEdit()->setText(QStringLiteral("钱包"));
        pick(d.memberBox(), QStringLiteral("妈妈"));
        d.saveButton()->click();
        QCOMPARE(fx.messages.texts(), QStringList({"账户修改 保存成功！"}));
    });
    w->commandAction(ManagerScreen::Command::ModifyAccount)->trigger();
    QCOMPARE(cell(w, "账户名称"), QStringLiteral("钱包"));
    QCOMPARE(cell(w, "家庭成员"), QStringLiteral("妈妈"));
    QCOMPARE(
        fx.rows(QStringLiteral("ChangeT WHERE OldN='钱包' AND NewN=?"), QStringLiteral("工行卡")),
        1);
    QCOMPARE(
        fx.rows(QStringLiteral("ChangeT WHERE NewN='钱包' AND OldN=?"), QStringLiteral("工行卡")),
        1);

    fx.messages.clear();
    fx.nextDialog<TfrmA_TZ>([&](TfrmA_TZ& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("调整账户余额"));
        QStringList shown;
        for (QLineEdit* e : d.accountFields()) {
            QVERIFY(e->isReadOnly());
            shown << e->text();
        }
        QCOMPARE(shown, QStringList({"现金", "妈妈", "钱包", "100.00", ""}));
        QCOMPARE(d.actualEdit()->maxLength(), 10);
        d.saveButton()->click();
        QCOMPARE(fx.messages.last(), QStringLiteral("实际余额 不能为空！请重新录入！"));
        QTest::keyClicks(d.actualEdit(), QStringLiteral("100.0"));
        d.saveButton()->click();
        QCOMPARE(fx.messages.last(), QStringLiteral("实际余额 不能等于 账户余额！请重新录入！"));
        d.actualEdit()->clear();
        QTest::keyClicks(d.actualEdit(), QStringLiteral("a2b5-0"));
        QCOMPARE(d.actualEdit()->text(), QStringLiteral("250"));
        d.saveButton()->click();
        QCOMPARE(fx.messages.last(), QStringLiteral("恭喜！恭喜！ 调整账户余额 保存成功！"));
    });
    w->commandAction(ManagerScreen::Command::Adjust)->trigger();
    QCOMPARE(cell(w, "账户余额"), QStringLiteral("250"));
    const Query journal =
        fx.file.db().query(QStringLiteral("SELECT * FROM UList WHERE theType='调账'"));
    QCOMPARE(journal.recordCount(), 1);
    QCOMPARE(journal.number(QStringLiteral("theIn")), 150.0);
    QCOMPARE(journal.text(QStringLiteral("AName")), QStringLiteral("钱包"));

    // Closing the account manager brings the dashboard up to date.
    w->exitButton()->click();
    QTRY_VERIFY(fx.main->workingWindow() == nullptr);
    QCOMPARE(fx.main->dashboard().cash, 250.0);
}

QTEST_MAIN(ManagersTest)
#include "ManagersTest.moc"
