#include <QApplication>

#include "DataFolder.h"
#include "SystemClock.h"
#include "TForm1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Surftally"));

    surftally::SystemClock clock;
    surftally::TForm1 form1(surftally::DataFolder::standard(), clock);
    form1.show();
    return QApplication::exec();
}
