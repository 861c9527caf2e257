// Writes journal lines to a records folder as a copy of the program on a computer would.
// With a count, it writes that many lines and ends; without, as fast as it can until it is
// killed (the test of an abrupt end kills it in the middle of its work).
#include "records/recordwriter.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>

namespace {
// A flush waits a moment at most; on a machine busy with other tests the lines may need more.
void flushAll(RecordWriter &writer)
{
    for (int tries = 0; tries < 30 && !writer.flush(); ++tries) {
    }
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString computer = QString::fromLocal8Bit(argv[2]);
    const int count = argc > 3 ? QByteArray(argv[3]).toInt() : -1;
    RecordWriter writer(QString::fromLocal8Bit(argv[1]), computer);
    writer.setPupil(QStringLiteral("Léa"));
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const QString run = computer + QStringLiteral("-run");
    for (int number = 1; count < 0 || number <= count; ++number) {
        JournalEntry entry;
        entry.number = number;
        entry.stampSecs = now;
        entry.runMs = number;
        entry.runId = run;
        entry.exercise = 1;
        entry.duration = QStringLiteral("00:00:01");
        entry.event = number % 3 == 0
                          ? JournalEvent::wrongDrop(QStringLiteral("=Le chat; \"dort\" %1").arg(number),
                                                    QStringLiteral("dort"), QStringLiteral("chat"))
                          : JournalEvent::rightDrop(QStringLiteral("=Le chat; \"dort\" %1").arg(number),
                                                    QStringLiteral("%1").arg(number));
        writer.lineAdded(entry);
        // Its own pace is the disk's, as a pupil's would be.
        if (number % 50 == 0)
            writer.flush();
        if (number == 100) {
            // Ready once its first lines are on the disk, however busy the machine is.
            flushAll(writer);
            std::puts("ready");
            std::fflush(stdout);
        }
    }
    flushAll(writer);
    return writer.waitingLines() == 0 ? 0 : 1;
}
