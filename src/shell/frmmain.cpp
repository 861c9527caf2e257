#include "frmmain.h"

#include "logoarea.h"
#include "nomfichier.h"

#include "about/frmapropos.h"
#include "common/apptexts.h"
#include "common/objectnames.h"
#include "common/sentencefile.h"
#include "shell/services.h"
#include "common/sentencefolders.h"
#include "common/settingsstore.h"
#include "editor/choixfichierphrases.h"
#include "editor/frmphrases.h"
#include "exercise/frmsac2mot.h"
#include "journal/frmprogression.h"
#include "journal/journal.h"
#include "platform/heap.h"
#include "platform/messageboxes.h"
#include "records/recordwriter.h"
#include "settings_dialog/frmparam.h"
#include "sound/soundplayer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTimer>
#include <QWindow>

#include <utility>

namespace {
void leaveEventLoop()
{
    // Nothing closes and nothing is written: the windows merely vanish at once, even when
    // this runs inside a wait of the exercise, and the program leaves its event loop.
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows)
        window->hide();
    QCoreApplication::exit(0);
}
}

frmMain::frmMain(Services &services, QWidget *parent)
    : QMainWindow(parent)
    , m_services(services)
    , m_endProgram(leaveEventLoop)
{
    setWindowTitle(AppTexts::MainCaption);
    m_mdi = new LogoArea(this);
    // The exercise fills the inner area; the settings dialog opens over it at its own size.
    m_mdi->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    setCentralWidget(m_mdi);
    // "Paramètres" stays in view over the exercise when the pupil or the teacher clicks it.
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *active) {
        if (m_settings && m_settings->isVisible() && active != m_settings)
            m_settings->raise();
    });
    buildMenus();
    resize(DesignedSize);
}

// Every window we create is our child (the editor and the About box as windows of their own
// in front of us): they go with us. The journal's window is nobody's child: it has a task bar
// entry of its own.
frmMain::~frmMain()
{
    delete m_journalWindow;
}

QWidget *frmMain::journalWindow() const
{
    return m_journalWindow;
}

QMdiArea *frmMain::mdiArea() const
{
    return m_mdi;
}

void frmMain::buildMenus()
{
    mnuOptions = menuBar()->addMenu(QStringLiteral("&Rubriques"));
    mnuSac2Mot = mnuOptions->addAction(QStringLiteral("&Commencer"));
    mnuSac2Mot->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuCharger = mnuOptions->addAction(QStringLiteral("Charger exercice"));
    mnuOptions->addSeparator();
    mnuConfig = mnuOptions->addAction(QStringLiteral("&Evaluations"));
    mnuConfig->setEnabled(false);
    mnuProgression = mnuOptions->addAction(QStringLiteral("Progression"));
    mnuBilan = mnuOptions->addAction(QStringLiteral("&Bilan des élèves"));
    mnuParam = mnuOptions->addAction(QStringLiteral("&Paramètres"));
    mnuOptions->addSeparator();
    mnuExit = mnuOptions->addAction(QStringLiteral("&Quitter"));
    mnuExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    mnuEditer = menuBar()->addMenu(QStringLiteral("&Editer"));
    mnuPhrases = mnuEditer->addAction(QStringLiteral("Editer les phrases"));

    frmPoint = menuBar()->addMenu(QStringLiteral("&?"));
    mnuApropos = frmPoint->addAction(QStringLiteral("&A propos de ..."));

    nameObjects({
        {mnuOptions, "mnuOptions"}, {mnuSac2Mot, "mnuSac2Mot"},   {mnuCharger, "mnuCharger"},
        {mnuConfig, "mnuConfig"},   {mnuProgression, "mnuProgression"}, {mnuBilan, "mnuBilan"},
        {mnuParam, "mnuParam"},
        {mnuExit, "mnuExit"},       {mnuEditer, "mnuEditer"},     {mnuPhrases, "mnuPhrases"},
        {frmPoint, "frmPoint"},     {mnuApropos, "mnuApropos"},
    });

    // The shortcuts act from the inner windows too (they are children of this window).
    connect(mnuSac2Mot, &QAction::triggered, this, &frmMain::mnuSac2Mot_Click);
    connect(mnuCharger, &QAction::triggered, this, &frmMain::mnuCharger_Click);
    connect(mnuProgression, &QAction::triggered, this, &frmMain::mnuProgression_Click);
    connect(mnuBilan, &QAction::triggered, this, &frmMain::mnuBilan_Click);
    connect(mnuParam, &QAction::triggered, this, &frmMain::mnuParam_Click);
    connect(mnuExit, &QAction::triggered, this, &frmMain::mnuExit_Click);
    connect(mnuPhrases, &QAction::triggered, this, &frmMain::mnuPhrases_Click);
    connect(mnuApropos, &QAction::triggered, this, &frmMain::mnuApropos_Click);

    // Full screen for a classroom screen or a whiteboard: F11 in and out, Escape out. Escape
    // is ours only while in full screen, so that the dialogs keep theirs.
    m_fullScreen = new QAction(this);
    m_fullScreen->setShortcut(QKeySequence(Qt::Key_F11));
    addAction(m_fullScreen);
    m_leaveFullScreen = new QAction(this);
    m_leaveFullScreen->setShortcut(QKeySequence(Qt::Key_Escape));
    m_leaveFullScreen->setEnabled(false);
    addAction(m_leaveFullScreen);
    connect(m_fullScreen, &QAction::triggered, this, &frmMain::toggleFullScreen);
    connect(m_leaveFullScreen, &QAction::triggered, this, &frmMain::leaveFullScreen);
}

void frmMain::toggleFullScreen()
{
    if (isFullScreen()) {
        leaveFullScreen();
        return;
    }
    m_maximisedBeforeFullScreen = isMaximized();
    showFullScreen();
    keepJournalAbove(true);
}

void frmMain::keepJournalAbove(bool fullScreen)
{
    if (!m_journalWindow || !m_journalWindow->windowHandle())
        return;
    // A window manager puts a full screen window above every other one, even those kept on
    // top: the journal the teacher keeps on top is made ours for that time, and stays above.
    const bool onTop = m_journalWindow->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    QWindow *journal = m_journalWindow->windowHandle();
    QWindow *parent = fullScreen && onTop ? windowHandle() : nullptr;
    if (journal->transientParent() == parent)
        return;
    // The window manager reads whose window it is when it is shown: shown again, at its place.
    const bool shown = m_journalWindow->isVisible();
    const QPoint place = m_journalWindow->pos(); // its frame's corner
    if (shown)
        m_journalWindow->hide();
    journal->setTransientParent(parent);
    if (shown) {
        m_journalWindow->move(place);
        m_journalWindow->show();
    }
}

void frmMain::leaveFullScreen()
{
    // Escape belongs first to the dialog that has the focus ("Paramètres" inside us): it closes
    // that dialog, and full screen stays.
    for (QWidget *w = QApplication::focusWidget(); w && w != this; w = w->parentWidget()) {
        if (auto *dialog = qobject_cast<QDialog *>(w)) {
            dialog->reject();
            return;
        }
    }
    if (!isFullScreen())
        return;
    if (m_maximisedBeforeFullScreen)
        showMaximized();
    else
        showNormal();
    keepJournalAbove(false);
}

void frmMain::MDIForm_Load(const QRect &screen)
{
    m_startupFrame = QRect();
    if (screen.width() > DesignedSize.width()) {
        setWindowState(Qt::WindowNoState);
        const QRect outer(screen.x() + (screen.width() - DesignedSize.width()) / 2,
                          screen.y() + (screen.height() - DesignedSize.height()) / 2,
                          DesignedSize.width(), DesignedSize.height());
        const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
        placeFrame(outer, frame);
        if (frame.isNull()) {
            m_startupFrame = outer;
            m_startupInner = size();
        }
    } else {
        setWindowState(Qt::WindowMaximized);
    }
}

void frmMain::placeFrame(const QRect &outer, const QMargins &frame)
{
    resize(outer.size().shrunkBy(frame));
    // A window's position is its frame's corner.
    move(outer.topLeft());
}

bool frmMain::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::WindowStateChange)
        m_leaveFullScreen->setEnabled(isFullScreen());
    // Queued: the picture painted now is put on the screen when this paint event returns.
    if (event->type() == QEvent::Paint && !std::exchange(m_painted, true))
        QMetaObject::invokeMethod(this, &frmMain::firstPainted, Qt::QueuedConnection);
    if (m_startupFrame.isValid()) {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowStateChange:
            fitStartupFrame();
            break;
        case QEvent::Paint:
            // On the screen, hence framed if it ever is: the last chance, taken right after
            // painting rather than during it.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    fitStartupFrame();
                    m_startupFrame = QRect();
                },
                Qt::QueuedConnection);
            break;
        default:
            break;
        }
    }
    return handled;
}

void frmMain::fitStartupFrame()
{
    if (!m_startupFrame.isValid())
        return;
    // Resized or maximised by someone else first (the person, the window manager's rules):
    // theirs is the last word.
    if (windowState() != Qt::WindowNoState || size() != m_startupInner) {
        m_startupFrame = QRect();
        return;
    }
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (!frame.isNull())
        placeFrame(std::exchange(m_startupFrame, QRect()), frame);
}

void frmMain::remember(QWidget *window)
{
    std::erase_if(m_windows, [](const CreatedWindow &entry) {
        return !entry.journal && entry.widget.isNull();
    });
    m_windows.push_back({window, false});
}

void frmMain::rememberJournal()
{
    // The journal begins at its first use, which is always one of our own commands writing
    // its line before it opens anything: noted right after each of them.
    if (m_journalRemembered || !m_services.journal.exists())
        return;
    m_journalRemembered = true;
    m_windows.push_back({nullptr, true});
}

void frmMain::showInner(QMdiSubWindow *window)
{
    window->show();
    window->raise();
    m_mdi->setActiveSubWindow(window);
}

void frmMain::showTopLevel(QWidget *window)
{
    // Brought to the front means into view: a minimised window comes back first.
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

void frmMain::mnuSac2Mot_Click()
{
    // The same line either way; the records count an exercise already open only once.
    m_services.journal.record(
        JournalEvent::of(m_exercise ? EventKind::ExerciseShown : EventKind::ExerciseStart));
    rememberJournal();
    if (!m_exercise) {
        m_exercise = m_mdi->addSubWindow(new frmSac2Mot(m_services.settings, m_services.clock, m_services.random,
                                                      m_services.journal,
                                                      m_services.sound, m_services.programFolder));
        m_exercise->setAttribute(Qt::WA_DeleteOnClose);
        // Always the whole inner area: no minimise or restore button would leave a scene too
        // small to play in ("Quitter" 38 x 11 pixels).
        m_exercise->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        QMdiSubWindow *sub = m_exercise;
        connect(sub, &QMdiSubWindow::windowStateChanged, this,
                [sub](Qt::WindowStates, Qt::WindowStates now) {
                    if (!(now & (Qt::WindowMaximized | Qt::WindowFullScreen)))
                        QMetaObject::invokeMethod(sub, &QWidget::showMaximized,
                                                  Qt::QueuedConnection);
                });
        remember(m_exercise);
    }
    // Filling the inner area at every size, the scene drawn as large as it fits.
    m_exercise->showMaximized();
    showInner(m_exercise);
}

void frmMain::mnuCharger_Click()
{
    const std::optional<QString> chosen =
        ChoixFichierPhrases(m_services.files, this, m_lastChosenPath);
    if (!chosen)
        return;
    const QString path = *chosen;
    m_services.journal.record(ChoixFichier::loadEvent(path));
    rememberJournal();
    if (!SentenceFolders::adopt(path, SentenceFile::trimSpaces(ExtraitNomFichier(path)),
                                m_services.programFolder, m_services.messages, this))
        return;
    SauveFichier(path);
}

void frmMain::SauveFichier(const QString &path)
{
    m_services.settings.SaveSetting(Settings::Fichier,
                                    SentenceFile::trimSpaces(ExtraitNomFichier(path)));
}

void frmMain::mnuProgression_Click()
{
    m_services.journal.record(JournalEvent::of(EventKind::ConsultJournal));
    rememberJournal();
    if (!m_journalWindow)
        m_journalWindow = new frmProgression(m_services.journal, m_services.files,
                                             m_services.messages, m_services.clock);
    showTopLevel(m_journalWindow);
    // Records the disk refused are told to the teacher here, once, never over a pupil's
    // sentence; the summary window shows it too.
    if (!m_recordFailureTold && !m_services.records.failure().isEmpty()) {
        m_recordFailureTold = true;
        m_services.messages.tell(m_journalWindow, MessageBoxes::Warning, AppTexts::Title,
                                 m_services.records.failure());
    }
}

void frmMain::mnuBilan_Click()
{
    m_services.journal.record(JournalEvent::of(EventKind::ConsultSummary));
    rememberJournal();
    if (!m_summary) {
        m_summary = m_services.makeSummaryWindow ? m_services.makeSummaryWindow(this) : nullptr;
        if (!m_summary)
            return;
        // A year of records read is a large heap freed at closing: given back, not kept.
        connect(m_summary, &QObject::destroyed, this,
                [] { QTimer::singleShot(0, [] { releaseFreedMemory(); }); });
        remember(m_summary);
    }
    showTopLevel(m_summary);
}

void frmMain::mnuParam_Click()
{
    m_services.journal.record(JournalEvent::of(EventKind::ConsultSettings));
    rememberJournal();
    if (!m_settings) {
        auto *dialog = new frmParam(m_services.settings, m_services.programFolder, this);
        m_mdi->addSubWindow(dialog);
        dialog->placeOverMainWindow();
        m_settings = dialog->subWindow();
        m_settings->setAttribute(Qt::WA_DeleteOnClose);
        remember(m_settings);
        // The voice is loaded only for a class that uses it; once tried, the dialog tells why
        // reading aloud cannot work here.
        SoundPlayer &sound = m_services.sound;
        const auto showSpeech = [dialog, &sound] {
            dialog->setSpeechUnavailable(sound.speechState() == SoundPlayer::SpeechState::Unavailable
                                             ? sound.speechUnavailableReason()
                                             : QString());
        };
        connect(&sound, &SoundPlayer::speechStateChanged, dialog, showSpeech);
        connect(dialog, &frmParam::readingAloudWanted, &sound, &SoundPlayer::prepareSpeech);
        showSpeech();
        if (dialog->readingAloudOn())
            sound.prepareSpeech();
    }
    showInner(m_settings);
}

void frmMain::mnuExit_Click()
{
    const int rows = m_services.journal.Rows();
    rememberJournal();
    if (rows >= 3) {
        const auto answer = m_services.messages.ask(
            this, MessageBoxes::Critical, QStringLiteral("Quitter ..."),
            QStringLiteral("Voulez-vous réellement quitter '") + AppTexts::ProductName
                + QStringLiteral("' ?"),
            MessageBoxes::Yes | MessageBoxes::No, MessageBoxes::Yes);
        if (answer != MessageBoxes::Yes)
            return;
    }
    if (!editorLetsGo())
        return;
    m_endProgram();
}

bool frmMain::editorLetsGo()
{
    // The only thing that ending the program could lose without a word is a list of sentences
    // the teacher has not saved: the editor asks about it, and may keep the program running.
    auto *editor = qobject_cast<frmPhrases *>(m_editor.data());
    if (!editor || !editor->hasUnsavedChanges())
        return true;
    QPointer<QWidget> window = editor;
    window->close();
    return !window || !window->isVisible();
}

void frmMain::mnuPhrases_Click()
{
    m_services.journal.record(JournalEvent::of(EventKind::EditorOpen));
    rememberJournal();
    if (!m_editor) {
        // Ours, so that it stays in front of the main window and has no task bar entry.
        m_editor = new frmPhrases(m_services.journal, m_services.files, m_services.messages,
                                  m_services.printing, this);
        remember(m_editor);
    }
    showTopLevel(m_editor);
}

void frmMain::mnuApropos_Click()
{
    m_services.journal.record(JournalEvent::of(EventKind::ConsultAbout));
    rememberJournal();
    if (!m_about) {
        m_about = new frmApropos(m_services.messages, m_services.system, this);
        remember(m_about);
    }
    showTopLevel(m_about);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (!editorLetsGo()) {
        event->ignore();
        return;
    }
    MDIForm_Unload();
    event->accept();
    m_endProgram();
}

void frmMain::MDIForm_Unload()
{
    m_mdi->closeAllSubWindows();

    // Newest first. Windows are closed here and deleted by the event loop, after the handler
    // that closes them has returned.
    rememberJournal();
    for (auto entry = m_windows.rbegin(); entry != m_windows.rend(); ++entry) {
        if (entry->journal) {
            delete m_journalWindow;
            m_services.journal.closeByProgram();
            continue;
        }
        QPointer<QWidget> window = entry->widget;
        if (!window)
            continue;
        window->close();
        if (window && !window->testAttribute(Qt::WA_DeleteOnClose))
            window->deleteLater();
    }

    if (isMinimized())
        return;
    const QRect outer = frameGeometry();
    m_services.settings.SaveSetting(Settings::MainLeft, QString::number(twips(outer.x())));
    m_services.settings.SaveSetting(Settings::MainTop, QString::number(twips(outer.y())));
    m_services.settings.SaveSetting(Settings::MainWidth, QString::number(twips(outer.width())));
    m_services.settings.SaveSetting(Settings::MainHeight, QString::number(twips(outer.height())));
}
