#include "journal.h"

#include "journallistener.h"
#include "journalmodel.h"

#include "common/programstate.h"
#include "common/csvexport.h"
#include "platform/clock.h"
#include "platform/filechooser.h"
#include "platform/messageboxes.h"

#include <algorithm>

Journal::Journal(Clock &clock, ProgramState &state, FileChooser &files, MessageBoxes &messages)
    : m_clock(clock)
    , m_state(state)
    , m_files(files)
    , m_messages(messages)
{
}

Journal::~Journal() = default;

void Journal::ensureCreated()
{
    if (m_model)
        return;
    m_model = std::make_unique<JournalModel>();
    InitProgress();
    tellListener();
}

void Journal::tellListener()
{
    if (!m_listener)
        return;
    const int row = m_model->rowCount() - 1;
    const JournalLine &line = m_model->lines().back();
    m_listener->lineAdded(row + 1, line.stampSecs, line.text,
                          m_model->cellText(row, JournalModel::DurationColumn), line.red);
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

void Journal::AjoutProgress(const QString &libelle, bool normal)
{
    ensureCreated();
    // Seconds, not a local date-time: the line is shown in the system's time zone only when
    // drawn, and a local conversion here cost more than the rest of the line.
    const qint64 nowSecs = m_clock.secsSinceEpoch();
    // No mark yet (nothing timed so far): the duration stays empty rather than showing the
    // time of day. A clock set back gives 00:00:00, not a negative time; whole days are
    // dropped (25 hours show as 01:00:00).
    qint32 elapsed = -1;
    if (m_state.HeureProgress.isValid())
        elapsed = static_cast<qint32>(
            std::max<qint64>(0, nowSecs - m_state.HeureProgress.toSecsSinceEpoch()) % 86400);
    m_state.HeureProgress = QDateTime::fromSecsSinceEpoch(nowSecs, Qt::UTC);
    m_model->append(JournalLine{nowSecs, libelle, QString(), elapsed, !normal});
    tellListener();
}

void Journal::SetProgress(const QString &libelle, const QString &duree, bool normal)
{
    ensureCreated();
    m_model->append(JournalLine{m_clock.secsSinceEpoch(), libelle, duree, -1, !normal});
    tellListener();
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

bool Journal::Sauvegarder(QWidget *parent)
{
    ensureCreated();
    return exportCsv(parent, m_files, m_messages, m_clock.now().date(),
                     {QStringLiteral("Sauvegarder la progression"), QStringLiteral("journal"),
                      QStringLiteral("La progression n'a pas pu être enregistrée.\n\n%1\n\n"
                                     "Le journal n'a pas changé."),
                      [this] { return m_model->toCsv(); }});
}

void Journal::closeByProgram()
{
    m_model.reset();
}
