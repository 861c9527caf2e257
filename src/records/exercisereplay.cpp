#include "exercisereplay.h"

#include "recordreader.h"

#include "common/safefile.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace ExerciseReplay {

std::vector<ReplayLine> lines(const QString &folder, const ExerciseSummary &exercise)
{
    struct Found {
        qint64 runMs;
        bool ending;
        ReplayLine line;
    };
    std::vector<Found> found;
    if (folder.isEmpty())
        return {};
    // A line goes to the file of its day, or of a later day when the clock went back during its
    // run: the files of the exercise's days are read first, the later ones only if its end was
    // not there. A file named otherwise is read to be sure.
    const qint64 first = exercise.start / 86400 - 1;
    const qint64 last = exercise.end / 86400 + 1;
    static const QRegularExpression dated(QStringLiteral("^journal-(\\d{4}-\\d{2}-\\d{2})"));
    const QStringList files =
        QDir(folder).entryList({QStringLiteral("*.csv")}, QDir::Files | QDir::System, QDir::Name);
    const auto dayOf = [](const QString &name) -> qint64 {
        const QRegularExpressionMatch match = dated.match(name);
        const QDate day = match.hasMatch() ? QDate::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd")) : QDate();
        return day.isValid() ? day.toJulianDay() : -1;
    };
    const auto read = [&](const QString &name) {
        const std::optional<QByteArray> bytes =
            SafeFile::read(QDir(folder).filePath(name), RecordReader::MaxFileSize);
        if (!bytes)
            return;
        // Numbered as the summary numbers the runs of the first form.
        RecordReader::OldFormIds old;
        old.prefix = name;
        RecordReader::readBytes(
            *bytes, name,
            [&](const RecordLine &l) {
                if (l.exercise != exercise.number || l.run != exercise.run || l.computer != exercise.computer)
                    return;
                const bool ending = l.kind == EventKind::Mark || l.kind == EventKind::ExerciseQuit;
                found.push_back({l.runMs, ending, {l.when, l.text, l.duration, l.red}});
            },
            old);
    };
    for (const QString &name : files) {
        const qint64 day = dayOf(name);
        if (day < 0 || (day >= first && day <= last))
            read(name);
    }
    if (std::none_of(found.begin(), found.end(), [](const Found &f) { return f.ending; })) {
        for (const QString &name : files) {
            if (dayOf(name) > last)
                read(name);
        }
    }
    // Lines of one run are ordered by its steady clock, whatever the files they went to.
    std::stable_sort(found.begin(), found.end(), [](const Found &a, const Found &b) { return a.runMs < b.runMs; });
    std::vector<ReplayLine> out;
    out.reserve(found.size());
    // The exercise ends with its mark or its "Quitter"; what the run did next keeps the
    // exercise's number until another begins, but is not of it.
    for (Found &f : found) {
        out.push_back(std::move(f.line));
        if (f.ending)
            break;
    }
    return out;
}
}
