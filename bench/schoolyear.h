#pragma once
// The records of a school year for the benchmarks: 28 pupils, 160 school days, 3 exercises of
// 5 sentences a day each, on four computers of the class, written by the record writer itself
// into a temporary folder (into PLUMALIN_BENCH_YEAR when that is set, where the next runs find it).
#include "journal/journalevent.h"
#include "journal/journallistener.h"
#include "records/recordwriter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>
#include <vector>

struct SchoolYear {
    QTemporaryDir dir;
    QString folder = dir.filePath(QStringLiteral("Journaux"));
    qint64 lines = 0;
    qint64 bytes = 0;

    SchoolYear()
    {
        // A year kept from an earlier run, to profile the reading without the making.
        if (qEnvironmentVariableIsSet("PLUMALIN_BENCH_YEAR")) {
            folder = qEnvironmentVariable("PLUMALIN_BENCH_YEAR");
            if (QFileInfo::exists(folder)) {
                for (const QFileInfo &info : QDir(folder).entryInfoList(QDir::Files)) {
                    QFile file(info.filePath());
                    if (file.open(QIODevice::ReadOnly))
                        lines += file.readAll().count('\n') - 1;
                    bytes += info.size();
                }
                return;
            }
        }
        const QStringList sentence = {QStringLiteral("Le"), QStringLiteral("petit"), QStringLiteral("chat"),
                                      QStringLiteral("dort"), QStringLiteral("près"), QStringLiteral("du"),
                                      QStringLiteral("feu.")};
        const QString played = sentence.join(QLatin1Char(' '));
        std::vector<std::unique_ptr<RecordWriter>> computers;
        for (int c = 0; c < 4; ++c)
            computers.push_back(std::make_unique<RecordWriter>(folder, QStringLiteral("classe-%1").arg(c + 1)));
        int number = 0;
        for (int day = 0; day < 160; ++day) {
            const qint64 morning = QDateTime(QDate(2026, 9, 1).addDays(day + day / 5 * 2), QTime(8, 30)).toSecsSinceEpoch();
            for (int pupil = 0; pupil < 28; ++pupil) {
                RecordWriter &writer = *computers[std::size_t(pupil % 4)];
                writer.setPupil(QStringLiteral("Élève %1").arg(pupil + 1));
                const QString run = QStringLiteral("run%1-%2").arg(day).arg(pupil);
                qint64 ms = 0;
                int exercise = 0;
                const auto add = [&](const JournalEvent &event) {
                    ms += 4000;
                    JournalEntry entry{++number, morning + pupil * 900 + ms / 1000, ms, event,
                                       QString(), run, exercise};
                    writer.lineAdded(entry);
                    ++lines;
                };
                for (int e = 0; e < 3; ++e) {
                    ++exercise;
                    add(JournalEvent::of(EventKind::ExerciseStart));
                    for (int s = 0; s < 5; ++s) {
                        QString answer;
                        for (int w = 0; w < sentence.size(); ++w) {
                            JournalEvent event;
                            if ((w + s + e + pupil) % 9 == 0) {
                                event = JournalEvent::wrongDrop(answer + QStringLiteral(" feu."), QStringLiteral("feu."), sentence.at(w));
                                event.sentence = played;
                                add(event);
                            }
                            answer = answer.isEmpty() ? sentence.at(w) : answer + QLatin1Char(' ') + sentence.at(w);
                            event = JournalEvent::rightDrop(answer, sentence.at(w));
                            event.sentence = played;
                            add(event);
                        }
                        add(JournalEvent::sentenceEnd(1));
                    }
                    add(JournalEvent::mark(QStringLiteral("17")));
                    add(JournalEvent::of(EventKind::ExerciseQuit));
                }
            }
            for (const auto &writer : computers)
                writer->flush(60000);
        }
        for (const QFileInfo &info : QDir(folder).entryInfoList(QDir::Files))
            bytes += info.size();
    }
};

