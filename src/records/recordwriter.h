#pragma once
#include "summarycache.h"

#include "journal/journallistener.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <functional>
#include <limits>
#include <memory>
#include <thread>

class QObject;

// Keeps every journal line on disk, in the records folder, as the line is added: one file per
// computer and per day, which only this computer writes, each line in a single append. Before
// each append it checks that the file is still the one at its path (a spreadsheet may have
// replaced it, someone may have deleted it), and a write cut short is taken back to the last
// whole line. While the folder is unavailable (a server unplugged, a full disk) the lines wait
// in memory and go to their file when it can be written again. A failure never reaches the
// exercise: it is kept, in French, for the teacher, and told once to whoever asked.
//
// The disk is only touched by a thread of the writer's own: a shared folder on a server that
// stops answering may hold that thread for minutes, never the window. The calling thread only
// makes the line and hands it over; what the disk said comes back to it through its event loop
// (or at once with flush()).
class RecordWriter : public JournalListener
{
public:
    // `computer` names this computer's files and goes with every line.
    explicit RecordWriter(QString folder, QString computer = QString());
    // The folder asked of `defaultFolder` only when first needed (the first line, the summary),
    // so that a run that records nothing never looks it up; one set before with setFolder()
    // makes it unneeded. The folder is made when missing, as a default one is.
    explicit RecordWriter(std::function<QString()> defaultFolder, QString computer = QString());
    // Waits a moment (FlushMs at most) for the lines handed over to reach their file.
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
    // Told once, at the first failure, with its French text, on the thread that made the writer.
    void setFailureHandler(std::function<void(const QString &)> handler) { m_onFailure = std::move(handler); }

    void lineAdded(const JournalEntry &entry) override;
    // Waits, at most `timeoutMs`, until every line handed over has reached its file or waits in
    // memory for its folder, and takes in what the disk said. False when the time ran out.
    bool flush(int timeoutMs = FlushMs);
    // Tries the lines that wait now, if their folder can be written, and waits for the answer
    // as flush() does. True when none waits.
    bool flushWaiting();
    // At the program's end: flushWaiting(), then what the teacher must know of lines that
    // never reached their file, in French; empty when every line is on the disk.
    QString finish();

    QString folder();
    QString computer() const { return m_computer; }
    // What the teacher should know: lines waiting for their folder, or lines lost; empty
    // while every line has reached its file.
    QString failure() const { return m_failure; }
    // The file lines go to now; empty before the first line.
    QString currentFile() const { return m_path; }
    int waitingLines() const { return m_waiting; }
    // What the summary window read of the folder, kept for its next opening. The lines handed
    // over are given a moment to reach the disk first, so that the summary has them.
    SummaryCache &summaryCache();
    // The same read for another thread: it waits there (at most FlushMs) for the lines handed
    // over until now to reach the disk, then reads the folder of now through the cache. It holds
    // all it uses, so that the writer may be gone when it runs or ends.
    std::function<SummaryCache::Result()> summaryReading();

    // Stands in for the disk's slowness in tests: called on the writer's thread before it
    // touches the disk for the lines handed over.
    void setBeforeDiskWork(std::function<void()> hook);

    // Lines kept in memory at most while the folder is unavailable (some 20 hours of play).
    static constexpr qint64 MaxWaitingBytes = 16 * 1024 * 1024;
    // Milliseconds between two tries of an unavailable folder, so that a slow server does not
    // slow every line down.
    static constexpr qint64 RetryMs = 2000;
    // The longest the program waits for the disk when it needs the lines there.
    static constexpr int FlushMs = 2000;

    struct Shared;

private:
    void updateFailure();
    void tellOnce();
    void hand(int kind, const QDate &day, qint64 runMs, const QString &folder = QString(), bool create = false);
    void settleFolder();

    QString m_folder;
    std::function<QString()> m_defaultFolder; // asked once, when the folder is first needed
    std::shared_ptr<SummaryCache> m_summaryCache = std::make_shared<SummaryCache>();
    QString m_computer;
    QString m_pupil;
    std::function<QString()> m_sentenceFile;
    std::function<void(const QString &)> m_onFailure;
    QString m_failure;
    bool m_told = false;
    // What the writer's thread last said.
    QString m_path;
    QString m_reason;
    int m_waiting = 0;
    qint64 m_lostLines = 0;
    qint64 m_dropped = 0; // lines the writer's thread never came back for
    bool m_finished = false;
    bool m_silent = false; // the disk did not answer at finish()

    std::shared_ptr<Shared> m_shared;
    std::unique_ptr<QObject> m_receiver;
    std::thread m_thread;

    // Lines never go to a day before the latest one this run wrote: a clock set back keeps
    // them in the file of the day the run had reached.
    QDate m_runDay;

    // The stamp's text up to the minute, for the minute it was made for (seconds since the
    // epoch / 60): converting to local time is the costly part of a line.
    qint64 m_cachedMinute = std::numeric_limits<qint64>::min();
    QDate m_cachedDay;
    QString m_cachedPrefix;
    QString m_row;
    QByteArray m_bytes;
};
