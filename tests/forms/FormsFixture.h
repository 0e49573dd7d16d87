#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/TTrayIcon.h"
#include "store/StoreErrors.h"
#include "tests/support/FakeToolkit.h"
#include "tests/support/ProgramTest.h"

namespace formstest {

using namespace surftally;

// The three windows over the fake toolkit. Tests run the timers themselves.
class FormsTest : public ProgramTest<FakeToolkit> {
protected:
    void build(bool trayAvailable = true) {
        tray = trayAvailable;
        buildProgram([this] { return tray; });
        form1->Show();
    }

    void tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            clock.advance(std::chrono::seconds(1));
            form1->Timer1->userTimer();
        }
    }

    // What the message box shows; empty while none is open.
    const std::string& shownError() const { return toolkit.boxText; }
    void closeError() { toolkit.closeBox(); }

    // The user types into a masked edit from its first position.
    static void type(TMaskEdit& edit, const std::string& keys) {
        edit.userFocusIn();
        edit.userCaret(0);
        for (char c : keys) {
            edit.userChar(c);
        }
    }

    bool tray = true;
};

// A window with a masked edit, a check box and a spin edit, counting their handlers' runs.
class Panel final : public TForm {
public:
    Panel(TApplication& app, const std::string& mask, const std::string& text)
        : TForm(app, FormStyle::Dialog, "Panel") {
        Edit = add<TMaskEdit>(*this, "Edit", mask, text);
        Box = add<TCheckBox>(*this, "Box", "Box");
        Spin = add<TSpinEdit>(*this, "Spin", 0, 999, 3);
        Edit->OnChange = [this] { ++changes; };
        Box->OnClick = [this] { ++clicks; };
    }
    TMaskEdit* Edit;
    TCheckBox* Box;
    TSpinEdit* Spin;
    int changes = 0;
    int clicks = 0;
};

// The controls' own rules over the fake toolkit, on a panel whose edit takes Field.
template <class Field>
class PanelTest : public ::testing::Test {
protected:
    FakeToolkit toolkit;
    TApplication app{toolkit};
    Panel panel{app, Field::kMask, Field::kText};
};

struct TimeField {
    static constexpr const char* kMask = "!00:00;1;_";
    static constexpr const char* kText = "00:00";
};
struct BalanceField {
    static constexpr const char* kMask = "!000:00:00;1;_";
    static constexpr const char* kText = "011:59:47";
};
using ControlsTest = PanelTest<TimeField>;
using PasteTest = PanelTest<BalanceField>;

}  // namespace formstest
