#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace surftally {

// The help window: how to set the widget up and what each display colour means, with a
// picture of the display in each state.
class TForm4 : public QDialog {
    Q_OBJECT

public:
    explicit TForm4(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    QPushButton* Button3 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createMemos();
    void createImages();
    void createButton();
    void FormCreate();
    void FormShow();
    void Button3Click();
};

}  // namespace surftally
