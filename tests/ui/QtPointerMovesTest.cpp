#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QTimer>

#include <functional>

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
    QTimer updates;
    updates.setTimerType(Qt::PreciseTimer);
    QObject::connect(&updates, &QTimer::timeout, [&] { count.update(moves); });
    moves.setActive(true);
    count.update(moves);  // too early to carry one
    EXPECT_EQ(count.total(), 0);
    updates.start(150);
    EXPECT_TRUE(runUntil([&count] { return count.total() >= 5; }));
    EXPECT_EQ(count.alone, 0);
    EXPECT_GE(count.withUpdate, 5);
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

}  // namespace
}  // namespace surftally
