#include "runtime/qt/ring_view.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QSignalBlocker>
#include <cmath>

namespace qrix::qt {

namespace {

bool sameValue(double a, double b) {
  return std::abs(a - b) <= 1e-9 * std::max(1.0, std::max(std::abs(a), std::abs(b)));
}

QString formatValue(double value) {
  return QString::number(value, 'g', 12);
}

struct Entry {
  QString label;
  double value;
};

// The items, plus the value itself when no item carries it.
std::vector<Entry> entriesFor(const ui::Control& c) {
  std::vector<Entry> entries;
  bool found = false;
  for (const ui::ListItem& item : c.items) {
    entries.push_back({QString::fromStdString(item.label), item.value});
    found = found || sameValue(item.value, c.value);
  }
  if (!found) {
    entries.push_back({formatValue(c.value), c.value});
  }
  return entries;
}

// A combo box read and set by its item value, as a screen reader or a test robot sees it.
class RingAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit RingAccessible(RingCombo* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface) {
      return static_cast<QAccessibleValueInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) {
      return combo()->currentText();
    }
    return QAccessibleWidget::text(t);
  }
  QVariant currentValue() const override { return combo()->currentData(); }
  void setCurrentValue(const QVariant& value) override {
    int index = combo()->indexOfValue(value.toDouble());
    if (index >= 0) {
      combo()->choose(index);
    }
  }
  QVariant maximumValue() const override { return bound(true); }
  QVariant minimumValue() const override { return bound(false); }
  QVariant minimumStepSize() const override { return 0; }

 private:
  RingCombo* combo() const { return static_cast<RingCombo*>(widget()); }
  QVariant bound(bool highest) const {
    QVariant best;
    for (int i = 0; i < combo()->count(); ++i) {
      double v = combo()->itemData(i).toDouble();
      if (!best.isValid() || (highest ? v > best.toDouble() : v < best.toDouble())) {
        best = v;
      }
    }
    return best;
  }
};

QAccessibleInterface* ringAccessibleFactory(const QString& className, QObject* object) {
  if (className == QLatin1String(RingCombo::staticMetaObject.className()) &&
      object->isWidgetType()) {
    // Qt's accessibility cache owns the interfaces it asks for.
    return new RingAccessible(static_cast<RingCombo*>(object));
  }
  return nullptr;
}

}  // namespace

void installRingAccessibility() {
  QAccessible::installFactory(ringAccessibleFactory);
}

void RingCombo::choose(int index) {
  if (index < 0 || index >= count()) {
    return;
  }
  setCurrentIndex(index);
  emit activated(index);
}

int RingCombo::indexOfValue(double value) const {
  for (int i = 0; i < count(); ++i) {
    if (sameValue(itemData(i).toDouble(), value)) {
      return i;
    }
  }
  return -1;
}

RingView::RingView(EventRouter& router, int panel, int control, QWidget* panelWidget)
    : ControlView(router, panel, control, panelWidget), combo_(new RingCombo(panelWidget)) {
  setWidget(combo_, true);
  connect(combo_, &QComboBox::activated, this, &RingView::userChose);
}

void RingView::applyValue(const ui::Control& c) {
  QSignalBlocker block(combo_);
  std::vector<Entry> entries = entriesFor(c);
  bool same = combo_->count() == static_cast<int>(entries.size());
  for (int i = 0; same && i < combo_->count(); ++i) {
    same = combo_->itemText(i) == entries[static_cast<size_t>(i)].label &&
           combo_->itemData(i).toDouble() == entries[static_cast<size_t>(i)].value;
  }
  if (!same) {
    combo_->clear();
    for (const Entry& e : entries) {
      combo_->addItem(e.label, e.value);
    }
  }
  combo_->setCurrentIndex(combo_->indexOfValue(c.value));
  showWords(combo_->currentText());
}

void RingView::userChose(int index) {
  const ui::Control* c = control();
  if (!c) {
    return;
  }
  if (!acceptsInput()) {
    applyValue(*c);
    return;
  }
  double value = combo_->itemData(index).toDouble();
  if (!writeValue(value)) {
    return;
  }
  // The extra entry of an unknown value goes once a real item is chosen.
  if (const ui::Control* now = control()) {
    applyValue(*now);
  }
  send(ui::EVENT_COMMIT);
}

}  // namespace qrix::qt
