#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>

namespace surftally {

// Whether an X11 notification area (the owner of the _NET_SYSTEM_TRAY_Sn selection) is
// there, watched rather than polled: a new area announces itself to the root window with a
// MANAGER message, and the owner's window is destroyed when the area goes. Off X11 there is
// never one.
class X11TrayWatcher : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit X11TrayWatcher(QObject* parent = nullptr);
    ~X11TrayWatcher() override;

    bool available() const { return owner_ != 0; }

signals:
    void availableChanged(bool available);

protected:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void findOwner();

    std::uint32_t selection_ = 0;
    std::uint32_t manager_ = 0;
    std::uint32_t owner_ = 0;
    bool x11_ = false;
};

}  // namespace surftally
