// The yardstick for the whole-process figures: a bare Qt window of the strip's size and kind
// (borderless, on top, no taskbar entry) showing the clock, updated once a second as the
// strip's clock view is, and nothing else.
#include <QApplication>
#include <QLabel>
#include <QTime>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel window(QTime::currentTime().toString(QStringLiteral("hh:mm:ss")), nullptr,
                  Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window.setWindowTitle(QStringLiteral("Bare"));
    window.setAlignment(Qt::AlignCenter);
    window.setFixedSize(120, 25);
    window.move(0, 0);
    QTimer clock;
    clock.setTimerType(Qt::PreciseTimer);
    QObject::connect(&clock, &QTimer::timeout, &window, [&window] {
        window.setText(QTime::currentTime().toString(QStringLiteral("hh:mm:ss")));
    });
    clock.start(1000);
    window.show();
    return QApplication::exec();
}
