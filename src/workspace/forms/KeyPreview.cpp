// Lets a window see every key pressed in it.
#include "workspace/forms/KeyPreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

KeyPreview::KeyPreview(QWidget* window, std::function<void(int key)> onKey)
    : QObject(window), window_(window), onKey_(std::move(onKey)) {
    qApp->installEventFilter(this);
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
    // A key event climbs from the focused control to its parents; the first delivery counts.
    if (event->type() == QEvent::KeyPress && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == window_ &&
            (widget == QApplication::focusWidget() || !QApplication::focusWidget()))
            onKey_(static_cast<QKeyEvent*>(event)->key());
    }
    return QObject::eventFilter(watched, event);
}
