#include "forms/TForm.h"

namespace surftally {

TForm::TForm(TApplication& application, FormStyle style, std::string name)
    : TControl(application, nullptr, ControlKind::Window, std::move(name)), style_(style) {
    TControl::setVisible(false);
    attach(application.toolkit().createWindow(*this));
    OnShow = [this] { FormShow(); };
}

void TForm::runFormCreate() {
    Application().Guarded([this] { FormCreate(); });
}

TButton* TForm::addButton(const char* name, const std::string& caption, const TFont& font,
                          TRect bounds) {
    auto* button = add<TButton>(*this, name, caption);
    button->setFont(font);
    button->setColor(clBtnFace);
    button->setOpaque(true);
    button->setBounds(bounds);
    return button;
}

// The controls go before the window that holds them.
TForm::~TForm() {
    while (!controls_.empty()) {
        controls_.pop_back();
    }
}

void TForm::setVisible(bool visible) {
    const bool showing = visible && !Visible();
    TControl::setVisible(visible);
    if (showing) {
        fire(OnShow);
    }
}

void TForm::Close() {
    Hide();
    fire(OnClose);
}

void TForm::userKey(TKey, TControl*) {}

void TForm::MakeTopmost() {
    if (Window() != nullptr) {
        Window()->makeTopmost();
    }
}

void TForm::Activate() {
    if (Window() != nullptr) {
        Window()->activate();
    }
}

void TForm::CentreOnScreen() {
    const TSize screen = Application().toolkit().screenSize();
    setBounds({(screen.Width - Width()) / 2, (screen.Height - Height()) / 2, Width(), Height()});
}

void TForm::ShowOnTop() {
    CentreOnScreen();
    MakeTopmost();
    Activate();
}

void TForm::beginDialog(const std::string& caption, const TFont& font, int width, int height) {
    setCaption(caption);
    setFont(font);
    setColor(clBtnFace);
    setOpaque(true);
    setBounds({0, 0, width, height});
    CentreOnScreen();
}

}  // namespace surftally
