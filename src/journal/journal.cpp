#include "journal.h"

#include "journallistener.h"
#include "journalmodel.h"

#include "common/safefile.h"
#include "platform/clock.h"

#include <QRandomGenerator>

Journal::Journal(Clock &clock)
    : m_clock(clock)
    , m_runId(QString::number(QRandomGenerator::system()->generate64(), 36))
    , m_runStartMs(clock.monotonicMs())
{
}

Journal::~Journal() = default;

void Journal::ensureCreated()
{
    if (m_model)
        return;
    m_model = std::make_unique<JournalModel>();
    InitProgress();
    tellListener(JournalEvent::of(EventKind::ProgramStart));
}

void Journal::tellListener(const JournalEvent &event)
{
    if (!m_listener)
        return;
    const int row = m_model->rowCount() - 1;
    const JournalLine &line = m_model->lines().back();
    m_listener->lineAdded(JournalEntry{row + 1, line.stampSecs, m_clock.monotonicMs() - m_runStartMs,
                                       event, m_model->cellText(row, JournalModel::DurationColumn),
                                       m_runId, m_exercise});
}

void Journal::InitProgress()
{
    m_model->reset(m_clock.now());
}

bool Journal::exists() const
{
    return m_model != nullptr;
}

JournalModel &Journal::model()
{
    ensureCreated();
    return *m_model;
}

void Journal::record(const JournalEvent &event)
{
    ensureCreated();
    if (event.kind == EventKind::ExerciseStart)
        ++m_exercise;
    // Seconds, not a local date-time: the line is shown in the system's time zone only when
    // drawn, and a local conversion here cost more than the rest of the line.
    const qint64 nowSecs = m_clock.secsSinceEpoch();
    qint32 elapsed = -1;
    if (event.timed()) {
        // No mark yet (nothing timed so far): the duration stays empty rather than showing the
        // time of day. Whole days are dropped (25 hours show as 01:00:00).
        const qint64 nowMs = m_clock.monotonicMs();
        if (m_heureProgressMs >= 0)
            elapsed = static_cast<qint32>(std::max<qint64>(0, nowMs - m_heureProgressMs) / 1000 % 86400);
        m_heureProgressMs = nowMs;
    }
    m_model->append(JournalLine{nowSecs, event.text(), QString(), elapsed, event.red()});
    tellListener(event);
}

void Journal::AjoutProgress(const QString &libelle, bool normal)
{
    record(JournalEvent::plain(libelle, normal));
}

void Journal::SetProgress(const QString &libelle, const QString &duree, bool normal)
{
    ensureCreated();
    m_model->append(JournalLine{m_clock.secsSinceEpoch(), libelle, duree, -1, !normal});
    tellListener(JournalEvent::plain(libelle, normal));
}

void Journal::MarqueHeureProgress()
{
    m_heureProgressMs = m_clock.monotonicMs();
}

int Journal::Rows()
{
    ensureCreated();
    return m_model->rowCount() + 1;
}

void Journal::Vider()
{
    ensureCreated();
    InitProgress();
}

bool Journal::writeCsv(const QString &path, QString *error)
{
    ensureCreated();
    return SafeFile::write(path, m_model->toCsv(), error);
}

void Journal::closeByProgram()
{
    m_model.reset();
}
