#pragma once

#include "ui/qt/Control.h"

class QLabel;

namespace surftally {

// A label: its text, and the pointer's moves, leave and left clicks over it.
class QtLabel : public QtControl {
public:
    explicit QtLabel(TControl& control);

protected:
    void apply(Property property) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* label() const;
    bool pressed_ = false;
};

}  // namespace surftally
