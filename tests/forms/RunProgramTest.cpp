// The program as both platforms run it: one program per data folder, the start-up failure,
// and the platform's events reaching the windows under the error guard.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/InstanceChannel.h"
#include "store/FolderLock.h"
#include "tests/support/FakeToolkit.h"
#include "tests/support/ProgramTest.h"

using namespace surftally;

namespace {

// A platform of fakes. Its loop runs what the test gives it, with the running program.
class FakePlatform final : public ProgramPlatform {
public:
    class Channel final : public InstanceChannel {
    public:
        explicit Channel(FakePlatform& platform) : platform_(platform) {}
        bool listen(std::function<void()> onRequest, std::function<void()> onClose) override {
            platform_.request = std::move(onRequest);
            platform_.closeRequest = std::move(onClose);
            return true;
        }
        bool ask(int) const override {
            ++platform_.asks;
            return platform_.answers;
        }

    private:
        FakePlatform& platform_;
    };

    class Session final : public PlatformSession {
    public:
        explicit Session(FakePlatform& platform) : platform_(platform) {}
        ProgramServices services() override {
            FakePlatform& p = platform_;
            return {p.clock,
                    p.flags,
                    p.shell,
                    p.application,
                    [&p](const std::filesystem::path& file) { p.application.load(file); },
                    [&p] { return p.notificationArea; }};
        }
        void onHandlerFailure(std::function<void(std::exception_ptr)> report) override {
            platform_.handlerFailure = std::move(report);
        }
        void connect(Program& program) override { platform_.program = &program; }
        int run() override {
            ++platform_.runs;
            platform_.loop(*platform_.program);
            return 0;
        }

    private:
        FakePlatform& platform_;
    };

    std::unique_ptr<InstanceChannel> channel(const DataFolder&) override {
        return std::make_unique<Channel>(*this);
    }
    void showNoAnswer(const DataFolder& folder) override { noAnswers.push_back(folder.path()); }
    std::unique_ptr<Toolkit> toolkit() override {
        auto made = std::make_unique<FakeToolkit>();
        kit = made.get();
        return made;
    }
    std::unique_ptr<PlatformSession> start(TApplication&) override {
        return std::make_unique<Session>(*this);
    }
    void showStartFailure(const std::string& text) override { startFailures.push_back(text); }

    FakeClock clock;
    FakeConnectionFlags flags;
    FakeTrayShell shell;
    FakeTrayApplication application;
    bool notificationArea = true;
    bool answers = false;
    std::function<void(Program&)> loop = [](Program&) {};

    // What the program did with the platform.
    int asks = 0;
    int runs = 0;
    std::vector<std::filesystem::path> noAnswers;
    std::vector<std::string> startFailures;
    FakeToolkit* kit = nullptr;
    Program* program = nullptr;
    std::function<void()> request;
    std::function<void()> closeRequest;
    std::function<void(std::exception_ptr)> handlerFailure;
};

class RunProgramTest : public ::testing::Test {
protected:
    void SetUp() override { FreshStart(data); }
    void TearDown() override { Serbian = false; }

    int run() { return RunProgram(platform, DataFolder(data.path())); }

    TempFolder data;
    FakePlatform platform;
};

TEST_F(RunProgramTest, SecondStartAsksTheRunningProgramAndBuildsNothing) {
    FolderLock running;
    ASSERT_EQ(running.tryAcquire(data.path()), FolderLock::Outcome::Acquired);
    platform.answers = true;
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(platform.asks, 1);
    EXPECT_TRUE(platform.noAnswers.empty());
    EXPECT_EQ(platform.kit, nullptr) << "a second start made windows";
    EXPECT_TRUE(platform.shell.requests.empty());

    // Nobody answers: the user is told, and still nothing runs.
    platform.answers = false;
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(platform.noAnswers, std::vector<std::filesystem::path>{data.path()});
    EXPECT_EQ(platform.runs, 0);
}

TEST_F(RunProgramTest, RefusedNotificationIconIsShownAndTheProgramEnds) {
    platform.shell.failAdd = true;
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(platform.startFailures,
              std::vector<std::string>{"Cannot create shell notification icon"});
    EXPECT_EQ(platform.runs, 0);
    EXPECT_EQ(platform.request, nullptr) << "a program that did not start answers second starts";
}

// Whatever fails in a handler the platform runs is shown; nothing leaves it to end the loop.
TEST_F(RunProgramTest, PlatformEventsReachTheWindowsUnderTheErrorGuard) {
    platform.loop = [this](Program& program) {
        FakeToolkit& kit = *platform.kit;
        TForm1& strip = *program.form1;
        program.form2->Hide->setChecked(true);
        ASSERT_FALSE(strip.Visible());

        // A second start brings the strip back, even where it cannot come on top.
        kit.counts["Form1"].topmostFailure = "Topmost refused";
        platform.request();
        EXPECT_TRUE(strip.Visible());
        EXPECT_FALSE(program.form2->Hide->Checked());
        EXPECT_EQ(kit.boxText, "Topmost refused");
        kit.closeBox();
        kit.counts["Form1"].topmostFailure.clear();

        // The notification area goes: a strip hidden in it comes back.
        strip.setDisplayVisible(false);
        platform.notificationArea = false;
        program.notificationAreaChanged(false);
        EXPECT_TRUE(strip.Visible());

        // A failure that left the shell's own handler.
        platform.handlerFailure(std::make_exception_ptr(std::runtime_error("I/O error 5")));
        EXPECT_EQ(kit.boxText, "I/O error 5");
        kit.closeBox();
    };
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(platform.runs, 1);
}

// The installer's close request, the end of the session, a signal: each ends as Close
// Application does, saving the counted balance, and the installer's at once.
TEST_F(RunProgramTest, RequestsToEndSaveTheCountedBalanceOnce) {
    data.put("remain.dat", "012:00:00\r\n");
    platform.loop = [this](Program& program) {
        FakeToolkit& kit = *platform.kit;
        platform.flags.setOnline(ConnectionFlags::kLan);
        for (int i = 0; i < 75; ++i) {
            platform.clock.advance(std::chrono::seconds(1));
            program.form1->Timer1->userTimer();
        }
        platform.clock.advance(std::chrono::milliseconds(1500));
        kit.boxText.clear();
        program.application().Reporter().report("File not found");  // a message on screen
        platform.closeRequest();
        EXPECT_EQ(data.get("remain.dat"), "011:58:44\r\n");
        EXPECT_FALSE(program.form1->Visible());
        EXPECT_GE(kit.quits, 1) << "the message held the program";

        data.put("remain.dat", "001:00:00\r\n");
        program.end();  // the session ends as well: nothing more
        platform.closeRequest();
        EXPECT_EQ(data.get("remain.dat"), "001:00:00\r\n");
    };
    EXPECT_EQ(run(), 0);
    // The strip's notification icon is gone with the program.
    EXPECT_EQ(platform.shell.requests.back(), NotifyRequest::Delete);
}

}  // namespace
