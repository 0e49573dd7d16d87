#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <string>

#include "tests/support/MountNamespace.h"

// The runner under the namespace tests: a setup that fails must skip the test, and a body
// that fails or crashes must fail it, whatever it handed back.
TEST(ChildProcess, SetupThatFailsGivesNothingAndRunsNoBody) {
    const auto run = InChildProcess([] { return false; },
                                    [](std::string&) {
                                        std::abort();
                                        return 0;
                                    });
    EXPECT_FALSE(run.has_value());
}

TEST(ChildProcess, BodysExitCodeAndWholeTextComeBack) {
    // More than a pipe holds at once: the text must arrive whole.
    const std::string text(200'000, 'x');
    const auto run = InChildProcess([] { return true; },
                                    [&](std::string& output) {
                                        output = text + "end";
                                        return 3;
                                    });
    ASSERT_TRUE(run.has_value());
    EXPECT_EQ(run->exitCode, 3);
    EXPECT_EQ(run->output.size(), text.size() + 3);
    EXPECT_EQ(run->output.substr(text.size()), "end");
}

TEST(ChildProcess, BodyThatCrashesCountsAsRunAndFailed) {
    const auto run = InChildProcess([] { return true; },
                                    [](std::string&) {
                                        std::raise(SIGKILL);
                                        return 0;
                                    });
    ASSERT_TRUE(run.has_value());
    EXPECT_EQ(run->exitCode, 128 + SIGKILL);
}
