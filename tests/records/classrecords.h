#pragma once
// A class's records written by the record writer itself: exercises of one sentence each, at
// the times, marks and wrong drops the test chooses.
#include "records/recordwriter.h"

#include <QDateTime>

#include <optional>

struct ClassRecords {
    RecordWriter &writer;
    int number = 0;
    int exercises = 0;

    // One exercise, its wrong drops all `dropped` where `expected` was wanted; no mark: left
    // unfinished.
    void exercise(const QString &pupil, const QDateTime &at, std::optional<int> mark, int wrong = 0,
                  const QString &dropped = QStringLiteral("chien"),
                  const QString &expected = QStringLiteral("chat"))
    {
        writer.setPupil(pupil);
        ++exercises;
        qint64 ms = 0;
        const auto add = [&](const JournalEvent &event) {
            ms += 7000;
            JournalEntry e;
            e.number = ++number;
            e.stampSecs = at.toSecsSinceEpoch() + ms / 1000;
            e.runMs = qint64(exercises) * 3600000 + ms;
            e.event = event;
            e.runId = QStringLiteral("run-") + pupil;
            e.exercise = exercises;
            writer.lineAdded(e);
        };
        add(JournalEvent::of(EventKind::ExerciseStart));
        for (int i = 0; i < wrong; ++i)
            add(JournalEvent::wrongDrop(QStringLiteral("Le ") + dropped, dropped, expected));
        add(JournalEvent::rightDrop(QStringLiteral("Le chat dort."), QStringLiteral("dort.")));
        add(JournalEvent::sentenceEnd(wrong));
        if (mark)
            add(JournalEvent::mark(QString::number(*mark)));
    }
};
