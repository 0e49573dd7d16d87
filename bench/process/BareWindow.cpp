// The yardstick for the whole-process figures: a bare Qt window of the strip's size and kind
// (borderless, on top, no taskbar entry) showing a fixed text, and nothing else.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("000:00:00"), nullptr,
                  Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window.setWindowTitle(QStringLiteral("Bare"));
    window.setAlignment(Qt::AlignCenter);
    window.setFixedSize(120, 25);
    window.move(0, 0);
    window.show();
    return QApplication::exec();
}
