#pragma once

#include <QObject>

#include <functional>

class QLineEdit;
class QMenu;

namespace surftally {

// Every way text reaches a line edit in one piece besides typing: Ctrl+V and Shift+Insert,
// the middle-button paste, the context menu's Paste, a drop and an input method's commit.
// None of them lets the line edit insert the text itself: each hands it to insert() with the
// position it goes to (-1: at the caret), so that the control's own rules decide. The
// context menu keeps only what changes no text, besides Paste.
class QtTextArrivals : public QObject {
public:
    using Insert = std::function<void(const QString& text, int at)>;

    // Watches line, and any further widget given to watch() (a spin box's frame, whose
    // context menu is its own).
    QtTextArrivals(QLineEdit& line, Insert insert);
    void watch(QWidget& widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showMenu(const QPoint& globalPos);

    QLineEdit& line_;
    Insert insert_;
};

}  // namespace surftally
