#include "app/keyboard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
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

// Qt shows focus frames only after the user moved the focus with the keyboard. When the
// program moves it (after a message, a search, a cleared form), the user must see where it
// went as well; only a mouse click leaves the frames hidden.
class ProgramFocusShowsCue final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::FocusIn || !watched->isWidgetType())
            return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::OtherFocusReason && reason != Qt::ActiveWindowFocusReason)
            return false;
        QWidget* window = static_cast<QWidget*>(watched)->window();
        if (!window->testAttribute(Qt::WA_KeyboardFocusChange)) {
            window->setAttribute(Qt::WA_KeyboardFocusChange);
            static_cast<QWidget*>(watched)->update();
        }
        return false;
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

bool escapePresses(const QKeyEvent& event, QAbstractButton* button) {
    if (event.key() != Qt::Key_Escape || event.modifiers() != Qt::NoModifier || button == nullptr ||
        !button->isEnabled() || !button->isVisible())
        return false;
    button->click();
    return true;
}

void installKeyboardConventions(QApplication& app) {
    app.installEventFilter(new EnterPressesButtons(&app));
    app.installEventFilter(new ProgramFocusShowsCue(&app));
    QApplication::setStyle(new FocusCueStyle(QApplication::style()->name()));
}

} // namespace pikotel
