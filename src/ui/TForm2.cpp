#include "TForm2.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "BalanceTick.h"
#include "Conversions.h"
#include "ErrorReporter.h"
#include "Globals.h"
#include "TForm1.h"
#include "TForm4.h"
#include "Texts.h"
#include "Topmost.h"

namespace surftally {

namespace {

constexpr int kClientWidth = 178;
constexpr int kClientHeight = 381;
constexpr int kStripWidth = 120;
constexpr int kStripHeight = 37;

QString text(const char* s) {
    return QString::fromUtf8(s);
}

// The dialog's own font: a narrow sans-serif 11 pixels high, as small as the fixed layout
// needs.
QFont dialogFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans Condensed"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

QFont boldFont() {
    QFont font = dialogFont();
    font.setBold(true);
    return font;
}

// Group captions are bold blue on silver; the box's contents keep the normal font.
QGroupBox* groupBox(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    auto* box = new QGroupBox(text(caption), parent);
    box->setObjectName(text(name));
    box->setGeometry(geometry);
    box->setFont(boldFont());
    box->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid #a0a0a0; margin-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 6px; color: blue; background-color: silver; }"));
    return box;
}

QLabel* label(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    auto* l = new QLabel(text(caption), parent);
    l->setObjectName(text(name));
    l->setFont(dialogFont());
    l->setGeometry(geometry);
    return l;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    auto* box = new QCheckBox(text(caption), parent);
    box->setObjectName(text(name));
    box->setFont(boldFont());
    QPalette palette = box->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    palette.setColor(QPalette::ButtonText, Qt::blue);
    box->setPalette(palette);
    box->setGeometry(geometry);
    return box;
}

MaskEdit* maskEdit(QWidget* parent, const char* name, const char* mask, const char* initial,
                   QRect geometry) {
    auto* edit = new MaskEdit(text(mask), text(initial), parent);
    edit->setObjectName(text(name));
    edit->setFont(dialogFont());
    edit->setGeometry(geometry);
    return edit;
}

SpinEdit* spinEdit(QWidget* parent, const char* name, int maxValue, int maxLength, QRect geometry) {
    auto* spin = new SpinEdit(0, maxValue, maxLength, parent);
    spin->setObjectName(text(name));
    spin->setFont(dialogFont());
    spin->setGeometry(geometry);
    return spin;
}

QPushButton* button(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    auto* b = new QPushButton(text(caption), parent);
    b->setObjectName(text(name));
    b->setFont(boldFont());
    b->setAutoDefault(false);
    b->setGeometry(geometry);
    return b;
}

// Characters first..first+count-1 of s replaced by "00".
std::string zeroed(std::string s, std::size_t first, std::size_t count) {
    if (s.size() >= first + count - 1) {
        s.replace(first - 1, count, std::string(count, '0'));
    }
    return s;
}

}  // namespace

TForm2::TForm2(TForm1& form1, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      Form1(form1) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(text(Texts::SettingsCaption.english));
    setFont(dialogFont());
    setFixedSize(kClientWidth, kClientHeight);
    const QSize screen = screenSize();
    move((screen.width() - kClientWidth) / 2, (screen.height() - kClientHeight) / 2);
    createSwitches();
    createBalanceGroup();
    createAlarmGroup();
    createEconomicGroup();
    createPositionGroup();
    createButtons();
    Form1.setSettings(this);
    Guarded([this] { FormCreate(); });
}

// The strip may outlive the dialog; it must not reach a destroyed one.
TForm2::~TForm2() {
    Form1.setSettings(nullptr);
}

void TForm2::createSwitches() {
    Freeze = checkBox(this, "Freeze", Texts::Freeze.english, {8, 8, 73, 17});
    Status = checkBox(this, "Status", Texts::Status, {98, 8, 73, 17});
    Hide = checkBox(this, "Hide", Texts::Hide.english, {8, 32, 161, 17});
    connect(Freeze, &QCheckBox::toggled, this, [this] { Guarded([this] { FreezeClick(); }); });
    connect(Status, &QCheckBox::toggled, this, [this] { Guarded([this] { StatusClick(); }); });
    connect(Hide, &QCheckBox::toggled, this, [this] { Guarded([this] { HideClick(); }); });
}

void TForm2::createBalanceGroup() {
    GroupBox1 = groupBox(this, "GroupBox1", Texts::GroupBox1.english, {8, 54, 161, 45});
    Label1 = label(GroupBox1, "Label1", Texts::Label1, {8, 21, 72, 13});
    Edit = maskEdit(GroupBox1, "Edit", "999:99:99", "000:00:00", {88, 16, 65, 21});
    connect(Edit, &MaskEdit::changed, this, [this] { Guarded([this] { EditChange(); }); });
}

void TForm2::createAlarmGroup() {
    GroupBox2 = groupBox(this, "GroupBox2", Texts::GroupBox2, {8, 104, 161, 45});
    Label2 = label(GroupBox2, "Label2", Texts::Label2.english, {8, 21, 78, 13});
    Alarm = spinEdit(GroupBox2, "Alarm", 999, 3, {104, 16, 49, 22});
    connect(Alarm, &SpinEdit::changed, this, [this] { Guarded([this] { AlarmChange(); }); });
}

void TForm2::createEconomicGroup() {
    GroupBox3 = groupBox(this, "GroupBox3", Texts::GroupBox3.english, {8, 154, 161, 95});
    Label3 = label(GroupBox3, "Label3", Texts::Label3.english, {8, 21, 87, 13});
    Label4 = label(GroupBox3, "Label4", Texts::Label4.english, {8, 45, 77, 13});
    Label5 = label(GroupBox3, "Label5", Texts::Label5.english, {8, 69, 72, 13});
    EconomicBegin = maskEdit(GroupBox3, "EconomicBegin", "99:99", "00:00", {112, 16, 41, 21});
    EconomicEnd = maskEdit(GroupBox3, "EconomicEnd", "99:99", "00:00", {112, 40, 41, 21});
    Procenat = spinEdit(GroupBox3, "Procenat", 100, 3, {112, 64, 41, 22});
    connect(EconomicBegin, &MaskEdit::changed, this,
            [this] { Guarded([this] { EconomicBeginChange(); }); });
    connect(EconomicEnd, &MaskEdit::changed, this,
            [this] { Guarded([this] { EconomicEndChange(); }); });
    connect(Procenat, &SpinEdit::changed, this, [this] { Guarded([this] { ProcenatChange(); }); });
}

void TForm2::createPositionGroup() {
    GroupBox4 = groupBox(this, "GroupBox4", Texts::GroupBox4, {8, 254, 161, 50});
    Label6 = label(GroupBox4, "Label6", Texts::Label6, {9, 25, 9, 13});
    x = spinEdit(GroupBox4, "x", 999, 4, {22, 21, 57, 22});
    Label7 = label(GroupBox4, "Label7", Texts::Label7, {85, 25, 9, 13});
    y = spinEdit(GroupBox4, "y", 999, 4, {98, 21, 57, 22});
    connect(x, &SpinEdit::changed, this, [this] { Guarded([this] { xChange(); }); });
    connect(y, &SpinEdit::changed, this, [this] { Guarded([this] { yChange(); }); });
}

void TForm2::createButtons() {
    Button3 = button(this, "Button3", Texts::Button3, {8, 309, 33, 20});
    Button1 = button(this, "Button1", Texts::Button1, {136, 309, 34, 20});
    Button5 = button(this, "Button5", Texts::Button5.english, {8, 357, 161, 20});
    connect(Button1, &QPushButton::clicked, this, [this] { Guarded([this] { Button1Click(); }); });
    connect(Button3, &QPushButton::clicked, this, [this] { Guarded([this] { Button3Click(); }); });
    connect(Button5, &QPushButton::clicked, this, [this] { Guarded([this] { Button5Click(); }); });
}

QSize TForm2::screenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().size() : QSize(1024, 768);
}

void TForm2::FormCreate() {
    const SharedState& state = Form1.state();
    x->setValue(StrToInt(state.LeftText));
    y->setValue(StrToInt(state.TopText));
    if (Serbian) {
        setWindowTitle(text(Texts::SettingsCaption.serbian));
        Freeze->setText(text(Texts::Freeze.serbian));
        Hide->setText(text(Texts::Hide.serbian));
        GroupBox1->setTitle(text(Texts::GroupBox1.serbian));
        Label2->setText(text(Texts::Label2.serbian));
        GroupBox3->setTitle(text(Texts::GroupBox3.serbian));
        Label3->setText(text(Texts::Label3.serbian));
        Label4->setText(text(Texts::Label4.serbian));
        Label5->setText(text(Texts::Label5.serbian));
    }
    const DataFolder& folder = Form1.folder();
    for (QCheckBox* box : {Status, Freeze, Hide}) {
        const char* file = box == Status ? "status.dat" : box == Freeze ? "freeze.dat" : "hide.dat";
        if (const auto on = ReadSwitch(folder.ReadLine(file)); on.has_value()) {
            box->setChecked(*on);
        }
    }
    if (Serbian) {
        Button5->setText(text(Texts::Button5.serbian));
    }
}

void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Guarded([this] { FormShow(); });
}

void TForm2::FormShow() {
    MakeTopmost(*this);
}

// Escape does not close the dialog; in a masked field it abandons the change.
void TForm2::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm2::EditChange() {
    std::string s = Edit->fieldText();
    if (StrToInt(Field(s, 8, 2)) > 59) {
        s = zeroed(s, 8, 2);
        Edit->setFieldText(s);
    }
    if (StrToInt(Field(s, 5, 2)) > 59) {
        s = zeroed(s, 5, 2);
        Edit->setFieldText(s);
    }
    RebaseBalance(Form1.state(), Form1.clock(), BalanceToSeconds(s));
    Form1.setDisplayText(s);
    // By the data folder's full path: the working directory may be anywhere.
    Form1.folder().WriteLines("remain.dat", {s});
}

void TForm2::AlarmChange() {
    Form1.state().AlarmHours = Alarm->Value();
}

void TForm2::ProcenatChange() {
    Form1.state().DiscountPercent = Procenat->Value();
}

void TForm2::economicChange(MaskEdit& edit, std::string& target) {
    std::string t = edit.fieldText();
    if (StrToInt(Field(t, 4, 2)) >= 60) {
        t = zeroed(t, 4, 2);
        edit.setFieldText(t);
    }
    if (StrToInt(Field(t, 1, 2)) > 23) {
        t = zeroed(t, 1, 2);
        edit.setFieldText(t);
    }
    target = edit.fieldText();
}

void TForm2::EconomicBeginChange() {
    economicChange(*EconomicBegin, Form1.state().EconomicBeginText);
}

void TForm2::EconomicEndChange() {
    economicChange(*EconomicEnd, Form1.state().EconomicEndText);
}

void TForm2::xChange() {
    const int maximum = screenSize().width() - kStripWidth;
    x->setMaxValue(maximum);
    if (x->Value() > maximum) {
        x->setValue(maximum);
    }
    if (Form1.x() >= 0 && Form1.x() <= maximum) {
        Form1.move(x->Value(), Form1.y());
    }
}

void TForm2::yChange() {
    const int maximum = screenSize().height() - kStripHeight;
    y->setMaxValue(maximum);
    if (y->Value() > maximum) {
        y->setValue(maximum);
    }
    if (Form1.y() >= 0 && Form1.y() <= maximum) {
        Form1.move(Form1.x(), y->Value());
    }
}

void TForm2::FreezeClick() {
    Form1.folder().WriteLines("freeze.dat", {SwitchText(Freeze->isChecked())});
}

void TForm2::StatusClick() {
    const bool on = Status->isChecked();
    Form1.showStatusStrip(on);
    Form1.folder().WriteLines("status.dat", {SwitchText(on)});
}

void TForm2::HideClick() {
    Form1.setDisplayVisible(!Hide->isChecked());
}

void TForm2::Button1Click() {
    // A half-filled field is never stored: the user is sent back to it.
    for (MaskEdit* edit : {Edit, EconomicBegin, EconomicEnd}) {
        if (!edit->filled()) {
            edit->refuse();
            return;
        }
    }
    const DataFolder& folder = Form1.folder();
    const std::string balance = Edit->fieldText();
    Form1.state().RemainText = balance;
    folder.WriteLines("remain.dat", {balance});
    folder.WriteLines("alarm.dat", {IntToStr(Alarm->Value())});
    folder.WriteLines("economic.dat", {EconomicBegin->fieldText(), EconomicEnd->fieldText(),
                                       IntToStr(Procenat->Value())});
    folder.WriteLines("position.dat", {IntToStr(x->Value()), IntToStr(y->Value())});
    folder.WriteLines("hide.dat", {SwitchText(Hide->isChecked())});
    hide();
}

void TForm2::Button3Click() {
    if (Form4 != nullptr) {
        Form4->show();
    }
}

void TForm2::Button5Click() {
    Form1.close();
}

}  // namespace surftally
