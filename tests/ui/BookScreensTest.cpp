#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "bookkeeping/ui/BookkeepingScreens.h"
#include "bookkeeping/ui/PostingScreen.h"
#include "books/ui/TfrmB_M.h"
#include "books/ui/TfrmB_Manage.h"
#include "books/ui/TfrmBackup.h"
#include "books/ui/TfrmMRX.h"
#include "books/ui/TfrmRecover.h"
#include "books/ui/TfrmSZ_PX.h"
#include "books/ui/TfrmSound.h"
#include "storage/Database.h"
#include "ui/support/MainFixture.h"
#include "widgets/NameComboBox.h"
#include "widgets/QueryGrid.h"

using namespace cw;

namespace {

const QString kHome = QStringLiteral("我家");
const QString kOther = QStringLiteral("别家");

// Typed key by key: keyClicks cannot send Chinese characters.
void type(QLineEdit* edit, const QString& text) {
    edit->clear();
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Two books with the home book open, a main window over them whose program end is recorded.
struct Fixture : test::MainFixture {
    int ended = 0;

    Fixture() {
        file.addBook(kOther, QStringLiteral("2"));
        file.addBook(kHome, QStringLiteral("1"));
        file.db().exec(QStringLiteral("INSERT INTO UThing(BName, Title) VALUES(?, '记事')"),
                       kOther);
        ctx.endProgram = [this] { ++ended; };
        main->myShow(true);
    }
    ~Fixture() {
        main->myfrmClose();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Drives the next dialog of that class with script; the dialog's result is the answer.
    template <typename Dialog>
    void nextDialog(std::function<void(Dialog&)> script) {
        onDialog = [script](QDialog& d) {
            auto* dialog = qobject_cast<Dialog*>(&d);
            if (!dialog) return int(QDialog::Rejected);
            script(*dialog);
            return d.result();
        };
    }

    int rows(const QString& table, const QString& book) {
        return int(
            file.db()
                .query(QStringLiteral("SELECT count(*) AS n FROM %1 WHERE BName=?").arg(table),
                       book)
                .integer(QStringLiteral("n")));
    }
    QString stored(const QString& sql) {
        const Query q = file.db().query(sql);
        return q.isEmpty() ? QString() : q.value(0, 0).toString();
    }
};

QStringList column(QueryGrid* grid, const QString& name) {
    QStringList out;
    for (int r = 0; r < grid->gridModel()->rowCount(); ++r)
        out << grid->gridModel()->textAt(r, name);
    return out;
}

}  // namespace

class BookScreensTest : public QObject {
    Q_OBJECT

  private slots:
    void menuItemsComeAlive();
    void bookManagerDeletesOtherBooksOnly();
    void renameDialogChecksThenEndsTheProgram();
    void backupDialogCopiesAndStoresTheTick();
    void restoreDialogRefusesForeignFilesAndClosesTheBook();
    void sortSettingsEndTheProgram();
    void defaultItemsTakeEffectAtOnce();
    void soundDialogPlaysAndReplaces();
};

void BookScreensTest::menuItemsComeAlive() {
    Fixture fx;
    for (const char* item : {"账簿管理 &B", "备份数据 &D", "数据恢复 &R", "排序设置 &X",
                             "默认项设置 &M", "提醒声音设置 &S"}) {
        QVERIFY2(fx.main->action(QString::fromUtf8(item))->isEnabled(), item);
    }
    fx.main->action(QStringLiteral("账簿管理 &B"))->trigger();
    QCOMPARE(fx.main->workingWindowClass(), QStringLiteral("TfrmB_Manage"));
    fx.main->action(QStringLiteral("备份数据 &D"))->trigger();
    QCOMPARE(fx.main->workingWindow(), nullptr);
    QCOMPARE(fx.dialogs, QStringList{QStringLiteral("cw::TfrmBackup")});
}

void BookScreensTest::bookManagerDeletesOtherBooksOnly() {
    Fixture fx;
    fx.main->openScreen(QStringLiteral("TfrmB_Manage"));
    auto* w = qobject_cast<TfrmB_Manage*>(fx.main->workingWindow());
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("账簿管理"));
    QCOMPARE(column(w->grid(), QStringLiteral("账簿名称")), (QStringList{kHome, kOther}));
    QCOMPARE(column(w->grid(), QStringLiteral("创建日期")),
             (QStringList{QStringLiteral("2026-12-09"), QStringLiteral("2026-12-09")}));
    QCOMPARE(w->popupMenu()->actions().first()->text(), QStringLiteral("修改 &M"));

    // The open book stays, without a question.
    w->grid()->selectRow(0);
    w->deleteButton()->click();
    QCOMPARE(fx.messages.texts(), QStringList{QStringLiteral("不能删除当前打开账簿！")});

    // No keeps the other book; Yes takes it with all its rows.
    fx.messages.clear();
    w->grid()->selectRow(1);
    w->deleteButton()->click();
    QCOMPARE(fx.messages.entries.size(), 1);
    QCOMPARE(fx.messages.entries[0].text,
             QStringLiteral("确认要删除吗？该删除将将删除该账簿所有记账数据！"));
    QCOMPARE(fx.messages.entries[0].caption, QStringLiteral("删除"));
    QVERIFY(!fx.messages.entries[0].defaultYes);
    QCOMPARE(fx.rows(QStringLiteral("SBook"), kOther), 1);

    fx.messages.answers = {true};
    w->deleteButton()->click();
    QCOMPARE(fx.rows(QStringLiteral("SBook"), kOther), 0);
    QCOMPARE(fx.rows(QStringLiteral("UThing"), kOther), 0);
    QCOMPARE(fx.rows(QStringLiteral("SMRX"), kOther), 0);
    QCOMPARE(column(w->grid(), QStringLiteral("账簿名称")), QStringList{kHome});
    QCOMPARE(w->currentBook(), kHome);
    QCOMPARE(fx.ended, 0);

    w->exitButton()->click();
    QTRY_VERIFY(fx.main->workingWindow() == nullptr);
}

void BookScreensTest::renameDialogChecksThenEndsTheProgram() {
    Fixture fx;
    fx.main->openScreen(QStringLiteral("TfrmB_Manage"));
    auto* w = qobject_cast<TfrmB_Manage*>(fx.main->workingWindow());
    QVERIFY(w);
    w->grid()->selectRow(1);

    QStringList seen;
    fx.nextDialog<TfrmB_M>([&](TfrmB_M& d) {
        QCOMPARE(d.windowTitle(), kOther + QStringLiteral(" 修改"));
        QCOMPARE(d.nameEdit()->text(), kOther);
        QCOMPARE(d.nameEdit()->maxLength(), 20);
        for (const QString& name : {QString(), kOther, kHome}) {
            d.nameEdit()->setText(name);
            d.modifyButton()->click();
            seen << fx.messages.last();
        }
        QCOMPARE(fx.ended, 0);
        type(d.nameEdit(), QStringLiteral("新'名"));
        d.modifyButton()->click();
    });
    w->modifyAction()->trigger();
    QCOMPARE(seen, (QStringList{QStringLiteral("账簿名称 不能为空！"),
                                QStringLiteral("账簿名称 不能和以前一样！"),
                                QStringLiteral("账簿名称 已经存在！")}));
    QCOMPARE(fx.messages.last(), QStringLiteral("账簿名称 修改成功，请重新打开 Coinwick ！"));
    QCOMPARE(fx.ended, 1);
    QCOMPARE(fx.rows(QStringLiteral("SBook"), QStringLiteral("新'名")), 1);
    QCOMPARE(fx.rows(QStringLiteral("UThing"), QStringLiteral("新'名")), 1);
    QCOMPARE(fx.rows(QStringLiteral("SMRX"), kOther), 0);
}

void BookScreensTest::backupDialogCopiesAndStoresTheTick() {
    Fixture fx;
    const QString folder = fx.file.programDir() + QStringLiteral("/外部");
    QDir().mkpath(folder);
    const QString target = folder + QStringLiteral("/2026-12-09.kbk");
    fx.ctx.state.myAutoBackup = QStringLiteral("是");

    // Picking a folder clears the tick and fills in the day's file; closing stores the tick.
    fx.nextDialog<TfrmBackup>([&](TfrmBackup& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("数据备份"));
        QVERIFY(d.autoBackupBox()->isChecked());
        d.setFolderPicker([&](QWidget*, const QString&) { return folder; });
        d.chooseButton()->click();
        QVERIFY(!d.autoBackupBox()->isChecked());
        QCOMPARE(QDir::fromNativeSeparators(d.pathEdit()->text()), target);
        d.backupButton()->click();
    });
    fx.main->openScreen(QStringLiteral("TfrmBackup"));
    QCOMPARE(fx.messages.texts(), QStringList{QStringLiteral("数据备份成功！")});
    QVERIFY(Database::open(target)->hasTable(QStringLiteral("UThing")));
    QCOMPARE(fx.ctx.state.myAutoBackup, QStringLiteral("否"));
    QCOMPARE(fx.stored(QStringLiteral("SELECT theB FROM SBase WHERE ID=1")), QStringLiteral("否"));

    // A cancelled picker empties the path; the backup then asks for one and stays open.
    fx.messages.clear();
    fx.nextDialog<TfrmBackup>([&](TfrmBackup& d) {
        QVERIFY(!d.autoBackupBox()->isChecked());
        d.pathEdit()->setText(QStringLiteral("/somewhere.kbk"));
        d.setFolderPicker([](QWidget*, const QString&) { return QString(); });
        d.chooseButton()->click();
        QCOMPARE(d.pathEdit()->text(), QString());
        d.backupButton()->click();
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QVERIFY(!fx.ended);
        d.autoBackupBox()->setChecked(true);
        d.exitButton()->click();
    });
    fx.main->openScreen(QStringLiteral("TfrmBackup"));
    QCOMPARE(fx.messages.texts(), QStringList{QStringLiteral("路径不能为空！")});
    QCOMPARE(fx.stored(QStringLiteral("SELECT theB FROM SBase WHERE ID=1")), QStringLiteral("是"));
    QCOMPARE(fx.ctx.state.myAutoBackup, QStringLiteral("是"));

    // A copy that cannot be written says so.
    fx.messages.clear();
    fx.nextDialog<TfrmBackup>([&](TfrmBackup& d) {
        d.pathEdit()->setText(folder + QStringLiteral("/无/x.kbk"));
        d.backupButton()->click();
    });
    fx.main->openScreen(QStringLiteral("TfrmBackup"));
    QCOMPARE(fx.messages.texts(), QStringList{QStringLiteral("数据备份失败！")});
    // The tick was left as shown.
    QCOMPARE(fx.ctx.state.myAutoBackup, QStringLiteral("是"));
}

void BookScreensTest::restoreDialogRefusesForeignFilesAndClosesTheBook() {
    Fixture fx;
    const QString good = fx.file.programDir() + QStringLiteral("/good.kbk");
    fx.file.db().backupTo(good);
    fx.file.db().exec(QStringLiteral("DELETE FROM UThing"));
    const QString junk = fx.file.programDir() + QStringLiteral("/junk.kbk");
    {
        QFile j(junk);
        QVERIFY(j.open(QIODevice::WriteOnly));
        j.write("not a data file");
    }

    QString picked;
    fx.ctx.setCaption(kHome);  // as the login names it
    fx.nextDialog<TfrmRecover>([&](TfrmRecover& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("数据恢复"));
        QVERIFY(d.pathEdit()->isReadOnly());
        d.setFilePicker([&](QWidget*) { return picked; });
        d.restoreButton()->click();
        QCOMPARE(fx.messages.last(), QStringLiteral("请选择备份文件"));

        picked = junk;
        d.chooseButton()->click();
        fx.messages.answers = {true};
        d.restoreButton()->click();
        QCOMPARE(fx.messages.last(), QStringLiteral("数据恢复失败！"));
        QCOMPARE(fx.ctx.state.myBName, kHome);

        picked = good;
        d.chooseButton()->click();
        d.restoreButton()->click();  // answered No
        QCOMPARE(fx.rows(QStringLiteral("UThing"), kOther), 0);
        fx.messages.answers = {true};
        d.restoreButton()->click();
        // The dialog stays for another restore.
        QCOMPARE(d.result(), 0);
    });
    fx.main->openScreen(QStringLiteral("TfrmRecover"));
    QCOMPARE(fx.messages.texts(),
             (QStringList{QStringLiteral("请选择备份文件"), QStringLiteral("确认要恢复数据吗?"),
                          QStringLiteral("数据恢复失败！"), QStringLiteral("确认要恢复数据吗?"),
                          QStringLiteral("确认要恢复数据吗?"),
                          QStringLiteral("数据恢复成功！请重新打开账本。")}));
    QCOMPARE(fx.messages.entries[1].caption, QStringLiteral("恢复数据"));
    QVERIFY(!fx.messages.entries[1].defaultYes);
    QCOMPARE(fx.rows(QStringLiteral("UThing"), kOther), 1);
    // The book is closed: menus away, dashboard at nothing, the title no longer naming it.
    QVERIFY(fx.ctx.state.myBName.isEmpty());
    QCOMPARE(fx.main->windowTitle(), QStringLiteral("Coinwick记账软件"));
    QVERIFY(!fx.main->action(QStringLiteral("账簿管理 &B"))->isVisible());
    QVERIFY(!fx.main->menu(QStringLiteral("记账【&W】"))->menuAction()->isVisible());
    QCOMPARE(QDir(fx.file.programDir() + QStringLiteral("/Backup"))
                 .entryList({QStringLiteral("*.kbk")}, QDir::Files)
                 .size(),
             1);
}

void BookScreensTest::sortSettingsEndTheProgram() {
    Fixture fx;
    fx.nextDialog<TfrmSZ_PX>([&](TfrmSZ_PX& d) {
        QCOMPARE(d.windowTitle(), kHome + QStringLiteral(" 排序设置"));
        QVERIFY(d.listChoice(5)->isChecked());
        QCOMPARE(d.listChoice(5)->text(), QStringLiteral("不排序"));
        QVERIFY(d.postingChoice(3)->isChecked());
        QCOMPARE(d.postingChoice(3)->text(), QStringLiteral("按顺序降序"));
        d.listChoice(2)->click();
        d.postingChoice(4)->click();
        d.saveButton()->click();
    });
    fx.main->openScreen(QStringLiteral("TfrmSZ_PX"));
    QCOMPARE(fx.messages.texts(),
             QStringList{kHome + QStringLiteral(" 排序设置 保存成功，请重新打开Coinwick！")});
    QCOMPARE(fx.ended, 1);
    QCOMPARE(
        fx.stored(QStringLiteral("SELECT thePX || ',' || theJZPX FROM SBook WHERE BName='我家'")),
        QStringLiteral("2,4"));
    QCOMPARE(
        fx.stored(QStringLiteral("SELECT thePX || ',' || theJZPX FROM SBook WHERE BName='别家'")),
        QStringLiteral("5,3"));

    // Saving without a change still ends the program.
    fx.messages.clear();
    fx.nextDialog<TfrmSZ_PX>([&](TfrmSZ_PX& d) {
        QVERIFY(d.listChoice(2)->isChecked());
        d.saveButton()->click();
    });
    fx.main->openScreen(QStringLiteral("TfrmSZ_PX"));
    QCOMPARE(fx.ended, 2);
}

void BookScreensTest::defaultItemsTakeEffectAtOnce() {
    Fixture fx;
    TfrmDM& dm = fx.file.dm();
    dm.NewFamily(QStringLiteral("爸爸"));
    dm.NewFamily(QStringLiteral("妈妈"));
    fx.file.addAccount(QStringLiteral("钱包"), 100, QStringLiteral("爸爸"));
    fx.file.addAccount(QStringLiteral("银行卡"), 100, QStringLiteral("妈妈"));
    for (const char* name : {"工资", "奖金"}) dm.mySaveNew("InD", "IName", name);
    dm.mySaveNew("OutD", "OName", "餐饮");
    registerBookkeepingScreens(*fx.main);

    fx.nextDialog<TfrmMRX>([&](TfrmMRX& d) {
        QCOMPARE(d.windowTitle(), kHome + QStringLiteral(" 默认项设置"));
        QCOMPARE(d.itemBox(TfrmMRX::Member)->count(), 2);
        QCOMPARE(d.itemBox(TfrmMRX::Income)->count(), 2);
        // Nothing chosen yet: every "空" ticked, the reminder sound on.
        for (int i = 0; i < TfrmMRX::ItemCount; ++i)
            QVERIFY(d.noneBox(TfrmMRX::Item(i))->isChecked());
        QVERIFY(d.flagBox(TfrmMRX::PlaySound)->isChecked());
        QCOMPARE(d.flagBox(TfrmMRX::OpenCredits)->text(), QStringLiteral("只显示未收债权"));

        QComboBox* member = d.itemBox(TfrmMRX::Member);
        member->setCurrentIndex(member->findText(QStringLiteral("妈妈")));
        Q_EMIT member->activated(member->currentIndex());
        QVERIFY(!d.noneBox(TfrmMRX::Member)->isChecked());
        QComboBox* income = d.itemBox(TfrmMRX::Income);
        income->setCurrentIndex(income->findText(QStringLiteral("奖金")));
        Q_EMIT income->activated(income->currentIndex());
        // A name in the list with "空" ticked stores no default.
        QComboBox* account = d.itemBox(TfrmMRX::Account);
        account->setCurrentIndex(account->findText(QStringLiteral("银行卡")));
        QVERIFY(d.noneBox(TfrmMRX::Account)->isChecked());
        d.flagBox(TfrmMRX::MonthIncome)->setChecked(true);
        d.flagBox(TfrmMRX::PlaySound)->setChecked(false);
        d.saveButton()->click();
    });
    fx.main->openScreen(QStringLiteral("TfrmMRX"));
    QCOMPARE(fx.messages.texts(), QStringList{kHome + QStringLiteral(" 默认项设置 保存成功！")});
    const GlobalState& s = fx.ctx.state;
    QCOMPARE(s.myFName, QStringLiteral("妈妈"));
    QCOMPARE(s.myIName, QStringLiteral("奖金"));
    QCOMPARE(s.myAName, QString());
    QVERIFY(s.myD_I);
    QVERIFY(!s.myTX_M);
    QCOMPARE(fx.stored(QStringLiteral("SELECT FName || '|' || IName || '|' || AName || '|' || D_I "
                                      "|| TX_M FROM SMRX WHERE BName='我家'")),
             QStringLiteral("妈妈|奖金||10"));

    // The income screen presets the new defaults right away.
    fx.main->openScreen(QStringLiteral("TfrmInTable"));
    auto* screen = qobject_cast<PostingScreen*>(fx.main->workingWindow());
    QVERIFY(screen);
    screen->newButton()->click();
    QCOMPARE(screen->nameBox(PostingScreen::Field::Member)->text(), QStringLiteral("妈妈"));
    QCOMPARE(screen->nameBox(PostingScreen::Field::Name)->text(), QStringLiteral("奖金"));
    QCOMPARE(screen->nameBox(PostingScreen::Field::Account)->text(), QString());
    screen->cancelButton()->click();
    fx.main->myfrmClose();

    // Shown again, the dialog holds what was saved.
    fx.nextDialog<TfrmMRX>([&](TfrmMRX& d) {
        QCOMPARE(d.itemBox(TfrmMRX::Member)->currentText(), QStringLiteral("妈妈"));
        QVERIFY(!d.noneBox(TfrmMRX::Member)->isChecked());
        QVERIFY(d.noneBox(TfrmMRX::Account)->isChecked());
        QVERIFY(d.flagBox(TfrmMRX::MonthIncome)->isChecked());
        QVERIFY(!d.flagBox(TfrmMRX::PlaySound)->isChecked());
        d.exitButton()->click();
    });
    fx.main->openScreen(QStringLiteral("TfrmMRX"));
}

void BookScreensTest::soundDialogPlaysAndReplaces() {
    Fixture fx;
    const QString current = fx.file.programDir() + QStringLiteral("/Music/1.mp3");
    QDir().mkpath(fx.file.programDir() + QStringLiteral("/Music"));
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write(current, "old");
    const QString chime = fx.file.programDir() + QStringLiteral("/铃声.mp3");
    write(chime, "new");

    QStringList played;
    fx.nextDialog<TfrmSound>([&](TfrmSound& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("计划提醒声音设置"));
        QCOMPARE(QDir::fromNativeSeparators(d.currentEdit()->text()), current);
        d.setPlayer({[&](const QString& f) { played << QStringLiteral("play ") + f; },
                     [&] { played << QStringLiteral("stop"); }});
        QString pick;
        d.setFilePicker([&](QWidget*) { return pick; });

        d.playButton()->click();
        d.listenButton()->click();  // nothing picked: nothing to play
        d.replaceButton()->click();
        QCOMPARE(fx.messages.last(), QStringLiteral("请打开声音文件！"));

        pick = fx.file.programDir() + QStringLiteral("/无.mp3");
        d.openButton()->click();
        d.replaceButton()->click();
        QCOMPARE(fx.messages.last(), QStringLiteral("替换失败！"));

        pick = chime;
        d.openButton()->click();
        d.listenButton()->click();
        d.replaceButton()->click();
        QCOMPARE(fx.messages.last(), QStringLiteral("替换成功！"));
        QCOMPARE(d.newEdit()->text(), QString());
    });
    fx.main->openScreen(QStringLiteral("TfrmSound"));
    QCOMPARE(played, (QStringList{QStringLiteral("play ") + current, QStringLiteral("stop"),
                                  QStringLiteral("stop"), QStringLiteral("play ") + chime,
                                  QStringLiteral("stop")}));
    QFile file(current);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("new"));
}

QTEST_MAIN(BookScreensTest)
#include "BookScreensTest.moc"
