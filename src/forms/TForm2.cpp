#include "forms/TForm2.h"

#include <initializer_list>
#include <utility>

#include "accounting/BalanceTick.h"
#include "accounting/Globals.h"
#include "forms/TForm1.h"
#include "forms/TForm4.h"
#include "forms/THistoryForm.h"
#include "forms/Texts.h"
#include "store/Conversions.h"

namespace surftally {

namespace {

constexpr int kStripWidth = TForm1::kWidth;
constexpr int kStripHeight = TForm1::kStatusShownHeight;

// The dialog's own font: a narrow sans-serif 11 pixels high, as small as the fixed layout
// needs.
TFont dialogFont(bool bold = false, Colour colour = clBlack) {
    return {{"MS Sans Serif", "DejaVu Sans Condensed", "DejaVu Sans"}, 11, bold, colour};
}

// Characters first..first+count-1 of s replaced by "00".
std::string zeroed(std::string s, std::size_t first, std::size_t count) {
    if (s.size() >= first + count - 1) {
        s.replace(first - 1, count, std::string(count, '0'));
    }
    return s;
}

}  // namespace

TForm2::TForm2(TApplication& application, TForm1& form1)
    : TForm(application, FormStyle::Dialog, "Form2"), Form1(form1) {
    beginDialog(Texts::SettingsCaption.english, dialogFont(), kClientWidth, kClientHeight);
    createSwitches();
    createBalanceGroup();
    createAlarmGroup();
    createEconomicGroup();
    createPositionGroup();
    createButtons();
    Form1.setSettings(this);
    runFormCreate();
}

// The strip may outlive the dialog; it must not reach a destroyed one.
TForm2::~TForm2() {
    Form1.setSettings(nullptr);
}

TCheckBox* TForm2::checkBox(const char* name, const char* caption, TRect bounds) {
    auto* box = add<TCheckBox>(*this, name, caption);
    box->setFont(dialogFont(true, clBlue));
    box->setBounds(bounds);
    return box;
}

// Group captions are bold blue on silver; the box's contents keep the normal font.
TGroupBox* TForm2::groupBox(const char* name, const char* caption, TRect bounds) {
    auto* box = add<TGroupBox>(*this, name, caption);
    box->setFont(dialogFont(true, clBlue));
    box->setColor(clSilver);
    box->setBounds(bounds);
    return box;
}

TLabel* TForm2::label(TGroupBox& box, const char* name, const char* caption, TRect bounds) {
    auto* l = add<TLabel>(box, name, caption);
    l->setFont(dialogFont());
    l->setBounds(bounds);
    return l;
}

TMaskEdit* TForm2::maskEdit(TGroupBox& box, const char* name, const char* mask, const char* initial,
                            TRect bounds) {
    auto* edit = add<TMaskEdit>(box, name, mask, initial);
    edit->setFont(dialogFont());
    edit->setColor(clWindow);
    edit->setOpaque(true);
    edit->setBounds(bounds);
    return edit;
}

TSpinEdit* TForm2::spinEdit(TGroupBox& box, const char* name, int maxValue, int maxLength,
                            TRect bounds) {
    auto* spin = add<TSpinEdit>(box, name, 0, maxValue, maxLength);
    spin->setFont(dialogFont());
    spin->setColor(clWindow);
    spin->setOpaque(true);
    spin->setBounds(bounds);
    return spin;
}

TButton* TForm2::button(const char* name, const char* caption, TRect bounds) {
    return addButton(name, caption, dialogFont(true), bounds);
}

void TForm2::createSwitches() {
    Freeze = checkBox("Freeze", Texts::Freeze.english, {8, 8, 73, 17});
    Status = checkBox("Status", Texts::Status, {98, 8, 73, 17});
    Hide = checkBox("Hide", Texts::Hide.english, {8, 32, 161, 17});
    Freeze->OnClick = [this] { FreezeClick(); };
    Status->OnClick = [this] { StatusClick(); };
    Hide->OnClick = [this] { HideClick(); };
}

void TForm2::createBalanceGroup() {
    GroupBox1 = groupBox("GroupBox1", Texts::GroupBox1.english, {8, 54, 161, 45});
    Label1 = label(*GroupBox1, "Label1", Texts::Label1, {8, 21, 72, 13});
    Edit = maskEdit(*GroupBox1, "Edit", "!000:00:00;1;_", "000:00:00", {88, 16, 65, 21});
    Label1->setFocusControl(*Edit);
    Edit->OnChange = [this] { EditChange(); };
}

void TForm2::createAlarmGroup() {
    GroupBox2 = groupBox("GroupBox2", Texts::GroupBox2, {8, 104, 161, 45});
    Label2 = label(*GroupBox2, "Label2", Texts::Label2.english, {8, 21, 78, 13});
    Alarm = spinEdit(*GroupBox2, "Alarm", 999, 3, {104, 16, 49, 22});
    Label2->setFocusControl(*Alarm);
    Alarm->OnChange = [this] { AlarmChange(); };
}

void TForm2::createEconomicGroup() {
    GroupBox3 = groupBox("GroupBox3", Texts::GroupBox3.english, {8, 154, 161, 95});
    // Each label comes right before its field: Windows screen readers name a field by the
    // text before it.
    Label3 = label(*GroupBox3, "Label3", Texts::Label3.english, {8, 21, 87, 13});
    EconomicBegin = maskEdit(*GroupBox3, "EconomicBegin", "!00:00;1;_", "00:00", {112, 16, 41, 21});
    Label4 = label(*GroupBox3, "Label4", Texts::Label4.english, {8, 45, 77, 13});
    EconomicEnd = maskEdit(*GroupBox3, "EconomicEnd", "!00:00;1;_", "00:00", {112, 40, 41, 21});
    Label5 = label(*GroupBox3, "Label5", Texts::Label5.english, {8, 69, 72, 13});
    Procenat = spinEdit(*GroupBox3, "Procenat", 100, 3, {112, 64, 41, 22});
    Label3->setFocusControl(*EconomicBegin);
    Label4->setFocusControl(*EconomicEnd);
    Label5->setFocusControl(*Procenat);
    EconomicBegin->OnChange = [this] { EconomicBeginChange(); };
    EconomicEnd->OnChange = [this] { EconomicEndChange(); };
    Procenat->OnChange = [this] { ProcenatChange(); };
}

void TForm2::createPositionGroup() {
    GroupBox4 = groupBox("GroupBox4", Texts::GroupBox4, {8, 254, 161, 50});
    Label6 = label(*GroupBox4, "Label6", Texts::Label6, {9, 25, 9, 13});
    x = spinEdit(*GroupBox4, "x", 999, 4, {22, 21, 57, 22});
    Label7 = label(*GroupBox4, "Label7", Texts::Label7, {85, 25, 9, 13});
    y = spinEdit(*GroupBox4, "y", 999, 4, {98, 21, 57, 22});
    Label6->setFocusControl(*x);
    Label7->setFocusControl(*y);
    x->OnChange = [this] { xChange(); };
    y->OnChange = [this] { yChange(); };
}

void TForm2::createButtons() {
    Button3 = button("Button3", Texts::Button3, {8, 309, 33, 20});
    // Ours, in the room between "?" and "OK"; created between them for the Tab order.
    HistoryButton = button("HistoryButton", Texts::HistoryButton.english, {48, 309, 81, 20});
    Button1 = button("Button1", Texts::Button1, {136, 309, 34, 20});
    Button5 = button("Button5", Texts::Button5.english, {8, 357, 161, 20});
    // "?" alone says nothing to a screen reader's user.
    Button3->setAccessibleName(Texts::HelpButton.english);
    Button1->OnClick = [this] { Button1Click(); };
    Button3->OnClick = [this] { Button3Click(); };
    Button5->OnClick = [this] { Button5Click(); };
    HistoryButton->OnClick = [this] { HistoryButtonClick(); };
}

// A field's description is the caption of its group, as the captions stand.
void TForm2::describeFields() {
    for (TControl* field : std::initializer_list<TControl*>{Edit, Alarm, EconomicBegin, EconomicEnd,
                                                            Procenat, x, y}) {
        field->setAccessibleDescription(PastedPiece(field->Parent()->Caption()));
    }
}

void TForm2::FormCreate() {
    const SharedState& state = Form1.state();
    // The maxima follow the screen before the stored place is assigned, so that a place
    // beyond 999 pixels is neither cut on a big screen nor lost at the next OK.
    const TSize screen = Application().toolkit().screenSize();
    x->setMaxValue(screen.Width - kStripWidth);
    y->setMaxValue(screen.Height - kStripHeight);
    x->setValue(StrToInt(state.LeftText));
    y->setValue(StrToInt(state.TopText));
    if (Serbian) {
        setCaption(Texts::SettingsCaption.serbian);
        Freeze->setCaption(Texts::Freeze.serbian);
        Hide->setCaption(Texts::Hide.serbian);
        GroupBox1->setCaption(Texts::GroupBox1.serbian);
        Label2->setCaption(Texts::Label2.serbian);
        GroupBox3->setCaption(Texts::GroupBox3.serbian);
        Label3->setCaption(Texts::Label3.serbian);
        Label4->setCaption(Texts::Label4.serbian);
        Label5->setCaption(Texts::Label5.serbian);
        Button3->setAccessibleName(Texts::HelpButton.serbian);
        HistoryButton->setCaption(Texts::HistoryButton.serbian);
    }
    describeFields();
    const DataFolder& folder = Form1.folder();
    for (const auto& [box, which] :
         {std::pair{Status, Switch::Status}, std::pair{Freeze, Switch::Freeze},
          std::pair{Hide, Switch::Hide}}) {
        if (const auto on = folder.ReadSwitch(which); on.has_value()) {
            box->setChecked(*on);
        }
    }
    if (Serbian) {
        Button5->setCaption(Texts::Button5.serbian);
    }
}

void TForm2::userKey(TKey key, TControl* focused) {
    Application().Guarded([&] { FormKey(key, focused); });
}

void TForm2::FormKey(TKey key, TControl* focused) {
    TMaskEdit* edit = focused != nullptr && focused->Kind() == ControlKind::MaskEdit
                          ? static_cast<TMaskEdit*>(focused)
                          : nullptr;
    if (key == TKey::Escape) {
        if (edit == nullptr || !edit->userKey(TKey::Escape)) {
            userClose();
        }
        return;
    }
    if (key != TKey::Enter) {
        if (edit != nullptr) {
            edit->userKey(key);
        }
        return;
    }
    if (focused != nullptr && focused->Kind() == ControlKind::Button) {
        focused->userClick();
        return;
    }
    // The focused field is left first, as a click on OK leaves it.
    if (edit != nullptr && !edit->userFocusOut(FocusChange::WithinWindow)) {
        return;
    }
    if (focused != nullptr && focused->Kind() == ControlKind::SpinEdit) {
        static_cast<TSpinEdit*>(focused)->userFocusOut();
    }
    Button1->userClick();
}

void TForm2::setVisible(bool visible) {
    if (!visible) {
        for (TMaskEdit* edit : {Edit, EconomicBegin, EconomicEnd}) {
            if (edit != nullptr) {
                edit->EndEntry();
            }
        }
    }
    TForm::setVisible(visible);
}

void TForm2::FormShow() {
    balanceEdited_ = false;
    MakeTopmost();
}

void TForm2::HideAll() {
    if (Form4 != nullptr) {
        Form4->Hide();
    }
    if (HistoryForm != nullptr) {
        HistoryForm->Hide();
    }
    TForm::Hide();
}

void TForm2::EditChange() {
    if (Edit->Modified()) {
        balanceEdited_ = true;
    }
    std::string s = Edit->Text();
    if (StrToInt(Field(s, 8, 2)) > 59) {
        s = zeroed(s, 8, 2);
        Edit->setText(s);
    }
    if (StrToInt(Field(s, 5, 2)) > 59) {
        s = zeroed(s, 5, 2);
        Edit->setText(s);
    }
    RebaseBalance(Form1.state(), Form1.clock(), BalanceToSeconds(s));
    // Every place that shows or reuses the last balance (the tip, the status click, the
    // settings opened again) takes the edited one from now on.
    Form1.state().RemainText = s;
    Form1.setDisplayText(s);
    // By the data folder's full path: the working directory may be anywhere.
    Form1.folder().WriteBalance(s);
}

void TForm2::AlarmChange() {
    Form1.state().AlarmHours = Alarm->Value();
}

void TForm2::ProcenatChange() {
    Form1.state().DiscountPercent = Procenat->Value();
}

void TForm2::economicChange(TMaskEdit& edit, std::string& target) {
    std::string t = edit.Text();
    if (StrToInt(Field(t, 4, 2)) >= 60) {
        t = zeroed(t, 4, 2);
        edit.setText(t);
    }
    if (StrToInt(Field(t, 1, 2)) > 23) {
        t = zeroed(t, 1, 2);
        edit.setText(t);
    }
    target = edit.Text();
}

void TForm2::EconomicBeginChange() {
    economicChange(*EconomicBegin, Form1.state().EconomicBeginText);
}

void TForm2::EconomicEndChange() {
    economicChange(*EconomicEnd, Form1.state().EconomicEndText);
}

// A place field's maximum follows the screen, and a value past it is brought back.
void TForm2::followScreen(TSpinEdit& field, int maximum) {
    field.setMaxValue(maximum);
    if (field.Value() > maximum) {
        field.setValue(maximum);
    }
}

void TForm2::xChange() {
    const int maximum = Application().toolkit().screenSize().Width - kStripWidth;
    followScreen(*x, maximum);
    if (Form1.Left() >= 0 && Form1.Left() <= maximum) {
        Form1.setLeft(x->Value());
    }
}

void TForm2::yChange() {
    const int maximum = Application().toolkit().screenSize().Height - kStripHeight;
    followScreen(*y, maximum);
    if (Form1.Top() >= 0 && Form1.Top() <= maximum) {
        Form1.setTop(y->Value());
    }
}

void TForm2::FreezeClick() {
    Form1.folder().WriteSwitch(Switch::Freeze, Freeze->Checked());
}

void TForm2::StatusClick() {
    const bool on = Status->Checked();
    Form1.showStatusStrip(on);
    Form1.folder().WriteSwitch(Switch::Status, on);
}

void TForm2::HideClick() {
    Form1.setDisplayVisible(!Hide->Checked());
}

void TForm2::Button1Click() {
    // A half-filled field is never stored: the user is sent back to it.
    for (TMaskEdit* edit : {Edit, EconomicBegin, EconomicEnd}) {
        if (!edit->Filled()) {
            edit->Refuse();
            return;
        }
    }
    const DataFolder& folder = Form1.folder();
    // Left as the dialog was filled, the field shows the balance of the moment it opened;
    // what has been counted since is charged, not given back.
    const std::string balance = balanceEdited_ || !Form1.state().BalanceKnown
                                    ? Edit->Text()
                                    : SecondsToBalance(Form1.CountedBalance());
    Form1.state().RemainText = balance;
    folder.WriteBalance(balance);
    folder.WriteAlarm(Alarm->Value());
    folder.WriteEconomic(EconomicBegin->Text(), EconomicEnd->Text(), Procenat->Value());
    folder.WritePlace(x->Value(), y->Value());
    folder.WriteSwitch(Switch::Hide, Hide->Checked());
    TForm::Hide();
}

void TForm2::Button3Click() {
    if (Form4 != nullptr) {
        Form4->Show();
    }
}

void TForm2::HistoryButtonClick() {
    if (HistoryForm != nullptr) {
        HistoryForm->Show();
    }
}

void TForm2::Button5Click() {
    Form1.Close();
}

}  // namespace surftally
