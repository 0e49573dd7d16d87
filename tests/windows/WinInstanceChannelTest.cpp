#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "TempFolder.h"
#include "WinInstanceChannel.h"

using namespace surftally;

namespace {

// Asks from another thread, as a second program would, while this thread runs its loop.
bool askFromElsewhere(const WinInstanceChannel& channel) {
    std::atomic<bool> done{false};
    bool answered = false;
    std::thread second([&] {
        answered = channel.ask(3000);
        done = true;
    });
    while (!done) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&msg);
        }
    }
    second.join();
    return answered;
}

}  // namespace

TEST(WinInstanceChannel, SecondStartOnTheSameFolderReachesTheRunningProgram) {
    TempFolder folder;
    TempFolder other;
    int requests = 0;
    {
        WinInstanceChannel running(folder.path());
        ASSERT_TRUE(running.listen([&] { ++requests; }));

        // The same folder written another way: other case, a trailing separator.
        std::wstring same = folder.path().wstring() + L"\\";
        for (wchar_t& c : same) {
            c = static_cast<wchar_t>(::towupper(c));
        }
        EXPECT_TRUE(askFromElsewhere(WinInstanceChannel(same)));
        EXPECT_EQ(requests, 1);
        EXPECT_FALSE(askFromElsewhere(WinInstanceChannel(other.path())));
        EXPECT_EQ(requests, 1);
    }
    // The program has ended: nobody answers.
    EXPECT_FALSE(askFromElsewhere(WinInstanceChannel(folder.path())));
}
