#include "app/wheel.h"

#include <QAbstractScrollArea>
#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>

namespace pikotel {

namespace {

class WheelFilter final : public QObject {
public:
    explicit WheelFilter(QAbstractScrollArea* grid) : QObject(grid), grid_(grid) {}
    QAbstractScrollArea* grid() const { return grid_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel)
            return QObject::eventFilter(watched, event);
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        QScrollBar* bar = grid_->verticalScrollBar();
        // A horizontal wheel and a grid without anything to scroll keep Qt's own handling.
        if (delta == 0 || bar == nullptr || bar->maximum() <= bar->minimum())
            return false;
        bar->triggerAction(delta > 0 ? QAbstractSlider::SliderSingleStepSub
                                     : QAbstractSlider::SliderSingleStepAdd);
        return true;
    }

private:
    QAbstractScrollArea* grid_;
};

// The one hook; owned by the hooked grid so that it goes with it.
QPointer<WheelFilter> g_hook;

} // namespace

bool HookWheel(QAbstractScrollArea* grid) {
    if (grid == nullptr)
        return false;
    delete g_hook.data();
    g_hook = new WheelFilter(grid);
    grid->viewport()->installEventFilter(g_hook.data());
    return true;
}

void UnhookWheel(QAbstractScrollArea* grid) {
    if (!g_hook.isNull() && g_hook->grid() == grid)
        delete g_hook.data();
}

QAbstractScrollArea* hookedWheelGrid() {
    return g_hook.isNull() ? nullptr : g_hook->grid();
}

} // namespace pikotel
