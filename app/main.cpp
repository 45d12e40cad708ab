// quantix96: the splash, then the main window for the rest of the run.

#include "ui/about/aboutbox.h"
#include "ui/main/mainwindow.h"
#include "quantixversion.h"
#include "ui/common/uisupport.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quantix96"));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(quantix::version::applicationId));
    quantix::installFontSubstitutes();

    auto *splash = new quantix::AboutBox;
    splash->ShowAbout(1);

    quantix::MainWindow window;
    window.show();
    window.activateWindow();
    splash->close();
    delete splash;
    return app.exec();
}
