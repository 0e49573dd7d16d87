#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QTimer>

#include <functional>
#include <vector>

#include "platform/qt/QtMessageWindows.h"
#include "platform/qt/QtPointerKeys.h"
#include "platform/qt/QtPointerMoves.h"

namespace surftally {
namespace {

// Runs the loop until `done` holds or `ms` passed; whether it holds.
bool runUntil(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

// Moves counted by who sent them: an update's call, or the timer on its own.
struct MoveCount {
    int withUpdate = 0;
    int alone = 0;
    bool inUpdate = false;
    int total() const { return withUpdate + alone; }
    void sent() { ++(inUpdate ? withUpdate : alone); }
    void update(QtPointerMoves& moves) {
        inUpdate = true;
        moves.updated();
        inUpdate = false;
    }
};

// Updates the moves every `ms` from `updates`, a precise timer as the program's tick is.
void updateEvery(QTimer& updates, MoveCount& count, QtPointerMoves& moves, int ms) {
    updates.setTimerType(Qt::PreciseTimer);
    QObject::connect(&updates, &QTimer::timeout, [&count, &moves] { count.update(moves); });
    updates.start(ms);
}

TEST(QtPointerMovesTest, InactiveSendsNothingAndActiveKeepsSendingWithoutUpdates) {
    int sent = 0;
    QtPointerMoves moves(50, [&sent] { ++sent; });
    moves.updated();
    runUntil([] { return false; }, 250);
    EXPECT_EQ(sent, 0);

    moves.setActive(true);
    EXPECT_TRUE(runUntil([&sent] { return sent >= 3; }));
    moves.setActive(false);
    const int stopped = sent;
    runUntil([] { return false; }, 250);
    EXPECT_EQ(sent, stopped);
}

TEST(QtPointerMovesTest, UpdatesEveryIntervalCarryTheMovesSoTheTimerNeverWakesAlone) {
    MoveCount count;
    QtPointerMoves moves(200, [&count] { count.sent(); });
    moves.setActive(true);
    count.update(moves);  // too early to carry one
    EXPECT_EQ(count.total(), 0);
    QTimer updates;
    updateEvery(updates, count, moves, 150);
    EXPECT_TRUE(runUntil([&count] { return count.total() >= 5; }));
    EXPECT_EQ(count.alone, 0);
    EXPECT_GE(count.withUpdate, 5);
}

TEST(QtPointerMovesTest, UpdatesThatComeALittleLateStillCarryEveryMove) {
    // The program's once-an-interval update comes late on a busy machine, and a coarse timer
    // may fire a little early: the moves' own timer must still leave every move to the update.
    MoveCount count;
    QtPointerMoves moves(300, [&count] { count.sent(); });
    moves.setActive(true);
    count.update(moves);
    QTimer updates;
    updateEvery(updates, count, moves, 330);
    EXPECT_TRUE(runUntil([&count] { return count.total() >= 6; }));
    EXPECT_EQ(count.alone, 0);
}

TEST(QtPointerMovesTest, FrequentUpdatesNeitherHoldTheMovesBackNorDoubleThem) {
    MoveCount count;
    QtPointerMoves moves(400, [&count] { count.sent(); });
    moves.setActive(true);
    // The first move, from the timer.
    ASSERT_TRUE(runUntil([&count] { return count.total() == 1; }));
    // An update right after a move sends none.
    count.update(moves);
    EXPECT_EQ(count.total(), 1);
    // Updates far more often than the interval: each would put the timer off, yet the moves
    // go on with the updates.
    QTimer updates;
    QObject::connect(&updates, &QTimer::timeout, [&] { count.update(moves); });
    updates.start(50);
    EXPECT_TRUE(runUntil([&count] { return count.withUpdate >= 3; }));
}

TEST(QtPointerSnapshotTest, OneMessageSeesOnePointerAndTheNextReadsItAnew) {
    QCursor::setPos(10, 20);
    QCoreApplication::processEvents();
    {
        const QtPointerSnapshot snapshot;
        EXPECT_EQ(QtCursorPos().X, 10);
        QCursor::setPos(30, 40);
        QCoreApplication::processEvents();
        const ScreenPoint again = QtCursorPos();
        EXPECT_EQ(again.X, 10);
        EXPECT_EQ(again.Y, 20);
        EXPECT_FALSE(QtKeyDown(VirtualKey::Shift));
    }
    const ScreenPoint after = QtCursorPos();
    EXPECT_EQ(after.X, 30);
    EXPECT_EQ(after.Y, 40);
}

// A shell's own move costs the window system no question: its handlers get the pointer last
// read. A click, which a pointer made, reads it anew.
TEST(QtPointerSnapshotTest, AShellsOwnMoveGetsThePointerLastReadAndAClickReadsItAnew) {
    QObject owner;
    QtMessageWindows windows(&owner);
    std::vector<int> seen;
    const std::uintptr_t window =
        windows.allocate([&seen](TrayMessage&) { seen.push_back(QtCursorPos().X); });
    const auto deliver = [&](std::uint32_t mouse) {
        TrayMessage message;
        message.Msg = TrayEvent::User + 1;
        message.LParam = static_cast<std::intptr_t>(mouse);
        windows.post(window, message);
        const std::size_t before = seen.size();
        EXPECT_TRUE(runUntil([&] { return seen.size() > before; }));
    };
    QCursor::setPos(50, 60);
    QCoreApplication::processEvents();
    deliver(TrayEvent::LeftButtonDown);
    QCursor::setPos(70, 80);
    QCoreApplication::processEvents();
    deliver(TrayEvent::MouseMove);
    deliver(TrayEvent::LeftButtonUp);
    deliver(TrayEvent::MouseMove);
    EXPECT_EQ(seen, (std::vector<int>{50, 50, 70, 70}));
}

}  // namespace
}  // namespace surftally
