#include "platform/qt/QtPointerKeys.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <cstdlib>
#include <memory>
#include <optional>

#include "platform/qt/QtX11.h"

namespace surftally {

namespace {

// The reads of the snapshots that live now (the event loop's thread only).
struct Snapshot {
    int depth = 0;
    std::optional<QPoint> pointer;
    std::optional<Qt::KeyboardModifiers> keys;
    // What was read last, snapshot or not.
    QPoint lastPointer;
    Qt::KeyboardModifiers lastKeys;
};

Snapshot& snapshot() {
    static Snapshot instance;
    return instance;
}

// Unscaled screens: Qt's coordinates are the server's.
bool unscaled() {
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->devicePixelRatio() != 1.0) {
            return false;
        }
    }
    return true;
}

// Fills the snapshot with one question to the X server, which tells both the pointer and the
// modifier keys (Qt would ask once for each); false off X11 or on scaled screens.
bool readFromServer(Snapshot& s) {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr || !unscaled()) {
        return false;
    }
    const std::unique_ptr<xcb_query_pointer_reply_t, decltype(&std::free)> reply(
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, X11Root(connection)),
                                nullptr),
        &std::free);
    if (reply == nullptr) {
        return false;
    }
    s.pointer = s.lastPointer = QPoint(reply->root_x, reply->root_y);
    Qt::KeyboardModifiers keys;
    keys.setFlag(Qt::ShiftModifier, (reply->mask & XCB_MOD_MASK_SHIFT) != 0);
    keys.setFlag(Qt::ControlModifier, (reply->mask & XCB_MOD_MASK_CONTROL) != 0);
    keys.setFlag(Qt::AltModifier, (reply->mask & XCB_MOD_MASK_1) != 0);
    s.keys = s.lastKeys = keys;
    return true;
}

// One of the snapshot's values: read live outside a snapshot, else once.
template <typename Value>
Value snapshotRead(std::optional<Value> Snapshot::*field, Value Snapshot::*last, Value (*live)()) {
    Snapshot& s = snapshot();
    if (s.depth == 0) {
        return s.*last = live();
    }
    if (!(s.*field) && !readFromServer(s)) {
        s.*field = s.*last = live();
    }
    return *(s.*field);
}

QPoint livePointer() {
    return QCursor::pos();
}

}  // namespace

QtPointerSnapshot::QtPointerSnapshot(Source source) {
    Snapshot& s = snapshot();
    ++s.depth;
    if (source == Source::LastRead) {
        // Within an outer snapshot its reads stand.
        s.pointer = s.pointer.value_or(s.lastPointer);
        s.keys = s.keys.value_or(s.lastKeys);
    }
}

QtPointerSnapshot::~QtPointerSnapshot() {
    Snapshot& s = snapshot();
    if (--s.depth == 0) {
        s.pointer.reset();
        s.keys.reset();
    }
}

ScreenPoint QtCursorPos() {
    const QPoint at = snapshotRead(&Snapshot::pointer, &Snapshot::lastPointer, &livePointer);
    return {at.x(), at.y()};
}

bool QtKeyDown(VirtualKey key) {
    const Qt::KeyboardModifiers down = snapshotRead(&Snapshot::keys, &Snapshot::lastKeys,
                                                    &QGuiApplication::queryKeyboardModifiers);
    switch (key) {
        case VirtualKey::Shift:
            return down.testFlag(Qt::ShiftModifier);
        case VirtualKey::Control:
            return down.testFlag(Qt::ControlModifier);
        case VirtualKey::Menu:
            return down.testFlag(Qt::AltModifier);
    }
    return false;
}

}  // namespace surftally
