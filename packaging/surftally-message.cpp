// surftally-message TEXT: shows why the launcher could not start Surftally in a message box,
// since the launcher is started from a menu or at log-in where nobody reads standard error.
// It uses the Qt the program itself needs, so it is there wherever the program is.
#include <QApplication>
#include <QMessageBox>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Surftally"),
                    QApplication::arguments().value(1));
    box.exec();
    return 0;
}
