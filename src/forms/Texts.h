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

// Help window, applied at its creation.
inline constexpr TextPair HelpCaption{" Help - Legend", " Pomoc - Legenda"};
inline constexpr TextPair HelpClose{"Close", "Zatvori"};

// What a screen reader announces for the display besides its text, read from its colours.
inline constexpr TextPair ClockState{"Clock", "Sat"};
inline constexpr TextPair BalanceState{"Balance", "Stanje"};
inline constexpr TextPair LowBalanceState{"Balance under the minimum", "Stanje ispod minimuma"};
inline constexpr TextPair FrozenState{"Balance, frozen", "Stanje, zamrznuto"};

}  // namespace Texts

}  // namespace surftally
