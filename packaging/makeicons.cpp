// quantix96-makeicons: writes the program's icon at the sizes of the hicolor
// theme, as OUTPUT/<size>x<size>/apps/<name>.png. The icon is pixel art, so
// it is enlarged by whole factors without smoothing and only then smoothed
// down to a size that is no multiple of it.
// Usage: quantix96-makeicons SOURCE.png OUTPUT NAME SIZE...

#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>

namespace {

QImage scaledIcon(const QImage &source, int size)
{
    const int factor = (size + source.width() - 1) / source.width();
    const QImage enlarged = source.scaled(source.size() * factor, Qt::KeepAspectRatio, Qt::FastTransformation);
    if (enlarged.width() == size)
        return enlarged;
    return enlarged.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

int fail(const QString &message)
{
    std::fprintf(stderr, "quantix96-makeicons: %s\n", qPrintable(message));
    return 1;
}

}

int main(int argc, char *argv[])
{
    if (argc < 5)
        return fail(QStringLiteral("usage: quantix96-makeicons SOURCE.png OUTPUT NAME SIZE..."));
    const QString sourcePath = QString::fromLocal8Bit(argv[1]);
    const QImage source(sourcePath);
    if (source.isNull() || source.width() != source.height())
        return fail(QStringLiteral("%1 is not a square image").arg(sourcePath));
    const QDir output(QString::fromLocal8Bit(argv[2]));
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLatin1(argv[i]).toInt(&ok);
        if (!ok || size < 1 || size > 1024)
            return fail(QStringLiteral("bad size \"%1\"").arg(QString::fromLocal8Bit(argv[i])));
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        const QString path = output.filePath(folder + u'/' + name + QLatin1String(".png"));
        if (!output.mkpath(folder) || !scaledIcon(source.convertToFormat(QImage::Format_ARGB32), size).save(path, "PNG"))
            return fail(QStringLiteral("cannot write %1").arg(path));
    }
    return 0;
}
