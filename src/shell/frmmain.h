#pragma once
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>

#include <functional>
#include <vector>

struct Services;
class LogoArea;
class frmProgression;
class QAction;
class QMdiArea;
class QMenu;

// The main window: the frame of every other window and the menu bar that reaches them. The
// exercise and the settings dialog open inside it; the journal, the sentence editor and the
// About box are windows of their own. Closing it closes them all and remembers its geometry;
// "Quitter" ends the program at once.
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(Services &services, QWidget *parent = nullptr);
    ~frmMain() override;

    // The whole window's size when it is not maximised, frame, caption and menu bar included.
    static constexpr QSize DesignedSize{640, 480};

    // Start-up sizing for a screen whose usable area is `screen`: the whole window centred at
    // the designed size on a screen wider than 640 pixels, maximised otherwise. Call it before
    // showing. The frame's size is the window manager's: until it has framed the window, the
    // designed size is the inner size, and the window fits its frame to it once, as soon as the
    // frame is known.
    void MDIForm_Load(const QRect &screen);

    // How the program ends at once ("Quitter", and after the window has closed). By default
    // the event loop is left; tests observe it instead.
    void setEndProgram(std::function<void()> end) { m_endProgram = std::move(end); }

    // Stores the name of a sentence file as the exercise's file.
    void SauveFichier(const QString &path);

    QMdiArea *mdiArea() const;
    QMdiSubWindow *exerciseWindow() const { return m_exercise; }
    QMdiSubWindow *settingsWindow() const { return m_settings; }
    QWidget *editorWindow() const { return m_editor; }
    QWidget *aboutWindow() const { return m_about; }
    // The journal's window, once "Progression" has shown it.
    QWidget *journalWindow() const;
    QWidget *summaryWindow() const { return m_summary; }

public slots:
    void mnuSac2Mot_Click();
    void mnuCharger_Click();
    void mnuProgression_Click();
    void mnuBilan_Click();
    void mnuParam_Click();
    void mnuExit_Click();
    void mnuPhrases_Click();
    void mnuApropos_Click();

signals:
    // Once, right after the window's first picture has gone to the screen: what can wait until
    // the window is seen (the program's icon) starts from here.
    void firstPainted();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // A window the program created, in order of creation. The journal counts from its first use
    // (its window, if ever shown, goes with it).
    struct CreatedWindow {
        QPointer<QWidget> widget;
        bool journal = false;
    };

    void buildMenus();
    void placeFrame(const QRect &outer, const QMargins &frame);
    void fitStartupFrame();
    void MDIForm_Unload();
    bool editorLetsGo();
    void remember(QWidget *window);
    void rememberJournal();
    void showInner(QMdiSubWindow *window);
    void showTopLevel(QWidget *window);
    void toggleFullScreen();
    void leaveFullScreen();
    void keepJournalAbove(bool fullScreen);

    // The menus and their entries, named as their object names.
    QMenu *mnuOptions = nullptr;
    QAction *mnuSac2Mot = nullptr;
    QAction *mnuCharger = nullptr;
    QAction *mnuConfig = nullptr;
    QAction *mnuProgression = nullptr;
    QAction *mnuBilan = nullptr;
    QAction *mnuParam = nullptr;
    QAction *mnuExit = nullptr;
    QMenu *mnuEditer = nullptr;
    QAction *mnuPhrases = nullptr;
    QMenu *frmPoint = nullptr;
    QAction *mnuApropos = nullptr;

    Services &m_services;
    LogoArea *m_mdi = nullptr;
    std::function<void()> m_endProgram;
    std::vector<CreatedWindow> m_windows;
    // Where the whole window opens, while its frame is still unknown; and the inner size it was
    // given meanwhile, so that a size set by anyone else ends the wait.
    QRect m_startupFrame;
    bool m_painted = false;
    QSize m_startupInner;
    bool m_journalRemembered = false;
    bool m_recordFailureTold = false;
    QString m_lastChosenPath; // "Charger exercice" proposes the path it was last given
    QAction *m_fullScreen = nullptr;
    QAction *m_leaveFullScreen = nullptr;
    bool m_maximisedBeforeFullScreen = false;
    QPointer<QMdiSubWindow> m_exercise;
    QPointer<QMdiSubWindow> m_settings;
    QPointer<QWidget> m_editor;
    QPointer<QWidget> m_about;
    QPointer<frmProgression> m_journalWindow;
    QPointer<QWidget> m_summary;
};
