#pragma once

#include <windows.h>

#include <map>
#include <set>

#include "forms/Toolkit.h"
#include "ui/win32/Fonts.h"

namespace surftally {

class TControl;
class TTimer;
class Win32Control;
class Win32Window;
class Win32LateForm;

// The windows' toolkit on Windows: plain Win32 and common controls 6, no Qt. Controls are
// laid out in the design's pixels and scaled with each monitor's DPI; the screen size it
// reports is in the same design pixels.
class Win32Toolkit final : public Toolkit {
public:
    // The window classes, by which tests and the installer find the windows.
    static constexpr const wchar_t* kStripClass = L"SurftallyStrip";
    static constexpr const wchar_t* kDialogClass = L"SurftallyDialog";
    static constexpr const wchar_t* kMessageClass = L"SurftallyMessage";
    static constexpr const wchar_t* kLabelClass = L"SurftallyLabel";
    static constexpr const wchar_t* kImageClass = L"SurftallyImage";
    static constexpr const wchar_t* kGroupBoxClass = L"SurftallyGroupBox";
    static constexpr const wchar_t* kPaintBoxClass = L"SurftallyPaintBox";

    // The display's font, which the strip's pictures are drawn in.
    static TFont DisplayFont();

    Win32Toolkit();
    ~Win32Toolkit() override;
    Win32Toolkit(const Win32Toolkit&) = delete;
    Win32Toolkit& operator=(const Win32Toolkit&) = delete;

    std::unique_ptr<WindowPeer> createWindow(TForm& form) override;
    std::unique_ptr<ControlPeer> createControl(TControl& control) override;
    std::unique_ptr<TimerPeer> createTimer(TTimer& timer) override;
    std::unique_ptr<MessageBoxPeer> createMessageBox(std::function<void()> closed) override;

    TSize screenSize() const override;
    void beep() override;
    void quit() override;

    // The message loop, until quit(); its exit code.
    int run();
    // Handles the messages waiting, and returns (tests).
    void processMessages();

    // For the controls.
    // Loads comctl32 (version 6, by the program's manifest) and registers its classes, once:
    // before the first dialog, tooltip or error box; the strip needs none of them.
    static void LoadCommonControls();
    Win32Fonts& fonts() { return fonts_; }
    HBRUSH brush(COLORREF colour);
    // The hidden window that owns the dialogs, so that they have no taskbar buttons.
    HWND owner() const { return owner_; }
    HWND timerWindow() const { return timers_; }
    int nextId() { return ++lastId_; }
    void add(const TControl& control, Win32Control& peer);
    void remove(const TControl& control);
    // The control's Win32 implementation; a dialog not made yet is made now.
    Win32Control* find(const TControl& control) const;
    // Whether the dialog's native windows are made (tests).
    bool made(const TControl& form) const { return late_.count(&form) == 0; }
    // Everything on the form that depends on the DPI, again.
    void rescale(const Win32Window& form);
    // Whether the focus is being moved from the keyboard (Tab, Shift+Tab, a mnemonic).
    bool keyboardNavigation() const { return keyboardNavigation_; }
    // The windows whose keyboard navigation (Tab, Enter, Escape) the loop does.
    void addDialog(HWND hwnd) { dialogs_.insert(hwnd); }
    void removeDialog(HWND hwnd) { dialogs_.erase(hwnd); }
    // The error boxes, which stand above every other window of ours.
    void addMessageBox(HWND hwnd) { messageBoxes_.insert(hwnd); }
    void removeMessageBox(HWND hwnd) { messageBoxes_.erase(hwnd); }
    // Puts the shown error boxes back on top: one of our windows has come to the front.
    void raiseMessageBoxes() const;
    // The same once the focus change under way is over, restacking the boxes even where the
    // system's z-order has them on top already.
    void raiseMessageBoxesLater() const;
    UINT_PTR addTimer(TTimer& timer);
    void removeTimer(UINT_PTR id) { timerList_.erase(id); }

private:
    friend class Win32LateForm;
    static LRESULT CALLBACK timerProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool dispatch(MSG& msg);
    std::unique_ptr<ControlPeer> makeControl(TControl& control);

    Win32Fonts fonts_;
    std::map<COLORREF, HBRUSH> brushes_;
    std::map<const TControl*, Win32Control*> controls_;
    // The dialogs whose native windows wait until first needed, by the form and each of its
    // controls.
    std::map<const TControl*, Win32LateForm*> late_;
    std::set<HWND> dialogs_;
    std::set<HWND> messageBoxes_;
    std::map<UINT_PTR, TTimer*> timerList_;
    UINT_PTR lastTimer_ = 0;
    HWND owner_ = nullptr;
    HWND timers_ = nullptr;
    int lastId_ = 100;
    bool keyboardNavigation_ = false;
};

}  // namespace surftally
