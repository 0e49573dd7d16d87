#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/TTrayIcon.h"
#include "tests/support/FakeTrayApplication.h"
#include "tests/support/FakeTrayShell.h"

namespace surftally {
namespace {

constexpr std::uint32_t kCallback = TrayEvent::User + 1;

class RecordingMenu : public TPopupMenu {
public:
    void Popup(int X, int Y) override { popups.push_back({X, Y}); }
    std::vector<ScreenPoint> popups;
};

class TrayIconTest : public ::testing::Test {
protected:
    TrayIconTest() {
        shell.cursor = {640, 1010};
        tray = std::make_unique<TTrayIcon>(shell, app);
        window = tray->record().hWnd;
        tray->OnClick = [this](TTrayIcon* sender) { log("Click", sender); };
        tray->OnDblClick = [this](TTrayIcon* sender) { log("DblClick", sender); };
        tray->OnMouseMove = [this](TTrayIcon* sender, TShiftState shift, int x, int y) {
            log("Move", sender);
            lastShift = shift;
            lastPoint = {x, y};
        };
        tray->OnMouseDown = [this](TTrayIcon* sender, TMouseButton button, TShiftState shift, int x,
                                   int y) {
            log("Down" + std::to_string(static_cast<int>(button)), sender);
            lastShift = shift;
            lastPoint = {x, y};
        };
        tray->OnMouseUp = [this](TTrayIcon* sender, TMouseButton button, TShiftState shift, int x,
                                 int y) {
            log("Up" + std::to_string(static_cast<int>(button)), sender);
            lastShift = shift;
            lastPoint = {x, y};
        };
        shell.requests.clear();
    }

    void log(const std::string& what, TTrayIcon* sender) {
        EXPECT_EQ(sender, tray.get());
        events.push_back(what);
    }
    void mouse(std::uint32_t message) { ASSERT_TRUE(shell.sendMouse(window, message)); }
    std::string tip() const { return tray->record().szTip; }

    FakeTrayShell shell;
    FakeTrayApplication app;
    std::unique_ptr<TTrayIcon> tray;
    std::uintptr_t window = 0;
    std::vector<std::string> events;
    TShiftState lastShift = 0;
    ScreenPoint lastPoint{};
};

TEST(TrayIconConstruction, AddsTheRecordWithTheApplicationsIconAndTitle) {
    FakeTrayShell shell;
    FakeTrayApplication app;
    TTrayIcon tray(shell, app);

    ASSERT_EQ(shell.requests.size(), 1u);
    const auto& add = shell.requests[0];
    EXPECT_EQ(add.message, NotifyRequest::Add);
    EXPECT_EQ(add.data.cbSize, 88u);
    EXPECT_NE(add.data.hWnd, 0u);
    EXPECT_TRUE(shell.isAllocated(add.data.hWnd));
    EXPECT_EQ(add.data.uID, 0u);
    EXPECT_EQ(add.data.uFlags, NotifyFlag::Message | NotifyFlag::Icon | NotifyFlag::Tip);
    EXPECT_EQ(add.data.uCallbackMessage, 1025u);
    EXPECT_EQ(add.data.hIcon, 0x11u);
    EXPECT_STREQ(add.data.szTip, "Surftally");
    EXPECT_EQ(tray.Hint(), "");
    // The own icon is a copy, not the application's object.
    EXPECT_NE(&tray.Icon(), &app.Icon());
    EXPECT_EQ(tray.Icon().Handle(), 0x11u);
    EXPECT_TRUE(app.onMinimize && app.onRestore);
}

TEST(TrayIconConstruction, ShellGivesTheRecordSizeAndAnEmptyTitleLeavesNoTip) {
    FakeTrayShell shell;
    shell.recordSize = 152;
    FakeTrayApplication app;
    app.title.clear();
    TTrayIcon tray(shell, app);
    EXPECT_EQ(shell.requests[0].data.cbSize, 152u);
    EXPECT_EQ(shell.requests[0].data.uFlags, NotifyFlag::Message | NotifyFlag::Icon);
}

TEST(TrayIconConstruction, FailedAddRaisesAndLeavesNothingBehind) {
    FakeTrayShell shell;
    shell.failAdd = true;
    FakeTrayApplication app;
    try {
        TTrayIcon tray(shell, app);
        FAIL() << "construction succeeded";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Cannot create shell notification icon");
    }
    EXPECT_EQ(shell.allocatedWindows(), 0u);
    EXPECT_EQ(shell.released.size(), 1u);
    EXPECT_FALSE(app.onMinimize);
    EXPECT_FALSE(app.onRestore);
}

TEST_F(TrayIconTest, HintComparesExactlyWithTheStoredHint) {
    tray->setHint("");  // the tip holds the title, but the stored hint is empty
    EXPECT_TRUE(shell.requests.empty());
    EXPECT_EQ(tip(), "Surftally");

    tray->setHint(" Off - Line ");
    tray->setHint(" Off - Line ");
    ASSERT_EQ(shell.requests.size(), 1u);
    tray->setHint(" off - line ");
    ASSERT_EQ(shell.requests.size(), 2u);
    EXPECT_EQ(shell.requests[1].message, NotifyRequest::Modify);
    EXPECT_STREQ(shell.requests[1].data.szTip, " off - line ");
    EXPECT_EQ(shell.requests[1].data.uFlags,
              NotifyFlag::Message | NotifyFlag::Icon | NotifyFlag::Tip);
}

TEST_F(TrayIconTest, LongHintIsCutInTheTipButKeptWhole) {
    const std::string hint(100, 'x');
    tray->setHint(hint);
    EXPECT_EQ(tray->Hint(), hint);
    EXPECT_EQ(tip(), std::string(63, 'x'));
    EXPECT_EQ(shell.requests.back().data.szTip[63], '\0');
    // A different text behind the cut is still a change.
    tray->setHint(hint + "y");
    EXPECT_EQ(shell.count(NotifyRequest::Modify), 2u);
}

TEST_F(TrayIconTest, EmptyHintAfterATextEmptiesTheTipAndDropsTheTipFlag) {
    tray->setHint(" Available Time: 012:34:56 ");
    tray->setHint("");
    ASSERT_EQ(shell.requests.size(), 2u);
    const auto& sent = shell.requests[1].data;
    EXPECT_EQ(sent.uFlags, NotifyFlag::Message | NotifyFlag::Icon);
    const char zeros[64] = {};
    EXPECT_EQ(std::memcmp(sent.szTip, zeros, sizeof zeros), 0);
}

TEST_F(TrayIconTest, IconIsTestedByObjectIdentity) {
    tray->setIcon(tray->Icon());
    EXPECT_TRUE(shell.requests.empty());

    const TIcon lan = fakeIcon(0x22);
    tray->setIcon(lan);
    tray->setIcon(lan);  // same picture, another object than the own icon: sent again
    ASSERT_EQ(shell.requests.size(), 2u);
    EXPECT_EQ(shell.requests[1].data.hIcon, 0x22u);
    EXPECT_EQ(tray->Icon().Handle(), 0x22u);
    EXPECT_NE(&tray->Icon(), &lan);
}

TEST_F(TrayIconTest, LeftDoubleClickGivesOneClick) {
    for (auto m : {TrayEvent::LeftButtonDown, TrayEvent::LeftButtonUp,
                   TrayEvent::LeftButtonDoubleClick, TrayEvent::LeftButtonUp}) {
        mouse(m);
    }
    EXPECT_EQ(events, (std::vector<std::string>{"Down0", "Click", "Up0", "DblClick", "Up0"}));
}

TEST_F(TrayIconTest, OnlyALeftPressFollowedByItsReleaseClicks) {
    mouse(TrayEvent::LeftButtonUp);
    mouse(TrayEvent::RightButtonDown);
    mouse(TrayEvent::RightButtonUp);
    mouse(TrayEvent::MiddleButtonDown);
    mouse(TrayEvent::MiddleButtonUp);
    mouse(TrayEvent::RightButtonDoubleClick);
    mouse(TrayEvent::MiddleButtonDoubleClick);
    mouse(0x20A);  // a wheel message: not in the table
    EXPECT_EQ(events, (std::vector<std::string>{"Up0", "Down1", "Up1", "Down2", "Up2", "DblClick",
                                                "DblClick"}));
}

TEST_F(TrayIconTest, KeysAndPointerAreReadOnceBeforeTheHandlers) {
    shell.shiftDown = true;
    shell.altDown = true;
    mouse(TrayEvent::MouseMove);
    EXPECT_EQ(lastShift, ssShift | ssAlt);
    EXPECT_EQ(lastPoint.X, 640);
    EXPECT_EQ(lastPoint.Y, 1010);

    shell.shiftDown = shell.altDown = false;
    shell.controlDown = true;
    mouse(TrayEvent::MiddleButtonDown);
    EXPECT_EQ(lastShift, ssCtrl | ssMiddle);

    // The click handler moves the pointer; the release still carries the earlier position.
    mouse(TrayEvent::LeftButtonDown);
    tray->OnClick = [this](TTrayIcon*) { shell.cursor = {1, 2}; };
    mouse(TrayEvent::LeftButtonUp);
    EXPECT_EQ(lastShift, ssCtrl | ssLeft);
    EXPECT_EQ(lastPoint.X, 640);
}

TEST_F(TrayIconTest, MenuPopsUpOnlyWhileTheApplicationWindowIsHidden) {
    RecordingMenu menu;
    tray->setPopupMenu(&menu);
    mouse(TrayEvent::RightButtonDown);
    EXPECT_TRUE(menu.popups.empty());

    app.windowVisible = false;
    tray->OnMouseDown = [this](TTrayIcon*, TMouseButton, TShiftState, int, int) {
        events.push_back("Down");
        shell.cursor = {5, 6};  // the menu reads the pointer anew
    };
    mouse(TrayEvent::RightButtonDown);
    ASSERT_EQ(menu.popups.size(), 1u);
    EXPECT_EQ(menu.popups[0].X, 5);
    EXPECT_EQ(menu.popups[0].Y, 6);
    EXPECT_EQ(events.back(), "Down");
}

TEST_F(TrayIconTest, SessionEndMessages) {
    TrayMessage query{TrayEvent::QueryEndSession, 0, 0, 0};
    shell.send(window, query);
    EXPECT_EQ(query.Result, 1);

    TrayMessage cancelled{TrayEvent::EndSession, 0, 0, 0};
    shell.send(window, cancelled);
    EXPECT_TRUE(shell.requests.empty());

    TrayMessage ending{TrayEvent::EndSession, 1, 0, 0};
    shell.send(window, ending);
    ASSERT_EQ(shell.requests.size(), 1u);
    EXPECT_EQ(shell.requests[0].message, NotifyRequest::Delete);

    // Later changes still send modify requests; destruction removes once more.
    shell.failDelete = true;
    tray->setHint("after");
    tray.reset();
    EXPECT_EQ(shell.count(NotifyRequest::Modify), 1u);
    EXPECT_EQ(shell.count(NotifyRequest::Delete), 2u);

    TrayMessage other{0x10, 0, 0, 0};
    EXPECT_FALSE(shell.send(window, other));
}

TEST_F(TrayIconTest, MinimiseAndRestoreHideAndShowTheWindowThenTellTheProgram) {
    app.minimize();
    app.restore();
    EXPECT_EQ(app.showCalls, (std::vector<bool>{false, true}));
}

TEST_F(TrayIconTest, NothingReachesADestroyedIcon) {
    auto menu = std::make_unique<RecordingMenu>();
    tray->setPopupMenu(menu.get());
    menu.reset();
    EXPECT_EQ(tray->PopupMenu(), nullptr);
    app.windowVisible = false;
    mouse(TrayEvent::RightButtonDown);  // no menu left to call

    RecordingMenu keptMenu;
    tray->setPopupMenu(&keptMenu);
    tray.reset();
    EXPECT_FALSE(shell.isAllocated(window));
    EXPECT_FALSE(app.onMinimize);
    EXPECT_FALSE(app.onRestore);
    EXPECT_EQ(shell.requests.back().message, NotifyRequest::Delete);
    // keptMenu's destructor must not reach the gone icon (ASan watches this).
}

TEST(TrayIconDestruction, RemovesTheIconWhileItsWindowExists) {
    // Each request, with whether the window it names was still there.
    struct WatchingShell : FakeTrayShell {
        bool NotifyIcon(NotifyRequest request, const NotifyIconData& data) override {
            windowAlive.push_back(isAllocated(data.hWnd));
            return FakeTrayShell::NotifyIcon(request, data);
        }
        std::vector<bool> windowAlive;
    };
    WatchingShell shell;
    FakeTrayApplication app;
    std::make_unique<TTrayIcon>(shell, app).reset();
    ASSERT_EQ(shell.requests.size(), 2u);
    EXPECT_EQ(shell.requests[1].message, NotifyRequest::Delete);
    EXPECT_TRUE(shell.windowAlive[1]) << "the removal names a destroyed window";
    EXPECT_EQ(shell.allocatedWindows(), 0u);
}

TEST_F(TrayIconTest, HandlerThatDestroysTheIconEndsTheDispatch) {
    tray->OnClick = [this](TTrayIcon*) {
        events.push_back("Click");
        tray.reset();
    };
    tray->OnMinimize = [this](TTrayIcon*) { events.push_back("Minimize"); };
    mouse(TrayEvent::LeftButtonDown);
    mouse(TrayEvent::LeftButtonUp);
    EXPECT_EQ(events, (std::vector<std::string>{"Down0", "Click"}));
    EXPECT_FALSE(shell.sendMouse(window, TrayEvent::LeftButtonUp));
}

}  // namespace
}  // namespace surftally
