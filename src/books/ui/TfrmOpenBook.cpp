#include "books/ui/TfrmOpenBook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "storage/DbError.h"

namespace cw {

namespace {

const QString kWelcome = QStringLiteral(
    "<h3>欢迎使用 Coinwick记账软件</h3>"
    "<p>Coinwick 帮您把家里的每一笔收入、支出、转账、借贷和投资都记清楚，"
    "随时看到家庭的资金、负债和净资产。</p>"
    "<p>请在左边选择账簿、输入密码，然后点击“打开”。"
    "还没有账簿？请退出后新建账簿。</p>"
    "<p>一个账簿就是一本家庭账，各账簿的数据互不相干。"
    "所有数据都保存在本机的数据文件中，记得经常备份。</p>");

}  // namespace

TfrmOpenBook::TfrmOpenBook(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setWindowTitle(QStringLiteral("打开账簿"));
    buildForm();
    FormShow();
}

void TfrmOpenBook::buildForm() {
    auto* group = new QGroupBox(QStringLiteral("软件登录"), this);
    bookBox_ = new QComboBox(group);
    bookBox_->addItems(ctx_.dm.DBComSBook());
    bookBox_->setCurrentIndex(-1);
    bookBox_->setMinimumWidth(180);
    passwordEdit_ = new QLineEdit(group);
    passwordEdit_->setEchoMode(QLineEdit::Password);
    passwordEdit_->setMaxLength(20);
    rememberBook_ = new QCheckBox(QStringLiteral("记住账簿"), group);
    rememberPassword_ = new QCheckBox(QStringLiteral("记住密码"), group);
    openButton_ = new QPushButton(QStringLiteral("打开"), group);
    exitButton_ = new QPushButton(QStringLiteral("退出"), group);
    openButton_->setDefault(true);
    exitButton_->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("账簿名称："), bookBox_);
    form->addRow(QStringLiteral("密        码："), passwordEdit_);
    auto* ticks = new QHBoxLayout;
    ticks->addWidget(rememberBook_);
    ticks->addWidget(rememberPassword_);
    ticks->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(openButton_);
    buttons->addWidget(exitButton_);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addLayout(form);
    groupLayout->addLayout(ticks);
    groupLayout->addStretch();
    groupLayout->addLayout(buttons);

    welcome_ = new QTextBrowser(this);
    welcome_->setOpenLinks(false);
    welcome_->setHtml(kWelcome);
    welcome_->setMinimumWidth(300);
    welcome_->setFocusPolicy(Qt::NoFocus);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(welcome_, 1);
    resize(660, 250);

    // A user choice of book makes the typed password meaningless; the preselection of the
    // remembered book is no choice and must keep the remembered password.
    connect(bookBox_, &QComboBox::activated, this, [this] {
        passwordEdit_->clear();
        passwordEdit_->setFocus();
    });
    // A password can only be offered again for a book that is offered again.
    connect(rememberPassword_, &QCheckBox::toggled, this, [this](bool on) {
        if (on) rememberBook_->setChecked(true);
    });
    connect(openButton_, &QPushButton::clicked, this, &TfrmOpenBook::ButOpenClick);
    connect(exitButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmOpenBook::FormShow() {
    BookLogin login(ctx_.dm);
    QString book = login.rememberedBook();
    const int index = bookBox_->findText(book, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) {
        bookBox_->setCurrentIndex(index);
        rememberBook_->setChecked(true);
        passwordEdit_->setFocus();
    } else {
        book.clear();
        // Nothing remembered: with a single book (the one the first-book wizard just made)
        // there is nothing to choose, so offer it.
        if (bookBox_->count() == 1) {
            bookBox_->setCurrentIndex(0);
            passwordEdit_->setFocus();
        }
    }
    if (const auto password = login.rememberedPassword(book)) {
        passwordEdit_->setText(*password);
        rememberPassword_->setChecked(true);
        openButton_->setFocus();
    }
}

void TfrmOpenBook::ButOpenClick() {
    const QString book = bookBox_->currentIndex() < 0 ? QString() : bookBox_->currentText();
    BookLogin::Result result;
    try {
        result = BookLogin(ctx_.dm).login(book, passwordEdit_->text(), rememberBook_->isChecked(),
                                          rememberPassword_->isChecked());
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
        return;
    }
    if (!result.ok) {
        ctx_.messages.inform(result.message);
        focusField(result.focus);
        if (result.bookClosed) {
            ctx_.dm.myShow(false);
            ctx_.mySum();
        }
        return;
    }
    if (ctx_.setCaption) ctx_.setCaption(book);
    ctx_.dm.myShow(true);
    ctx_.mySum();
    accept();
}

void TfrmOpenBook::focusField(BookLogin::Field field) {
    if (field == BookLogin::Field::Book) bookBox_->setFocus();
    if (field == BookLogin::Field::Password) {
        // Retyping replaces the refused password rather than appending to it.
        passwordEdit_->setFocus();
        passwordEdit_->selectAll();
    }
}

void TfrmOpenBook::closeBook(AppContext& ctx) {
    ctx.dm.myShow(false);
    BookLogin(ctx.dm).closeBook();
    if (ctx.closeWorkingWindow) ctx.closeWorkingWindow();
    ctx.mySum();
}

}  // namespace cw
