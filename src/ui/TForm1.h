#pragma once

#include <QLabel>
#include <QWidget>

#include "DataFolder.h"
#include "SharedState.h"

namespace surftally {

class Clock;

// The display strip: a borderless, always-on-top window 120 pixels wide.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    TForm1(DataFolder folder, Clock& clock, QWidget* parent = nullptr);

    SharedState& state() { return state_; }
    QLabel* Display = nullptr;

private:
    void createBackImage();
    void createDisplay();
    void FormCreate();

    DataFolder folder_;
    Clock& clock_;
    SharedState state_;
    QLabel* BackImage = nullptr;
};

}  // namespace surftally
