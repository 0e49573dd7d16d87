#pragma once

#include "QtControlPeer.h"

class QLabel;

namespace surftally {

// A label: its text, and the pointer's moves, leave and left clicks over it.
class QtLabelPeer : public QtControlPeer {
public:
    explicit QtLabelPeer(TControl& control);

protected:
    void apply(Property property) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* label() const;
    bool pressed_ = false;
};

}  // namespace surftally
