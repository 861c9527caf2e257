#pragma once
// A class's school year of records, written by the record writer as the program writes them:
// pupils on four computers, school days from 1 September 2026 (weekends skipped), exercises
// of five sentences a day each. Mistakes depend on the pupil and the sentence and drift over
// the year (some pupils get better, some worse), so that trends, hard sentences and charts
// have something to show. The same arguments always give the same records.
#include "records/recordwriter.h"

#include <QDateTime>
#include <QStringList>

#include <memory>
#include <vector>

struct ClassYear {
    int pupils = 28;
    int days = 160;
    int perDay = 3;
    qint64 lines = 0;

    static QStringList names()
    {
        return {"Léa", "Tom", "Inès", "Hugo", "Chloé", "Louis", "Manon", "Nathan", "Emma", "Lucas",
                "Jade", "Gabriel", "Louise", "Jules", "Alice", "Raphaël", "Lina", "Arthur", "Rose",
                "Adam", "Anna", "Sacha", "Mila", "Noah", "Zoé", "Ethan", "Camille", "Paul", "Lou", "Malo"};
    }
    static QStringList sentences()
    {
        return {"Le chat dort.", "Il pleut ce matin.", "Ma sœur lit un livre.", "Nous allons à la plage.",
                "Le petit chien court dans le jardin.", "Papa prépare une soupe de légumes.",
                "Les enfants jouent dans la cour de l'école.", "Le train de Paris part à midi.",
                "Demain, nous irons voir les poissons rouges.",
                "Quand il fait beau, la maîtresse ouvre les fenêtres.",
                "Le boulanger vend du pain et des croissants.", "Mon frère a perdu sa gomme bleue."};
    }

    void write(const QString &folder)
    {
        std::vector<std::unique_ptr<RecordWriter>> computers;
        for (int c = 0; c < 4; ++c)
            computers.push_back(std::make_unique<RecordWriter>(folder, QStringLiteral("classe-%1").arg(c + 1)));
        const QStringList all = names();
        const QStringList said = sentences();
        quint32 seed = 12345;
        const auto chance = [&seed]() {
            seed = seed * 1664525u + 1013904223u;
            return double(seed >> 8) / double(1u << 24);
        };
        int number = 0;
        for (int day = 0; day < days; ++day) {
            const QDate date = QDate(2026, 9, 1).addDays(day + day / 5 * 2);
            const qint64 morning = QDateTime(date, QTime(8, 30)).toSecsSinceEpoch();
            const double year = double(day) / std::max(1, days - 1);
            for (int pupil = 0; pupil < pupils; ++pupil) {
                RecordWriter &writer = *computers[std::size_t(pupil % 4)];
                writer.setPupil(all.at(pupil % all.size()) + (pupil >= all.size() ? QStringLiteral(" %1").arg(pupil / all.size() + 1) : QString()));
                const QString run = QStringLiteral("r%1-%2").arg(day).arg(pupil);
                // How often the pupil misplaces a word: from 0.02 to 0.3, going down for two
                // pupils in three over the year, up for the others.
                const double base = 0.02 + 0.28 * double((pupil * 7) % pupils) / pupils;
                const double skill = pupil % 3 == 2 ? base * (0.6 + 0.8 * year) : base * (1.2 - 0.7 * year);
                qint64 ms = 0;
                int exercise = 0;
                const auto add = [&](JournalEvent event, const QString &sentence) {
                    ms += 3000;
                    event.sentence = sentence;
                    JournalEntry entry{++number, morning + pupil * 900 + ms / 1000, ms, event, QString(), run, exercise};
                    writer.lineAdded(entry);
                    ++lines;
                };
                for (int e = 0; e < perDay; ++e) {
                    ++exercise;
                    add(JournalEvent::of(EventKind::ExerciseStart), {});
                    int errors = 0;
                    for (int s = 0; s < 5; ++s) {
                        const int which = int(chance() * said.size()) % said.size();
                        const QString sentence = said.at(which);
                        const QStringList words = sentence.split(QLatin1Char(' '));
                        // Longer sentences (later in the list) are harder.
                        const double risk = skill * (0.5 + double(which) / said.size());
                        if (chance() < skill)
                            add(JournalEvent::of(EventKind::Listened), sentence);
                        QString answer;
                        bool timeUp = false;
                        int sentenceErrors = 0;
                        for (int w = 0; w < words.size() && !timeUp; ++w) {
                            if (chance() < risk) {
                                add(JournalEvent::wrongDrop(answer + QLatin1Char(' ') + words.last(), words.last(), words.at(w)), sentence);
                                ++sentenceErrors;
                            }
                            if (chance() < risk / 3) {
                                add(JournalEvent::hintTimeUp(QStringLiteral("30")), sentence);
                                add(JournalEvent::hintWord(words.at(w)), sentence);
                            }
                            if (chance() < risk / 25) {
                                add(JournalEvent::sentenceTimeUp(QStringLiteral("3")), sentence);
                                timeUp = true;
                                break;
                            }
                            answer = answer.isEmpty() ? words.at(w) : answer + QLatin1Char(' ') + words.at(w);
                            add(JournalEvent::rightDrop(answer, words.at(w)), sentence);
                        }
                        if (!timeUp)
                            add(JournalEvent::sentenceEnd(sentenceErrors), sentence);
                        errors += sentenceErrors + (timeUp ? 4 : 0);
                    }
                    add(JournalEvent::mark(QString::number(std::max(0, 20 - errors))), {});
                    add(JournalEvent::of(EventKind::ExerciseQuit), {});
                }
            }
        }
    }
};
