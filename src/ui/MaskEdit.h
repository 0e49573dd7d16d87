#pragma once

#include <QLineEdit>

#include <string>

namespace surftally {

// A masked text field whose every digit position must be filled. The text keeps the
// separators and shows an unfilled position as '_'. Leaving the field after changing it
// while a position is unfilled is refused: a beep, the focus back at the first unfilled
// position and the "Invalid input value" message. Escape abandons the change. changed()
// follows every change of the text, typed or set.
class MaskEdit : public QLineEdit {
    Q_OBJECT

public:
    // mask uses '9' for a required digit, as Qt input masks do.
    MaskEdit(const QString& mask, const QString& initial, QWidget* parent = nullptr);

    // Every position of the field, an unfilled one as '_'.
    std::string fieldText() const { return displayText().toStdString(); }
    void setFieldText(const std::string& text) { setText(QString::fromStdString(text)); }
    bool filled() const { return hasAcceptableInput(); }
    int firstUnfilled() const;

    // Puts the focus back at the first unfilled position and reports the refusal.
    void refuse();

signals:
    void changed();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString entryText_;
    bool edited_ = false;
    bool refocusing_ = false;
};

}  // namespace surftally
