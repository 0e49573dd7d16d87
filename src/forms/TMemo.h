#pragma once

#include <string>
#include <vector>

#include "forms/TControl.h"

namespace surftally {

// A read-only multi-line text with a vertical scroll bar, laid out line by line.
class TMemo : public TControl {
public:
    TMemo(TApplication& application, TControl* parent, std::string name,
          std::vector<std::string> lines)
        : TControl(application, parent, ControlKind::Memo, std::move(name)),
          lines_(std::move(lines)) {}

    const std::vector<std::string>& Lines() const { return lines_; }

private:
    void notifyAll() override {
        TControl::notifyAll();
        notify(Property::Lines);
    }

    std::vector<std::string> lines_;
};

}  // namespace surftally
