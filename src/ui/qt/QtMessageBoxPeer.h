#pragma once

#include <QMessageBox>
#include <QPointer>

#include <functional>

#include "Toolkit.h"

namespace surftally {

// The error report's box: not modal, above the always-on-top strip, and shown without taking
// the keyboard from the field being edited.
class QtMessageBoxPeer : public MessageBoxPeer {
public:
    explicit QtMessageBoxPeer(std::function<void()> closed);
    ~QtMessageBoxPeer() override;

    void show(const std::string& title, const std::string& text) override;
    void close() override;

    QMessageBox* box() const { return box_; }

private:
    QPointer<QMessageBox> box_;
};

}  // namespace surftally
