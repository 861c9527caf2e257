#pragma once
#include "summarycache.h"

#include "journal/journallistener.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <deque>
#include <functional>
#include <limits>

// Keeps every journal line on disk, in the records folder, as the line is added: one file per
// computer and per day, which only this computer writes, each line in a single append. Before
// each append it checks that the file is still the one at its path (a spreadsheet may have
// replaced it, someone may have deleted it), and a write cut short is taken back to the last
// whole line. While the folder is unavailable (a server unplugged, a full disk) the lines wait
// in memory and go to their file when it can be written again. A failure never reaches the
// exercise: it is kept, in French, for the teacher, and told once to whoever asked.
class RecordWriter : public JournalListener
{
public:
    // `computer` names this computer's files and goes with every line.
    explicit RecordWriter(QString folder, QString computer = QString());
    ~RecordWriter() override;

    RecordWriter(const RecordWriter &) = delete;
    RecordWriter &operator=(const RecordWriter &) = delete;

    // The records go to another folder from the next line on. `create`: the folder is made
    // when missing (the default one); a folder the teacher chose is only waited for, since its
    // absence means a server not there rather than a folder to make.
    void setFolder(const QString &folder, bool create);

    // The pupil now at the computer; goes with every line from now on. Empty: no name.
    void setPupil(const QString &name);
    QString pupil() const { return m_pupil; }

    // Gives the exercise's sentence file when an exercise starts; nothing by default.
    void setSentenceFileSource(std::function<QString()> source) { m_sentenceFile = std::move(source); }
    // Told once, at the first failure, with its French text.
    void setFailureHandler(std::function<void(const QString &)> handler) { m_onFailure = std::move(handler); }

    void lineAdded(const JournalEntry &entry) override;
    // Writes the lines that wait, if their folder can be written now. True when none waits.
    bool flushWaiting();

    QString folder() const { return m_folder; }
    QString computer() const { return m_computer; }
    // What the teacher should know: lines waiting for their folder, or lines lost; empty
    // while every line has reached its file.
    QString failure() const { return m_failure; }
    // The file lines go to now; empty before the first line.
    QString currentFile() const { return m_path; }
    int waitingLines() const { return int(m_waiting.size()); }
    // What the summary window read of the folder, kept for its next opening.
    SummaryCache &summaryCache() { return m_summaryCache; }

    // Lines kept in memory at most while the folder is unavailable (some 20 hours of play).
    static constexpr qint64 MaxWaitingBytes = 16 * 1024 * 1024;
    // Milliseconds between two tries of an unavailable folder, so that a slow server does not
    // slow every line down.
    static constexpr qint64 RetryMs = 2000;

private:
    struct Waiting {
        QDate day;
        QByteArray bytes;
    };
    enum class Outcome { Written, Failed };

    Outcome append(const QDate &day, const QByteArray &line);
    bool open(const QDate &day);
    bool stillAtItsPath() const;
    void close();
    void unavailable(int errnum);
    void updateFailure();
    void tellOnce();

    QString m_folder;
    bool m_create = true;
    SummaryCache m_summaryCache;
    QString m_computer;
    QString m_pupil;
    std::function<QString()> m_sentenceFile;
    std::function<void(const QString &)> m_onFailure;
    QString m_failure;
    bool m_told = false;
    QString m_reason;      // the system's reason of the last failure
    qint64 m_lostLines = 0;

    int m_fd = -1;
    QString m_path;
    QByteArray m_nativePath;
    QDate m_fileDay;
    int m_part = 1;
    quint64 m_dev = 0;
    quint64 m_ino = 0;
    qint64 m_size = 0;
    bool m_needsLineEnd = false;

    // Lines never go to a day before the latest one this run wrote: a clock set back keeps
    // them in the file of the day the run had reached.
    QDate m_runDay;
    std::deque<Waiting> m_waiting;
    qint64 m_waitingBytes = 0;
    qint64 m_retryAtMs = -1;
    qint64 m_lastRunMs = 0;

    // The stamp's text up to the minute, for the minute it was made for (seconds since the
    // epoch / 60): converting to local time is the costly part of a line.
    qint64 m_cachedMinute = std::numeric_limits<qint64>::min();
    QDate m_cachedDay;
    QString m_cachedPrefix;
    QString m_row;
    QByteArray m_bytes;
};
