#include "widgets/PinyinKeySearch.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QHash>
#include <QKeyEvent>

#include "storage/PinyinCode.h"

namespace cw {

namespace {

class Search : public QObject {
  public:
    Search(QComboBox* box, int pauseMs) : QObject(box), box_(box), pauseMs_(pauseMs) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != box_ || event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::ShiftModifier) return false;
        const QString text = key->text();
        if (text.size() != 1 || text[0].unicode() > 0x7f || !text[0].isLetterOrNumber())
            return false;
        if (!typed_.isEmpty() && (!sinceLast_.isValid() || sinceLast_.elapsed() > pauseMs_))
            typed_.clear();
        typed_ += text.toUpper();
        sinceLast_.restart();
        const int found = find();
        if (found >= 0 && found != box_->currentIndex()) {
            box_->setCurrentIndex(found);
            emit box_->activated(found);
        }
        return true;
    }

  private:
    int find() {
        int contains = -1;
        for (int i = 0; i < box_->count(); ++i) {
            const QString name = box_->itemText(i);
            auto it = codes_.constFind(name);
            if (it == codes_.constEnd()) it = codes_.insert(name, PinyinCode::of(name).toUpper());
            if (it->startsWith(typed_)) return i;
            if (contains < 0 && it->contains(typed_)) contains = i;
        }
        return contains;
    }

    QComboBox* box_;
    int pauseMs_;
    QString typed_;
    QElapsedTimer sinceLast_;
    QHash<QString, QString> codes_;  // a name's code, made once
};

}  // namespace

void PinyinKeySearch::attach(QComboBox* box, int pauseMs) {
    box->installEventFilter(new Search(box, pauseMs));
}

}  // namespace cw
