// The settings dialog's OK and the tick of the real windows over a data folder on a disk of
// its own (a small tmpfs in a mount namespace), filled up or made read-only.
#ifdef __linux__

#include <sys/mount.h>

#include <cerrno>
#include <cstdio>
#include <fstream>

#include "tests/forms/FormsFixture.h"
#include "tests/support/MountNamespace.h"

namespace formstest {
namespace {

class HardeningSettingsDisk : public FormsTest {
protected:
    // Runs in the child process, on the fresh tmpfs.
    int okOverFullOrReadOnlyDisk(bool readOnly) {
        data.seedDefaults();
        for (const char* icon : {"Off-Line.ico", "LAN.ico", "MODEM.ico"}) {
            data.put(icon, "icon");
        }
        build();
        flags.setOnline(ConnectionFlags::kLan);
        form2->Show();
        form2->Edit->setText("001:02:03");
        form2->Alarm->setValue(9);
        const std::string error = "I/O error " + std::to_string(readOnly ? EROFS : ENOSPC);
        // The balance edit has stored the balance already; OK has the rest to store.
        const std::string remainBefore = data.get("remain.dat");
        if (readOnly) {
            if (!RemountReadOnly(data.path())) {
                return fail(1, "remount read-only");
            }
        } else {
            std::ofstream filler(data.path() / "filler", std::ios::binary);
            const std::string block(4096, 'x');
            while (filler.write(block.data(), block.size())) {
            }
        }
        form2->Button1->userClick();
        if (shownError() != error) {
            return fail(2, "OK showed '" + shownError() + "'");
        }
        if (!form2->Visible()) {
            return fail(3, "the dialog closed although nothing was stored");
        }
        if (data.get("remain.dat") != remainBefore || data.get("alarm.dat") != "2\r\n") {
            return fail(4, "a file changed: " + data.get("remain.dat") + data.get("alarm.dat"));
        }
        closeError();

        // The balance the user set counts on in memory while nothing can be stored.
        tick(65);
        if (form1->state().ShownText != "001:00:58") {
            return fail(5, "the display shows " + form1->state().ShownText);
        }
        if (data.get("remain.dat") != remainBefore) {
            return fail(6, "remain.dat changed on a full disk");
        }

        if (readOnly) {
            if (::mount("none", data.path().c_str(), nullptr, MS_REMOUNT, nullptr) != 0) {
                return fail(7, "remount");
            }
        } else {
            std::filesystem::remove(data.path() / "filler");
        }
        // The history's minute write failed too, and waits behind the balance's report.
        bool historyReported = false;
        for (int i = 0; i < 5 && !shownError().empty(); ++i) {
            historyReported = historyReported || shownError() == "history.dat: " + error;
            closeError();
        }
        if (!historyReported) {
            return fail(10, "the history's failed write was not reported");
        }
        form2->Button1->userClick();
        if (!shownError().empty() || form2->Visible()) {
            return fail(8, "OK with room failed: " + shownError());
        }
        // The balance field was set, not typed: OK stores the balance counted meanwhile.
        if (data.get("remain.dat") != "001:00:58\r\n" || data.get("alarm.dat") != "9\r\n") {
            return fail(9, "OK with room stored " + data.get("remain.dat"));
        }
        return 0;
    }

    static int fail(int code, const std::string& what) {
        std::fprintf(stderr, "check %d failed: %s\n", code, what.c_str());
        return code;
    }
};

TEST_F(HardeningSettingsDisk, OkOnAFullDiskReportsKeepsTheFilesAndSucceedsOnceThereIsRoom) {
    const auto code = InTmpfs(data.path(), "256k", [&] { return okOverFullOrReadOnlyDisk(false); });
    if (!code) {
        GTEST_SKIP() << "mount namespaces are not permitted here; full-disk case not run";
    }
    EXPECT_EQ(*code, 0);
}

TEST_F(HardeningSettingsDisk, OkOnAReadOnlyDiskReportsKeepsTheFilesAndSucceedsOnceWritable) {
    const auto code = InTmpfs(data.path(), "256k", [&] { return okOverFullOrReadOnlyDisk(true); });
    if (!code) {
        GTEST_SKIP() << "mount namespaces are not permitted here; read-only case not run";
    }
    EXPECT_EQ(*code, 0);
}

}  // namespace
}  // namespace formstest

#endif  // __linux__
