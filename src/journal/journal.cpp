#include "journal.h"

#include "frmprogression.h"
#include "journalmodel.h"

#include "common/programstate.h"
#include "platform/clock.h"

Journal::Journal(Clock &clock, ProgramState &state)
    : m_clock(clock)
    , m_state(state)
{
}

Journal::~Journal()
{
    delete m_window;
}

void Journal::ensureCreated()
{
    if (m_model)
        return;
    m_model = std::make_unique<JournalModel>();
    m_model->reset(m_clock.now());
    m_window = new frmProgression(*this);
}

bool Journal::exists() const
{
    return m_model != nullptr;
}

frmProgression *Journal::window()
{
    ensureCreated();
    return m_window;
}

JournalModel &Journal::model()
{
    ensureCreated();
    return *m_model;
}

void Journal::AjoutProgress(const QString &libelle, bool normal)
{
    ensureCreated();
    const QDateTime now = m_clock.now();
    const qint64 nowSecs = now.toSecsSinceEpoch();
    // No mark yet (nothing timed so far): the duration stays empty rather than showing the
    // time of day.
    qint32 elapsed = -1;
    if (m_state.HeureProgress.isValid())
        elapsed = static_cast<qint32>(
            std::max<qint64>(0, nowSecs - m_state.HeureProgress.toSecsSinceEpoch()) % 86400);
    m_state.HeureProgress = QDateTime::fromSecsSinceEpoch(nowSecs);
    m_model->append(JournalLine{nowSecs, libelle, QString(), elapsed, !normal});
}

void Journal::SetProgress(const QString &libelle, const QString &duree, bool normal)
{
    ensureCreated();
    m_model->append(JournalLine{m_clock.now().toSecsSinceEpoch(), libelle, duree, -1, !normal});
}

int Journal::Rows()
{
    ensureCreated();
    return m_model->rowCount() + 1;
}

void Journal::Vider()
{
    ensureCreated();
    m_model->reset(m_clock.now());
}

void Journal::show()
{
    ensureCreated();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void Journal::closeByProgram()
{
    if (!m_model)
        return;
    delete m_window;
    m_window = nullptr;
    m_model.reset();
}
