// Drops the input to the guarded windows during a run, Esc excepted.
#include "workspace/forms/RunInputGuard.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTabBar>

namespace {

const char* const GuardedProperty = "guardedDuringRuns";

// Whether `object` belongs to a guarded window. Dialogs and other windows of their own (a
// message box owned by a problem window among them) belong to none; a menu command belongs to
// the window of its menu bar. The page tabs and the scroll bars only change the view, so they
// stay free.
bool inGuardedWindow(QObject* object) {
    const bool command = qobject_cast<QAction*>(object) != nullptr;
    for (; object; object = object->parent()) {
        if (qobject_cast<QTabBar*>(object) || qobject_cast<QScrollBar*>(object))
            return false;
        if (object->property(GuardedProperty).toBool())
            return true;
        auto* widget = qobject_cast<QWidget*>(object);
        if (!command && widget && widget->isWindow())
            return false;
    }
    return false;
}

bool isEscape(QEvent* event) {
    return static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
}

} // namespace

void RunInputGuard::guardDuringRuns(QWidget& window) {
    window.setProperty(GuardedProperty, true);
}

RunInputGuard::RunInputGuard() {
    qApp->installEventFilter(this);
}

RunInputGuard::~RunInputGuard() {
    qApp->removeEventFilter(this);
}

bool RunInputGuard::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        return !isEscape(event) && inGuardedWindow(watched);
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
        return inGuardedWindow(watched);
    default:
        return false;
    }
}
