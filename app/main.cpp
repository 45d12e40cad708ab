// quantix96: the splash, then the main window for the rest of the run.

#include "aboutbox.h"
#include "mainwindow.h"
#include "quantixversion.h"
#include "uisupport.h"

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
