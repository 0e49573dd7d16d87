#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QImageWriter>
#include <QPixmapCache>
#include <QTemporaryDir>

#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>

#include "platform/qt/QtIconImage.h"
#include "platform/qt/QtTrayApplication.h"

namespace surftally {
namespace {

std::string writeIcon(const QTemporaryDir& dir, const char* name, QColor colour, int side) {
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(colour);
    const QString path = dir.filePath(QString::fromLatin1(name));
    QImageWriter writer(path, "ico");
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return path.toStdString();
}

QColor shownColour(const QtTrayApplication& application) {
    return toQIcon(application.Icon()).pixmap(32).toImage().pixelColor(0, 0);
}

// The tick loads its state's icon every second: an unchanged file must give the same picture
// again, or every load leaves a new picture and its scaled copies in Qt's pixmap cache.
TEST(HardeningIconReload, UnchangedFileGivesTheSamePictureChangedOrMissingFileIsReadAgain) {
    QTemporaryDir dir;
    const std::string modem = writeIcon(dir, "MODEM.ico", Qt::yellow, 32);
    const std::string lan = writeIcon(dir, "LAN.ico", Qt::green, 32);
    QtTrayApplication application;

    std::set<std::uintptr_t> handles;
    for (int run = 0; run < 50; ++run) {
        application.loadIcon(run % 10 < 5 ? modem : lan);
        handles.insert(application.Icon().Handle());
        (void)QApplication::windowIcon().pixmap(16);
    }
    EXPECT_EQ(handles.size(), 2u);
    application.loadIcon(modem);
    EXPECT_EQ(shownColour(application), QColor(Qt::yellow));

    // The file is replaced: the new picture is read.
    const auto before = application.Icon().Handle();
    writeIcon(dir, "MODEM.ico", Qt::red, 16);
    application.loadIcon(modem);
    EXPECT_NE(application.Icon().Handle(), before);
    EXPECT_EQ(shownColour(application), QColor(Qt::red));

    // The file is gone: the load fails as before and the icon keeps its picture.
    const auto kept = application.Icon().Handle();
    std::filesystem::remove(modem);
    try {
        application.loadIcon(modem);
        ADD_FAILURE() << "a missing icon file loaded";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + modem);
    }
    EXPECT_EQ(application.Icon().Handle(), kept);
}

}  // namespace
}  // namespace surftally
