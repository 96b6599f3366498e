#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "interchange/ui/LedgerExportDialog.h"
#include "ui/support/MainFixture.h"
#include "widgets/DatePicker.h"

namespace {

// The export dialog from the report menu: its checks, then one file in the chosen format.
class LedgerExportScreenTest : public QObject {
    Q_OBJECT

  private slots:
    void checksThenWritesTheChosenFormat() {
        cw::test::MainFixture m;
        m.file.addBook(QStringLiteral("我家"));
        m.file.addAccount(QStringLiteral("钱包"), 12.5);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("我家.csv"));
        QStringList proposed;
        m.onDialog = [&](QDialog& d) {
            auto* dialog = qobject_cast<cw::LedgerExportDialog*>(&d);
            if (!dialog) return int(QDialog::Rejected);
            // The file proposed is the book's in Export/ and follows the format.
            proposed << dialog->file()->text();
            dialog->format()->setCurrentIndex(3);
            proposed << dialog->file()->text();
            dialog->format()->setCurrentIndex(0);
            dialog->file()->clear();
            dialog->exportButton()->click();  // no file
            dialog->file()->setText(path);
            dialog->from()->setText(QStringLiteral("2026-12-01"));
            dialog->to()->setText(QStringLiteral("2026-11-01"));
            dialog->exportButton()->click();  // the dates ticked themselves, reversed
            dialog->byDate()->setChecked(false);
            dialog->format()->setCurrentIndex(3);
            dialog->exportButton()->click();
            return d.result();
        };
        m.main->myShow(true);
        m.main->action(QStringLiteral("导出到其它记账软件 &K"))->trigger();
        QCOMPARE(m.messages.texts(),
                 (QStringList{"文件 不能为空！请选择 文件！", "日期选择错误，请重新选择！",
                              "已导出到 " + path}));
        const QString exportDir = m.file.programDir() + QStringLiteral("/Export/");
        QCOMPARE(proposed, (QStringList{exportDir + "我家.journal", exportDir + "我家.csv"}));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        // No posting: the account opens the day before today. (The byte order mark is skipped.)
        QCOMPARE(QString::fromUtf8(file.readAll().mid(3)),
                 QStringLiteral("序号,日期,类型,账户,金额,币种,家庭成员,备注\r\n"
                                "1,2026-12-08,期初余额,资产:现金:钱包,12.50,CNY,,\r\n"
                                "1,2026-12-08,期初余额,权益:期初余额,-12.50,CNY,,\r\n"));
    }
};

}  // namespace

QTEST_MAIN(LedgerExportScreenTest)
#include "LedgerExportScreenTest.moc"
