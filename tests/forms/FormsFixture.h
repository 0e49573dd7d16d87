#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "FakeClock.h"
#include "FakeConnectionFlags.h"
#include "FakeToolkit.h"
#include "Globals.h"
#include "StoreErrors.h"
#include "TApplication.h"
#include "TForm1.h"
#include "TForm2.h"
#include "TForm4.h"
#include "TTrayIcon.h"
#include "TempFolder.h"
#include "TrayApplication.h"
#include "TrayShell.h"

namespace formstest {

// Records what the notification icon asks of the shell; delivers callback messages.
class RecordingShell final : public TrayShell {
public:
    std::uintptr_t AllocateMessageWindow(std::function<void(TrayMessage&)> procedure) override {
        procedure_ = std::move(procedure);
        return 7;
    }
    void ReleaseMessageWindow(std::uintptr_t) override { procedure_ = nullptr; }
    bool NotifyIcon(NotifyRequest request, const NotifyIconData& data) override {
        requests.push_back(request);
        last = data;
        return !(request == NotifyRequest::Add && refuseAdd);
    }
    ScreenPoint GetCursorPos() const override { return {}; }
    bool KeyDown(VirtualKey) const override { return false; }

    // The shell reports a mouse message over the icon.
    void mouse(std::uint32_t mouseMessage) {
        TrayMessage m{TrayEvent::User + 1, 0, static_cast<std::intptr_t>(mouseMessage), 0};
        if (procedure_) {
            procedure_(m);
        }
    }
    std::string tip() const { return last.szTip; }

    std::vector<NotifyRequest> requests;
    NotifyIconData last{};
    bool refuseAdd = false;

private:
    std::function<void(TrayMessage&)> procedure_;
};

class NumberedImage final : public IconImage {
public:
    explicit NumberedImage(std::uintptr_t h) : h_(h) {}
    std::uintptr_t handle() const override { return h_; }

private:
    std::uintptr_t h_;
};

// The application object: its icon is whatever icon file was loaded last.
class RecordingApplication final : public TrayApplication {
public:
    const TIcon& Icon() const override { return icon_; }
    std::string Title() const override { return "Surftally"; }
    bool IsWindowVisible() const override { return false; }
    void ShowWindow(bool restore) override { restored.push_back(restore); }
    void setOnMinimize(std::function<void()>) override {}
    void setOnRestore(std::function<void()>) override {}

    void load(const std::filesystem::path& file) {
        if (!std::filesystem::exists(file)) {
            throw StoreError("Cannot open file " + file.string());
        }
        loaded.push_back(file.filename().string());
        icon_.setImage(std::make_shared<NumberedImage>(loaded.size()));
    }

    std::vector<std::string> loaded;
    std::vector<bool> restored;

private:
    TIcon icon_;
};

// A data folder with the defaults and the icon files, the three windows built on it over the
// fake toolkit, a fake clock and fake connection flags. Tests run the timers themselves.
class FormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ConnectionText.clear();
        Serbian = false;
        data.seedDefaults();
        for (const char* icon : {"Off-Line.ico", "LAN.ico", "MODEM.ico"}) {
            data.put(icon, "icon");
        }
    }

    void TearDown() override {
        form4.reset();
        form2.reset();
        form1.reset();
        Serbian = false;
    }

    void build(bool trayAvailable = true) {
        tray = trayAvailable;
        form1 = std::make_unique<TForm1>(
            app, DataFolder(data.path()), clock, flags, shell, application,
            [this](const std::filesystem::path& f) { application.load(f); });
        form1->setNotificationAreaCheck([this] { return tray; });
        form2 = std::make_unique<TForm2>(app, *form1);
        form4 = std::make_unique<TForm4>(app);
        form2->setHelpWindow(form4.get());
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

    TempFolder data;
    FakeClock clock;
    FakeConnectionFlags flags;
    RecordingShell shell;
    RecordingApplication application;
    FakeToolkit toolkit;
    TApplication app{toolkit};
    bool tray = true;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm2> form2;
    std::unique_ptr<TForm4> form4;
};

}  // namespace formstest
