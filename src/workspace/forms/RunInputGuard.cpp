// Drops the input to the problem windows during a run, Esc excepted.
#include "workspace/forms/RunInputGuard.h"

#include "workspace/forms/TProblForm.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTabBar>

namespace {

// Whether `object` belongs to a problem window. Dialogs and other windows of their own (a
// message box owned by a problem window among them) belong to none; a menu command belongs to
// the window of its menu bar. The page tabs and the scroll bars only change the view, so they
// stay free.
bool inProblemWindow(QObject* object) {
    const bool command = qobject_cast<QAction*>(object) != nullptr;
    for (; object; object = object->parent()) {
        if (qobject_cast<QTabBar*>(object) || qobject_cast<QScrollBar*>(object))
            return false;
        if (qobject_cast<TProblForm*>(object))
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
        return !isEscape(event) && inProblemWindow(watched);
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
        return inProblemWindow(watched);
    default:
        return false;
    }
}
