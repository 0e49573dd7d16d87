#pragma once

#include <QDialog>

namespace surftally {

// The help window: how to set the widget up and what each display colour means.
class TForm4 : public QDialog {
    Q_OBJECT

public:
    explicit TForm4(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void Button3Click();
};

}  // namespace surftally
