#pragma once
// A class's exercises written as the program writes them: through the journal and the record
// writer of one computer, on a clock the test moves.
#include "fakes/platformfakes.h"
#include "journal/journal.h"
#include "records/recordwriter.h"

#include <QList>
#include <QString>

#include <optional>

struct ClassFixture {
    struct Sentence {
        QString text;
        int wrong = 0;
        int hints = 0;
        int listens = 0;
        bool timeUp = false;
    };

    FakeClock clock;
    RecordWriter writer;
    Journal journal;

    explicit ClassFixture(const QString &folder, const QString &computer = QStringLiteral("salle1"))
        : writer(folder, computer)
        , journal(clock)
    {
        journal.setListener(&writer);
        clock.current = QDateTime(QDate(2026, 12, 7), QTime(9, 0));
    }

    void line(JournalEvent event, const QString &sentence = {})
    {
        event.sentence = sentence;
        clock.advance(5);
        journal.record(event);
        // On disk before the test reads the folder: the writer appends on a thread of its own.
        writer.flush();
    }

    // One exercise: each sentence's listens, wrong drops and blue words, then its end (or its
    // time running out); then the mark, or "Quitter" when there is none.
    void exercise(const QString &pupil, const QList<Sentence> &sentences, std::optional<int> mark)
    {
        writer.setPupil(pupil);
        line(JournalEvent::of(EventKind::ExerciseStart));
        for (const Sentence &s : sentences) {
            for (int i = 0; i < s.listens; ++i)
                line(JournalEvent::of(EventKind::Listened), s.text);
            for (int i = 0; i < s.wrong; ++i)
                line(JournalEvent::wrongDrop(QStringLiteral("chat"), QStringLiteral("chat"), QStringLiteral("Le")), s.text);
            for (int i = 0; i < s.hints; ++i)
                line(JournalEvent::hintTimeUp(QStringLiteral("30")), s.text);
            if (s.timeUp) {
                line(JournalEvent::sentenceTimeUp(QStringLiteral("2")), s.text);
            } else {
                line(JournalEvent::rightDrop(QStringLiteral("Le"), QStringLiteral("Le")), s.text);
                line(JournalEvent::sentenceEnd(s.wrong), s.text);
            }
        }
        if (mark)
            line(JournalEvent::mark(QString::number(*mark)));
        else
            line(JournalEvent::of(EventKind::ExerciseQuit));
    }

    // Marks only, one sentence each, a day apart.
    void marks(const QString &pupil, const QList<int> &marks)
    {
        for (int m : marks) {
            exercise(pupil, {{QStringLiteral("Le chat dort.")}}, m);
            clock.advance(86400);
        }
    }
};
