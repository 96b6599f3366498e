#include <QAbstractItemModelTester>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include "import/ui/ImportDialog.h"
#include "ui/support/MainFixture.h"

namespace {

// The fixtures beside the logic tests; build folders sit in the source folder (build-X/tests).
QString fixture(const char* name) {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../../tests/data/import/") +
           QString::fromUtf8(name);
}

}  // namespace

class ImportScreensTest : public QObject {
    Q_OBJECT

  private slots:
    void menuOpensTheDialogAndImportBooksAll() {
        cw::test::MainFixture m;
        m.file.addBook(QStringLiteral("我家"));
        QString caption;
        QString hint;
        QString group;
        bool enabledBefore = true;
        m.onDialog = [&](QDialog& d) {
            auto* dialog = qobject_cast<cw::ImportDialog*>(&d);
            if (!dialog) return int(QDialog::Rejected);
            caption = d.windowTitle();
            hint = d.findChild<QLabel*>(QStringLiteral("hint"))->text();
            auto* import = d.findChild<QPushButton*>(QStringLiteral("ButImport"));
            enabledBefore = import->isEnabled();
            dialog->setFileChooser([](QWidget*) { return fixture("income.xlsx"); });
            d.findChild<QPushButton*>(QStringLiteral("ButOpen"))->click();
            group = d.findChild<QGroupBox*>(QStringLiteral("dataGroup"))->title();
            QAbstractItemModelTester tester(d.findChild<QTableView*>("grid")->model());
            import->click();
            return d.result();
        };
        m.main->myShow(true);
        m.main->action(QStringLiteral("收入导入 &I"))->trigger();
        QCOMPARE(caption, QStringLiteral("收入导入"));
        QVERIFY2(!enabledBefore, "导入 waits for a file");
        QCOMPARE(group, QStringLiteral("EXCEL数据  共有 4 条数据"));
        QCOMPARE(hint,
                 QStringLiteral("打开的EXCEL文件的底部一定是Sheet1，表格头部顺序为日期、收入类别、"
                                "金额、账户名称、家庭成员、备注"));
        QCOMPARE(m.messages.last(), QStringLiteral("数据导入 保存成功！共导入 4 条数据。"));
        QCOMPARE(m.file.count(QStringLiteral("InTable")), 4);
    }

    void aBadRowIsNamedAndNothingBooked() {
        cw::test::MainFixture m;
        m.file.addBook(QStringLiteral("我家"));
        cw::ImportDialog d(m.ctx, *cw::ImportKind::byClassName(QStringLiteral("TfrmD_In")));
        d.openFile(fixture("bad-member.xlsx"));
        d.findChild<QPushButton*>(QStringLiteral("ButImport"))->click();
        QCOMPARE(m.messages.last(),
                 QStringLiteral("第 4 行 家庭成员 不能为空！没有导入任何数据。"));
        QCOMPARE(m.file.count(QStringLiteral("InTable")), 0);
        d.openFile(fixture("foreign.xlsx"));
        QCOMPARE(m.messages.last(), QStringLiteral("不是Excel文件，无法读取！"));
        QVERIFY(!d.findChild<QPushButton*>(QStringLiteral("ButImport"))->isEnabled());
    }
};

QTEST_MAIN(ImportScreensTest)
#include "ImportScreensTest.moc"
