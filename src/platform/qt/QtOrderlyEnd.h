#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace surftally {

// Turns the system's requests to end the program into one call on the event loop: SIGTERM
// (shut-down, `kill`), SIGHUP (the terminal or the session goes), SIGINT (Ctrl+C) and the
// session manager's quit. A signal handler may do almost nothing, so it only writes the
// signal's number into a pipe; the loop reads it and calls `end`. A signal that was ignored
// when the program started (nohup, a background job) stays ignored.
//
// `end` runs on the loop's thread, once for each request; it is expected to end the loop.
// The handlers go back to the defaults when this object goes.
class QtOrderlyEnd : public QObject {
    Q_OBJECT
public:
    explicit QtOrderlyEnd(std::function<void()> end, QObject* parent = nullptr);
    ~QtOrderlyEnd() override;

    QtOrderlyEnd(const QtOrderlyEnd&) = delete;
    QtOrderlyEnd& operator=(const QtOrderlyEnd&) = delete;

    // The signals handled: those not ignored at start.
    static bool handles(int signal);

private:
    void readPipe();

    std::function<void()> end_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace surftally
