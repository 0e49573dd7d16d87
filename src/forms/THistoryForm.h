#pragma once

#include <vector>

#include "accounting/History.h"
#include "forms/TButton.h"
#include "forms/TForm.h"
#include "forms/TLabel.h"
#include "forms/TPaintBox.h"

namespace surftally {

class TForm1;

// The history window: a chart of the last 30 days' on-line and charged time, the charged
// totals of today, the last 7 days and this month, and when the balance runs out at the last
// 7 days' rate. Each opening reads the history afresh, the spell in progress included.
class THistoryForm : public TForm {
public:
    static constexpr int kClientWidth = 400;
    static constexpr int kClientHeight = 276;
    static constexpr int kDays = 30;

    THistoryForm(TApplication& application, TForm1& form1);

    // Escape closes the window; Enter clicks the focused button.
    void userKey(TKey key, TControl* focused) override;

    TPaintBox* Chart = nullptr;
    TLabel* Today = nullptr;
    TLabel* Week = nullptr;
    TLabel* Month = nullptr;
    TLabel* LastsUntil = nullptr;
    TLabel* BelowMinimum = nullptr;
    TButton* CloseButton = nullptr;

    // The days the chart shows, oldest first, as the last opening read them.
    const std::vector<DayUse>& Days() const { return days_; }

    void FormCreate() override;
    void FormShow() override;
    void CloseButtonClick();

private:
    // The dialog and its controls.
    void createControls();
    TLabel* label(const char* name, TRect bounds);
    // Reads the history and fills the chart and the texts.
    void Refresh();

    TForm1& Form1;
    std::vector<DayUse> days_;
};

}  // namespace surftally
