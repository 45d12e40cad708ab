// quantix96-recordsbench: the records window at 1,000, 10,000 and 100,000
// records: how long it takes to open (load and show its text on screen), how
// long one more record takes to show in the open window, and the peak
// resident memory of the process so far. scripts/bench.sh runs it on the
// offscreen platform.

#include "records/conversionrecords.h"
#include "rules/options.h"
#include "settings/settingsstore.h"
#include "ui/records/recordswindow.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

using namespace quantix;

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double cpuMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto milliseconds = [](const timeval &time) { return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3; };
    return milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;  // kilobytes on Linux
}

void record(ConversionRecords &records)
{
    const int number = records.count() + 1;
    records.append({QStringLiteral("Length"), QStringLiteral("mile (US statute)"), QStringLiteral("kilometre (km)"),
                    QString::number(number), QString::number(number * 1.609344, 'f', 3)});
}

}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    Options options;
    ConversionRecords records;
    constexpr int adds = 200;

    std::printf("Records window (%d adds into the open window at each size)\n", adds);
    std::printf("  %9s  %10s  %12s  %14s  %14s  %12s\n", "records", "opening", "of it CPU", "add, mean", "add, slowest", "peak memory");
    double slowest = 0;
    double opening = 0;
    for (const int count : {1'000, 10'000, 100'000}) {
        while (records.count() < count)
            record(records);
        const double cpuBefore = cpuMilliseconds();
        auto start = Clock::now();
        auto *window = new RecordsWindow(records, options);
        window->show();
        QCoreApplication::processEvents();
        const double opened = millisecondsSince(start);
        const double openedCpu = cpuMilliseconds() - cpuBefore;
        opening = std::max(opening, opened);

        // Each add as a person makes it: one event-loop turn, with its paint.
        double total = 0;
        double worst = 0;
        for (int i = 0; i < adds; ++i) {
            start = Clock::now();
            record(records);
            QCoreApplication::processEvents();
            const double took = millisecondsSince(start);
            total += took;
            worst = std::max(worst, took);
        }
        slowest = std::max(slowest, total / adds);
        delete window;
        std::printf("  %9d  %7.1f ms  %9.1f ms  %11.3f ms  %11.3f ms  %9.1f MB\n", count, opened, openedCpu, total / adds, worst,
                    peakMegabytes());
    }
    std::printf("  targets: an add at most 1 ms %s, opening under 500 ms %s\n", slowest <= 1 ? "met" : "MISSED",
                opening < 500 ? "met" : "MISSED");
    return 0;
}
