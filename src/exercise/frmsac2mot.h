#pragma once
#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <vector>

#include "exerciserules.h"
#include "scenescale.h"
#include "sentencelist.h"

class Clock;
class Journal;
class RandomSource;
class SettingsStore;
class SoundPlayer;
struct ProgramState;
class DragOutline;
class QLabel;
class QMdiSubWindow;
class QPushButton;
class SvgPicture;
class WordTile;

// The word-bag exercise window "Sac de mots": the teacher's speech bubble, the answer box, the
// 128 word tiles scattered over the classroom and the four clocks that run a sentence.
//
// The scene is designed at 647 x 439 pixels (9705 x 6585 twips) and drawn at the one uniform
// scale that fits the window, centred on white; every place the rules know stays in twips. The
// main window creates it without a parent and puts it in a QMdiSubWindow that
// fills its inner area; its first showing runs the sentence start (Form_Load) and its first
// activation starts the count of the exercise. A test may equally call Form_Load and
// Form_Activate itself, without showing the window.
//
// Handlers keep the names a reader of the program knows; the rules without a widget are in
// exerciserules.h. Every sound cue lets events run (the sound player's wait), so each handler
// changes all its state before it plays its sound; closing the window while such a wait is in
// progress is carried out once the wait is over.
class frmSac2Mot : public QWidget
{
    Q_OBJECT
public:
    // Sentence files are looked up from `programFolder` (and the user's own folder).
    frmSac2Mot(SettingsStore &settings, Clock &clock, RandomSource &random, ProgramState &state,
               Journal &journal, SoundPlayer &sound, const QString &programFolder,
               QWidget *parent = nullptr);
    ~frmSac2Mot() override;

    // Where the exercise stands; drops on the answer box count only while a sentence is in play.
    enum class Phase {
        NotLoaded,    // before the first sentence start
        NoSentence,   // the sentence file gave nothing to play
        InPlay,       // a sentence is being rebuilt (hint shown, checks pending included)
        SentenceDone, // the sentence is complete and counted; "Nouveau" is shown
        TimeUp,       // the sentence's time ran out; "Nouveau" is shown
        ExerciseOver, // the mark is given; only "Quitter" is left
    };
    Phase phase() const { return m_phase; }

    // The controls.
    SvgPicture *Image1 = nullptr;
    QLabel *Message = nullptr;       // shows the character 13 of its texts as a line break
    QLabel *TexteResultat = nullptr;
    std::array<WordTile *, 128> Mot{};
    QLabel *Texte = nullptr;
    QPushButton *Nouveau = nullptr;
    QPushButton *Quitter = nullptr;
    // The four clocks, Timer(0) to Timer(3): the index Timer_Timer receives.
    enum Timers : int {
        WordCheck = 0,     // one second after a correct word: is the sentence complete?
        RetryPrompt = 1,   // one second after a wrong word: "Essaie encore!"
        HintClock = 2,     // seconds without a correct word, then the blue word
        SentenceClock = 3, // seconds of the sentence, then its time is up
    };
    std::array<QTimer, 4> Timer;

    // Seconds without a correct word, and seconds of the sentence.
    int nTimerAide = 0;
    int nTimerPhrase = 0;

    // The speech bubble's top edge (twips) and font size (points).
    int messageTop() const { return m_messageTop; }
    double messageFontSize() const { return m_messageSize; }
    // The bubble's text as the program says it, the character 13 between lines.
    QString messageText() const { return m_messageText; }

    // The sentence start: picks a sentence and scatters its words. Runs by itself when the
    // window is first shown, and again from "Nouveau".
    void Form_Load();
    // The window became the active window: the first time starts the count of the exercise;
    // every time reads "Son" and greets the pupil. Runs by itself on activation.
    void Form_Activate();
    void Nouveau_Click();
    void Quitter_Click();

    // Dragging: the pointer over tile Index while tile Source is dragged, X and Y in twips of
    // that tile. Only the first one over the dragged tile itself sets the grab offset, so that
    // the tile lands exactly where its outline is released.
    void Mot_DragOver(int Index, int Source, double X, double Y);
    // Tile Source dropped on the window background at X, Y (twips, window coordinates).
    void Form_DragDrop(int Source, double X, double Y);
    // Tile Source dropped on the answer box at X, Y (twips, answer box coordinates).
    void TexteResultat_DragDrop(int Source, double X, double Y);

    // One tick of Timer(Index); public so that tests tick without waiting a second.
    void Timer_Timer(int Index);

    // The tile being dragged, or -1.
    int draggedTile() const { return m_dragSource; }

    // The scale the scene is drawn at, and where.
    const SceneScale &sceneScale() const { return m_scale; }

protected:
    bool event(QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void Form_Initialize();
    void buildControls();
    // Every control at the scale that fits the window (again when `force`).
    void applyScale(bool force);
    void layoutTexte();
    void placeBubble();
    // A window position in twips from a control's corner, at the scene's scale.
    QPointF twipsFrom(QPoint corner, QPoint windowPos) const;
    // Whether this window shows at that point: inside it, not covered by another window.
    bool isUncovered(QPoint windowPos) const;

    // Keyboard play by the places on screen, never by the sentence's order.
    std::vector<int> readingOrder() const;
    template <typename Accept> int nearestTile(QPoint from, Accept accept) const;
    void moveFocus(WordTile *from, int key);
    void focusFirstTile();
    void keyboardUsed();
    // The answer, the status line and the bubble tell assistive technologies their texts.
    void setAnswer(const QString &answer);
    void setStatus(const QString &status);
    static void announce(QWidget *control);
    void showBubble(const ExerciseRules::Bubble &bubble);
    void runTimer(int index);
    void stopTimer(int index);
    void stopAllTimers();
    void noSentence(SentenceLoad load);
    // Keyboard pupils go on with Space or Enter: "Nouveau" takes the focus when it appears.
    void focusNouveau();
    bool isPlayableTile(int index) const;
    void wordCheck();
    void hintClock();
    void sentenceClock();
    void retryPrompt();
    int hintTile() const;

    // Hand-made dragging, from the mouse events of the tiles and of the window.
    void beginDrag(WordTile *tile, QPoint windowPos);
    void dragTo(QPoint windowPos);
    void dropAt(QPoint windowPos);
    void cancelDrag();

    // Activation as the pupil sees it: this window is the active one of the program.
    bool isActiveExercise() const;
    void requestActivationUpdate();
    void updateActivation();
    void watchSubWindow();

    // Sound cues and waits let events run: a close asked for meanwhile is done afterwards.
    // Returns false when the handler must stop (the window is closing or is gone).
    bool playSound(const QString &name);
    bool wait(int count);
    template <typename F> bool yielding(F call);
    // Stops the clocks and any drag for a close. True when a handler is waiting for a sound:
    // the window is then hidden now and closed once that handler returns.
    bool beginClose();
    void closeContainer();
    void hideContainer();
    QMdiSubWindow *subWindow() const;

    // The services the exercise uses.
    struct Uses {
        SettingsStore &settings;
        Clock &clock;
        RandomSource &random;
        ProgramState &state;
        Journal &journal;
        SoundPlayer &sound;
        QString programFolder;
    } m_services;
    Phase m_phase = Phase::NotLoaded;
    bool m_countStarted = false;  // the first activation set the count of the exercise
    bool m_active = false;        // last known activation, to see when it changes
    bool m_otherWindowSince = false; // another window of the program was active since
    bool m_activationUpdatePending = false;
    bool m_closing = false;
    bool m_keyboardUsed = false;
    bool m_closeRequested = false;
    int m_waitDepth = 0;
    QPointer<QMdiSubWindow> m_watchedSubWindow;

    SceneScale m_scale;
    SvgPicture *m_scene = nullptr;
    DragOutline *m_outline = nullptr;
    int m_dragSource = -1;
    QPoint m_dragGrab;            // pointer position inside the tile when it was grabbed
    bool m_offsetTaken = false;

    int m_messageTop = 500;
    double m_messageSize = 22;
    QString m_messageText;
};
