#pragma once

#include <QLocalServer>
#include <QString>

#include <filesystem>
#include <functional>

#include "platform/InstanceChannel.h"

namespace surftally {

// How a second start on the same data folder reaches the program that runs there: the
// running one listens on a local socket named after the folder, the second one asks it to
// bring its strip back and ends.
class QtInstanceChannel final : public InstanceChannel {
public:
    explicit QtInstanceChannel(const std::filesystem::path& folder);

    // The running program: calls onRequest for every request. A socket left by a program
    // that was killed is taken over. Nothing here asks a program to end: onClose never runs.
    bool listen(std::function<void()> onRequest, std::function<void()> onClose = {}) override;

    // A second start: asks the running program, waiting up to timeoutMs for it to answer.
    bool ask(int timeoutMs) const override;

    const QString& name() const { return name_; }

private:
    QString name_;
    QLocalServer server_;
    std::function<void()> onRequest_;
};

}  // namespace surftally
