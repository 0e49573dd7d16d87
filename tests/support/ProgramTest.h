#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "accounting/Globals.h"
#include "app/Program.h"
#include "forms/TApplication.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeConnectionFlags.h"
#include "tests/support/FakeTrayApplication.h"
#include "tests/support/FakeTrayShell.h"
#include "tests/support/TempFolder.h"

namespace surftally {

// A first start: no connection seen yet, English, and a data folder with the defaults and the
// icon files.
inline void FreshStart(const TempFolder& data) {
    ConnectionText.clear();
    Serbian = false;
    data.seedDefaults();
    for (const char* icon : {"Off-Line.ico", "LAN.ico", "MODEM.ico"}) {
        data.put(icon, "icon");
    }
}

// The program's windows as the program builds them, on the test's toolkit, over a data folder
// with the defaults and the icon files, a fake clock, fake connection flags and a fake
// notification area and application. A test writes the files it wants, then builds.
template <class Kit>
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override { FreshStart(data); }

    void TearDown() override {
        history.reset();
        form4.reset();
        form2.reset();
        form1.reset();
        Serbian = false;
    }

    // notificationArea: whether the desktop has one now; empty where it always has.
    void buildProgram(std::function<bool()> notificationArea = {}) {
        program.build(DataFolder(data.path()),
                      {clock, flags, shell, application,
                       [this](const std::filesystem::path& file) { application.load(file); },
                       std::move(notificationArea)});
    }

    TempFolder data;
    FakeClock clock;
    FakeConnectionFlags flags;
    FakeTrayShell shell;
    FakeTrayApplication application;
    Kit toolkit;
    TApplication app{toolkit};
    Program program{app};
    std::unique_ptr<TForm1>& form1 = program.form1;
    std::unique_ptr<TForm2>& form2 = program.form2;
    std::unique_ptr<TForm4>& form4 = program.form4;
    std::unique_ptr<THistoryForm>& history = program.history;
};

}  // namespace surftally
