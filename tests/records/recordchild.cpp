// Writes journal lines to a records folder as fast as it can until it is killed: the test of
// an abrupt end kills it in the middle of its work.
#include "records/recordwriter.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    RecordWriter writer(QString::fromLocal8Bit(argv[1]));
    writer.setPupil(QStringLiteral("Léa"));
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    for (int number = 1;; ++number) {
        writer.lineAdded(number, now, QStringLiteral("Le chat; \"dort\" %1").arg(number),
                         QStringLiteral("00:00:01"), number % 3 == 0);
        if (number == 100) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}
