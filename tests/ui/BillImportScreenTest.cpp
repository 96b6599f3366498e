#include <QAbstractItemModelTester>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include "import/bills/ui/BillImportDialog.h"
#include "import/bills/ui/BillRowsModel.h"
#include "ui/support/MainFixture.h"
#include "widgets/NameComboBox.h"

namespace {

using cw::BillRowsModel;
using Column = cw::BillRowsModel::Column;

// A WeChat bill: two purchases at 便利店 from 零钱, an income received into 零钱, a red packet
// (neutral), a refunded purchase, and a purchase paid by card.
QString writeBill(const QString& dir) {
    QStringList lines{"微信支付账单明细,,,", "微信昵称：[小王],,,",
                      "----------------------微信支付账单明细列表--------------------,,,",
                      "交易时间,交易类型,交易对方,商品,收/支,金额(元),支付方式,当前状态,交易单号,"
                      "商户单号,备注"};
    lines << "2026-11-03 12:01:09,商户消费,便利店,饮料,支出,¥12.50,零钱,支付成功,4201,1,/"
          << "2026-11-04 09:00:00,转账,张三,/,收入,\"¥1,234.50\",/,已收钱,4202,/,/"
          << "2026-11-05 10:00:00,微信红包,李四,/,/,¥100.00,零钱,已存入零钱,4203,/,/"
          << "2026-11-06 19:30:00,商户消费,饭店,午餐,支出,¥30.00,招商银行储蓄卡(1234),"
             "已全额退款,4204,4,/"
          << "2026-11-07 08:00:00,商户消费,便利店,面包,支出,¥6.00,零钱,支付成功,4205,5,/"
          << "2026-11-08 18:00:00,商户消费,超市,水果,支出,¥45.80,招商银行储蓄卡(1234),"
             "支付成功,4206,6,/";
    const QString path = dir + QStringLiteral("/wechat.csv");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(lines.join(QStringLiteral("\r\n")).toUtf8());
    return path;
}

QString cell(const BillRowsModel& m, int row, Column column) {
    return m.data(m.index(row, column), Qt::DisplayRole).toString();
}

bool ticked(const BillRowsModel& m, int row) {
    return m.data(m.index(row, Column::Tick), Qt::CheckStateRole).toInt() == Qt::Checked;
}

double balance(cw::test::MainFixture& m, const QString& account) {
    return m.file.db()
        .query(QStringLiteral("SELECT AMoney FROM SAccount WHERE BName=? AND AName=?"),
               QStringLiteral("我家"), account)
        .number(QStringLiteral("AMoney"));
}

void addMember(cw::test::MainFixture& m, const QString& name) {
    m.file.db().exec(QStringLiteral("INSERT INTO SFamily(BName, FName) VALUES(?,?)"),
                     QStringLiteral("我家"), name);
}

}  // namespace

class BillImportScreenTest : public QObject {
    Q_OBJECT

  private slots:
    void menuOpensThePreviewAndImportBooksTheTickedRowsOnce() {
        cw::test::MainFixture m;
        m.file.addBook(QStringLiteral("我家"));
        addMember(m, QStringLiteral("爸爸"));
        const QString path = writeBill(m.file.programDir());
        QString title;
        QStringList status;
        QStringList kinds;
        bool enabledBefore = true;
        m.onDialog = [&](QDialog& d) {
            auto* dialog = qobject_cast<cw::BillImportDialog*>(&d);
            if (!dialog) return int(QDialog::Rejected);
            auto* import = d.findChild<QPushButton*>(QStringLiteral("ButImport"));
            enabledBefore = import->isEnabled();
            dialog->setFileChooser([&](QWidget*) { return path; });
            d.findChild<QPushButton*>(QStringLiteral("ButOpen"))->click();
            QAbstractItemModelTester tester(dialog->grid()->model());
            title = d.findChild<QGroupBox*>(QStringLiteral("dataGroup"))->title();
            for (int r = 0; r < dialog->model()->rowCount(); ++r) {
                status << cell(*dialog->model(), r, Column::Status);
                kinds << cell(*dialog->model(), r, Column::Kind);
            }
            import->click();
            return d.result();
        };
        m.main->myShow(true);
        m.main->action(QStringLiteral("账单导入 &W"))->trigger();
        QVERIFY2(!enabledBefore, "导入 waits for a bill");
        QCOMPARE(title, QStringLiteral(
                            "微信支付账单  共有 6 条数据：勾选 4 条，已导入 0 条，不导入 2 条"));
        QCOMPARE(status, (QStringList{"新增", "新增", "不计收支", "已全额退款", "新增", "新增"}));
        QCOMPARE(kinds, (QStringList{"支出", "收入", "不计收支", "支出", "支出", "支出"}));
        QCOMPARE(m.messages.last(), QStringLiteral("数据导入 保存成功！共导入 4 条数据。"));
        QCOMPARE(m.file.count(QStringLiteral("OutTable")), 3);
        QCOMPARE(m.file.count(QStringLiteral("InTable")), 1);
        QCOMPARE(balance(m, QStringLiteral("零钱")), 1234.5 - 12.5 - 6);
        QCOMPARE(balance(m, QStringLiteral("招商银行储蓄卡(1234)")), -45.8);

        // The same bill again: every row that was booked reads 已导入 and cannot be ticked.
        cw::BillImportDialog again(m.ctx);
        again.openFile(path);
        const BillRowsModel& model = *again.model();
        QCOMPARE(cell(model, 0, Column::Status), QStringLiteral("已导入"));
        QVERIFY(!(model.flags(model.index(0, Column::Tick)) & Qt::ItemIsUserCheckable));
        QVERIFY(!model.data(model.index(0, Column::Tick), Qt::CheckStateRole).isValid());
        QVERIFY(model.data(model.index(2, Column::Tick), Qt::CheckStateRole).isValid());
        QVERIFY(!(model.flags(model.index(0, Column::Category)) & Qt::ItemIsEditable));
        QVERIFY(!again.findChild<QPushButton*>(QStringLiteral("ButImport"))->isEnabled());
        again.model()->setData(model.index(0, Column::Tick), Qt::Checked, Qt::CheckStateRole);
        QVERIFY(!ticked(model, 0));
        QCOMPARE(
            again.findChild<QGroupBox*>(QStringLiteral("dataGroup"))->title(),
            QStringLiteral("微信支付账单  共有 6 条数据：勾选 0 条，已导入 4 条，不导入 2 条"));
    }

    void cellEditsAreCheckedCarriedToLikeRowsAndRemembered() {
        cw::test::MainFixture m;
        m.file.addBook(QStringLiteral("我家"));
        addMember(m, QStringLiteral("爸爸"));
        const QString path = writeBill(m.file.programDir());
        {
            cw::BillImportDialog d(m.ctx);
            d.openFile(path);
            BillRowsModel& model = *d.model();
            // The category picked for one 便利店 purchase goes to the other; the account picked
            // for 零钱 goes to every row paid from it, the income received into it included.
            QVERIFY(model.setData(model.index(0, Column::Category), QStringLiteral("零食")));
            QVERIFY(model.setData(model.index(0, Column::Account), QStringLiteral("微信钱包")));
            QCOMPARE(cell(model, 4, Column::Category), QStringLiteral("零食"));
            QCOMPARE(cell(model, 1, Column::Account), QStringLiteral("微信钱包"));
            QCOMPARE(cell(model, 2, Column::Account), QStringLiteral("微信钱包"));
            QCOMPARE(cell(model, 5, Column::Account), QStringLiteral("招商银行储蓄卡(1234)"));
            // A row changed by hand keeps its own choice.
            QVERIFY(model.setData(model.index(4, Column::Category), QStringLiteral("早餐")));
            QVERIFY(model.setData(model.index(0, Column::Category), QStringLiteral("饮品")));
            QCOMPARE(cell(model, 4, Column::Category), QStringLiteral("早餐"));

            QVERIFY(!model.setData(model.index(0, Column::Amount), QStringLiteral("十二")));
            QCOMPARE(m.messages.last(), QStringLiteral("金额 不是有效的数字！请重新录入！"));
            QVERIFY(!model.setData(model.index(0, Column::Amount), QStringLiteral("-3")));
            QVERIFY(!model.setData(model.index(0, Column::Date), QStringLiteral("明天")));
            QCOMPARE(m.messages.last(), QStringLiteral("日期 不是有效的日期！请重新录入！"));
            QVERIFY(!model.setData(model.index(0, Column::Account), QStringLiteral("  ")));
            QCOMPARE(m.messages.last(), QStringLiteral("账户 不能为空！请重新录入！"));
            QVERIFY(!model.setData(model.index(0, Column::Member), QStringLiteral("a\tb")));
            QCOMPARE(m.messages.last(),
                     QStringLiteral("名称不能包含制表符、换行符等控制字符！请重新录入！"));
            QCOMPARE(cell(model, 0, Column::Amount), QStringLiteral("12.50"));

            QVERIFY(model.setData(model.index(0, Column::Amount), QStringLiteral("1,212.5")));
            QCOMPARE(cell(model, 0, Column::Amount), QStringLiteral("1,212.50"));
            QVERIFY(model.setData(model.index(0, Column::Date), QStringLiteral("2026/11/2")));
            QCOMPARE(cell(model, 0, Column::Date), QStringLiteral("2026-11-02"));

            // The red packet becomes an expense: ticked, with the book's fallback category.
            QVERIFY(!ticked(model, 2));
            QVERIFY(model.setData(model.index(2, Column::Kind), QStringLiteral("支出")));
            QVERIFY(ticked(model, 2));
            QCOMPARE(cell(model, 2, Column::Category), QStringLiteral("其他"));
            QVERIFY(!model.setData(model.index(2, Column::Kind), QStringLiteral("不计收支")));

            d.findChild<QPushButton*>(QStringLiteral("ButImport"))->click();
            QCOMPARE(m.messages.last(), QStringLiteral("数据导入 保存成功！共导入 5 条数据。"));
        }
        QCOMPARE(balance(m, QStringLiteral("微信钱包")), 1234.5 - 1212.5 - 6 - 100);
        QCOMPARE(m.file.db()
                     .query(QStringLiteral("SELECT OName FROM OutTable WHERE OMoney=1212.5 AND "
                                           "ODate='2026-11-02'"))
                     .firstColumn(),
                 QStringList{QStringLiteral("饮品")});

        // Another month's bill: the picks are proposed.
        QString next = writeBill(m.file.programDir());
        QFile file(next);
        file.open(QIODevice::ReadOnly);
        QByteArray bytes = file.readAll().replace("420", "520");
        file.close();
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
        file.close();
        cw::BillImportDialog d(m.ctx);
        d.openFile(next);
        QCOMPARE(cell(*d.model(), 0, Column::Status), QStringLiteral("新增"));
        QCOMPARE(cell(*d.model(), 0, Column::Account), QStringLiteral("微信钱包"));
        QCOMPARE(cell(*d.model(), 0, Column::Category), QStringLiteral("饮品"));
        // The app's 商户消费 is no category: the book has none the counterparty suggests.
        QCOMPARE(cell(*d.model(), 5, Column::Category), QStringLiteral("其他"));
    }

    void selectedRowsAreChangedTickedAndCheckedTogether() {
        cw::test::MainFixture m;
        m.file.addBook(QStringLiteral("我家"));
        addMember(m, QStringLiteral("爸爸"));
        addMember(m, QStringLiteral("妈妈"));
        cw::BillImportDialog d(m.ctx);
        d.openFile(writeBill(m.file.programDir()));
        const BillRowsModel& model = *d.model();

        d.findChild<QPushButton*>(QStringLiteral("ButApply"))->click();
        QCOMPARE(m.messages.last(), QStringLiteral("请先选中要修改的行！"));

        auto* selection = d.grid()->selectionModel();
        for (int r : {3, 5})
            selection->select(model.index(r, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
        d.findChild<cw::NameComboBox*>(QStringLiteral("batchMember"))
            ->setText(QStringLiteral("妈妈"));
        d.findChild<cw::NameComboBox*>(QStringLiteral("batchCategory"))
            ->setText(QStringLiteral("购物"));
        d.findChild<QPushButton*>(QStringLiteral("ButApply"))->click();
        QCOMPARE(cell(model, 5, Column::Member), QStringLiteral("妈妈"));
        QCOMPARE(cell(model, 5, Column::Category), QStringLiteral("购物"));
        QCOMPARE(cell(model, 0, Column::Member), QStringLiteral("爸爸"));
        // The purchase refunded whole moved no money: select-all and 勾选 leave it alone.
        QCOMPARE(cell(model, 3, Column::Member), QStringLiteral("爸爸"));
        d.grid()->selectAll();
        d.findChild<QPushButton*>(QStringLiteral("ButTick"))->click();
        QVERIFY(!ticked(model, 3));
        QVERIFY(!(model.flags(model.index(3, Column::Tick)) & Qt::ItemIsUserCheckable));
        QCOMPARE(
            d.findChild<QGroupBox*>(QStringLiteral("dataGroup"))->title(),
            QStringLiteral("微信支付账单  共有 6 条数据：勾选 5 条，已导入 0 条，不导入 1 条"));
        d.findChild<QPushButton*>(QStringLiteral("ButUntick"))->click();
        for (int r : {0, 1, 4})
            d.model()->setData(model.index(r, Column::Tick), Qt::Checked, Qt::CheckStateRole);
        selection->clearSelection();
        for (int r : {3, 5})
            selection->select(model.index(r, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);

        // Space ticks the selection, or unticks it when every selected row is ticked.
        QVERIFY(!ticked(model, 5));
        QTest::keyClick(d.grid(), Qt::Key_Space);
        QVERIFY(ticked(model, 5));
        QTest::keyClick(d.grid(), Qt::Key_Space);
        QVERIFY(!ticked(model, 5));
        QTest::keyClick(d.grid(), Qt::Key_Space);
        QVERIFY(!ticked(model, 3));

        // A neutral row ticked without a kind is named, and nothing is booked.
        selection->clearSelection();
        selection->select(model.index(2, 0),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        d.findChild<QPushButton*>(QStringLiteral("ButTick"))->click();
        d.findChild<QPushButton*>(QStringLiteral("ButImport"))->click();
        QCOMPARE(m.messages.last(),
                 QStringLiteral("第 7 行 收/支 不计收支，请先选择收入或支出！没有导入任何数据。"));
        QCOMPARE(m.file.count(QStringLiteral("OutTable")), 0);
        QCOMPARE(d.grid()->currentIndex().row(), 2);

        d.findChild<QComboBox*>(QStringLiteral("batchKind"))
            ->setCurrentText(QStringLiteral("收入"));
        d.findChild<QPushButton*>(QStringLiteral("ButApply"))->click();
        QCOMPARE(cell(model, 2, Column::Kind), QStringLiteral("收入"));
        d.findChild<QPushButton*>(QStringLiteral("ButUntick"))->click();
        QVERIFY(!ticked(model, 2));
        d.findChild<QPushButton*>(QStringLiteral("ButImport"))->click();
        QCOMPARE(m.messages.last(), QStringLiteral("数据导入 保存成功！共导入 4 条数据。"));
        QCOMPARE(m.file.db()
                     .query(QStringLiteral("SELECT FName FROM OutTable WHERE OName='购物' "
                                           "ORDER BY ID"))
                     .firstColumn(),
                 (QStringList{"妈妈"}));

        // The member picked is 小王's from now on: the next bill of 小王 proposes 妈妈.
        const QString path = m.file.programDir() + QStringLiteral("/wechat.csv");
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const QByteArray next = file.readAll().replace("420", "620");
        file.close();
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(next);
        file.close();
        cw::BillImportDialog again(m.ctx);
        again.openFile(path);
        QCOMPARE(cell(*again.model(), 0, Column::Status), QStringLiteral("新增"));
        QCOMPARE(cell(*again.model(), 0, Column::Member), QStringLiteral("妈妈"));
    }

    void aClickIntoASelectionSelectsTheRowClicked() {
        cw::test::MainFixture m;
        m.file.addBook(QStringLiteral("我家"));
        addMember(m, QStringLiteral("爸爸"));
        cw::BillImportDialog d(m.ctx);
        d.openFile(writeBill(m.file.programDir()));
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QTableView* grid = d.grid();
        for (int r : {0, 1, 4})
            grid->selectionModel()->select(d.model()->index(r, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        const QRect cellRect = grid->visualRect(d.model()->index(1, Column::Category));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellRect.center());
        QCOMPARE(grid->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(grid->selectionModel()->selectedRows().first().row(), 1);
    }

    void aForeignFileIsRefusedAndTheGridEmptied() {
        cw::test::MainFixture m;
        m.file.addBook(QStringLiteral("我家"));
        addMember(m, QStringLiteral("爸爸"));
        cw::BillImportDialog d(m.ctx);
        d.openFile(writeBill(m.file.programDir()));
        QCOMPARE(d.model()->rowCount(), 6);
        const QString other = m.file.programDir() + QStringLiteral("/other.csv");
        QFile file(other);
        file.open(QIODevice::WriteOnly);
        file.write("日期,金额\n2026-11-01,3\n");
        file.close();
        d.openFile(other);
        QVERIFY(m.messages.last().startsWith(QStringLiteral("不是微信支付或支付宝账单！")));
        QCOMPARE(d.model()->rowCount(), 0);
        QVERIFY(!d.findChild<QPushButton*>(QStringLiteral("ButImport"))->isEnabled());
    }
};

QTEST_MAIN(BillImportScreenTest)
#include "BillImportScreenTest.moc"
