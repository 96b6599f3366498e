#include "reference/ui/ManagerScreen.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

#include "reference/ui/TfrmA_M.h"
#include "reference/ui/TfrmA_TZ.h"
#include "reference/ui/TfrmJZCS.h"
#include "reference/ui/TfrmPY.h"
#include "reports/ui/TfrmPage3.h"
#include "storage/DbError.h"
#include "storage/Money.h"
#include "widgets/DatePicker.h"
#include "widgets/Dialogs.h"
#include "widgets/EntryKeys.h"
#include "widgets/MoneyEdit.h"
#include "widgets/Navigator.h"
#include "widgets/QueryGrid.h"
#include "widgets/ScreenHost.h"

namespace cw {

namespace {

using Command = ManagerScreen::Command;
using Kind = ReferenceList::Kind;

constexpr int kNameLength = 20;
constexpr int kRemarkLength = 50;
const QString kFirstBirthday = QStringLiteral("1980-01-01");

// What the six managers do not share.
struct Layout {
    const char* className;
    const char* caption;
    const char* group;
    const char* modify;  // the modify button; nullptr where rows are changed elsewhere
    const char* viewLog;
    bool titleSort;
    bool hint;
    std::vector<Command> menu;
};

const Layout& layoutOf(Kind kind) {
    using C = Command;
    const std::vector<Command> categoryMenu = {C::Enable, C::Disable, C::Separator, C::Pinyin,
                                               C::Count};
    static const Layout layouts[ReferenceList::KindCount] = {
        {"TfrmIn_Manage", "收入类别", "收入类别信息", "修改（&E）", "", false, false, categoryMenu},
        {"TfrmOut_Manage", "支出类别", "支出类别信息", "修改（&E）", "", false, false,
         categoryMenu},
        {"TfrmT_Manage", "投资类别", "投资类别信息", "修改（&E）", "", false, false, categoryMenu},
        {"TfrmFamily",
         "家庭成员管理",
         "家庭成员信息",
         "修改（&M）",
         "查看流动记录 &V",
         true,
         true,
         {C::Pinyin, C::ViewLog}},
        {"TfrmP_Manage", "往来人员", "往来人员信息", "修改（&E）", "", true, false, categoryMenu},
        {"TfrmA_Manage",
         "账户管理",
         "账户信息",
         nullptr,
         "查看流动日志 &V",
         true,
         true,
         {C::ViewLog, C::Separator, C::Enable, C::Disable, C::Separator, C::Pinyin, C::Count,
          C::Separator, C::Adjust, C::ModifyAccount}},
    };
    return layouts[size_t(kind)];
}

QString commandCaption(Command command, const Layout& layout) {
    switch (command) {
        case Command::ViewLog:
            return QString::fromUtf8(layout.viewLog);
        case Command::Enable:
            return QStringLiteral("启用 &S");
        case Command::Disable:
            return QStringLiteral("停用 &E");
        case Command::Pinyin:
            return QStringLiteral("修改拼音码 &P");
        case Command::Count:
            return QStringLiteral("修改记账次数 &A");
        case Command::Adjust:
            return QStringLiteral("调整账户余额 &T");
        case Command::ModifyAccount:
            return QStringLiteral("修改账户 &M");
        case Command::Separator:
            break;
    }
    return QString();
}

QLineEdit* textField(QWidget* parent, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(maxLength);
    return edit;
}

void selectText(QComboBox* box, const QString& text) {
    box->setCurrentIndex(box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

QPushButton* button(const QString& caption, QWidget* parent, QHBoxLayout* row) {
    auto* b = new QPushButton(caption, parent);
    row->addWidget(b);
    return b;
}

}  // namespace

ManagerScreen::ManagerScreen(AppContext& ctx, ReferenceList::Kind kind, QWidget* parent)
    : QWidget(parent),
      ctx_(ctx),
      manager_(ctx.dm, kind),
      runDialog_([](QDialog& d) { return d.exec(); }),
      lastBirthday_(kFirstBirthday) {
    const Layout& layout = layoutOf(kind);
    setObjectName(QLatin1String(layout.className));
    setWindowTitle(QString::fromUtf8(layout.caption));

    grid_ = new QueryGrid(this);
    grid_->setTitleSort(layout.titleSort);
    grid_->gridModel()->setHiddenColumns(list().hiddenColumns);
    grid_->gridModel()->setMoneyColumns(list().moneyColumns);
    if (layout.hint) grid_->setToolTip(QStringLiteral("亲，鼠标右键 有惊喜哟！"));
    navigator_ = new Navigator(this);
    navigator_->setGrid(grid_);

    entry_ = new QGroupBox(QString::fromUtf8(layout.group), this);
    auto* form = new QGridLayout(entry_);
    buildEntry(form);
    new EntryKeys(entry_, {.entering = [this] { return mode_ != Mode::Browse; },
                           .save =
                               [this] {
                                   if (mode_ == Mode::Adding) ButSaveNewClick();
                                   if (mode_ == Mode::Modifying) ButSaveEditClick();
                               },
                           .cancel = [this] { ButCancelClick(); }});
    form->setColumnStretch(1, 1);
    form->setColumnStretch(2, 1);

    auto* bar = new QWidget(this);
    buildButtons(bar);
    buildPopup();

    auto* layoutBox = new QVBoxLayout(this);
    layoutBox->addWidget(grid_, 1);
    layoutBox->addWidget(navigator_, 0, Qt::AlignLeft);
    layoutBox->addWidget(entry_);
    layoutBox->addWidget(bar);

    connect(grid_, &QueryGrid::currentRowChanged, this, [this](int row) {
        if (mode_ == Mode::Browse) showRow(row);
    });
    if (commands_.contains(Command::ViewLog)) {
        connect(grid_, &QueryGrid::rowDoubleClicked, this, &ManagerScreen::ViewLogClick);
    }

    guarded([this] { reload(0); });
    browse();
}

QString ManagerScreen::className(ReferenceList::Kind kind) {
    return QLatin1String(layoutOf(kind).className);
}

void ManagerScreen::buildEntry(QGridLayout* form) {
    const Kind kind = list().kind;
    if (kind == ReferenceList::Accounts) {
        type_ = new QComboBox(entry_);
        type_->addItems(ctx_.dm.DBComSAType());
        Dialogs::addFieldRow(form, QStringLiteral("账户分类："), type_,
                             QStringLiteral("注意：一定要选择账户分类"));
        member_ = new QComboBox(entry_);
        member_->addItems(ctx_.dm.DBComFamily());
        Dialogs::addFieldRow(form, QStringLiteral("家庭成员："), member_,
                             QStringLiteral("该账户的所属人"));
    }
    name_ = textField(entry_, kNameLength);
    Dialogs::addFieldRow(form, list().label + QStringLiteral("："), name_,
                         kind == ReferenceList::Accounts
                             ? QStringLiteral("例如 现金：我的现金 老公的现金；银行卡：我的农行卡")
                             : QString());
    if (kind == ReferenceList::Accounts) {
        amount_ = new MoneyEdit(entry_);
        Dialogs::addFieldRow(form, QStringLiteral("账户余额："), amount_,
                             QStringLiteral("该账户的实际金额，可以录入负数"));
    }
    if (kind == ReferenceList::Expense) {
        cap_ = new MoneyEdit(entry_);
        Dialogs::addFieldRow(form, QStringLiteral("月  上  限："), cap_);
    }
    if (kind == ReferenceList::Members) {
        relation_ = textField(entry_, kNameLength);
        Dialogs::addFieldRow(form, QStringLiteral("关系："), relation_);
        // The birthday shows as stored while browsing and as a picker while a member is
        // entered, both in the same place.
        birthdayText_ = new QLineEdit(entry_);
        birthdayText_->setReadOnly(true);
        birthday_ = new DatePicker(entry_);
        birthday_->setAllowEmpty(true);
        birthday_->setEmptyPage(ctx_.clock.today());
        birthday_->setText(kFirstBirthday);
        Dialogs::addFieldRow(form, QStringLiteral("生日："), birthdayText_);
        form->addWidget(birthday_, form->rowCount() - 1, 1);
        connect(birthday_, &QDateEdit::dateChanged, this, [this] {
            if (loadingBirthday_) return;
            birthdayTouched_ = true;
            if (!birthday_->isEmpty()) lastBirthday_ = birthday_->text();
        });
    }
    remark_ = textField(entry_, kRemarkLength);
    Dialogs::addFieldRow(form,
                         kind == ReferenceList::Members ? QStringLiteral("备注：")
                                                        : QStringLiteral("备        注："),
                         remark_);
}

void ManagerScreen::buildButtons(QWidget* bar) {
    const Layout& layout = layoutOf(list().kind);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    new_ = button(QStringLiteral("新增（&N）"), bar, row);
    if (layout.modify) modify_ = button(QString::fromUtf8(layout.modify), bar, row);
    // One save button per mode, both captioned alike; only the current mode's one shows.
    saveNew_ = button(QStringLiteral("保存（&S）"), bar, row);
    if (modify_) saveEdit_ = button(QStringLiteral("保存（&S）"), bar, row);
    cancel_ = button(QStringLiteral("取消（&C）"), bar, row);
    delete_ = button(QStringLiteral("删除（&D）"), bar, row);
    exit_ = button(QStringLiteral("退出（&X）"), bar, row);
    row->addStretch();

    connect(new_, &QPushButton::clicked, this, &ManagerScreen::ButNewClick);
    if (modify_) connect(modify_, &QPushButton::clicked, this, &ManagerScreen::ButModifyClick);
    connect(saveNew_, &QPushButton::clicked, this, &ManagerScreen::ButSaveNewClick);
    if (saveEdit_)
        connect(saveEdit_, &QPushButton::clicked, this, &ManagerScreen::ButSaveEditClick);
    connect(cancel_, &QPushButton::clicked, this, &ManagerScreen::ButCancelClick);
    connect(delete_, &QPushButton::clicked, this, &ManagerScreen::ButDelClick);
    connect(exit_, &QPushButton::clicked, this, &ManagerScreen::ButExitClick);
}

void ManagerScreen::buildPopup() {
    const Layout& layout = layoutOf(list().kind);
    popup_ = new QMenu(this);
    const QMap<Command, void (ManagerScreen::*)()> handlers = {
        {Command::ViewLog, &ManagerScreen::ViewLogClick},
        {Command::Enable, &ManagerScreen::EnableClick},
        {Command::Disable, &ManagerScreen::DisableClick},
        {Command::Pinyin, &ManagerScreen::PinyinClick},
        {Command::Count, &ManagerScreen::CountClick},
        {Command::Adjust, &ManagerScreen::AdjustClick},
        {Command::ModifyAccount, &ManagerScreen::ModifyAccountClick},
    };
    for (const Command command : layout.menu) {
        if (command == Command::Separator) {
            popup_->addSeparator();
            continue;
        }
        QAction* action = popup_->addAction(commandCaption(command, layout));
        connect(action, &QAction::triggered, this, handlers.value(command));
        commands_.insert(command, action);
    }

    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(grid_->viewport()->mapToGlobal(at)); });
}

QWidget* ManagerScreen::field(Field field) const {
    switch (field) {
        case Field::Name:
            return name_;
        case Field::Remark:
            return remark_;
        case Field::Cap:
            return cap_;
        case Field::Type:
            return type_;
        case Field::Member:
            return member_;
        case Field::Amount:
            return amount_;
        default:
            return nullptr;
    }
}

void ManagerScreen::guarded(const std::function<void()>& action) {
    try {
        action();
    } catch (const DbError& e) {
        ctx_.messages.warn(e.message());
    }
}

void ManagerScreen::reload(qint64 selectId) {
    grid_->gridModel()->setQuery(manager_.rows());
    if (selectId > 0) grid_->selectId(selectId);
}

void ManagerScreen::myRef() {
    const qint64 id = currentId();
    guarded([this, id] { reload(id); });
}

int ManagerScreen::currentRow() const {
    return grid_->currentRow();
}

QString ManagerScreen::currentText(const QString& column) const {
    return grid_->gridModel()->textAt(currentRow(), column);
}

qint64 ManagerScreen::currentId() const {
    return grid_->gridModel()->valueAt(currentRow(), QStringLiteral("ID")).toLongLong();
}

bool ManagerScreen::currentNamed() const {
    return !currentText(list().label).isEmpty();
}

// The popup commands act on the current row, which only stands still while browsing.
bool ManagerScreen::hasRows() const {
    return mode_ == Mode::Browse && grid_->gridModel()->rowCount() > 0;
}

void ManagerScreen::setMode(Mode mode) {
    mode_ = mode;
    const bool entering = mode != Mode::Browse;
    entry_->setEnabled(entering);
    grid_->setLocked(entering);
    new_->setEnabled(!entering);
    if (modify_) modify_->setEnabled(!entering);
    delete_->setEnabled(!entering);
    saveNew_->setVisible(mode != Mode::Modifying);
    saveNew_->setEnabled(mode == Mode::Adding);
    if (saveEdit_) {
        saveEdit_->setVisible(mode == Mode::Modifying);
        saveEdit_->setEnabled(mode == Mode::Modifying);
    }
    cancel_->setEnabled(entering);
    if (birthday_) {
        birthday_->setVisible(entering);
        birthdayText_->setVisible(!entering);
    }
}

void ManagerScreen::browse() {
    setMode(Mode::Browse);
    showRow(currentRow());
}

void ManagerScreen::showRow(int row) {
    const QueryGridModel* m = grid_->gridModel();
    name_->setText(m->textAt(row, list().label));
    remark_->setText(m->textAt(row, QStringLiteral("备注")));
    const bool reading = mode_ == Mode::Browse;
    if (cap_) cap_->showStored(m->textAt(row, QStringLiteral("月上限")), reading);
    if (relation_) relation_->setText(m->textAt(row, QStringLiteral("关系")));
    if (birthdayText_) birthdayText_->setText(m->textAt(row, QStringLiteral("生日")));
    if (type_) selectText(type_, m->textAt(row, QStringLiteral("账户分类")));
    if (member_) selectText(member_, m->textAt(row, QStringLiteral("家庭成员")));
    if (amount_) amount_->showStored(m->textAt(row, QStringLiteral("账户余额")), reading);
}

void ManagerScreen::clearEntry() {
    for (QLineEdit* e : {name_, remark_, relation_, static_cast<QLineEdit*>(cap_),
                         static_cast<QLineEdit*>(amount_)}) {
        if (e) e->clear();
    }
    for (QComboBox* box : {type_, member_}) {
        if (box) box->setCurrentIndex(-1);
    }
    if (birthday_) loadBirthday(lastBirthday_);
}

void ManagerScreen::loadBirthday(const QString& stored) {
    loadingBirthday_ = true;
    // A stored text that is no date leaves the picker as it was; it is not written back
    // unless the user picks a date.
    birthday_->setText(stored);
    loadingBirthday_ = false;
    birthdayTouched_ = false;
}

ReferenceManager::Entry ManagerScreen::entry() const {
    ReferenceManager::Entry e;
    e.name = name_->text();
    e.remark = remark_->text();
    if (cap_) e.cap = cap_->text();
    if (relation_) e.relation = relation_->text();
    if (birthday_ && (mode_ == Mode::Adding || birthdayTouched_)) e.birthday = birthday_->text();
    if (type_) e.type = type_->currentText();
    if (member_) e.member = member_->currentText();
    if (amount_) e.amount = amount_->text();
    return e;
}

void ManagerScreen::ButNewClick() {
    if (mode_ != Mode::Browse) return;
    setMode(Mode::Adding);
    clearEntry();
    (type_ ? static_cast<QWidget*>(type_) : name_)->setFocus();
}

void ManagerScreen::ButModifyClick() {
    if (mode_ != Mode::Browse || !modify_ || !currentNamed()) return;
    editId_ = currentId();
    setMode(Mode::Modifying);
    showRow(currentRow());
    // The picker starts from the stored birthday, so a modification that does not touch
    // it keeps it, an empty one included.
    if (birthday_) loadBirthday(currentText(QStringLiteral("生日")));
    name_->setFocus();
}

void ManagerScreen::save(Mode mode) {
    if (mode_ != mode) return;
    guarded([this, mode] {
        const ReferenceManager::Entry e = entry();
        const ReferenceManager::Result r =
            mode == Mode::Adding ? manager_.add(e) : manager_.modify(editId_, e);
        if (!r.ok()) {
            Dialogs::focusAndWarn(ctx_.messages, field(r.focus), r.message);
            return;
        }
        setMode(Mode::Browse);
        reload(r.id);
        browse();
        new_->setFocus();
    });
}

void ManagerScreen::ButSaveNewClick() {
    save(Mode::Adding);
}

void ManagerScreen::ButSaveEditClick() {
    save(Mode::Modifying);
}

void ManagerScreen::ButCancelClick() {
    browse();
    // The next thing a user does after leaving an entry is usually a new one, never a delete.
    new_->setFocus();
}

void ManagerScreen::ButDelClick() {
    if (mode_ != Mode::Browse || !currentNamed()) return;
    const qint64 id = currentId();
    guarded([this, id] {
        ReferenceManager::Result r = manager_.checkRemove(id);
        if (r.ok()) {
            if (!Dialogs::askDelete(ctx_.messages)) return;
            r = manager_.remove(id);
        }
        if (!r.ok()) {
            Dialogs::focusAndWarn(ctx_.messages, nullptr, r.message);
            return;
        }
        reload(0);
    });
    browse();
}

void ManagerScreen::ButExitClick() {
    close();
}

void ManagerScreen::ViewLogClick() {
    // The log replaces this window in the main window, opened on this row's name.
    if (!hasRows() || !currentNamed()) return;
    auto* host = dynamic_cast<ScreenHost*>(window());
    if (!host) return;
    const QString name = currentText(list().label);
    const FilterKey key =
        list().kind == ReferenceList::Members ? FilterKey::Member : FilterKey::Account;
    host->openScreen(QStringLiteral("TfrmPage3"));
    if (auto* log = qobject_cast<TfrmPage3*>(host->workingWindow())) log->preset(key, name);
}

void ManagerScreen::setState(bool enabled) {
    if (mode_ != Mode::Browse) return;
    guarded([this, enabled] {
        if (hasRows()) manager_.setState(currentId(), enabled);
        reload(currentId());
    });
}

void ManagerScreen::EnableClick() {
    setState(true);
}

void ManagerScreen::DisableClick() {
    setState(false);
}

void ManagerScreen::runOnRow(ReferenceDialog& dialog) {
    dialog.setOwnerRefresh([this] { myRef(); });
    runDialog_(dialog);
}

ReferenceDialog::AccountRow ManagerScreen::currentAccount() const {
    return {currentText(QStringLiteral("账户分类")), currentText(QStringLiteral("家庭成员")),
            currentText(QStringLiteral("账户名称")),
            Money::display(grid_->gridModel()->numberAt(currentRow(), QStringLiteral("账户余额"))),
            currentText(QStringLiteral("备注"))};
}

void ManagerScreen::PinyinClick() {
    if (!hasRows()) return;
    TfrmPY dialog(ctx_, list(), currentId(),
                  currentText(list().label) + QStringLiteral(" 拼音码 修改"),
                  currentText(QStringLiteral("拼音码")), this);
    runOnRow(dialog);
}

void ManagerScreen::CountClick() {
    if (!currentNamed() || !hasRows()) return;
    TfrmJZCS dialog(ctx_, list(), currentId(),
                    currentText(list().label) + QStringLiteral(" 的记账次数"),
                    currentText(QStringLiteral("记账次数")), this);
    runOnRow(dialog);
}

void ManagerScreen::AdjustClick() {
    if (!currentNamed() || !hasRows()) return;
    TfrmA_TZ dialog(ctx_, currentId(), currentAccount(), this);
    runOnRow(dialog);
}

void ManagerScreen::ModifyAccountClick() {
    if (!hasRows()) return;
    TfrmA_M dialog(ctx_, currentId(), currentAccount(), this);
    runOnRow(dialog);
}

}  // namespace cw
