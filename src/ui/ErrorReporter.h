#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <deque>
#include <exception>
#include <utility>

class QMessageBox;

namespace surftally {

// Shows failures to the user, one message box at a time. The box is not modal, so no event
// loop runs inside the handler that failed, and a second box is never stacked on an open one:
// a different text waits until the open box is closed, and a text that is already shown or
// waiting is not queued again.
class ErrorReporter : public QObject {
    Q_OBJECT

public:
    static ErrorReporter& instance();

    void report(const QString& text);

    // For tests and shut-down.
    bool showing() const;
    QString shownText() const;
    std::size_t waiting() const { return pending_.size(); }
    int shownCount() const { return shownCount_; }
    // Closes the open box (and shows the next waiting text, if any).
    void dismiss();
    // Closes and releases the box and forgets everything waiting and counted.
    void clear();

private:
    ErrorReporter() = default;
    void showNext();

    QPointer<QMessageBox> box_;
    std::deque<QString> pending_;
    int shownCount_ = 0;
};

// Runs a handler; a failure ends it and its text goes to the error reporter. Every event
// handler of the windows runs through here, so no exception reaches the Qt event loop.
template <class Handler>
void Guarded(Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& e) {
        ErrorReporter::instance().report(QString::fromStdString(e.what()));
    } catch (...) {
        ErrorReporter::instance().report(QStringLiteral("Unknown error"));
    }
}

}  // namespace surftally
