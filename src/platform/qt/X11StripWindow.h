#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QRect>

#include <vector>

class QWidget;

namespace surftally {

// Keeps a strip window the way a desktop should show it under an X11 window manager.
// - Out of task lists and pagers, and on every workspace: the skip-taskbar, skip-pager and
//   sticky states and the desktop "all" (0xFFFFFFFF), given before every map (the manager reads
//   them then) and to a window already shown.
// - At the exact place and size the program gave it. A stacking manager grants both. A tiling
//   compositor centres a floating window and stretches it to its minimum floating size
//   (sway: 75 x 50); when the manager moves or sizes the window otherwise within a moment of
//   its being shown, the window takes itself out of the manager's hands (override-redirect)
//   and is shown again where the program put it. The X server then stacks it, and the
//   compositor draws such windows above the managed ones. The program's own moves (the
//   settings' position) are told apart: they change where the window is meant to be.
// Off X11 it does nothing.
class X11StripWindow : public QObject {
    Q_OBJECT
public:
    // Attaches to `window` as its child; null off X11.
    static X11StripWindow* attach(QWidget& window);

    // The window left the manager's hands.
    bool bypassed() const { return bypassed_; }

    // The program placed the window there itself; called with every move or size it makes.
    void placedByProgram(const QRect& geometry);

    // How long after a show the window watches what the manager does with it.
    static constexpr int kPlacementWatchMs = 3000;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit X11StripWindow(QWidget& window);
    void giveStates(bool mapped);
    void checkPlacement();
    void bypass();

    QWidget& window_;
    QRect wanted_;  // where the program put the window last
    // The places the program asked for since the show: while several moves are on their way
    // the server may report any of them, and none is the manager's doing.
    std::vector<QRect> asked_;
    QElapsedTimer sinceShow_;
    bool watching_ = false;
    bool bypassed_ = false;
    bool bypassQueued_ = false;
};

}  // namespace surftally
