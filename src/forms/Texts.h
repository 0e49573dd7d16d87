#pragma once

namespace surftally {

// A text the user sees, in English and in Serbian.
struct TextPair {
    const char* english;
    const char* serbian;
    const char* pick(bool serbian) const { return serbian ? this->serbian : english; }
};

// Every text that turns Serbian, and the texts that stay English, blanks included.
namespace Texts {

// Display window. The hints turn Serbian at the first mouse move over their control.
inline constexpr TextPair DisplayHint{"Available Time on Your Internet Account - Calculated",
                                      "Dostupno vreme na Vasem Internet racunu - proracunato"};
inline constexpr TextPair StatusHint{"Click HERE for settings!", "Klikni ovde za podesavanja!"};
// The notification tip: connection text + middle + balance + " ".
inline constexpr TextPair TipMiddle{" ... Available Time: ", " ... Dostupno vreme: "};
inline constexpr const char* TrayHint = " Available Time: hhh:mm:ss ";
inline constexpr const char* Form1Caption = "Surftally";
// A start while another user's program holds the data folder (Windows).
inline constexpr TextPair RunningForAnotherUser{
    "Surftally is already running for another user of this computer.",
    "Surftally je vec pokrenut za drugog korisnika ovog racunara."};

// Settings dialog, applied at its creation.
inline constexpr TextPair SettingsCaption{" Settings - Surftally", " Podesavanje - Surftally  "};
inline constexpr TextPair Freeze{"Freeze", "Zamrzni"};
inline constexpr TextPair Hide{"Hide (Send to Sys.Tray)", "Smanji u \"System Tray\""};
inline constexpr TextPair GroupBox1{"  Time on Your Account  ", "  Vreme na racunu  "};
inline constexpr TextPair Label2{"Minimal hours", "Minimalno sati"};
inline constexpr TextPair GroupBox3{"  Economic Period  ", "  Jeftiniji period  "};
inline constexpr TextPair Label3{"Begin (HH:MM)", "Pocetak(HH:MM)"};
inline constexpr TextPair Label4{"End (HH:MM)", "Kraj (HH:MM)"};
inline constexpr TextPair Label5{"Discount (%)", "Popust (%)"};
inline constexpr TextPair Button5{"Close Application", "Zatvori Program"};
// Texts of the settings dialog that stay English.
inline constexpr const char* Status = "Status";
inline constexpr const char* GroupBox2 = "  Alarm  ";
inline constexpr const char* Label1 = "HHH:MM:SS";
inline constexpr const char* GroupBox4 = "  Position  ";
inline constexpr const char* Label6 = "X";
inline constexpr const char* Label7 = "Y";
inline constexpr const char* Button1 = "OK";
inline constexpr const char* Button3 = "?";
// What a screen reader announces for the "?" button.
inline constexpr TextPair HelpButton{"Help", "Pomoc"};
inline constexpr const char* InvalidInput =
    "Invalid input value.  Use escape key to abandon changes";
// The button that opens the history window, between "?" and "OK".
inline constexpr TextPair HistoryButton{"History", "Istorija"};

// Help window, applied at its creation.
inline constexpr TextPair HelpCaption{" Help - Legend", " Pomoc - Legenda"};
inline constexpr TextPair HelpClose{"Close", "Zatvori"};

// What a screen reader announces for the display besides its text, read from its colours.
inline constexpr TextPair ClockState{"Clock", "Sat"};
inline constexpr TextPair BalanceState{"Balance", "Stanje"};
inline constexpr TextPair LowBalanceState{"Balance under the minimum", "Stanje ispod minimuma"};
inline constexpr TextPair FrozenState{"Balance, frozen", "Stanje, zamrznuto"};

// History window: the chart of the last 30 days, the totals and the forecast.
inline constexpr TextPair HistoryCaption{" History - Surftally", " Istorija - Surftally"};
inline constexpr TextPair ChartName{"On-line time of the last 30 days",
                                    "Vreme na mrezi poslednjih 30 dana"};
inline constexpr TextPair ChartOnline{"On-line", "Na mrezi"};
inline constexpr TextPair ChartCharged{"Charged", "Naplaceno"};
// Each followed by the charged time, "h:mm:ss".
inline constexpr TextPair UsedToday{"Today: ", "Danas: "};
inline constexpr TextPair UsedWeek{"Last 7 days: ", "Poslednjih 7 dana: "};
inline constexpr TextPair UsedMonth{"This month: ", "Ovog meseca: "};
// Each followed by a date, "14.01.2027".
inline constexpr TextPair LastsUntil{"At this rate the balance lasts until ",
                                     "Ovim tempom stanje traje do "};
inline constexpr TextPair BelowMinimumOn{"It falls below the minimum on ", "Ispod minimuma pada "};
inline constexpr TextPair NothingUsed{"Nothing used in the last 7 days",
                                      "Nista potroseno u poslednjih 7 dana"};

}  // namespace Texts

}  // namespace surftally
