#pragma once
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <array>
#include <vector>

#include "exercisesession.h"
#include "scenescale.h"
#include "sentencelist.h"

class Clock;
class Journal;
class RandomSource;
class SettingsStore;
class SoundPlayer;
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
// The window is a view: the exercise's rules and state are its ExerciseSession, which it draws
// and to which it passes the pupil's actions; it writes the session's journal lines and plays
// its sound cues. Handlers keep the names a reader of the program knows. Nothing here waits for
// a sound: the session's state is complete before anything is heard, and the sound player plays
// on by itself. "Écouter" says the sentence; a sentence read back shows each word in the answer
// box as it is heard.
class frmSac2Mot : public QWidget, private ExerciseOutput
{
    Q_OBJECT
public:
    // Sentence files are looked up from `programFolder` (and the user's own folder).
    frmSac2Mot(SettingsStore &settings, Clock &clock, RandomSource &random,
               Journal &journal, SoundPlayer &sound, const QString &programFolder,
               QWidget *parent = nullptr);
    ~frmSac2Mot() override;

    using Phase = ExerciseSession::Phase;
    Phase phase() const { return m_session.phase(); }

    // The four clocks, Timer(0) to Timer(3): the index Timer_Timer receives.
    using Clocks = ExerciseSession::Clocks;
    static constexpr Clocks WordCheck = ExerciseSession::WordCheck;
    static constexpr Clocks RetryPrompt = ExerciseSession::RetryPrompt;
    static constexpr Clocks HintClock = ExerciseSession::HintClock;
    static constexpr Clocks SentenceClock = ExerciseSession::SentenceClock;

    // The rules and state of the exercise this window draws.
    ExerciseSession &session() { return m_session; }
    const ExerciseSession &session() const { return m_session; }

    // The speech bubble's top edge (twips) and font size (points).
    int messageTop() const { return m_session.bubbleTop(); }
    double messageFontSize() const { return m_session.bubbleSize(); }
    // The bubble's text as the program says it, the character 13 between lines.
    QString messageText() const { return m_session.bubbleText(); }

    // The sentence start: picks a sentence and scatters its words. Runs by itself when the
    // window is first shown, and again from "Nouveau".
    void Form_Load();
    // The window became the active window: the first time starts the count of the exercise;
    // every time reads "Son" and greets the pupil. Runs by itself on activation.
    void Form_Activate();
    void Nouveau_Click();
    void Quitter_Click();
    void Ecouter_Click();

    // Dragging: the pointer over tile Index while tile Source is dragged, X and Y in twips of
    // that tile. Only the first one over the dragged tile itself sets the grab offset, so that
    // the tile lands exactly where its outline is released.
    void Mot_DragOver(int Index, int Source, double X, double Y);
    // Tile Source dropped on the window background at X, Y (twips, window coordinates).
    void Form_DragDrop(int Source, double X, double Y);
    // Tile Source dropped on the answer box at X, Y (twips, answer box coordinates).
    void TexteResultat_DragDrop(int Source, double X, double Y);

    // One tick of Timer(Index) (the session's clock of that name); tests tick without waiting
    // a second.
    void Timer_Timer(int Index);

    // The tile being dragged, or -1.
    int draggedTile() const { return m_session.draggedTile(); }

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
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // What the session hands out: journal lines and sound cues.
    void journalEvent(const JournalEvent &event) override;
    void sentenceStarted() override;
    void sounds(const SoundSequence &sequence) override;
    void soundSwitch(const QString &activation) override;

    // "Écouter" usable when there is a sentence to say and a voice to say it.
    void updateEcouter();
    // The word of the tile the keyboard just moved to, when words are read aloud.
    void sayFocusedTile();
    // A word of the read-back heard: shown in the answer box; -1 shows none.
    void highlightAnswer(int start, int length);

    void buildControls();
    // The controls drawn from the session's state.
    void refresh();
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
    std::vector<int> inReadingOrder(const std::vector<int> &tiles) const;
    // The tiles among the window's children (what assistive technologies list) in reading order.
    void orderTiles();
    template <typename Accept> int nearestTile(QPoint from, Accept accept) const;
    void moveFocus(WordTile *from, int key);
    void focusFirstTile();
    void keyboardUsed();
    // The answer, the status line and the bubble tell assistive technologies their texts: the
    // label's text or accessible name announces itself, once.
    void setAnswer(const QString &answer);
    void setStatus(const QString &status);
    void showBubble();
    // Keyboard pupils go on with Space or Enter: "Nouveau" takes the focus when it appears.
    void focusNouveau();
    bool isPlayableTile(int index) const;

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

    void closeContainer();
    QMdiSubWindow *subWindow() const;

    Journal &m_journal;
    SoundPlayer &m_sound;
    SettingsStore &m_settings;
    QString m_programFolder;
    ExerciseSession m_session;

    // The controls.
    SvgPicture *Image1 = nullptr;
    QLabel *Message = nullptr;       // shows the character 13 of its texts as a line break
    QLabel *TexteResultat = nullptr;
    std::array<WordTile *, ExerciseSession::TileCount> Mot{};
    QLabel *Texte = nullptr;
    QPushButton *Nouveau = nullptr;
    QPushButton *Quitter = nullptr;
    QPushButton *Ecouter = nullptr;

    bool m_active = false;        // last known activation, to see when it changes
    bool m_otherWindowSince = false; // another window of the program was active since
    bool m_activationUpdatePending = false;
    bool m_keyboardUsed = false;
    QString m_shownAnswer;        // the answer as the box shows it, without the highlight
    int m_spokenStart = -1;       // the word of the read-back being heard, in the answer
    int m_spokenLength = 0;
    QPointer<QMdiSubWindow> m_watchedSubWindow;

    SceneScale m_scale;
    SvgPicture *m_scene = nullptr;
    DragOutline *m_outline = nullptr;
    QPoint m_dragGrab;            // pointer position inside the tile when it was grabbed
    std::vector<int> m_childOrder; // the tiles' order among the children, as last made
};
