#pragma once

// What the records tests share: answers to the common dialogs, a record of
// the message boxes shown, and the external readers of RTF and PDF files.

#include "commondialogs.h"
#include "messages.h"

#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>

#include <csignal>
#include <ctime>
#include <sys/resource.h>

namespace quantix::testing {

// Save dialogs answer from a queue (an empty name cancels); the print
// dialog sends the job to a PDF file unless told to cancel.
class FakeDialogs : public CommonDialogs
{
public:
    QStringList saveAnswers;
    int saveCalls = 0;
    QString saveTitle;
    QString saveFilter;
    QString pdfFile;  // empty: the print dialog is cancelled
    int printCalls = 0;

    std::optional<QString> openProgramFile(QWidget *, const QString &, const QString &) override { return std::nullopt; }
    std::optional<ChosenFont> font(QWidget *, const ChosenFont &) override { return std::nullopt; }

    std::optional<QString> saveFileName(QWidget *, const QString &title, const QString &filter) override
    {
        ++saveCalls;
        saveTitle = title;
        saveFilter = filter;
        const QString answer = saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
        return answer.isEmpty() ? std::nullopt : std::optional<QString>(answer);
    }

    bool print(QWidget *, QPrinter &printer) override
    {
        ++printCalls;
        if (pdfFile.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfFile);
        return true;
    }

    // Installs a fresh instance and returns it; the dialogs own it.
    static FakeDialogs *install()
    {
        auto dialogs = std::make_unique<FakeDialogs>();
        FakeDialogs *raw = dialogs.get();
        CommonDialogs::setInstance(std::move(dialogs));
        return raw;
    }
};

// Every message box is recorded and answered with `answer`.
struct MessageLog
{
    QList<MessageSpec> shown;
    QMessageBox::StandardButton answer = QMessageBox::Ok;

    void install()
    {
        Messages::setHandler([this](QWidget *, const MessageSpec &message) {
            shown << message;
            return answer;
        });
    }
};

// While it lives, files of this process cannot grow beyond `bytes`: a disk
// that fills up half-way through a save, even for root.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_old{};
    void (*m_handler)(int) = nullptr;
};

// The header's long time carries the zone's abbreviation: fix the zone.
inline void useUtc()
{
    qputenv("TZ", "UTC");
    tzset();
}

// Runs one of the independent readers the tests check files with; an empty
// result fails the calling test.
inline QByteArray runReader(const QString &program, const QStringList &arguments)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty()) {
        qWarning("%s is missing: install the test packages (scripts/test.sh installs unrtf and poppler-utils)", qPrintable(program));
        return {};
    }
    QProcess process;
    process.start(path, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

}
