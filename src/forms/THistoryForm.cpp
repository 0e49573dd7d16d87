#include "forms/THistoryForm.h"

#include "accounting/Globals.h"
#include "forms/HistoryChart.h"
#include "forms/TForm1.h"
#include "forms/Texts.h"
#include "platform/Clock.h"

namespace surftally {

namespace {

TFont windowFont(bool bold = false) {
    return {{"MS Sans Serif", "DejaVu Sans"}, 11, bold, clBlack};
}

}  // namespace

THistoryForm::THistoryForm(TApplication& application, TForm1& form1)
    : TForm(application, FormStyle::Dialog, "HistoryForm"), Form1(form1) {
    createControls();
    runFormCreate();
}

TLabel* THistoryForm::label(const char* name, TRect bounds) {
    auto* l = add<TLabel>(*this, name, "");
    l->setFont(windowFont());
    l->setBounds(bounds);
    return l;
}

void THistoryForm::createControls() {
    beginDialog(Texts::HistoryCaption.english, windowFont(), kClientWidth, kClientHeight);
    Chart = add<TPaintBox>(*this, "Chart");
    Chart->setBounds({8, 8, 384, 176});
    Chart->setAccessibleName(Texts::ChartName.english);
    Chart->OnPaint = [this](TSize size, double scale) {
        return HistoryChart::Shapes(days_, size, scale, Serbian);
    };
    Today = label("Today", {8, 192, 188, 14});
    Week = label("Week", {8, 208, 188, 14});
    Month = label("Month", {8, 224, 188, 14});
    LastsUntil = label("LastsUntil", {8, 242, 300, 14});
    BelowMinimum = label("BelowMinimum", {8, 258, 300, 14});
    CloseButton =
        addButton("CloseButton", Texts::HelpClose.english, windowFont(true), {319, 250, 73, 20});
    CloseButton->OnClick = [this] { CloseButtonClick(); };
}

void THistoryForm::FormCreate() {
    if (Serbian) {
        setCaption(Texts::HistoryCaption.serbian);
        Chart->setAccessibleName(Texts::ChartName.serbian);
        CloseButton->setCaption(Texts::HelpClose.serbian);
    }
}

void THistoryForm::FormShow() {
    ShowOnTop();
    Refresh();
}

void THistoryForm::Refresh() {
    const std::vector<Spell>& spells = Form1.Spells();
    const LocalDay today = std::chrono::floor<std::chrono::days>(Form1.clock().localDateTime());
    days_ = DailyUse(spells, today, kDays);
    Chart->Invalidate();

    const UseTotals totals = TotalsOf(spells, today);
    Today->setCaption(Texts::UsedToday.pick(Serbian) + HistoryChart::Duration(totals.today));
    Week->setCaption(Texts::UsedWeek.pick(Serbian) + HistoryChart::Duration(totals.week));
    Month->setCaption(Texts::UsedMonth.pick(Serbian) + HistoryChart::Duration(totals.month));

    const std::int64_t minimum = std::int64_t{Form1.state().AlarmHours} * 3600;
    const Forecast forecast = ForecastOf(spells, today, Form1.CountedBalance(), minimum);
    if (!forecast.used) {
        LastsUntil->setCaption(Texts::NothingUsed.pick(Serbian));
        BelowMinimum->setCaption("");
        return;
    }
    LastsUntil->setCaption(Texts::LastsUntil.pick(Serbian) + FormatDay(forecast.empty));
    BelowMinimum->setCaption(forecast.belowMinimum ? Texts::BelowMinimumOn.pick(Serbian) +
                                                         FormatDay(*forecast.belowMinimum)
                                                   : std::string());
}

void THistoryForm::userKey(TKey key, TControl* focused) {
    if (key == TKey::Escape) {
        userClose();
    } else if (key == TKey::Enter && focused != nullptr && focused->Kind() == ControlKind::Button) {
        focused->userClick();
    }
}

void THistoryForm::CloseButtonClick() {
    Close();
}

}  // namespace surftally
