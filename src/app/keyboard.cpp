#include "app/keyboard.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QRadioButton>
#include <QStyleOptionToolButton>
#include <QToolButton>

namespace pikotel {

namespace {

// Enter and Return on a focused push or tool button click it. Check boxes and option
// buttons keep Qt's behaviour (the space bar toggles them, Enter belongs to the dialog).
class EnterPressesButtons final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (button == nullptr || qobject_cast<QCheckBox*>(button) != nullptr ||
            qobject_cast<QRadioButton*>(button) != nullptr)
            return false;
        if (button->window()->focusWidget() != button || !button->isEnabled())
            return false;
        button->click();
        return true;
    }
};

// Tool buttons draw no focus frame in most styles; ours do, inside their border.
class FocusCueStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        if (control != CC_ToolButton || !(option->state & State_HasFocus) ||
            !(option->state & State_KeyboardFocusChange))
            return;
        painter->save();
        QPen pen(option->palette.color(QPalette::Highlight), 2);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option->rect.adjusted(2, 2, -3, -3));
        painter->restore();
    }
};

} // namespace

void installKeyboardConventions(QApplication& app) {
    app.installEventFilter(new EnterPressesButtons(&app));
    QApplication::setStyle(new FocusCueStyle(QApplication::style()->name()));
}

} // namespace pikotel
