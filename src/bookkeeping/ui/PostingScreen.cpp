#include "bookkeeping/ui/PostingScreen.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "bookkeeping/ui/PostingQueryDialog.h"
#include "bookkeeping/ui/PostingWarnings.h"
#include "bookkeeping/ui/TfrmTXMes.h"
#include "storage/DbError.h"
#include "storage/Money.h"
#include "widgets/DatePicker.h"
#include "widgets/Dialogs.h"
#include "widgets/EntryKeys.h"
#include "widgets/MoneyEdit.h"
#include "widgets/NameComboBox.h"
#include "widgets/Navigator.h"
#include "widgets/QueryGrid.h"

namespace cw {

namespace {

using Field = PostingLayout::Field;

constexpr int kFieldWidth = 220;

QPushButton* addButton(const QString& caption, QWidget* parent, QHBoxLayout* row) {
    auto* b = new QPushButton(caption, parent);
    row->addWidget(b);
    return b;
}

bool isName(Field f) {
    return f == Field::Name || f == Field::Account || f == Field::Target || f == Field::Member;
}

}  // namespace

PostingScreen::PostingScreen(AppContext& ctx, const PostingLayout& layout, QWidget* parent)
    : QWidget(parent),
      ctx_(ctx),
      layout_(layout),
      rules_(ctx.dm),
      list_(ctx.db, layout),
      runDialog_([](QDialog& d) { return d.exec(); }) {
    setObjectName(kind().className);
    setWindowTitle(kind().caption);

    grid_ = new QueryGrid(this);
    grid_->gridModel()->setHiddenColumns({QStringLiteral("ID"), QStringLiteral("账薄名称")});
    grid_->gridModel()->setMoneyColumns({layout.titleOf(kind().moneyColumn)});
    grid_->setToolTip(QStringLiteral("亲，鼠标右键 有惊喜哟！"));

    count_ = new QLabel(this);
    sum_ = new QLabel(this);
    auto* footer = new QHBoxLayout;
    footer->addWidget(count_);
    footer->addSpacing(40);
    footer->addWidget(sum_);
    footer->addStretch();

    entry_ = new QGroupBox(layout.group, this);
    auto* form = new QGridLayout(entry_);
    buildEntry(form);

    QWidget* bar = buildBar();
    buildPopup();
    new EntryKeys(entry_, {.entering = [this] { return mode_ != Mode::Browse; },
                           .save =
                               [this] {
                                   if (mode_ == Mode::New) ButSaveClick();
                                   if (mode_ == Mode::Edit) ButSaveEditClick();
                               },
                           .cancel = [this] { ButCanClick(); }});

    auto* box = new QVBoxLayout(this);
    box->addWidget(grid_, 1);
    box->addLayout(footer);
    box->addWidget(entry_);
    box->addWidget(bar);

    connect(grid_, &QueryGrid::currentRowChanged, this, [this](int row) {
        if (mode_ == Mode::Browse) showRow(row);
    });

    // What FormCreate does: the filter at open, the list, browse mode, today in the picker.
    list_.setFilter(kind().atOpen(ctx_.state, currentMonth()));
    date_->setDate(ctx_.clock.today());
    guarded([this] { reload(0); });
    setMode(Mode::Browse);
    showRow(currentRow());
}

// ---- building ------------------------------------------------------------------------------

void PostingScreen::buildEntry(QGridLayout* form) {
    // Two columns filled downwards, so fields that belong together (the two accounts of a
    // transfer) sit one under the other; the remark runs across both on the last line.
    const int fields = int(layout_.entry.size()) - (layout_.row(Field::Remark) ? 1 : 0);
    const int lines = (fields + 1) / 2;
    int slot = 0;
    for (const PostingLayout::EntryRow& r : layout_.entry) {
        QWidget* field = nullptr;
        if (r.field == Field::Date) {
            date_ = new DatePicker(entry_);
            shown_.insert(r.field, new QLineEdit(entry_));
            field = date_;
        } else if (isName(r.field)) {
            auto* box = new NameComboBox(entry_);
            if (r.filler) box->setNames((ctx_.dm.*r.filler)());
            if (!r.searchTable.isEmpty()) box->setSearch(&ctx_.dm, r.searchColumn, r.searchTable);
            boxes_.insert(r.field, box);
            shown_.insert(r.field, new QLineEdit(entry_));
            field = box;
        } else if (r.field == Field::Amount) {
            amount_ = new MoneyEdit(entry_);
            field = amount_;
        } else {
            remark_ = new QLineEdit(entry_);
            field = remark_;
        }
        auto* label = new QLabel(r.label, entry_);
        label->setBuddy(field);
        if (r.field == Field::Remark) {
            form->addWidget(label, lines, 0);
            form->addWidget(remark_, lines, 1, 1, 3);
            continue;
        }
        const int line = slot % lines;
        const int column = (slot / lines) * 2;
        ++slot;
        field->setMinimumWidth(kFieldWidth);
        form->addWidget(label, line, column);
        form->addWidget(field, line, column + 1);
        // The bound text of browse mode sits where the picker or drop-down goes.
        if (QLineEdit* text = shown_.value(r.field)) {
            text->setReadOnly(true);
            form->addWidget(text, line, column + 1);
        }
    }
    // The fields keep a comfortable width; what the window has beyond that stays at the right.
    form->setColumnStretch(1, 2);
    form->setColumnStretch(3, 2);
    form->setColumnStretch(4, 3);
    form->setHorizontalSpacing(12);
}

QWidget* PostingScreen::buildBar() {
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    navigator_ = new Navigator(bar);
    navigator_->setGrid(grid_);
    row->addWidget(navigator_);
    row->addSpacing(24);
    new_ = addButton(QStringLiteral("新增（&N）"), bar, row);
    modify_ = addButton(QStringLiteral("修改（&E）"), bar, row);
    // Both saves sit in one place; the mode decides which one shows.
    saveNew_ = addButton(QStringLiteral("保存（&S）"), bar, row);
    saveEdit_ = addButton(QStringLiteral("保存（&S）"), bar, row);
    cancel_ = addButton(QStringLiteral("取消（&C）"), bar, row);
    delete_ = addButton(QStringLiteral("删除（&D）"), bar, row);
    query_ = addButton(QStringLiteral("查询（&Q）"), bar, row);
    exit_ = addButton(QStringLiteral("退出（&X）"), bar, row);
    row->addStretch();

    connect(new_, &QPushButton::clicked, this, &PostingScreen::ButNewClick);
    connect(modify_, &QPushButton::clicked, this, &PostingScreen::ButMedClick);
    connect(saveNew_, &QPushButton::clicked, this, &PostingScreen::ButSaveClick);
    connect(saveEdit_, &QPushButton::clicked, this, &PostingScreen::ButSaveEditClick);
    connect(cancel_, &QPushButton::clicked, this, &PostingScreen::ButCanClick);
    connect(delete_, &QPushButton::clicked, this, &PostingScreen::ButDelClick);
    connect(query_, &QPushButton::clicked, this, &PostingScreen::ButQueryClick);
    connect(exit_, &QPushButton::clicked, this, &PostingScreen::ButExiClick);
    return bar;
}

void PostingScreen::buildPopup() {
    using Type = PostingLayout::PopupItem::Type;
    popup_ = new QMenu(this);
    for (const PostingLayout::PopupItem& item : layout_.popup) {
        if (item.type == Type::Separator) {
            popup_->addSeparator();
            continue;
        }
        if (item.type == Type::Filters) {
            for (const PostingKind::FilterItem& f : kind().filterItems) {
                QAction* action = popup_->addAction(f.text);
                actions_.insert(f.text, action);
                const PostingKind::ListFilter which = f.which;
                // The month is the one of the click, not of the opening.
                connect(action, &QAction::triggered, this,
                        [this, which] { setFilter(kind().filterOf(which, currentMonth())); });
            }
            continue;
        }
        if (item.type == Type::DeleteAll && !kind().canDeleteAll) continue;
        QAction* action = popup_->addAction(item.caption);
        actions_.insert(item.caption, action);
        if (item.type == Type::DeleteAll) {
            connect(action, &QAction::triggered, this, &PostingScreen::DeleteAllClick);
        }
    }
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (mode_ == Mode::Browse) popup_->popup(grid_->viewport()->mapToGlobal(at));
    });
}

// ---- the list ------------------------------------------------------------------------------

bool PostingScreen::guarded(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const PostingRules::Refused& e) {
        Dialogs::focusAndWarn(ctx_.messages, fieldWidget(e.focus()), e.message());
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
    }
    return false;
}

QString PostingScreen::currentMonth() const {
    return ctx_.clock.monthText();
}

void PostingScreen::reload(qint64 selectId) {
    const QString& book = ctx_.state.myBName;
    const PostingList::Footer footer = list_.footer(book);
    grid_->gridModel()->setPagedQuery(ctx_.db, list_.source(book, ctx_.state.myJZPX, footer.count));
    footer_ = footer;
    count_->setText(QStringLiteral("记账： ") + QString::number(footer.count));
    sum_->setText(QStringLiteral("合计： ") + Money::display(footer.sum));
    if (selectId <= 0) return;
    // Only among the rows already read: a posting far down a long list is not worth
    // reading the list up to it.
    const int row = grid_->gridModel()->rowOfId(selectId, false);
    if (row >= 0) grid_->selectRow(row);
}

void PostingScreen::myRef() {
    guarded([this] { reload(0); });
}

void PostingScreen::setFilter(const PostingKind::Filter& filter) {
    list_.setFilter(filter);
    myRef();
}

int PostingScreen::currentRow() const {
    return grid_->currentRow();
}

QString PostingScreen::currentText(const QString& title) const {
    const int row = currentRow();
    if (row < 0) return QString();
    return grid_->gridModel()->textAt(row, title);
}

qint64 PostingScreen::currentId() const {
    const int row = currentRow();
    if (row < 0) return 0;
    return grid_->gridModel()->valueAt(row, QStringLiteral("ID")).toLongLong();
}

void PostingScreen::showRow(int row) {
    const QueryGridModel* m = grid_->gridModel();
    const auto text = [&](const QString& title) {
        return row < 0 || m->columnOf(title) < 0 ? QString() : m->textAt(row, title);
    };
    for (const PostingLayout::EntryRow& r : layout_.entry) {
        if (QLineEdit* shown = shown_.value(r.field)) shown->setText(text(r.title));
        if (r.field == Field::Amount) amount_->showStored(text(r.title), mode_ == Mode::Browse);
        if (r.field == Field::Remark) remark_->setText(text(r.title));
    }
}

void PostingScreen::DBGrid1TitleClick(int column) {
    if (grid_->isLocked()) return;
    guarded([this, column] { grid_->gridModel()->sortByTitle(column); });
}

// ---- modes ---------------------------------------------------------------------------------

void PostingScreen::myBool(bool entering) {
    date_->setVisible(entering);
    for (NameComboBox* box : std::as_const(boxes_)) box->setVisible(entering);
    for (QLineEdit* shown : std::as_const(shown_)) shown->setVisible(!entering);
}

void PostingScreen::setMode(Mode mode) {
    mode_ = mode;
    const bool entering = mode != Mode::Browse;
    entry_->setEnabled(entering);
    grid_->setLocked(entering);
    for (QPushButton* b : {new_, modify_, delete_, query_}) b->setEnabled(!entering);
    saveNew_->setVisible(mode != Mode::Edit);
    saveNew_->setEnabled(mode == Mode::New);
    saveEdit_->setVisible(mode == Mode::Edit);
    saveEdit_->setEnabled(mode == Mode::Edit);
    cancel_->setEnabled(entering);
    for (QAction* a : std::as_const(actions_)) a->setEnabled(!entering);
    myBool(entering);
}

QWidget* PostingScreen::fieldWidget(PostingKind::Field field) const {
    switch (field) {
        case PostingKind::Field::Date:
            return date_;
        case PostingKind::Field::Name:
            return boxes_.value(Field::Name);
        case PostingKind::Field::Amount:
            return amount_;
        case PostingKind::Field::Account:
            return boxes_.value(Field::Account);
        case PostingKind::Field::Target:
            return boxes_.value(Field::Target);
        case PostingKind::Field::Member:
            return boxes_.value(Field::Member);
        case PostingKind::Field::None:
            break;
    }
    return nullptr;
}

void PostingScreen::presetDefaults() {
    for (const PostingLayout::EntryRow& r : layout_.entry) {
        NameComboBox* box = boxes_.value(r.field);
        if (box && r.preset) box->setText(ctx_.state.*r.preset);
    }
}

PostingRules::Posting PostingScreen::posting() const {
    const auto text = [this](Field f) {
        const NameComboBox* box = boxes_.value(f);
        return box ? box->text() : QString();
    };
    return {date_->text(),       text(Field::Name),   amount_->text(), text(Field::Account),
            text(Field::Target), text(Field::Member), remark_->text()};
}

bool PostingScreen::passes(const PostingRules::Posting& p, PostingRules::Mode mode) {
    const PostingRules::Verdict verdict = PostingRules::validate(kind(), p, mode);
    if (verdict.ok()) return true;
    Dialogs::focusAndWarn(ctx_.messages, fieldWidget(verdict.focus), verdict.message);
    return false;
}

void PostingScreen::ButNewClick() {
    if (mode_ != Mode::Browse) return;
    setMode(Mode::New);
    // The new posting starts empty; the picker keeps its date, so a run of postings of one
    // past day is entered without picking the day again.
    amount_->clear();
    remark_->clear();
    date_->setFocus();
    presetDefaults();
}

void PostingScreen::ButMedClick() {
    if (mode_ != Mode::Browse) return;
    const PostingLayout::EntryRow* dateRow = layout_.row(Field::Date);
    if (currentText(dateRow->title).isEmpty()) return;
    const qint64 id = currentId();
    // The change starts from the row as stored now, not as the list read it earlier, and
    // the save is refused if someone else changes the row before it.
    std::optional<PostingRules::Posting> stored;
    if (!guarded([&] { stored = rules_.load(kind(), id); })) return;
    if (!stored) {
        ctx_.messages.warn(PostingRules::kNotFound);
        guarded([this] { reload(0); });
        return;
    }
    editId_ = id;
    loaded_ = stored;
    setMode(Mode::Edit);
    date_->setFocus();
    date_->setText(stored->date);
    const QHash<Field, QString> values = {{Field::Name, stored->name},
                                          {Field::Account, stored->account},
                                          {Field::Target, stored->target},
                                          {Field::Member, stored->member}};
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (NameComboBox* box = boxes_.value(it.key())) box->setText(it.value());
    }
    amount_->setText(stored->amount);
    remark_->setText(stored->remark);
}

void PostingScreen::ButSaveClick() {
    if (mode_ != Mode::New) return;
    const PostingRules::Posting p = posting();
    if (!passes(p, PostingRules::Mode::New)) return;
    qint64 id = 0;
    if (!guarded([&] { id = rules_.saveNew(kind(), p); })) return;
    guarded([this, id] { reload(id); });
    afterSaveNew(id, p);
    setMode(Mode::Browse);
    showRow(currentRow());
    new_->setFocus();
}

void PostingScreen::ButSaveEditClick() {
    if (mode_ != Mode::Edit) return;
    const PostingRules::Posting p = posting();
    if (!passes(p, PostingRules::Mode::Edit)) return;
    if (!guarded([&] { rules_.saveEdit(kind(), editId_, p, loaded_); })) return;
    const qint64 id = editId_;
    guarded([this, id] { reload(id); });
    setMode(Mode::Browse);
    showRow(currentRow());
    new_->setFocus();
}

void PostingScreen::ButCanClick() {
    if (mode_ == Mode::Browse) return;
    // Nothing was written; the panel shows the current row again.
    setMode(Mode::Browse);
    showRow(currentRow());
    // The next thing a user does after leaving an entry is usually a new one, never a delete.
    new_->setFocus();
}

void PostingScreen::afterSaveNew(qint64, const PostingRules::Posting&) {}

QString PostingScreen::deleteRefusal() {
    return QString();
}

void PostingScreen::ButDelClick() {
    if (mode_ != Mode::Browse) return;
    if (currentText(layout_.row(Field::Date)->title).isEmpty()) return;
    const QString refusal = deleteRefusal();
    if (!refusal.isEmpty()) {
        ctx_.messages.warn(refusal);
        return;
    }
    if (!Dialogs::askDelete(ctx_.messages)) return;
    const qint64 id = currentId();
    const int row = currentRow();
    guarded([&] { rules_.remove(kind(), id); });
    guarded([this] { reload(0); });
    // The list stays where it was: the row after the deleted one becomes current.
    const int rows = grid_->gridModel()->rowCount();
    if (rows > 0) grid_->selectRow(std::min(row, rows - 1));
}

void PostingScreen::DeleteAllClick() {
    if (mode_ != Mode::Browse) return;
    if (grid_->gridModel()->rowCount() == 0) return;
    if (Dialogs::askDelete(ctx_.messages)) {
        guarded([this] { rules_.removeAll(kind(), list_.filter()); });
    }
    myRef();
}

void PostingScreen::ButQueryClick() {
    if (mode_ != Mode::Browse) return;
    PostingQueryDialog dialog(
        ctx_, layout_, [this](const PostingKind::Filter& f) { setFilter(f); }, this);
    runDialog(dialog);
}

void PostingScreen::ButExiClick() {
    close();
}

// ---- reminders -----------------------------------------------------------------------------

void PostingScreen::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    // After the window is on screen, so each reminder pops up over the list it is about.
    QMetaObject::invokeMethod(this, &PostingScreen::myTX, Qt::QueuedConnection);
}

void PostingScreen::myTX() {
    PostingWarnings warnings(ctx_.dm);
    std::vector<PostingWarnings::Threshold> thresholds;
    if (!guarded([&] { thresholds = warnings.thresholds(kind()); })) return;
    for (const PostingWarnings::Threshold& t : thresholds) {
        // Each total is read after the popup before it is closed.
        std::optional<PostingWarnings::Reminder> r;
        if (!guarded([&] { r = warnings.reached(kind(), t); })) return;
        if (!r) continue;
        TfrmTXMes popup(r->caption, r->member, r->amounts, r->hint, this);
        runDialog(popup);
    }
}

}  // namespace cw
