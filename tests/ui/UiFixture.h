#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <filesystem>
#include <memory>
#include <vector>

#include "ErrorReporter.h"
#include "FakeClock.h"
#include "FakeConnectionFlags.h"
#include "Globals.h"
#include "StoreErrors.h"
#include "TForm1.h"
#include "TForm2.h"
#include "TTrayIcon.h"
#include "TempFolder.h"
#include "TrayApplication.h"
#include "TrayShell.h"

namespace uitest {

using namespace surftally;

// Records what the notification icon asks of the shell; delivers callback messages.
class RecordingShell final : public TrayShell {
public:
    std::uintptr_t AllocateMessageWindow(std::function<void(TrayMessage&)> procedure) override {
        procedure_ = std::move(procedure);
        return 7;
    }
    void ReleaseMessageWindow(std::uintptr_t) override { procedure_ = nullptr; }
    bool NotifyIcon(NotifyMessage message, const NotifyIconData& data) override {
        requests.push_back(message);
        last = data;
        return !(message == NotifyMessage::NIM_ADD && refuseAdd);
    }
    ScreenPoint GetCursorPos() const override { return {}; }
    bool KeyDown(VirtualKey) const override { return false; }

    // The shell reports a mouse message over the icon.
    void mouse(std::uint32_t mouseMessage) {
        TrayMessage m{WM_USER + 1, 0, static_cast<std::intptr_t>(mouseMessage), 0};
        if (procedure_) {
            procedure_(m);
        }
    }

    std::vector<NotifyMessage> requests;
    NotifyIconData last{};
    bool refuseAdd = false;

private:
    std::function<void(TrayMessage&)> procedure_;
};

class PathImage final : public IconImage {
public:
    explicit PathImage(std::uintptr_t h) : h_(h) {}
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
    void ShowWindow(bool) override {}
    void setOnMinimize(std::function<void()>) override {}
    void setOnRestore(std::function<void()>) override {}

    void load(const std::filesystem::path& file) {
        if (!std::filesystem::exists(file)) {
            throw StoreError("Cannot open file " + file.string());
        }
        loaded.push_back(file.filename().string());
        icon_.setImage(std::make_shared<PathImage>(loaded.size()));
    }

    std::vector<std::string> loaded;

private:
    TIcon icon_;
};

// A data folder with the defaults and the icon files, the two windows built on it, a fake
// clock and fake connection flags. The timers are stopped: tests run the tick themselves.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ConnectionText.clear();
        Serbian = false;
        ErrorReporter::instance().clear();
        data.seedDefaults();
        for (const char* icon : {"Off-Line.ico", "LAN.ico", "MODEM.ico"}) {
            data.put(icon, "icon");
        }
    }

    void TearDown() override {
        form2.reset();
        form1.reset();
        ErrorReporter::instance().clear();
        Serbian = false;
    }

    void build(bool trayAvailable = true) {
        form1 = std::make_unique<TForm1>(
            DataFolder(data.path()), clock, flags, shell, application,
            [this](const std::filesystem::path& f) { application.load(f); });
        form1->setNotificationAreaCheck([this] { return tray; });
        tray = trayAvailable;
        form2 = std::make_unique<TForm2>(*form1);
        form1->Timer1->stop();
        form1->Timer2->stop();
        form1->show();
    }

    void tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            clock.advance(std::chrono::seconds(1));
            form1->Timer1Timer();
        }
    }

    QString shownError() const { return ErrorReporter::instance().shownText(); }

    TempFolder data;
    FakeClock clock;
    FakeConnectionFlags flags;
    RecordingShell shell;
    RecordingApplication application;
    bool tray = true;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm2> form2;
};

}  // namespace uitest
