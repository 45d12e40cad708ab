// quantix96: the splash, then the main window for the rest of the run.

#include "ui/about/aboutbox.h"
#include "ui/main/mainwindow.h"
#include "quantixversion.h"
#include "ui/common/uisupport.h"

#include <QApplication>
#include <QFontDatabase>
#include <QImageReader>

#include <thread>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Reading the system's fonts is most of the splash's first paint, and
    // loading the image plugins, which the main window's menu bar asks for
    // its icons, a good part of the main window's construction. Done
    // meanwhile on another core, both are ready when they are needed. Every
    // function of the font database may be called from any thread, and an
    // image reader from any one thread.
    std::thread warmUp([] {
        QFontDatabase::families();
        QImageReader::supportedImageFormats();
    });
    QCoreApplication::setApplicationName(QStringLiteral("Quantix96"));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(quantix::version::applicationId));
    quantix::installFontSubstitutes();

    auto *splash = new quantix::AboutBox;
    splash->ShowAbout(1);
    warmUp.join();

    quantix::MainWindow window;
    window.show();
    window.activateWindow();
    splash->close();
    delete splash;
    return app.exec();
}
