#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "platform/windows/WinInstanceChannel.h"
#include "tests/support/TempFolder.h"

using namespace surftally;

namespace {

// Asks from another thread, as a second program would, while this thread runs its loop.
bool askFromElsewhere(const WinInstanceChannel& channel, int timeoutMs = 3000) {
    std::atomic<bool> done{false};
    bool answered = false;
    std::thread second([&] {
        answered = channel.ask(timeoutMs);
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
        EXPECT_FALSE(askFromElsewhere(WinInstanceChannel(other.path()), 500));
        EXPECT_EQ(requests, 1);
    }
    // The program has ended: nobody answers.
    EXPECT_FALSE(askFromElsewhere(WinInstanceChannel(folder.path()), 500));
}

TEST(WinInstanceChannel, SecondStartWaitsForAProgramThatHoldsTheFolderButDoesNotListenYet) {
    TempFolder folder;
    WinInstanceChannel running(folder.path());
    int requests = 0;
    std::atomic<bool> done{false};
    bool answered = false;
    std::thread second([&] {
        answered = WinInstanceChannel(folder.path()).ask(5000);
        done = true;
    });
    // The running program is still making its windows.
    ::Sleep(300);
    ASSERT_TRUE(running.listen([&] { ++requests; }));
    const ULONGLONG bound = ::GetTickCount64() + 10000;
    while (!done && ::GetTickCount64() < bound) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&msg);
        }
    }
    second.join();
    EXPECT_TRUE(answered);
    EXPECT_EQ(requests, 1);
}

TEST(WinInstanceChannel, TheInstallersCloseRequestReachesTheProgramOfThatFolderOnly) {
    TempFolder folder;
    TempFolder other;
    int closes = 0;
    int otherCloses = 0;
    WinInstanceChannel running(folder.path());
    WinInstanceChannel elsewhere(other.path());
    ASSERT_TRUE(running.listen([] {}, [&] { ++closes; }));
    ASSERT_TRUE(elsewhere.listen([] {}, [&] { ++otherCloses; }));
    // As the installer finds it: a message-only window of the channel's class and name.
    const HWND window =
        ::FindWindowExW(HWND_MESSAGE, nullptr, WinInstanceChannel::kClass, running.name().c_str());
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(::PostMessageW(window, WinInstanceChannel::kCloseRequest, 0, 0));
    const ULONGLONG bound = ::GetTickCount64() + 5000;
    while (closes == 0 && ::GetTickCount64() < bound) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&msg);
        }
    }
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(otherCloses, 0);
}

TEST(WinInstanceChannel, TheInstallersEventClosesEveryListeningProgramWhileItExists) {
    TempFolder folder;
    TempFolder other;
    int closes = 0;
    WinInstanceChannel running(folder.path());
    WinInstanceChannel elsewhere(other.path());
    ASSERT_TRUE(running.listen([] {}, [&] { ++closes; }));
    ASSERT_TRUE(elsewhere.listen([] {}, [&] { ++closes; }));
    // As the installer signals the programs of every session.
    const HANDLE request = ::CreateEventW(nullptr, TRUE, TRUE, WinInstanceChannel::kCloseEvent);
    ASSERT_NE(request, nullptr);
    const ULONGLONG bound = ::GetTickCount64() + 10000;
    while (closes < 2 && ::GetTickCount64() < bound) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageW(&msg);
        }
    }
    ::CloseHandle(request);
    EXPECT_EQ(closes, 2);
}
