#include "ui/win32/Toolkit.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "forms/StripLook.h"
#include "forms/TForm.h"
#include "forms/TTimer.h"
#include "ui/win32/Button.h"
#include "ui/win32/CheckBox.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/GroupBox.h"
#include "ui/win32/Image.h"
#include "ui/win32/Label.h"
#include "ui/win32/Library.h"
#include "ui/win32/MaskEdit.h"
#include "ui/win32/Memo.h"
#include "ui/win32/MessageBox.h"
#include "ui/win32/PaintBox.h"
#include "ui/win32/SpinEdit.h"
#include "ui/win32/Timer.h"
#include "ui/win32/Window.h"

namespace surftally {

namespace {

constexpr const wchar_t* kOwnerClass = L"SurftallyOwner";
constexpr const wchar_t* kTimerClass = L"SurftallyTimers";
// Posted to the timers' window: the error boxes go back on top.
constexpr UINT kRaiseBoxes = WM_APP + 20;

// What the toolkit gives the forms: each peer over the control's Win32 implementation.
template <class Interface>
class Adapter : public Interface {
public:
    explicit Adapter(std::unique_ptr<Win32Control> control) : control_(std::move(control)) {}
    void changed(Property property) override { control_->changed(property); }
    void takeFocus() override { control_->takeFocus(); }

protected:
    std::unique_ptr<Win32Control> control_;
};

class WindowAdapter final : public Adapter<WindowPeer> {
public:
    using Adapter::Adapter;
    void makeTopmost() override { static_cast<Win32Window&>(*control_).makeTopmost(); }
    void activate() override { static_cast<Win32Window&>(*control_).activate(); }
};

void registerClass(const wchar_t* name, WNDPROC procedure, UINT style, HCURSOR cursor) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = cursor;
    windowClass.hIcon = ::LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(1));
    windowClass.lpszClassName = name;
    ::RegisterClassExW(&windowClass);
}

}  // namespace

class Win32LateControl;

// A dialog whose native windows are made when first needed: shown, focused, raised or looked
// up. Until then its controls' peers wait, and the properties they are told stay in the
// controls, which tell them all again once made. The strip is shown without waiting for
// windows nobody has opened.
class Win32LateForm final : public WindowPeer {
public:
    Win32LateForm(Win32Toolkit& toolkit, TForm& form) : toolkit_(toolkit), form_(form) {
        toolkit_.late_[&form] = this;
    }
    ~Win32LateForm() override { forget(); }

    std::unique_ptr<ControlPeer> add(TControl& control);
    void remove(Win32LateControl& peer, const TControl& control) {
        controls_.erase(std::find(controls_.begin(), controls_.end(), &peer));
        toolkit_.late_.erase(&control);
    }

    void changed(Property property) override {
        if (window_ != nullptr) {
            window_->changed(property);
        } else if (property == Property::Visible && form_.Visible()) {
            make();
        }
    }
    void takeFocus() override {
        make();
        window_->takeFocus();
    }
    void makeTopmost() override {
        make();
        window_->makeTopmost();
    }
    void activate() override {
        make();
        window_->activate();
    }

    // The window, then its controls in the order they were made, then the window's own
    // properties, its visibility last.
    void make();

private:
    void forget() {
        std::erase_if(toolkit_.late_, [this](const auto& entry) { return entry.second == this; });
    }

    Win32Toolkit& toolkit_;
    TForm& form_;
    std::unique_ptr<WindowPeer> window_;
    std::vector<Win32LateControl*> controls_;
};

class Win32LateControl final : public ControlPeer {
public:
    Win32LateControl(Win32LateForm& form, TControl& control) : form_(form), control_(control) {}
    ~Win32LateControl() override {
        if (made_ == nullptr) {
            form_.remove(*this, control_);
        }
    }

    void changed(Property property) override {
        if (made_ != nullptr) {
            made_->changed(property);
        }
    }
    void takeFocus() override {
        form_.make();
        made_->takeFocus();
    }

    TControl& control() const { return control_; }
    void make(std::unique_ptr<ControlPeer> made) {
        made_ = std::move(made);
        control_.notifyAll();
    }

private:
    Win32LateForm& form_;
    TControl& control_;
    std::unique_ptr<ControlPeer> made_;
};

std::unique_ptr<ControlPeer> Win32LateForm::add(TControl& control) {
    auto peer = std::make_unique<Win32LateControl>(*this, control);
    controls_.push_back(peer.get());
    toolkit_.late_[&control] = this;
    return peer;
}

void Win32LateForm::make() {
    if (window_ != nullptr) {
        return;
    }
    forget();
    Win32Toolkit::LoadCommonControls();
    window_ = std::make_unique<WindowAdapter>(std::make_unique<Win32Window>(toolkit_, form_));
    for (Win32LateControl* control : std::exchange(controls_, {})) {
        control->make(toolkit_.makeControl(control->control()));
    }
    form_.notifyAll();
}

TFont Win32Toolkit::DisplayFont() {
    return StripLook::DisplayFont();
}

void Win32Toolkit::LoadCommonControls() {
    static const bool loaded = [] {
        using Initialise = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        const auto initialise =
            LibraryFunction<Initialise>(::LoadLibraryW(L"comctl32.dll"), "InitCommonControlsEx");
        INITCOMMONCONTROLSEX init{sizeof(init), ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS |
                                                    ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
        return initialise != nullptr && initialise(&init) != FALSE;
    }();
    (void)loaded;
}

Win32Toolkit::Win32Toolkit() {
    const HCURSOR arrow = ::LoadCursorA(nullptr, IDC_ARROW);
    // Every control's own behaviour is in its subclass; the class procedure is the default.
    registerClass(kStripClass, ::DefWindowProcW, 0, arrow);
    registerClass(kDialogClass, ::DefWindowProcW, 0, arrow);
    registerClass(kMessageClass, ::DefWindowProcW, 0, arrow);
    registerClass(kLabelClass, ::DefWindowProcW, CS_DBLCLKS, arrow);
    registerClass(kImageClass, ::DefWindowProcW, 0, arrow);
    registerClass(kGroupBoxClass, ::DefWindowProcW, 0, arrow);
    // A paint box's shapes depend on its size: a resize draws it whole.
    registerClass(kPaintBoxClass, ::DefWindowProcW, CS_HREDRAW | CS_VREDRAW, arrow);
    registerClass(kOwnerClass, ::DefWindowProcW, 0, arrow);
    registerClass(kTimerClass, timerProcedure, 0, arrow);
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    owner_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerClass, L"Surftally", WS_POPUP, 0, 0, 0, 0,
                               nullptr, nullptr, instance, nullptr);
    timers_ = ::CreateWindowExW(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                                nullptr);
    ::SetWindowLongPtrW(timers_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Toolkit::~Win32Toolkit() {
    ::SetWindowLongPtrW(timers_, GWLP_USERDATA, 0);
    ::DestroyWindow(timers_);
    ::DestroyWindow(owner_);
    for (const auto& [colour, brush] : brushes_) {
        ::DeleteObject(brush);
    }
}

std::unique_ptr<WindowPeer> Win32Toolkit::createWindow(TForm& form) {
    if (form.Style() == FormStyle::Strip) {
        return std::make_unique<WindowAdapter>(std::make_unique<Win32Window>(*this, form));
    }
    return std::make_unique<Win32LateForm>(*this, form);
}

std::unique_ptr<ControlPeer> Win32Toolkit::createControl(TControl& control) {
    if (const auto late = late_.find(control.Parent()); late != late_.end()) {
        return late->second->add(control);
    }
    return makeControl(control);
}

std::unique_ptr<ControlPeer> Win32Toolkit::makeControl(TControl& control) {
    std::unique_ptr<Win32Control> peer;
    switch (control.Kind()) {
        case ControlKind::Label:
            peer = std::make_unique<Win32Label>(*this, control);
            break;
        case ControlKind::Image:
            peer = std::make_unique<Win32Image>(*this, control);
            break;
        case ControlKind::CheckBox:
            peer = std::make_unique<Win32CheckBox>(*this, control);
            break;
        case ControlKind::Button:
            peer = std::make_unique<Win32Button>(*this, control);
            break;
        case ControlKind::GroupBox:
            peer = std::make_unique<Win32GroupBox>(*this, control);
            break;
        case ControlKind::Memo:
            peer = std::make_unique<Win32Memo>(*this, control);
            break;
        case ControlKind::MaskEdit:
            peer = std::make_unique<Win32MaskEdit>(*this, control);
            break;
        case ControlKind::SpinEdit:
            peer = std::make_unique<Win32SpinEdit>(*this, control);
            break;
        case ControlKind::PaintBox:
            peer = std::make_unique<Win32PaintBox>(*this, control);
            break;
        case ControlKind::Window:
            return nullptr;
    }
    return std::make_unique<Adapter<ControlPeer>>(std::move(peer));
}

std::unique_ptr<TimerPeer> Win32Toolkit::createTimer(TTimer& timer) {
    return std::make_unique<Win32Timer>(*this, timer);
}

std::unique_ptr<MessageBoxPeer> Win32Toolkit::createMessageBox(std::function<void()> closed) {
    return std::make_unique<Win32MessageBox>(*this, std::move(closed));
}

TSize Win32Toolkit::screenSize() const {
    const int dpi = Win32Dpi::System();
    return {Win32Dpi::Unscale(::GetSystemMetrics(SM_CXSCREEN), dpi),
            Win32Dpi::Unscale(::GetSystemMetrics(SM_CYSCREEN), dpi)};
}

void Win32Toolkit::beep() {
    ::MessageBeep(MB_OK);
}

void Win32Toolkit::quit() {
    ::PostQuitMessage(0);
}

HBRUSH Win32Toolkit::brush(COLORREF colour) {
    if (const auto it = brushes_.find(colour); it != brushes_.end()) {
        return it->second;
    }
    const HBRUSH created = ::CreateSolidBrush(colour);
    brushes_[colour] = created;
    return created;
}

void Win32Toolkit::add(const TControl& control, Win32Control& peer) {
    controls_[&control] = &peer;
}

void Win32Toolkit::remove(const TControl& control) {
    controls_.erase(&control);
}

Win32Control* Win32Toolkit::find(const TControl& control) const {
    if (const auto late = late_.find(&control); late != late_.end()) {
        late->second->make();
    }
    const auto it = controls_.find(&control);
    return it == controls_.end() ? nullptr : it->second;
}

void Win32Toolkit::rescale(const Win32Window& form) {
    for (const auto& [control, peer] : controls_) {
        if (peer != &form && peer->window() == &form) {
            peer->rescale();
        }
    }
}

void Win32Toolkit::raiseMessageBoxes() const {
    for (const HWND box : messageBoxes_) {
        if (::IsWindowVisible(box)) {
            ::SetWindowPos(box, HWND_TOPMOST, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        }
    }
}

void Win32Toolkit::raiseMessageBoxesLater() const {
    for (const HWND box : messageBoxes_) {
        if (::IsWindowVisible(box)) {
            ::PostMessageW(timers_, kRaiseBoxes, 0, 0);
            return;
        }
    }
}

UINT_PTR Win32Toolkit::addTimer(TTimer& timer) {
    const UINT_PTR id = ++lastTimer_;
    timerList_[id] = &timer;
    return id;
}

LRESULT CALLBACK Win32Toolkit::timerProcedure(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    auto* self = reinterpret_cast<Win32Toolkit*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_TIMER && self != nullptr) {
        // Looked up at each firing: a handler may stop or destroy timers.
        if (const auto it = self->timerList_.find(wParam); it != self->timerList_.end()) {
            it->second->userTimer();
        }
        return 0;
    }
    if (message == kRaiseBoxes && self != nullptr) {
        // Out of the topmost band and back, so that the change reaches the window system.
        for (const HWND box : self->messageBoxes_) {
            if (::IsWindowVisible(box)) {
                constexpr UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
                ::SetWindowPos(box, HWND_NOTOPMOST, 0, 0, 0, 0, keep);
                ::SetWindowPos(box, HWND_TOPMOST, 0, 0, 0, 0, keep);
            }
        }
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

bool Win32Toolkit::dispatch(MSG& msg) {
    const HWND root = msg.hwnd != nullptr ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    auto* form = root != nullptr ? dynamic_cast<Win32Window*>(Win32Control::of(root)) : nullptr;
    // Enter and Escape go to the form, which decides; the system's dialog keys do nothing.
    if (form != nullptr && msg.message == WM_KEYDOWN &&
        (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
        form->userKey(msg.wParam == VK_RETURN ? TKey::Enter : TKey::Escape);
        return true;
    }
    if (root != nullptr && dialogs_.count(root) != 0) {
        if (msg.message == WM_KEYDOWN &&
            (msg.wParam == VK_TAB || msg.wParam == VK_UP || msg.wParam == VK_DOWN)) {
            if (form != nullptr) {
                form->showFocusCues();
            }
        }
        const bool key = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN ||
                         msg.message == WM_CHAR || msg.message == WM_SYSCHAR;
        keyboardNavigation_ = key;
        const bool handled = ::IsDialogMessageW(root, &msg) != FALSE;
        keyboardNavigation_ = false;
        if (handled) {
            return true;
        }
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
    return true;
}

int Win32Toolkit::run() {
    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        dispatch(msg);
    }
    return static_cast<int>(msg.wParam);
}

void Win32Toolkit::processMessages() {
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        dispatch(msg);
    }
}

}  // namespace surftally
