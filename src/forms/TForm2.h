#pragma once

#include <string>

#include "forms/TButton.h"
#include "forms/TCheckBox.h"
#include "forms/TForm.h"
#include "forms/TGroupBox.h"
#include "forms/TLabel.h"
#include "forms/TMaskEdit.h"
#include "forms/TSpinEdit.h"

namespace surftally {

class TForm1;
class TForm4;
class THistoryForm;

// The settings dialog: the balance, the minimum, the economic period and its discount, the
// window position and the Freeze, Status and Hide switches. Most controls act at once on the
// shared state through their change handlers; OK writes the data files.
class TForm2 : public TForm {
public:
    static constexpr int kClientWidth = 178;
    static constexpr int kClientHeight = 381;

    TForm2(TApplication& application, TForm1& form1);
    ~TForm2() override;

    // The help window, created after this dialog.
    void setHelpWindow(TForm4* form4) { Form4 = form4; }
    void setHistoryWindow(THistoryForm* history) { HistoryForm = history; }
    // Hides this dialog, the help and the history windows (the program ends).
    void HideAll();

    // Escape lets a focused masked edit abandon its change, else closes the dialog as its
    // title-bar button does. Enter clicks a focused button, else presses OK once the focused
    // field has been left (a refused leave stops there).
    void userKey(TKey key, TControl* focused) override;
    // Hidden, the dialog ends its fields' entries: the next opening starts afresh.
    void setVisible(bool visible) override;

    TCheckBox* Freeze = nullptr;
    TCheckBox* Status = nullptr;
    TCheckBox* Hide = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TLabel* Label1 = nullptr;
    TMaskEdit* Edit = nullptr;
    TGroupBox* GroupBox2 = nullptr;
    TLabel* Label2 = nullptr;
    TSpinEdit* Alarm = nullptr;
    TGroupBox* GroupBox3 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TMaskEdit* EconomicBegin = nullptr;
    TMaskEdit* EconomicEnd = nullptr;
    TSpinEdit* Procenat = nullptr;
    TGroupBox* GroupBox4 = nullptr;
    TLabel* Label6 = nullptr;
    TLabel* Label7 = nullptr;
    TSpinEdit* x = nullptr;
    TSpinEdit* y = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button3 = nullptr;
    TButton* Button5 = nullptr;
    TButton* HistoryButton = nullptr;

    // Event handlers.
    void FormShow() override;
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
    void HistoryButtonClick();

private:
    void createSwitches();
    void createBalanceGroup();
    void createAlarmGroup();
    void createEconomicGroup();
    void createPositionGroup();
    void createButtons();
    void describeFields();
    void FormCreate() override;
    static void followScreen(TSpinEdit& field, int maximum);
    void economicChange(TMaskEdit& edit, std::string& target);
    void FormKey(TKey key, TControl* focused);

    TCheckBox* checkBox(const char* name, const char* caption, TRect bounds);
    TGroupBox* groupBox(const char* name, const char* caption, TRect bounds);
    TLabel* label(TGroupBox& box, const char* name, const char* caption, TRect bounds);
    TMaskEdit* maskEdit(TGroupBox& box, const char* name, const char* mask, const char* initial,
                        TRect bounds);
    TSpinEdit* spinEdit(TGroupBox& box, const char* name, int maxValue, int maxLength,
                        TRect bounds);
    TButton* button(const char* name, const char* caption, TRect bounds);

    TForm1& Form1;
    TForm4* Form4 = nullptr;
    THistoryForm* HistoryForm = nullptr;
    bool balanceEdited_ = false;  // the user changed the balance in this opening
};

}  // namespace surftally
