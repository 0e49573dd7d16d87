#include <gtest/gtest.h>

#include "accounting/Globals.h"
#include "forms/StripLook.h"
#include "forms/THistoryForm.h"
#include "tests/support/ProgramTest.h"
#include "ui/win32/Accessible.h"
#include "ui/win32/Control.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/Fonts.h"
#include "ui/win32/PaintBox.h"
#include "ui/win32/StripDrawing.h"
#include "ui/win32/Subclass.h"
#include "ui/win32/Text.h"
#include "ui/win32/Toolkit.h"

#include <commctrl.h>

#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace surftally;

// The three windows over the Win32 toolkit, as the program builds them, with the connection,
// the clock and the notification area faked: what the toolkit draws, and what it forwards.
namespace {

// A window's client area as the screen shows it, read pixel by pixel.
class Snapshot {
public:
    explicit Snapshot(HWND hwnd) {
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        // Wine hands a window's drawing to the X server when the thread waits for messages.
        for (int i = 0; i < 3; ++i) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 30, QS_ALLINPUT);
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        RECT client;
        ::GetClientRect(hwnd, &client);
        width_ = client.right;
        height_ = client.bottom;
        POINT origin{0, 0};
        ::ClientToScreen(hwnd, &origin);
        const HDC screen = ::GetDC(nullptr);
        dc_ = ::CreateCompatibleDC(screen);
        bitmap_ = ::CreateCompatibleBitmap(screen, width_, height_);
        old_ = ::SelectObject(dc_, bitmap_);
        ::BitBlt(dc_, 0, 0, width_, height_, screen, origin.x, origin.y, SRCCOPY);
        ::ReleaseDC(nullptr, screen);
    }
    ~Snapshot() {
        ::SelectObject(dc_, old_);
        ::DeleteObject(bitmap_);
        ::DeleteDC(dc_);
    }
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;

    COLORREF at(int x, int y) const { return ::GetPixel(dc_, x, y); }
    // How many pixels of the rectangle have the colour.
    int count(RECT r, COLORREF colour) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                n += at(x, y) == colour ? 1 : 0;
            }
        }
        return n;
    }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    int width_ = 0;
    int height_ = 0;
};

std::wstring textOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The visible error boxes and their texts.
std::vector<std::wstring> shownBoxes() {
    std::vector<std::wstring> texts;
    EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hwnd, LPARAM found) {
            wchar_t name[64] = {};
            ::GetClassNameW(hwnd, name, 64);
            if (std::wstring(name) == Win32Toolkit::kMessageClass && ::IsWindowVisible(hwnd)) {
                const HWND text = ::FindWindowExW(hwnd, nullptr, L"STATIC", nullptr);
                reinterpret_cast<std::vector<std::wstring>*>(found)->push_back(textOf(text));
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// Whether window a stands above window b.
bool above(HWND a, HWND b) {
    for (HWND h = ::GetWindow(a, GW_HWNDNEXT); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (h == b) {
            return true;
        }
    }
    return false;
}

HWND shownBox() {
    HWND found = nullptr;
    EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hwnd, LPARAM result) {
            wchar_t name[64] = {};
            ::GetClassNameW(hwnd, name, 64);
            if (std::wstring(name) == Win32Toolkit::kMessageClass && ::IsWindowVisible(hwnd)) {
                *reinterpret_cast<HWND*>(result) = hwnd;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Keys as the user presses them: through the message loop, with Shift held where asked.
void press(Win32Toolkit& toolkit, WPARAM virtualKey, bool shift = false) {
    BYTE state[256] = {};
    ::GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    ::SetKeyboardState(state);
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, virtualKey, 0);
    toolkit.processMessages();
    state[VK_SHIFT] = 0;
    ::SetKeyboardState(state);
}

void putClipboard(const std::wstring& text) {
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(::GlobalLock(memory), text.c_str(), bytes);
    ::GlobalUnlock(memory);
    ::SetClipboardData(CF_UNICODETEXT, memory);
    ::CloseClipboard();
}

class Win32ToolkitTest : public ProgramTest<Win32Toolkit> {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        temp.put("remain.dat", "010:00:00\r\n");
        temp.put("status.dat", "Off\r\n");
        buildProgram();
        form1->Show();
        toolkit.processMessages();
    }
    void TearDown() override {
        ProgramTest::TearDown();
        toolkit.processMessages();
    }

    HWND hwnd(const TControl& control) const { return toolkit.find(control)->native(); }
    void tick() {
        clock.advance(std::chrono::seconds(1));
        form1->Timer1Timer();
        toolkit.processMessages();
    }
    void click(const TControl& control) {
        ::SendMessageW(hwnd(control), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::SendMessageW(hwnd(control), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        toolkit.processMessages();
    }
    void type(const TControl& control, const std::string& keys) {
        for (const char c : keys) {
            ::SendMessageW(hwnd(control), WM_CHAR, static_cast<WPARAM>(c), 0);
        }
        toolkit.processMessages();
    }
    void key(const TControl& control, WPARAM virtualKey) {
        ::SendMessageW(hwnd(control), WM_KEYDOWN, virtualKey, 0);
        toolkit.processMessages();
    }

    TempFolder& temp = data;  // the data folder
};

}  // namespace

TEST_F(Win32ToolkitTest, StripIsABorderlessTopmostToolWindowAtTheDesignPlace) {
    const HWND strip = hwnd(*form1);
    wchar_t name[64] = {};
    ::GetClassNameW(strip, name, 64);
    EXPECT_EQ(std::wstring(name), Win32Toolkit::kStripClass);
    const LONG_PTR style = ::GetWindowLongPtrW(strip, GWL_STYLE);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(strip, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME));
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW) << "a taskbar button";
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_EQ(::GetWindow(strip, GW_OWNER), nullptr);
    EXPECT_TRUE(::IsWindowVisible(strip));

    RECT r;
    ::GetWindowRect(strip, &r);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, screenHeight - 67);
    EXPECT_EQ(r.right - r.left, 120);
    EXPECT_EQ(r.bottom - r.top, 25);
    EXPECT_EQ(toolkit.screenSize().Height, screenHeight);

    form2->Status->setChecked(true);
    ::GetWindowRect(strip, &r);
    EXPECT_EQ(r.bottom - r.top, 37);
    EXPECT_TRUE(::IsWindowVisible(hwnd(*form1->Status)));
}

TEST_F(Win32ToolkitTest, StripDrawsTheFrameAndTheDisplayInTheTicksColours) {
    flags.setOnline(ConnectionFlags::kLan);
    form2->Status->setChecked(true);
    tick();
    const Snapshot strip(hwnd(*form1));
    ASSERT_EQ(strip.height(), 37);
    EXPECT_EQ(strip.at(0, 0), StripLook::kOuterFrame);
    EXPECT_EQ(strip.at(1, 1), StripLook::kInnerFrame);
    EXPECT_EQ(strip.at(3, 3), RGB(255, 255, 0)) << "the display is not yellow on-line";
    EXPECT_GT(strip.count({2, 2, 118, 23}, RGB(0, 0, 0)), 40) << "no black digits";
    EXPECT_EQ(strip.at(1, 30), RGB(0, 128, 0)) << "the LAN strip is not green";
    EXPECT_GT(strip.count({0, 25, 120, 37}, RGB(255, 255, 255)), 20) << "no white status text";

    form2->Freeze->setChecked(true);
    tick();
    const Snapshot frozen(hwnd(*form1));
    EXPECT_EQ(frozen.at(3, 3), RGB(255, 255, 255));
    EXPECT_GT(frozen.count({2, 2, 118, 23}, RGB(0, 0, 255)), 40) << "no blue digits";
}

TEST_F(Win32ToolkitTest, PointerOverTheDisplayHoldsAndItsClickOpensTheSettings) {
    flags.setOffline();
    tick();
    const HWND display = hwnd(*form1->Display);
    POINT over{10, 10};
    ::ClientToScreen(display, &over);
    ::SetCursorPos(over.x, over.y);
    ::SendMessageW(display, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    toolkit.processMessages();
    EXPECT_TRUE(form1->state().HoverHold);
    EXPECT_EQ(Snapshot(hwnd(*form1)).at(3, 3), RGB(0, 128, 0)) << "the hold is not green";
    ::SendMessageW(display, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(form1->state().HoverHold);

    // Over the display the pointer is a hand, and the hint is its tooltip.
    EXPECT_EQ(::SendMessageW(display, WM_SETCURSOR, reinterpret_cast<WPARAM>(display),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_HAND));

    click(*form1->Display);
    const HWND settings = hwnd(*form2);
    EXPECT_TRUE(::IsWindowVisible(settings));
    EXPECT_TRUE(::GetWindowLongPtrW(settings, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(textOf(settings), L" Settings - Surftally");
    RECT client;
    ::GetClientRect(settings, &client);
    EXPECT_EQ(client.right, 178);
    EXPECT_EQ(client.bottom, 381);
    // Centred, with no taskbar button of its own.
    POINT origin{0, 0};
    ::ClientToScreen(settings, &origin);
    EXPECT_EQ(origin.x, (::GetSystemMetrics(SM_CXSCREEN) - 178) / 2);
    EXPECT_EQ(origin.y, (::GetSystemMetrics(SM_CYSCREEN) - 381) / 2);
    EXPECT_NE(::GetWindow(settings, GW_OWNER), nullptr);

    // The title bar's close hides the dialog; the window stays for the next time.
    ::SendMessageW(settings, WM_CLOSE, 0, 0);
    EXPECT_FALSE(form2->Visible());
    EXPECT_FALSE(::IsWindowVisible(settings));
    EXPECT_TRUE(::IsWindow(settings));
}

TEST_F(Win32ToolkitTest, DialogsAreMadeWhenFirstShownWithWhatTheyWereToldMeanwhile) {
    // The strip shows without the settings' and the help's native windows.
    EXPECT_TRUE(toolkit.made(*form1));
    EXPECT_FALSE(toolkit.made(*form2));
    EXPECT_FALSE(toolkit.made(*form4));
    form2->Freeze->setChecked(true);
    form2->Edit->setText("012:34:56");

    form2->Show();
    form2->Activate();
    toolkit.processMessages();
    EXPECT_TRUE(toolkit.made(*form2));
    EXPECT_FALSE(toolkit.made(*form4)) << "the help window was made with the settings";
    const HWND settings = hwnd(*form2);
    EXPECT_TRUE(::IsWindowVisible(settings));
    const HWND freeze = hwnd(*form2->Freeze);
    EXPECT_TRUE(::IsChild(settings, freeze));
    EXPECT_TRUE(::IsWindowVisible(freeze));
    EXPECT_EQ(::SendMessageW(freeze, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(textOf(hwnd(*form2->Edit)), Wide(form2->Edit->Text()));
    EXPECT_EQ(form2->Edit->Text(), "012:34:56");
    EXPECT_TRUE(::IsChild(settings, ::GetFocus())) << "no control of the settings has the focus";

    // Looking a control up makes its dialog, hidden as it is.
    const HWND memo = hwnd(*form4->Memo1);
    EXPECT_TRUE(toolkit.made(*form4));
    EXPECT_TRUE(::IsWindow(memo));
    EXPECT_FALSE(::IsWindowVisible(hwnd(*form4)));
}

TEST_F(Win32ToolkitTest, AccessibleNamesWaitForTheFirstClientThatAsks) {
    // Until a client asks, the names wait and COM stays unloaded (unless an earlier test of
    // this process asked already).
    if (!Win32Accessible::ClientAsked()) {
        EXPECT_GT(Win32Accessible::Waiting(), 0u) << "the display's name was not kept";
        EXPECT_EQ(::GetModuleHandleW(L"oleacc.dll"), nullptr);
    }
    ::SendMessageW(hwnd(*form1->Display), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    EXPECT_TRUE(Win32Accessible::ClientAsked());
    EXPECT_EQ(Win32Accessible::Waiting(), 0u);
    // From then on every name goes to the system at once.
    form2->Show();
    toolkit.processMessages();
    EXPECT_EQ(Win32Accessible::Waiting(), 0u);
}

TEST_F(Win32ToolkitTest, TheDisplaysTooltipIsThereOnceThePointerMoves) {
    const HWND strip = hwnd(*form1);
    const auto tooltip = [strip] {
        HWND found = nullptr;
        while ((found = ::FindWindowExW(nullptr, found, TOOLTIPS_CLASSW, nullptr)) != nullptr) {
            if (::GetWindow(found, GW_OWNER) == strip) {
                return found;
            }
        }
        return found;
    };
    const HWND display = hwnd(*form1->Display);
    ::SendMessageW(display, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    ::SendMessageW(display, WM_MOUSELEAVE, 0, 0);
    toolkit.processMessages();
    const HWND tips = tooltip();
    ASSERT_NE(tips, nullptr);
    wchar_t text[256] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = strip;
    tool.uId = reinterpret_cast<UINT_PTR>(display);
    tool.lpszText = text;
    ::SendMessageW(tips, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(text), Wide(form1->Display->Hint()));
}

namespace {

struct Seen {
    int messages = 0;
};

LRESULT countApp(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, void* data) {
    if (message == WM_APP) {
        ++static_cast<Seen*>(data)->messages;
        return 7;
    }
    return Win32Subclass::Default(hwnd, message, wParam, lParam);
}

WNDPROC lowerProcedure = nullptr;
LRESULT CALLBACK upperProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return message == WM_APP + 1 ? 9
                                 : ::CallWindowProcW(lowerProcedure, hwnd, message, wParam, lParam);
}

}  // namespace

TEST(Win32Subclass, MessagesPassThroughTheProcedureAndStraightOnceRemoved) {
    const HWND window = ::CreateWindowExW(0, L"STATIC", L"before", WS_POPUP, 0, 0, 10, 10, nullptr,
                                          nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    Seen first;
    Seen second;
    Win32Subclass::Install(window, countApp, &first);
    EXPECT_EQ(::SendMessageW(window, WM_APP, 0, 0), 7);
    // The window's own procedure still answers what the hook passes on.
    ::SetWindowTextW(window, L"after");
    EXPECT_EQ(textOf(window), L"after");
    // Installed again: the new data.
    Win32Subclass::Install(window, countApp, &second);
    ::SendMessageW(window, WM_APP, 0, 0);
    EXPECT_EQ(first.messages, 1);
    EXPECT_EQ(second.messages, 1);

    // Another subclass above it, then removed below that one: both chains keep working.
    lowerProcedure = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(upperProcedure)));
    Win32Subclass::Remove(window);
    EXPECT_EQ(::SendMessageW(window, WM_APP, 0, 0), 0);
    EXPECT_EQ(second.messages, 1);
    EXPECT_EQ(::SendMessageW(window, WM_APP + 1, 0, 0), 9);
    EXPECT_EQ(textOf(window), L"after");
    EXPECT_TRUE(::DestroyWindow(window));
}

TEST_F(Win32ToolkitTest, CheckBoxesShowTheModelsStateAndNeverToggleByThemselves) {
    const HWND freeze = hwnd(*form2->Freeze);
    EXPECT_EQ(::GetWindowLongPtrW(freeze, GWL_STYLE) & BS_TYPEMASK, BS_CHECKBOX);
    ::SendMessageW(freeze, BM_CLICK, 0, 0);
    toolkit.processMessages();
    EXPECT_TRUE(form2->Freeze->Checked());
    EXPECT_EQ(::SendMessageW(freeze, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(temp.get("freeze.dat"), "On\r\n");
    form2->Freeze->setChecked(false);
    EXPECT_EQ(::SendMessageW(freeze, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // The caption is drawn in the box's bold blue.
    form2->Show();
    toolkit.processMessages();
    const Snapshot box(freeze);
    EXPECT_GT(box.count({0, 0, box.width(), box.height()}, RGB(0, 0, 255)), 20);
}

TEST_F(Win32ToolkitTest, MaskedEditTypesThroughTheMaskAndRefusesAnUnfilledLeave) {
    form2->Show();
    form2->Activate();
    const HWND edit = hwnd(*form2->Edit);
    ::SetFocus(edit);
    key(*form2->Edit, VK_HOME);
    type(*form2->Edit, "0127580");
    // 012:75:80: the handler puts 00 in place of the minutes and the seconds.
    EXPECT_EQ(form2->Edit->Text(), "012:00:00");
    EXPECT_EQ(textOf(edit), L"012:00:00");
    EXPECT_EQ(temp.get("remain.dat"), "012:00:00\r\n");

    // A blank seconds digit: the handler cannot read the seconds, and says so.
    key(*form2->Edit, VK_BACK);
    EXPECT_EQ(textOf(edit), L"012:00:0_");
    EXPECT_EQ(shownBoxes(), (std::vector<std::wstring>{L"'0_' is not a valid integer value"}));
    app.Reporter().dismiss();
    // Leaving for the next field is refused: the focus comes back, the box says why.
    ::SetFocus(hwnd(*form2->Alarm));
    toolkit.processMessages();
    EXPECT_EQ(::GetFocus(), edit);
    EXPECT_EQ(
        shownBoxes(),
        (std::vector<std::wstring>{L"Invalid input value.  Use escape key to abandon changes"}));
    // Escape abandons the change: the text is back as it was when the field was entered.
    key(*form2->Edit, VK_ESCAPE);
    EXPECT_EQ(textOf(edit), L"000:00:00");
}

// Whatever moves the edit's caret moves the field's: the caret shown is where typing lands.
TEST_F(Win32ToolkitTest, EveryCaretMoveOfTheEditIsTheFieldsCaret) {
    form2->Show();
    form2->Activate();
    const HWND edit = hwnd(*form2->Edit);
    ::SetFocus(edit);
    key(*form2->Edit, VK_HOME);
    type(*form2->Edit, "0115808");
    ASSERT_EQ(textOf(edit), L"011:58:08");
    const auto shownCaret = [&] {
        DWORD start = 0;
        DWORD end = 0;
        ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                       reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, end) << "a selection the field does not have";
        return static_cast<int>(end);
    };
    // Keys pressed with modifiers held, as the system's key state tells the edit.
    const auto withKeys = [&](std::initializer_list<int> held, WPARAM virtualKey) {
        BYTE state[256] = {};
        ::GetKeyboardState(state);
        for (const int k : held) {
            state[k] = 0x80;
        }
        ::SetKeyboardState(state);
        key(*form2->Edit, virtualKey);
        for (const int k : held) {
            state[k] = 0;
        }
        ::SetKeyboardState(state);
    };

    key(*form2->Edit, VK_HOME);
    key(*form2->Edit, VK_DOWN);
    key(*form2->Edit, VK_DOWN);
    EXPECT_EQ(form2->Edit->CaretPos(), shownCaret());
    type(*form2->Edit, "9");
    EXPECT_EQ(textOf(edit), L"019:58:08");
    EXPECT_EQ(temp.get("remain.dat"), "019:58:08\r\n");
    key(*form2->Edit, VK_UP);
    EXPECT_EQ(form2->Edit->CaretPos(), shownCaret());

    // Selecting with Shift moves the caret to where the selection went, and no further.
    key(*form2->Edit, VK_END);
    withKeys({VK_SHIFT}, VK_LEFT);
    EXPECT_EQ(form2->Edit->CaretPos(), 8);
    EXPECT_EQ(shownCaret(), 8);
    type(*form2->Edit, "7");
    EXPECT_EQ(textOf(edit), L"019:58:07");
    withKeys({VK_SHIFT}, VK_HOME);
    EXPECT_EQ(form2->Edit->CaretPos(), 0);
    EXPECT_EQ(shownCaret(), 0);
    for (const WPARAM k : {VK_END, VK_PRIOR, VK_NEXT}) {
        withKeys({VK_SHIFT}, k);
        EXPECT_EQ(form2->Edit->CaretPos(), shownCaret());
    }
    for (const WPARAM k : {VK_LEFT, VK_RIGHT, VK_HOME, VK_END}) {
        withKeys({VK_CONTROL}, k);
        EXPECT_EQ(form2->Edit->CaretPos(), shownCaret());
        withKeys({VK_CONTROL, VK_SHIFT}, k);
        EXPECT_EQ(form2->Edit->CaretPos(), shownCaret());
    }

    // A click puts the caret at the character under the pointer; a drag takes it along.
    const auto at = [&](int index) {
        const LRESULT position = ::SendMessageW(edit, EM_POSFROMCHAR, index, 0);
        return MAKELPARAM(LOWORD(position) + 1, HIWORD(position) + 3);
    };
    ::SendMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, at(5));
    ::SendMessageW(edit, WM_LBUTTONUP, 0, at(5));
    toolkit.processMessages();
    EXPECT_EQ(form2->Edit->CaretPos(), 5);
    EXPECT_EQ(shownCaret(), 5);
    type(*form2->Edit, "1");
    EXPECT_EQ(textOf(edit), L"019:51:07");
    ::SendMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, at(1));
    ::SendMessageW(edit, WM_MOUSEMOVE, MK_LBUTTON, at(4));
    ::SendMessageW(edit, WM_MOUSEMOVE, MK_LBUTTON, at(7));
    ::SendMessageW(edit, WM_LBUTTONUP, 0, at(7));
    toolkit.processMessages();
    EXPECT_EQ(form2->Edit->CaretPos(), 7);
    EXPECT_EQ(shownCaret(), 7);
    type(*form2->Edit, "2");
    EXPECT_EQ(textOf(edit), L"019:51:27");
}

// Tab into a field puts the caret first; Enter presses OK; Escape abandons a field's change,
// then closes the dialog.
TEST_F(Win32ToolkitTest, KeyboardEntersTheFieldsAndAnswersTheDialog) {
    click(*form1->Display);
    form2->Activate();
    toolkit.processMessages();
    ::SetFocus(hwnd(*form2->Alarm));
    press(toolkit, VK_TAB, true);
    ASSERT_EQ(::GetFocus(), hwnd(*form2->Edit));
    EXPECT_EQ(form2->Edit->CaretPos(), 0);
    type(*form2->Edit, "0234500");
    EXPECT_EQ(temp.get("remain.dat"), "023:45:00\r\n");
    press(toolkit, VK_TAB);
    press(toolkit, VK_TAB);
    ASSERT_EQ(::GetFocus(), hwnd(*form2->EconomicBegin));
    EXPECT_EQ(form2->EconomicBegin->CaretPos(), 0);
    type(*form2->EconomicBegin, "1230");

    press(toolkit, VK_RETURN);
    EXPECT_FALSE(form2->Visible()) << "Enter did not press OK";
    EXPECT_EQ(temp.get("economic.dat").rfind("12:30\r\n", 0), 0u) << temp.get("economic.dat");

    click(*form1->Display);
    form2->Activate();
    toolkit.processMessages();
    ::SetFocus(hwnd(*form2->Edit));
    key(*form2->Edit, VK_HOME);
    type(*form2->Edit, "5");
    EXPECT_EQ(form2->Edit->Text(), "523:45:00");
    press(toolkit, VK_ESCAPE);
    EXPECT_EQ(form2->Edit->Text(), "023:45:00");
    EXPECT_TRUE(form2->Visible()) << "the field's Escape closed the dialog too";
    press(toolkit, VK_ESCAPE);
    EXPECT_FALSE(form2->Visible());
}

// The box never takes the focus from the typing; once the user gives it the focus, Enter and
// Escape close it.
TEST_F(Win32ToolkitTest, ErrorBoxClosesByTheKeyboardOnceItHasTheFocus) {
    click(*form1->Display);
    form2->Activate();
    toolkit.processMessages();
    for (const WPARAM k : {VK_RETURN, VK_ESCAPE}) {
        // The user types in the balance when the box comes.
        form2->Activate();
        ::SetFocus(hwnd(*form2->Edit));
        toolkit.processMessages();
        app.Reporter().report("I/O error 32");
        toolkit.processMessages();
        const HWND box = shownBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(::GetFocus(), hwnd(*form2->Edit));
        ::SetForegroundWindow(box);
        ::SetActiveWindow(box);
        toolkit.processMessages();
        ASSERT_EQ(::GetAncestor(::GetFocus(), GA_ROOT), box);
        press(toolkit, k);
        EXPECT_EQ(shownBox(), nullptr) << "key " << k << " left the box open";
    }
}

// Shift+Insert pastes through the fields' rules; the edits never insert the text themselves.
TEST_F(Win32ToolkitTest, ShiftInsertPastesThroughTheFieldsRules) {
    click(*form1->Display);
    form2->Activate();
    toolkit.processMessages();
    const HWND edit = hwnd(*form2->Edit);
    ::SetFocus(edit);
    key(*form2->Edit, VK_HOME);
    putClipboard(L"0123456");
    press(toolkit, VK_INSERT, true);
    EXPECT_EQ(textOf(edit), L"012:34:56");
    EXPECT_EQ(temp.get("remain.dat"), "012:34:56\r\n");
    putClipboard(L"9x");
    key(*form2->Edit, VK_HOME);
    press(toolkit, VK_INSERT, true);
    EXPECT_EQ(textOf(edit), L"012:34:56");

    const HWND alarm = hwnd(*form2->Alarm);
    ::SetFocus(alarm);
    ::SendMessageW(alarm, EM_SETSEL, 0, -1);
    putClipboard(L"abc");
    press(toolkit, VK_INSERT, true);
    EXPECT_EQ(textOf(alarm), std::to_wstring(form2->Alarm->Value()));
    putClipboard(L"7");
    ::SendMessageW(alarm, EM_SETSEL, 0, -1);
    press(toolkit, VK_INSERT, true);
    EXPECT_EQ(form2->Alarm->Value(), 7);
    EXPECT_EQ(textOf(alarm), L"7");
}

TEST_F(Win32ToolkitTest, SpinEditTakesTypedNumbersRefusesLettersAndSteps) {
    form2->Show();
    const HWND alarm = hwnd(*form2->Alarm);
    ::SetFocus(alarm);
    ::SendMessageW(alarm, EM_SETSEL, 0, -1);
    type(*form2->Alarm, "7");
    EXPECT_EQ(form2->Alarm->Value(), 7);
    type(*form2->Alarm, "x");
    EXPECT_EQ(textOf(alarm), L"7");
    EXPECT_EQ(form1->state().AlarmHours, 7);

    // The up arrow key and the arrows' click step the value.
    key(*form2->Alarm, VK_UP);
    EXPECT_EQ(form2->Alarm->Value(), 8);
    const HWND arrows = ::FindWindowExW(hwnd(*form2->GroupBox2), nullptr, UPDOWN_CLASSW, nullptr);
    ASSERT_NE(arrows, nullptr);
    RECT r;
    ::GetClientRect(arrows, &r);
    ::SendMessageW(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right / 2, r.bottom - 2));
    ::SendMessageW(arrows, WM_LBUTTONUP, 0, MAKELPARAM(r.right / 2, r.bottom - 2));
    toolkit.processMessages();
    EXPECT_EQ(form2->Alarm->Value(), 7);
    EXPECT_EQ(textOf(alarm), L"7");

    // On a 1024-pixel-wide screen x goes up to 904.
    const HWND x = hwnd(*form2->x);
    ::SetFocus(x);
    ::SendMessageW(x, EM_SETSEL, 0, -1);
    type(*form2->x, "950");
    EXPECT_EQ(textOf(x), std::to_wstring(toolkit.screenSize().Width - 120));
}

TEST_F(Win32ToolkitTest, ErrorBoxesComeOneAtATime) {
    app.Reporter().report("File not found");
    app.Reporter().report("I/O error 5");
    toolkit.processMessages();
    EXPECT_EQ(shownBoxes(), (std::vector<std::wstring>{L"File not found"}));
    app.Reporter().dismiss();
    toolkit.processMessages();
    EXPECT_EQ(shownBoxes(), (std::vector<std::wstring>{L"I/O error 5"}));
    app.Reporter().dismiss();
    EXPECT_TRUE(shownBoxes().empty());
}

// The box says why nothing happens: no window of ours may come over it, whether brought to
// the front by the program or by the user.
TEST_F(Win32ToolkitTest, ErrorBoxStaysAboveOurWindows) {
    click(*form1->Display);
    const HWND settings = hwnd(*form2);
    app.Reporter().report("I/O error 32");
    toolkit.processMessages();
    const HWND box = shownBox();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(::GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(above(box, settings));

    form2->MakeTopmost();
    toolkit.processMessages();
    EXPECT_TRUE(above(box, settings)) << "the settings came over the box";
    ::SetWindowPos(settings, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    toolkit.processMessages();
    EXPECT_TRUE(above(box, settings)) << "the activated settings came over the box";
    form1->MakeTopmost();
    toolkit.processMessages();
    EXPECT_TRUE(above(box, hwnd(*form1))) << "the strip came over the box";
    app.Reporter().dismiss();
}

// A window moved to a monitor of another scale takes the place and size the system suggests,
// and its controls grow with the DPI.
TEST_F(Win32ToolkitTest, WindowFollowsTheSuggestedRectangleOfANewDpi) {
    click(*form1->Display);
    const HWND settings = hwnd(*form2);
    RECT before;
    ::GetWindowRect(settings, &before);
    RECT suggested{40, 30, 40 + (before.right - before.left) * 3 / 2,
                   30 + (before.bottom - before.top) * 3 / 2};
    ::SendMessageW(settings, WM_DPICHANGED, MAKEWPARAM(144, 144),
                   reinterpret_cast<LPARAM>(&suggested));
    toolkit.processMessages();
    RECT after;
    ::GetWindowRect(settings, &after);
    EXPECT_EQ(after.left, suggested.left);
    EXPECT_EQ(after.top, suggested.top);
    EXPECT_EQ(after.right, suggested.right);
    EXPECT_EQ(after.bottom, suggested.bottom);
    RECT edit;
    ::GetWindowRect(hwnd(*form2->Edit), &edit);
    EXPECT_EQ(edit.right - edit.left, Win32Dpi::Scale(65, 144));
}

TEST_F(Win32ToolkitTest, HelpWindowShowsTheTextAndTheSamplePictures) {
    click(*form2->Button3);
    const HWND help = hwnd(*form4);
    EXPECT_TRUE(::IsWindowVisible(help));
    RECT client;
    ::GetClientRect(help, &client);
    EXPECT_EQ(client.right, form4->Width());
    EXPECT_EQ(client.bottom, form4->Height());
    const HWND memo = hwnd(*form4->Memo1);
    EXPECT_TRUE(::GetWindowLongPtrW(memo, GWL_STYLE) & (ES_READONLY | WS_VSCROLL));
    EXPECT_EQ(textOf(memo).rfind(L"How to set Surftally?\r\n", 0), 0u);

    const Snapshot window(help);
    // The hold sample where the window placed it: frame, then green with white digits.
    const TRect& hold = form4->Image2->Bounds();
    const int frame = StripLook::kFrameWidth;
    EXPECT_EQ(window.at(hold.Left, hold.Top), StripLook::kOuterFrame);
    EXPECT_EQ(window.at(hold.Left + frame + 1, hold.Top + frame + 1), RGB(0, 128, 0));
    EXPECT_GT(window.count({hold.Left + frame, hold.Top + frame, hold.Left + hold.Width - frame,
                            hold.Top + hold.Height - frame},
                           RGB(255, 255, 255)),
              40);
    // The bold red Close.
    const TRect& close = form4->Button3->Bounds();
    EXPECT_GT(
        window.count({close.Left, close.Top, close.Left + close.Width, close.Top + close.Height},
                     RGB(255, 0, 0)),
        20);

    click(*form4->Button3);
    EXPECT_FALSE(::IsWindowVisible(help));
}

TEST_F(Win32ToolkitTest, TimersFireFromTheLoop) {
    TTimer timer(app, "Test", 10);
    int fired = 0;
    timer.OnTimer = [&] {
        if (++fired == 3) {
            timer.setEnabled(false);
        }
    };
    timer.setEnabled(true);
    for (int i = 0; i < 1000 && fired < 3; ++i) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        toolkit.processMessages();
    }
    EXPECT_EQ(fired, 3);
}

// Whatever the scale, the drawn frame is two rings of one colour each all round the strip's
// edges, growing with the scale, with the black inside right after them.
TEST(Win32Scaling, DrawnFrameLiesAtTheEdgesWhateverTheScale) {
    for (const int dpi : {96, 120, 144, 192}) {
        SCOPED_TRACE(dpi);
        const int width = Win32Dpi::Scale(StripLook::kWidth, dpi);
        const int height = Win32Dpi::Scale(StripLook::kHeight, dpi);
        const HDC screen = ::GetDC(nullptr);
        const HDC dc = ::CreateCompatibleDC(screen);
        const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
        ::ReleaseDC(nullptr, screen);
        const HGDIOBJ old = ::SelectObject(dc, bitmap);
        Win32StripDrawing::DrawFrame(dc, RECT{0, 0, width, height}, dpi);
        const auto ring = [&](int inset) {
            std::set<COLORREF> colours;
            for (int x = inset; x < width - inset; ++x) {
                colours.insert(::GetPixel(dc, x, inset));
                colours.insert(::GetPixel(dc, x, height - 1 - inset));
            }
            for (int y = inset; y < height - inset; ++y) {
                colours.insert(::GetPixel(dc, inset, y));
                colours.insert(::GetPixel(dc, width - 1 - inset, y));
            }
            return colours;
        };
        const int frame = Win32StripDrawing::FrameWidth(dpi);
        EXPECT_GE(frame * 96, StripLook::kFrameWidth * dpi - 48);  // not left at design pixels
        std::set<COLORREF> frameColours;
        for (int inset = 0; inset < frame; ++inset) {
            const auto colours = ring(inset);
            ASSERT_EQ(colours.size(), 1u) << "inset " << inset;
            EXPECT_NE(*colours.begin(), RGB(0, 0, 0)) << "inset " << inset;
            frameColours.insert(*colours.begin());
        }
        EXPECT_EQ(frameColours,
                  (std::set<COLORREF>{StripLook::kOuterFrame, StripLook::kInnerFrame}));
        EXPECT_EQ(ring(frame), std::set<COLORREF>{RGB(0, 0, 0)});
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }
}

// Scaled, the bitmap face of the display gives way to a scalable one of the scaled height.
TEST(Win32Scaling, DisplayFontFollowsTheDpi) {
    Win32Fonts fonts;
    const TFont display = Win32Toolkit::DisplayFont();
    const auto height = [&](int dpi) {
        const HDC dc = ::CreateCompatibleDC(nullptr);
        const HGDIOBJ old = ::SelectObject(dc, fonts.get(display, dpi));
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(dc, &metrics);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        return metrics.tmHeight - metrics.tmInternalLeading;
    };
    EXPECT_EQ(fonts.face(display, 96), L"MS Sans Serif");
    EXPECT_NE(fonts.face(display, 144), L"MS Sans Serif");
    EXPECT_FALSE(fonts.face(display, 144).empty());
    EXPECT_NEAR(height(144), 24, 2);
    EXPECT_NEAR(height(192), 32, 2);
}

// Under a dark or high-contrast scheme the system's face and window colours turn dark; the
// dialogs keep their own grey face and white fields under their fixed text colours. Each
// field comes right after its label, from which screen readers take its name.
TEST_F(Win32ToolkitTest, DialogsKeepTheirGroundsUnderADarkSchemeAndLabelsPrecedeFields) {
    const int elements[] = {COLOR_BTNFACE, COLOR_WINDOW};
    const COLORREF saved[] = {::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_WINDOW)};
    const COLORREF dark[] = {RGB(32, 32, 32), RGB(16, 16, 16)};
    ::SetSysColors(2, elements, dark);
    form2->Show();
    toolkit.processMessages();
    const Snapshot settings(hwnd(*form2));
    click(*form2->Button3);  // the help, which stands over the settings
    const Snapshot help(hwnd(*form4));
    ::SetSysColors(2, elements, saved);

    EXPECT_EQ(settings.at(100, 340), RGB(192, 192, 192));  // between the buttons
    EXPECT_EQ(settings.at(157, 87), RGB(255, 255, 255));   // the balance field, past its text
    EXPECT_EQ(help.at(420, 180), RGB(192, 192, 192));      // left of Close
    EXPECT_GT(help.count({10, 10, 380, 165}, RGB(255, 255, 255)), 30000);  // the memo

    const std::pair<const TControl*, const TControl*> named[] = {
        {form2->Label1, form2->Edit},
        {form2->Label2, form2->Alarm},
        {form2->Label3, form2->EconomicBegin},
        {form2->Label4, form2->EconomicEnd},
        {form2->Label5, form2->Procenat},
        {form2->Label6, form2->x},
        {form2->Label7, form2->y}};
    for (const auto& [label, field] : named) {
        SCOPED_TRACE(field->Name());
        EXPECT_EQ(::GetWindow(hwnd(*field), GW_HWNDPREV), hwnd(*label));
    }
}

namespace {

// The history window over a day of 2 hours on-line, 1 of them charged (a discount), and a
// shorter day a week before.
class Win32HistoryTest : public Win32ToolkitTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        temp.put("remain.dat", "010:00:00\r\n");
        temp.put("status.dat", "Off\r\n");
        temp.put("history.dat",
                 "2026-12-02 08:00:00;2026-12-02 08:30:00;Modem;1800;1800\r\n"
                 "2026-12-09 08:00:00;2026-12-09 10:00:00;Modem;3600;7200\r\n");
        buildProgram();
        form1->Show();
        toolkit.processMessages();
    }

    // Opens the history from the settings; its chart's window.
    HWND openChart() {
        click(*form2->HistoryButton);
        EXPECT_TRUE(::IsWindowVisible(hwnd(*program.history)));
        return hwnd(*program.history->Chart);
    }

    // Today's bar: in the chart's right-most thirtieth (the legend stands at the left), the
    // column with the most charged pixels, and how many of its pixels are charged and how
    // many on-line only.
    struct Bar {
        int charged = 0;
        int online = 0;
    };
    static Bar todaysBar(const Snapshot& chart) {
        const COLORREF charged = Win32PaintBox::RoleColour(ShapeRole::Charged);
        const COLORREF online = Win32PaintBox::RoleColour(ShapeRole::Online);
        Bar best;
        for (int x = chart.width() - chart.width() / 30; x < chart.width(); ++x) {
            Bar column;
            for (int y = 0; y < chart.height(); ++y) {
                column.charged += chart.at(x, y) == charged ? 1 : 0;
                column.online += chart.at(x, y) == online ? 1 : 0;
            }
            if (column.charged > best.charged) {
                best = column;
            }
        }
        return best;
    }
};

}  // namespace

// The History button opens the window; its chart draws today's bar at the right end, the
// charged hour over the on-line pair of hours as tall again, and its Close closes it.
TEST_F(Win32HistoryTest, HistoryOpensFromTheSettingsAndItsChartDrawsTodaysBar) {
    const HWND chart = openChart();
    RECT client;
    ::GetClientRect(chart, &client);
    EXPECT_EQ(client.right, program.history->Chart->Width());
    EXPECT_EQ(client.bottom, program.history->Chart->Height());

    const Snapshot window(chart);
    const Bar bar = todaysBar(window);
    EXPECT_GT(bar.charged, 20);
    EXPECT_NEAR(bar.online, bar.charged, bar.charged / 5 + 2);
    EXPECT_EQ(window.at(0, window.height() - 1), Win32PaintBox::RoleColour(ShapeRole::Background));
    // The axis's hours and dates, in the text colour.
    EXPECT_GT(window.count({0, 0, window.width(), window.height()},
                           Win32PaintBox::RoleColour(ShapeRole::Text)),
              100);

    click(*program.history->CloseButton);
    EXPECT_FALSE(::IsWindowVisible(hwnd(*program.history)));
}

// Moved to a screen of another DPI, the chart is drawn anew for its size there: today's bar
// keeps its share of the chart's height, and its columns grow with the scale.
TEST_F(Win32HistoryTest, ChartIsDrawnAtTheWindowsDpi) {
    const HWND chart = openChart();
    const Bar design = todaysBar(Snapshot(chart));
    ASSERT_GT(design.charged, 20);
    const HWND history = hwnd(*program.history);
    for (const int dpi : {120, 144, 192}) {
        SCOPED_TRACE(dpi);
        RECT before;
        ::GetWindowRect(history, &before);
        RECT suggested{0, 0, Win32Dpi::Scale(before.right - before.left, dpi),
                       Win32Dpi::Scale(before.bottom - before.top, dpi)};
        ::SendMessageW(history, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                       reinterpret_cast<LPARAM>(&suggested));
        toolkit.processMessages();
        RECT client;
        ::GetClientRect(chart, &client);
        EXPECT_EQ(client.right, Win32Dpi::Scale(program.history->Chart->Width(), dpi));
        EXPECT_EQ(client.bottom, Win32Dpi::Scale(program.history->Chart->Height(), dpi));
        const Snapshot scaled(chart);
        const Bar bar = todaysBar(scaled);
        EXPECT_NEAR(bar.charged, Win32Dpi::Scale(design.charged, dpi),
                    Win32Dpi::Scale(design.charged, dpi) / 10 + 2);
    }
}

// Under a high-contrast scheme the chart takes the scheme's colours: its ground, its text and
// the selection colour for the charged time, so that nothing is drawn black on black.
TEST_F(Win32HistoryTest, ChartFollowsAHighContrastScheme) {
    const int elements[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT};
    const COLORREF saved[] = {::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_WINDOWTEXT),
                              ::GetSysColor(COLOR_HIGHLIGHT)};
    const COLORREF contrast[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 255, 255)};
    ::SetSysColors(3, elements, contrast);
    const HWND chart = openChart();
    const Snapshot window(chart);
    const Bar bar = todaysBar(window);
    const int white = window.count({0, 0, window.width(), window.height()}, RGB(255, 255, 255));
    const COLORREF corner = window.at(0, window.height() - 1);
    ::SetSysColors(3, elements, saved);

    EXPECT_EQ(corner, RGB(0, 0, 0));
    EXPECT_GT(white, 100);
    EXPECT_GT(bar.charged, 20);
    EXPECT_GT(bar.online, 20);
}
