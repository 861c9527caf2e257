#pragma once
#include "journal/journallistener.h"

#include <QDate>
#include <QFile>
#include <QString>

#include <functional>

// Keeps every journal line on disk, in the day's record file of the records folder, as the
// line is added. Each line goes to the file in one write, so an abrupt end of the program
// loses at most the line being written. A failure never reaches the exercise: it is kept,
// in French, for the teacher's summary window, and told once to whoever asked.
class RecordWriter : public JournalListener
{
public:
    explicit RecordWriter(QString folder);
    ~RecordWriter() override;

    RecordWriter(const RecordWriter &) = delete;
    RecordWriter &operator=(const RecordWriter &) = delete;

    // The pupil now at the computer; goes with every line from now on. Empty: no name.
    void setPupil(const QString &name);
    QString pupil() const { return m_pupil; }

    // Gives the exercise's sentence file when an exercise starts; nothing by default.
    void setSentenceFileSource(std::function<QString()> source) { m_sentenceFile = std::move(source); }
    // Told once, at the first failure, with its French text.
    void setFailureHandler(std::function<void(const QString &)> handler) { m_onFailure = std::move(handler); }

    void lineAdded(int number, qint64 stampSecs, const QString &text, const QString &duration,
                   bool red) override;

    QString folder() const { return m_folder; }
    // The first failure's French text; empty while every line has reached its file.
    QString failure() const { return m_failure; }
    // The file lines go to now; empty before the first line.
    QString currentFile() const { return m_file.fileName(); }

private:
    bool openDay(const QDate &day);
    void fail(const QString &reason);

    QString m_folder;
    QString m_pupil;
    std::function<QString()> m_sentenceFile;
    std::function<void(const QString &)> m_onFailure;
    QString m_failure;

    QFile m_file;
    QDate m_fileDay;
    bool m_needsLineEnd = false;
    // The stamp's text up to the minute, for the minute it was made for (seconds since the
    // epoch / 60): converting to local time is the costly part of a line.
    qint64 m_cachedMinute = -1;
    QDate m_cachedDay;
    QString m_cachedPrefix;
    QString m_row;
};
