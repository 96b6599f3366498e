#include "books/ui/TfrmNewBook.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "books/BookCreation.h"
#include "books/ui/BookFields.h"
#include "books/ui/TfrmNewF.h"

namespace cw {

TfrmNewBook::TfrmNewBook(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), runDialog_([](QDialog& d) { return d.exec(); }) {
    setWindowTitle(QStringLiteral("新建账簿"));

    fields_ = new BookFields(this);
    auto* seeds = new QGroupBox(this);
    income_ = new QCheckBox(QStringLiteral("默认收入类别"), seeds);
    expense_ = new QCheckBox(QStringLiteral("默认支出类别"), seeds);
    investment_ = new QCheckBox(QStringLiteral("默认投资类别"), seeds);
    auto* seedLayout = new QHBoxLayout(seeds);
    for (QCheckBox* box : {income_, expense_, investment_}) {
        box->setChecked(true);
        seedLayout->addWidget(box);
    }
    seedLayout->addStretch();

    next_ = new QPushButton(QStringLiteral("下一步"), this);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    next_->setDefault(true);
    cancel_->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(next_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fields_);
    layout->addWidget(seeds);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(next_, &QPushButton::clicked, this, &TfrmNewBook::ButNextClick);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    fields_->offer(BookCreation(ctx_.dm).bookCount());
    fields_->nameEdit()->setFocus();
}

void TfrmNewBook::ButNextClick() {
    const bool written =
        fields_->save(ctx_, [this](BookCreation& books, const QString& name,
                                   const QString& password, const QString& remark) {
            auto result = books.createFirstBook(name, password, remark, income_->isChecked(),
                                                expense_->isChecked(), investment_->isChecked());
            if (result.ok()) fields_->offer(books.bookCount());
            return result;
        });
    if (!written) return;
    TfrmNewF members(ctx_, this);
    members.setDialogRunner(runDialog_);
    runDialog_(members);
    accept();
}

}  // namespace cw
