#include "platform/qt/QtOrderlyEnd.h"

#include <QGuiApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>

namespace surftally {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// One pipe for the process: a signal handler has no object to reach.
int pipeRead = -1;
int pipeWrite = -1;
bool handled[3] = {false, false, false};

extern "C" void onSignal(int signal) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(signal);
    // A full pipe already holds a request to end; this one may go.
    [[maybe_unused]] const ssize_t written = write(pipeWrite, &byte, 1);
    errno = saved;
}

int indexOf(int signal) {
    for (int i = 0; i < 3; ++i) {
        if (kSignals[i] == signal) {
            return i;
        }
    }
    return -1;
}

}  // namespace

QtOrderlyEnd::QtOrderlyEnd(std::function<void()> end, QObject* parent)
    : QObject(parent), end_(std::move(end)) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;  // the signals keep their default action: the program ends, unsaved
    }
    pipeRead = ends[0];
    pipeWrite = ends[1];
    notifier_ = new QSocketNotifier(pipeRead, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QtOrderlyEnd::readPipe);
    for (int i = 0; i < 3; ++i) {
        struct sigaction old {};
        sigaction(kSignals[i], nullptr, &old);
        if (old.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        handled[i] = sigaction(kSignals[i], &action, nullptr) == 0;
    }
    // The session manager ends the session by ending the loop; whoever else ended it first
    // is told apart by `end` itself.
    if (qGuiApp != nullptr) {
        connect(qGuiApp, &QGuiApplication::aboutToQuit, this, [this] { end_(); });
    }
}

QtOrderlyEnd::~QtOrderlyEnd() {
    for (int i = 0; i < 3; ++i) {
        if (handled[i]) {
            std::signal(kSignals[i], SIG_DFL);
            handled[i] = false;
        }
    }
    if (pipeRead >= 0) {
        close(pipeRead);
        close(pipeWrite);
        pipeRead = pipeWrite = -1;
    }
}

bool QtOrderlyEnd::handles(int signal) {
    const int i = indexOf(signal);
    return i >= 0 && handled[i];
}

void QtOrderlyEnd::readPipe() {
    unsigned char bytes[16];
    bool asked = false;
    while (read(pipeRead, bytes, sizeof bytes) > 0) {
        asked = true;
    }
    if (asked) {
        end_();
    }
}

}  // namespace surftally
