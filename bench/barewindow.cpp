// quantix96-barewindow WIDTH HEIGHT: an empty Qt Widgets window of the given
// size and nothing else, the yardstick for how soon the main window can be
// on screen (scripts/bench.sh gives it the main window's design size).

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int width = arguments.value(1).toInt();
    const int height = arguments.value(2).toInt();
    if (width <= 0 || height <= 0) {
        qWarning("usage: quantix96-barewindow WIDTH HEIGHT");
        return 2;
    }
    QWidget window;
    window.setWindowTitle(QStringLiteral("Quantix 96"));
    window.resize(width, height);
    window.show();
    return app.exec();
}
