#include <QAbstractItemModelTester>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include "import/bills/ui/BillImportDialog.h"
#include "import/bills/ui/BillRowsModel.h"
#include "import/statements/StatementProfile.h"
#include "import/statements/ui/StatementMappingDialog.h"
#include "ui/support/MainFixture.h"
#include "widgets/NameComboBox.h"

namespace {

using cw::BillImportDialog;
using cw::BillRowsModel;
using Column = cw::BillRowsModel::Column;

// A bank's statement in a layout no shipped profile knows: two lines of preamble, money in and
// out in two columns, the balance after each row, newest row first.
QString writeStatement(const QString& dir) {
    const QString path = dir + QStringLiteral("/statement.csv");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(
        "某某银行 交易明细\r\n"
        "卡号：6222 **** 1234,,,,,\r\n"
        "交易日期,存入,支取,余额,对方户名,附言\r\n"
        "2026-11-05,,200.00,5800.00,超市,购物\r\n"
        "2026-11-02,1000.00,,6000.00,公司,工资\r\n");
    return path;
}

QStringList headers(const BillRowsModel& m) {
    QStringList out;
    for (int c = 0; c < m.columnCount(); ++c)
        out << m.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    return out;
}

QString cell(const BillRowsModel& m, int row, Column column) {
    return m.data(m.index(row, column), Qt::DisplayRole).toString();
}

template <typename T>
T* child(QWidget& w, const char* name) {
    return w.findChild<T*>(QString::fromLatin1(name));
}

// A book with the member every posting needs.
void addBook(cw::test::MainFixture& m) {
    m.file.addBook(QStringLiteral("我家"));
    m.file.db().exec(QStringLiteral("INSERT INTO SFamily(BName, FName) VALUES(?,?)"),
                     QStringLiteral("我家"), QStringLiteral("爸爸"));
}

double balance(cw::test::MainFixture& m, const QString& account) {
    return m.file.db()
        .query(QStringLiteral("SELECT AMoney FROM SAccount WHERE BName=? AND AName=?"),
               QStringLiteral("我家"), account)
        .number(QStringLiteral("AMoney"));
}

}  // namespace

class StatementImportDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void anUnknownLayoutIsMappedKeptBookedAndRecognisedNextTime() {
        cw::test::MainFixture m;
        addBook(m);
        const QString path = writeStatement(m.file.programDir());
        QStringList mapping;
        QString format;
        QStringList columns;
        m.onDialog = [&](QDialog& d) {
            if (auto* map = qobject_cast<cw::StatementMappingDialog*>(&d)) {
                // Proposed from the header row the words point to.
                mapping << QString::number(child<QSpinBox>(d, "headerRow")->value())
                        << child<QComboBox>(d, "dateColumn")->currentText()
                        << child<QComboBox>(d, "incomeColumn")->currentText()
                        << child<QComboBox>(d, "expenseColumn")->currentText();
                child<QComboBox>(d, "remarkColumn1")->setCurrentText(QStringLiteral("附言"));
                child<QComboBox>(d, "balanceColumn")->setCurrentText(QStringLiteral("余额"));
                auto* amounts = child<QComboBox>(d, "amounts");
                amounts->setCurrentText(QStringLiteral("单列金额"));
                map->ButOkClick();
                amounts->setCurrentText(QStringLiteral("收入支出两列"));
                map->ButOkClick();
                child<QLineEdit>(d, "profileName")->setText(QStringLiteral("某某银行"));
                map->ButOkClick();
                return d.result();
            }
            auto* dialog = qobject_cast<BillImportDialog*>(&d);
            if (!dialog) return int(QDialog::Rejected);
            dialog->setFileChooser([&](QWidget*) { return path; });
            // Its columns change with the file read.
            QAbstractItemModelTester tester(dialog->model());
            child<cw::NameComboBox>(d, "account")->setText(QStringLiteral("某某卡"));
            child<QPushButton>(d, "ButOpen")->click();
            format = child<QLabel>(d, "format")->text();
            columns = headers(*dialog->model());
            child<QPushButton>(d, "ButImport")->click();
            return d.result();
        };
        m.main->myShow(true);
        m.main->action(QStringLiteral("银行账单导入 &Y"))->trigger();
        QCOMPARE(m.dialogs, (QStringList{"cw::BillImportDialog", "cw::StatementMappingDialog"}));
        QCOMPARE(mapping, (QStringList{"3", "交易日期", "存入", "支取"}));
        QCOMPARE(m.messages.texts(),
                 (QStringList{"请选择金额列！", "请输入格式名称！",
                              "数据导入 保存成功！共导入 2 条数据。\n"
                              "对账：账单余额 5,800.00，账户“某某卡”2026-11-05 的余额 800.00，"
                              "相差 5,000.00"}));
        QCOMPARE(format, QStringLiteral("格式：某某银行"));
        QCOMPARE(columns.mid(Column::FirstDetail),
                 (QStringList{"对方账户", "对方户名", "摘要", "余额"}));
        QCOMPARE(balance(m, QStringLiteral("某某卡")), 800.0);
        QCOMPARE(cw::StatementProfiles::saved(m.file.db()).at(0).remarks,
                 QStringList{QStringLiteral("附言")});

        // The same layout again is known by its header; what was booked is not booked twice.
        m.messages.clear();
        BillImportDialog again(m.ctx, BillImportDialog::Files::Statements);
        again.setDialogRunner([](QDialog&) { return int(QDialog::Rejected); });
        again.findChild<cw::NameComboBox*>(QStringLiteral("account"))
            ->setText(QStringLiteral("某某卡"));
        again.openFile(path);
        QCOMPARE(child<QLabel>(again, "format")->text(), QStringLiteral("格式：某某银行"));
        QCOMPARE(cell(*again.model(), 0, Column::Status), QStringLiteral("已导入"));
        QCOMPARE(cell(*again.model(), 1, Column::Status), QStringLiteral("已导入"));
        QVERIFY(!child<QPushButton>(again, "ButImport")->isEnabled());
        QVERIFY(m.messages.entries.isEmpty());
    }

    void theAccountIsRequiredAndChangingItPlansTheRowsAgain() {
        cw::test::MainFixture m;
        addBook(m);
        const QString path = writeStatement(m.file.programDir());
        BillImportDialog d(m.ctx, BillImportDialog::Files::Statements);
        int mapped = 0;
        QString refused;
        d.setDialogRunner([&](QDialog& dialog) -> int {
            if (++mapped == 1) {
                // A marked layout must say which mark is money in.
                child<QComboBox>(dialog, "amounts")
                    ->setCurrentText(QStringLiteral("金额加借贷标志列"));
                child<QComboBox>(dialog, "amountColumn")->setCurrentText(QStringLiteral("余额"));
                child<QComboBox>(dialog, "markColumn")->setCurrentText(QStringLiteral("附言"));
                child<QLineEdit>(dialog, "incomeMark")->clear();
                static_cast<cw::StatementMappingDialog&>(dialog).ButOkClick();
                refused = m.messages.last();
                child<QComboBox>(dialog, "amounts")->setCurrentText(QStringLiteral("收入支出两列"));
            }
            child<QLineEdit>(dialog, "profileName")->setText(QStringLiteral("某某银行"));
            static_cast<cw::StatementMappingDialog&>(dialog).ButOkClick();
            return dialog.result();
        });
        d.openFile(path);
        QCOMPARE(refused, QStringLiteral("请输入表示收入的文字！"));
        QCOMPARE(d.model()->rowCount(), 2);
        child<QPushButton>(d, "ButImport")->click();
        QCOMPARE(m.messages.last(), QStringLiteral("请选择账户！"));
        QCOMPARE(m.file.count(QStringLiteral("InTable")), 0);

        // What was changed in the rows stays when they are planned for the account.
        QVERIFY(d.model()->setData(d.model()->index(0, Column::Remark), QStringLiteral("改过")));
        QVERIFY(d.model()->setData(d.model()->index(1, Column::Tick), Qt::Unchecked,
                                   Qt::CheckStateRole));
        auto* account = child<cw::NameComboBox>(d, "account");
        account->setText(QStringLiteral("工资卡"));
        emit account->lineEdit()->editingFinished();
        QCOMPARE(cell(*d.model(), 0, Column::Account), QStringLiteral("工资卡"));
        QCOMPARE(cell(*d.model(), 0, Column::Remark), QStringLiteral("改过"));
        QCOMPARE(d.model()->rows()[1].ticked, false);
        QVERIFY(
            d.model()->setData(d.model()->index(1, Column::Tick), Qt::Checked, Qt::CheckStateRole));

        // 更改格式 maps the open file again from the profile in use.
        child<QPushButton>(d, "ButFormat")->click();
        QCOMPARE(mapped, 2);
        QCOMPARE(cell(*d.model(), 1, Column::Account), QStringLiteral("工资卡"));

        // A 对方账户 picked makes the row a transfer with it; emptied, it is what it was.
        auto* model = d.model();
        const QModelIndex counter = model->index(1, Column::FirstDetail);
        const QString kind = cell(*model, 1, Column::Kind);
        QVERIFY(model->flags(counter) & Qt::ItemIsEditable);
        QVERIFY(model->setData(counter, QStringLiteral("零钱")));
        QCOMPARE(cell(*model, 1, Column::Kind), QStringLiteral("转账"));
        QVERIFY(cell(*model, 1, Column::Account).contains(QStringLiteral("工资卡→零钱")) ||
                cell(*model, 1, Column::Account).contains(QStringLiteral("零钱→工资卡")));
        QVERIFY(model->setData(counter, QString()));
        QCOMPARE(cell(*model, 1, Column::Kind), kind);
        QCOMPARE(cell(*model, 1, Column::Account), QStringLiteral("工资卡"));
        child<QPushButton>(d, "ButImport")->click();
        QCOMPARE(m.messages.last().section(QLatin1Char('\n'), 0, 0),
                 QStringLiteral("数据导入 保存成功！共导入 2 条数据。"));
        QCOMPARE(balance(m, QStringLiteral("工资卡")), 800.0);
    }
};

QTEST_MAIN(StatementImportDialogTest)
#include "StatementImportDialogTest.moc"
