// Writes pictures of the display strip in every state, of the status strip and of the
// settings, help and history windows into a folder. The windows are the program's own, driven
// through their states with a set clock and set connection flags on the offscreen platform. Usage:
// surftally_screenshots OUTPUT_FOLDER

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "accounting/Globals.h"
#include "accounting/History.h"
#include "app/Program.h"
#include "forms/TApplication.h"
#include "platform/qt/QtTrayApplication.h"
#include "platform/qt/XEmbedTrayShell.h"
#include "store/DataFolder.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeConnectionFlags.h"
#include "ui/qt/Control.h"
#include "ui/qt/Toolkit.h"

using namespace surftally;
using namespace std::chrono_literals;

namespace {

void put(const QString& folder, const char* name, const std::string& content) {
    std::ofstream(std::filesystem::path(folder.toStdString()) / name, std::ios::binary) << content;
}

// A month of evenings on-line before the clock's today, 9 December 2026: some days at the
// economic period's half price, one frozen, some without a spell.
std::string monthOfSpells() {
    std::string lines;
    const std::chrono::local_days today{std::chrono::year{2026} / 12 / 9};
    for (int back = 29; back >= 0; --back) {
        if (back % 6 == 5) {
            continue;
        }
        const int online = 60 * (20 + (37 * back + 11) % 150);
        const int charged = back == 10 ? 0 : back % 4 == 1 ? online / 2 : online;
        Spell spell;
        spell.start = std::chrono::local_seconds{today - std::chrono::days{back}} + 19h;
        spell.end = spell.start + std::chrono::seconds{online};
        spell.connection = back % 3 == 0 ? "Modem" : "LAN Internet";
        spell.charged = charged;
        spell.online = online;
        lines += FormatSpell(spell) + "\r\n";
    }
    return lines;
}

class Shots {
public:
    Shots(const QString& source, const QString& output, bool serbian) : output_(output) {
        QDir().mkpath(output);
        for (const QString& name : QDir(source).entryList({"*.dat", "*.ico"}, QDir::Files)) {
            QFile::copy(source + "/" + name, data_.filePath(name));
        }
        put(data_.path(), "remain.dat", "013:26:09\r\n");
        put(data_.path(), "alarm.dat", "2\r\n");
        put(data_.path(), "status.dat", "Off\r\n");
        put(data_.path(), "hide.dat", "Off\r\n");
        put(data_.path(), "freeze.dat", "Off\r\n");
        put(data_.path(), "position.dat", "0\r\n0\r\n");
        put(data_.path(), "history.dat", monthOfSpells());
        if (serbian) {
            put(data_.path(), "srpski.dat", "");
        }
        clock_.setTimeOfDay(21h + 13min + 56s);
        program_.build(
            DataFolder(data_.path().toStdString()),
            {clock_,
             flags_,
             shell_,
             application_,
             [this](const std::filesystem::path& f) { application_.loadIcon(f.string()); },
             {}});
        form1_->Timer1->setEnabled(false);
        form1_->Timer2->setEnabled(false);
        form1_->Show();
    }

    void tick() {
        clock_.advance(1s);
        form1_->Timer1Timer();
    }

    void hover() { form1_->Display->userMouseMove(); }
    void leave() { form1_->Display->userMouseLeave(); }

    void save(const TForm& form, const char* name) {
        QWidget& widget = *dynamic_cast<QtControl*>(form.Peer())->widget();
        QApplication::processEvents();
        const QString file = output_ + "/" + name;
        if (!widget.grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            failed_ = true;
            return;
        }
        std::printf("%s\n", qPrintable(file));
    }

    void run() {
        // Off-line.
        tick();
        save(*form1_, "display-clock.png");
        hover();
        save(*form1_, "display-hold.png");
        form1_->state().AlarmHours = 20;
        hover();
        save(*form1_, "display-hold-low.png");
        leave();
        form1_->state().AlarmHours = 2;

        // On-line through a LAN: 013:26:09 counts down.
        flags_.setOnline(ConnectionFlags::kLan);
        tick();
        tick();
        save(*form1_, "display-countdown.png");
        form1_->state().AlarmHours = 20;
        tick();
        tick();
        save(*form1_, "display-countdown-low.png");
        form1_->state().AlarmHours = 2;
        form2_->Freeze->setChecked(true);
        tick();
        save(*form1_, "display-frozen.png");
        form2_->Freeze->setChecked(false);

        // The status strip beneath the display.
        form2_->Status->setChecked(true);
        tick();
        save(*form1_, "status-lan.png");
        flags_.setOnline(ConnectionFlags::kModem);
        tick();
        save(*form1_, "status-modem.png");
        flags_.setOffline();
        tick();
        save(*form1_, "status-offline.png");

        form1_->DisplayClick();
        save(*form2_, "settings.png");
        form2_->userClose();
        form4_->Show();
        save(*form4_, "help.png");
        form4_->Hide();
        history_->Show();
        save(*history_, "history.png");
        history_->Hide();
        form2_->Status->setChecked(false);
        form2_->Freeze->setChecked(false);
    }

    // The windows whose texts turn Serbian: the settings dialog and the help window.
    void runSerbian() {
        tick();
        form1_->DisplayClick();
        save(*form2_, "settings-serbian.png");
        form2_->userClose();
        form4_->Show();
        save(*form4_, "help-serbian.png");
        form4_->Hide();
        history_->Show();
        save(*history_, "history-serbian.png");
    }

    bool failed() const { return failed_; }

private:
    QString output_;
    QTemporaryDir data_;
    QtToolkit toolkit_;
    TApplication app_{toolkit_};
    FakeClock clock_;
    FakeConnectionFlags flags_;
    XEmbedTrayShell shell_;
    QtTrayApplication application_;
    Program program_{app_};
    std::unique_ptr<TForm1>& form1_ = program_.form1;
    std::unique_ptr<TForm2>& form2_ = program_.form2;
    std::unique_ptr<TForm4>& form4_ = program_.form4;
    std::unique_ptr<THistoryForm>& history_ = program_.history;
    bool failed_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DEFAULT_DATA_FOLDER OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Surftally"));
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    bool failed = false;
    {
        Shots english(source, output, false);
        english.run();
        failed = english.failed();
    }
    {
        // The language is chosen at start from the marker file, as the program does.
        Shots serbian(source, output, true);
        serbian.runSerbian();
        failed = failed || serbian.failed();
    }
    Serbian = false;
    return failed ? 1 : 0;
}
