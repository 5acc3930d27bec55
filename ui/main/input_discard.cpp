// Drops the clicks, keys and close requests that reach the tool while a transfer holds its thread.
#include "ui/main/input_discard.h"

#include <QCoreApplication>
#include <QEvent>

namespace corvane {
namespace {

// Everything a technician does that starts a command or changes a choice: buttons, lists, menus,
// Edit, the close box and the keyboard.
bool isInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::InputMethod:
        case QEvent::Close:
            return true;
        default:
            return false;
    }
}

}  // namespace

InputDiscard::InputDiscard() : active_(QCoreApplication::instance() != nullptr) {
    if (active_) QCoreApplication::instance()->installEventFilter(this);
}

InputDiscard::~InputDiscard() {
    end();
}

void InputDiscard::end() {
    if (!active_) return;
    // Deliver what the window system queued meanwhile while this filter still drops it.
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(this);
    active_ = false;
}

bool InputDiscard::eventFilter(QObject* watched, QEvent* event) {
    if (!isInput(event->type())) return QObject::eventFilter(watched, event);
    // A refused close request keeps the window open.
    if (event->type() == QEvent::Close) event->ignore();
    return true;
}

}  // namespace corvane
