#pragma once

#include <QMessageBox>
#include <QPointer>

#include <functional>

#include "forms/Toolkit.h"

namespace surftally {

// The error report's box: not modal, above the always-on-top strip, and shown without taking
// the keyboard from the field being edited.
class QtMessageBox : public MessageBoxPeer {
public:
    explicit QtMessageBox(std::function<void()> closed);
    ~QtMessageBox() override;

    void show(const std::string& title, const std::string& text) override;
    void close() override;

    QMessageBox* box() const { return box_; }

private:
    QPointer<QMessageBox> box_;
};

}  // namespace surftally
