#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "MaskEdit.h"
#include "SpinEdit.h"

namespace surftally {

class TForm1;
class TForm4;

// The settings dialog: the balance, the minimum, the economic period and its discount, the
// window position and the Freeze, Status and Hide switches. Most controls act at once on the
// shared state through their change handlers; OK writes the data files.
class TForm2 : public QDialog {
    Q_OBJECT

public:
    explicit TForm2(TForm1& form1, QWidget* parent = nullptr);
    ~TForm2() override;

    // The help window, created after this dialog.
    void setHelpWindow(TForm4* form4) { Form4 = form4; }

    QCheckBox* Freeze = nullptr;
    QCheckBox* Status = nullptr;
    QCheckBox* Hide = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    MaskEdit* Edit = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLabel* Label2 = nullptr;
    SpinEdit* Alarm = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    MaskEdit* EconomicBegin = nullptr;
    MaskEdit* EconomicEnd = nullptr;
    SpinEdit* Procenat = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    SpinEdit* x = nullptr;
    SpinEdit* y = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button5 = nullptr;

    // Event handlers.
    void FormShow();
    void EditChange();
    void AlarmChange();
    void EconomicBeginChange();
    void EconomicEndChange();
    void ProcenatChange();
    void xChange();
    void yChange();
    void FreezeClick();
    void StatusClick();
    void HideClick();
    void Button1Click();
    void Button3Click();
    void Button5Click();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createSwitches();
    void createBalanceGroup();
    void createAlarmGroup();
    void createEconomicGroup();
    void createPositionGroup();
    void createButtons();
    void FormCreate();
    void economicChange(MaskEdit& edit, std::string& target);
    static QSize screenSize();

    TForm1& Form1;
    TForm4* Form4 = nullptr;
};

}  // namespace surftally
