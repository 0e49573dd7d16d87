#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "forms/TApplication.h"
#include "forms/TButton.h"
#include "forms/TControl.h"

namespace surftally {

enum class FormStyle {
    // Borderless, always on top, no taskbar entry: the display strip.
    Strip,
    // A fixed-size dialog with a title bar and its close button, always on top.
    Dialog,
};

// A window: its bounds are its client area on the screen. It owns its controls, which are
// created with add() and destroyed with it.
class TForm : public TControl {
public:
    TForm(TApplication& application, FormStyle style, std::string name);
    ~TForm() override;

    FormStyle Style() const { return style_; }
    WindowPeer* Window() const { return static_cast<WindowPeer*>(Peer()); }

    void Show() { setVisible(true); }
    void Hide() { setVisible(false); }
    // Becoming visible runs OnShow.
    void setVisible(bool visible) override;
    // Hides the window and runs OnClose.
    virtual void Close();
    void MakeTopmost();
    void Activate();
    // Puts the window in the middle of the screen.
    void CentreOnScreen();
    // A dialog's showing: in the middle of the screen, above every other window, with the
    // keyboard focus.
    void ShowOnTop();
    // A dialog's start: its caption, font, grey face and client size, in the middle of the
    // screen.
    void beginDialog(const std::string& caption, const TFont& font, int width, int height);

    // Runs FormShow.
    std::function<void()> OnShow;
    std::function<void()> OnClose;

    // The design's handlers of a window's creation and of its showing; a window that has them
    // overrides these.
    virtual void FormCreate() {}
    virtual void FormShow() {}

    // The window's controls, in the order they were created.
    std::vector<const TControl*> Controls() const {
        std::vector<const TControl*> all;
        for (const auto& control : controls_) {
            all.push_back(control.get());
        }
        return all;
    }

    // The title bar's close button.
    void userClose() { Close(); }
    // Enter or Escape pressed anywhere in the window; focused is the window's control that has
    // the keyboard focus, or null. A window that takes neither ignores them.
    virtual void userKey(TKey key, TControl* focused);

protected:
    // Runs FormCreate under the error guard; a dialog calls it once its controls exist.
    void runFormCreate();
    // A push button of a dialog: its caption in font, on the dialog's face.
    TButton* addButton(const char* name, const std::string& caption, const TFont& font,
                       TRect bounds);

    template <class T, class... Args>
    T* add(TControl& parent, std::string name, Args&&... args) {
        auto control = std::make_unique<T>(Application(), &parent, std::move(name),
                                           std::forward<Args>(args)...);
        T* raw = control.get();
        raw->attach(Application().toolkit().createControl(*raw));
        controls_.push_back(std::move(control));
        return raw;
    }

private:
    FormStyle style_;
    std::vector<std::unique_ptr<TControl>> controls_;
};

}  // namespace surftally
