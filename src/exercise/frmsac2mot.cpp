#include "frmsac2mot.h"

#include "dragoutline.h"
#include "svgpicture.h"
#include "wordtile.h"

#include "common/apptexts.h"
#include "common/sentencefolders.h"
#include "common/settingsstore.h"
#include "journal/journal.h"
#include "sound/soundplayer.h"
#include "ui/svgicon.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace ExerciseRules;

namespace {
// The controls' places in twips of the designed scene.
const QRect LogoRect(45, 45, 2820, 1560);
const int MessageLeft = 5115;
const QRect AnswerRect(270, 4455, 7665, 1365);
const QRect TexteRect(135, 5985, 5505, 240); // one line
const QRect NouveauRect(5715, 5895, 1140, 330);
const QRect QuitterRect(6885, 5895, 1140, 330);
const QRect EcouterRect(8085, 5895, 1380, 330); // after "Quitter", under the teacher
const QSize ScenePicture(640, 480); // pixels at scale 1, from the top left, cropped
const double AnswerPoints = 20.25;
const QColor TileColor(128, 0, 0);
const QColor HintColor(0, 0, 255);
}

frmSac2Mot::frmSac2Mot(SettingsStore &settings, Clock &clock, RandomSource &random,
                       Journal &journal, SoundPlayer &sound,
                       const QString &programFolder, QWidget *parent)
    : QWidget(parent)
    , m_journal(journal)
    , m_sound(sound)
    , m_settings(settings)
    , m_programFolder(programFolder)
    , m_session(settings, clock, random, programFolder, *this)
{
    setWindowTitle(QStringLiteral("Sac de mots"));
    buildControls();
    resize(SceneScale::designSize());
    applyScale(true);
    connect(&m_session, &ExerciseSession::changed, this, &frmSac2Mot::refresh);
    connect(&m_sound, &SoundPlayer::speechStateChanged, this, &frmSac2Mot::updateEcouter);
    connect(&m_sound, &SoundPlayer::wordSpoken, this, [this](int tag, int start, int length) {
        if (tag == ExerciseSession::ReadBackTag)
            highlightAnswer(start, length);
    });
    connect(&m_sound, &SoundPlayer::speechEnded, this, [this](int tag) {
        if (tag == ExerciseSession::ReadBackTag)
            highlightAnswer(-1, 0);
    });
    showBubble();
    m_journal.ensureCreated();
}

frmSac2Mot::~frmSac2Mot() = default;

void frmSac2Mot::buildControls()
{
    // Small enough for any main window a classroom screen allows; the scene shrinks with it.
    setMinimumSize(SceneScale::designSize() / 2);
    // The white ground is painted, not set in the palette: the buttons keep the program's
    // palette, whose drawings Qt's style caches once for every exercise opened.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(windowFont());

    // The drawn classroom is the window's background: drops on it are drops on the window.
    m_scene = new SvgPicture(QStringLiteral(":/exercise/scene.svg"), this);
    m_scene->setAttribute(Qt::WA_TransparentForMouseEvents);
    // The classroom's ground is white: the window's white is not painted under it first.
    m_scene->setOpaqueBackground(Qt::white);

    Image1 = new SvgPicture(QStringLiteral(":/exercise/sac_logo.svg"), this);
    Image1->setToolTip(QStringLiteral("Sac de mots"));

    Message = new QLabel(this);
    Message->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Message->setTextFormat(Qt::PlainText);
    QPalette red = Message->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    Message->setPalette(red);

    TexteResultat = new QLabel(this);
    TexteResultat->setWordWrap(true);
    TexteResultat->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    TexteResultat->setTextFormat(Qt::PlainText);
    TexteResultat->setAccessibleName(QStringLiteral("Ta phrase"));
    QPalette darkRed = TexteResultat->palette();
    darkRed.setColor(QPalette::WindowText, QColor(192, 0, 0));
    TexteResultat->setPalette(darkRed);

    Texte = new QLabel(this);
    Texte->setTextFormat(Qt::PlainText);
    Texte->setWordWrap(true);

    Quitter = new QPushButton(QStringLiteral("&Quitter"), this);
    Nouveau = new QPushButton(QStringLiteral("&Nouveau"), this);
    // A pupil who drops words with Enter goes on to the next sentence with it.
    Nouveau->setAutoDefault(true);
    connect(Quitter, &QPushButton::clicked, this, &frmSac2Mot::Quitter_Click);
    Quitter->installEventFilter(this);
    Nouveau->installEventFilter(this);
    connect(Nouveau, &QPushButton::clicked, this, &frmSac2Mot::Nouveau_Click);
    // Alt+C, and its icon for the pupils who do not read yet.
    // Drawn from the program's own picture: the style's icon is a picture file, whose reading
    // loads every image-format plugin of Qt.
    Ecouter = new QPushButton(svgIcon(QStringLiteral(":/exercise/ecouter.svg"),
                                      {{16, 16}, {24, 24}, {32, 32}}, 128),
                              QStringLiteral("É&couter"), this);
    Ecouter->setAccessibleName(QStringLiteral("Écouter la phrase"));
    Ecouter->setToolTip(QStringLiteral("Écouter la phrase (Alt+C)"));
    Ecouter->setAutoDefault(false);
    Ecouter->installEventFilter(this);
    connect(Ecouter, &QPushButton::clicked, this, &frmSac2Mot::Ecouter_Click);

    QWidget *previous = Nouveau;
    setTabOrder(Quitter, Nouveau);
    for (int i = 0; i < int(Mot.size()); ++i) {
        auto *tile = new WordTile(i, this);
        tile->hide();
        tile->setEnabled(false);
        tile->installEventFilter(this);
        Mot[std::size_t(i)] = tile;
        setTabOrder(previous, tile);
        previous = tile;
    }

    m_outline = new DragOutline(this);

    // Tests and assistive tools find the controls by the names the program gives them.
    Image1->setObjectName(QStringLiteral("Image1"));
    Message->setObjectName(QStringLiteral("Message"));
    TexteResultat->setObjectName(QStringLiteral("TexteResultat"));
    Texte->setObjectName(QStringLiteral("Texte"));
    Nouveau->setObjectName(QStringLiteral("Nouveau"));
    Quitter->setObjectName(QStringLiteral("Quitter"));
    Ecouter->setObjectName(QStringLiteral("Ecouter"));
    for (int i = 0; i < int(Mot.size()); ++i)
        Mot[std::size_t(i)]->setObjectName(QStringLiteral("Mot%1").arg(i));
}

void frmSac2Mot::paintEvent(QPaintEvent *event)
{
    QPainter(this).fillRect(event->rect(), Qt::white);
}

void frmSac2Mot::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    applyScale(false);
}

void frmSac2Mot::applyScale(bool force)
{
    const SceneScale scale = SceneScale::fitting(size());
    if (scale == m_scale && !force)
        return;
    m_scale = scale;
    const double factor = scale.factor();
    // The status line and the buttons take the window's font.
    setFont(windowFont(factor));
    m_scene->setGeometry(scale.sceneRect());
    m_scene->setPictureSize((QSizeF(ScenePicture) * factor).toSize());
    Image1->setGeometry(scale.toWindow(LogoRect));
    TexteResultat->setFont(serifFont(AnswerPoints, true, true, factor));
    TexteResultat->setGeometry(scale.toWindow(AnswerRect));
    Nouveau->setGeometry(scale.toWindow(NouveauRect));
    Quitter->setGeometry(scale.toWindow(QuitterRect));
    Ecouter->setGeometry(scale.toWindow(EcouterRect));
    Ecouter->setIconSize(QSize(Ecouter->height() * 2 / 3, Ecouter->height() * 2 / 3));
    layoutTexte();
    placeBubble();
    for (WordTile *tile : Mot) {
        if (!tile->isHidden())
            tile->place(scale);
    }
    if (const int dragged = m_session.draggedTile(); dragged >= 0) {
        const WordTile *tile = Mot[std::size_t(dragged)];
        m_outline->follow(*tile, tile->text());
    }
}

void frmSac2Mot::layoutTexte()
{
    // Long texts (a file name) wrap onto a second line rather than being cut.
    QRect line = m_scale.toWindow(TexteRect);
    if (!Texte->text().isEmpty())
        line.setHeight(std::max(line.height(), Texte->heightForWidth(line.width())));
    Texte->setGeometry(line);
}

void frmSac2Mot::placeBubble()
{
    Message->setFont(serifFont(m_session.bubbleSize(), true, false, m_scale.factor()));
    // Sized to its text, growing right and down from its left and top edges.
    Message->move(m_scale.toWindow(QPointF(MessageLeft, m_session.bubbleTop())));
    Message->adjustSize();
}

// ---- The session's outputs and its drawing ----

void frmSac2Mot::journalEvent(const JournalEvent &event)
{
    m_journal.record(event);
}

void frmSac2Mot::sentenceStarted()
{
    m_journal.MarqueHeureProgress();
}

void frmSac2Mot::sounds(const SoundSequence &sequence)
{
    m_sound.play(sequence);
}

void frmSac2Mot::soundSwitch(const QString &activation)
{
    m_sound.setActivationSon(activation);
}

void frmSac2Mot::updateEcouter()
{
    const Phase phase = m_session.phase();
    const bool sentence =
        phase == Phase::InPlay || phase == Phase::SentenceDone || phase == Phase::TimeUp;
    const bool voice = m_sound.speechState() != SoundPlayer::SpeechState::Unavailable;
    Ecouter->setEnabled(sentence && voice && !m_session.isClosing());
    // A control that cannot work says why, in the pupil's and the teacher's language.
    Ecouter->setToolTip(voice ? QStringLiteral("Écouter la phrase (Alt+C)")
                              : m_sound.speechUnavailableReason());
}

void frmSac2Mot::Ecouter_Click()
{
    m_session.listen();
}

void frmSac2Mot::sayFocusedTile()
{
    if (auto *tile = qobject_cast<WordTile *>(QApplication::focusWidget());
        tile && tile->parentWidget() == this)
        m_session.tilePressed(tile->index());
}

void frmSac2Mot::highlightAnswer(int start, int length)
{
    if (start < 0 || start + length > m_shownAnswer.size()) {
        if (m_spokenStart < 0)
            return;
        m_spokenStart = -1;
        TexteResultat->setTextFormat(Qt::PlainText);
        TexteResultat->setText(m_shownAnswer);
        return;
    }
    m_spokenStart = start;
    m_spokenLength = length;
    TexteResultat->setTextFormat(Qt::RichText);
    TexteResultat->setText(m_shownAnswer.left(start).toHtmlEscaped()
                           + QStringLiteral("<span style=\"background-color:#ffe14d;\">")
                           + m_shownAnswer.mid(start, length).toHtmlEscaped()
                           + QStringLiteral("</span>")
                           + m_shownAnswer.mid(start + length).toHtmlEscaped());
}

void frmSac2Mot::showBubble()
{
    Message->setText(QString(m_session.bubbleText()).replace(QChar(13), QLatin1Char('\n')));
    placeBubble();
}

void frmSac2Mot::refresh()
{
    for (int i = 0; i < int(Mot.size()); ++i) {
        WordTile *tile = Mot[std::size_t(i)];
        const ExerciseSession::Tile &state = m_session.tile(i);
        if (state.shown) {
            if (tile->word() != state.word || tile->isHidden())
                tile->setWord(state.word);
            const QColor color = state.hinted ? HintColor : TileColor;
            if (tile->textColor() != color)
                tile->setTextColor(color);
            tile->setEnabled(true);
            if (tile->twipsPos() != state.pos || tile->isHidden()) {
                tile->setTwipsPos(state.pos);
                tile->place(m_scale);
            }
            tile->show();
        } else if (!tile->isHidden()) {
            const bool focused = tile->hasFocus();
            const QPoint was = tile->geometry().center();
            tile->hide();
            // The focus goes to the word nearest on screen, which says nothing of the order;
            // after the last one not on to "Quitter", which a pupil dropping words with Space
            // would press next.
            if (focused) {
                const int nearest = nearestTile(was, [](QPoint) { return true; });
                if (nearest >= 0)
                    Mot[std::size_t(nearest)]->setFocus(Qt::OtherFocusReason);
                else
                    setFocus();
            }
        }
    }
    orderTiles();
    if (m_session.draggedTile() < 0 && m_outline && m_outline->isVisible())
        m_outline->hide();
    if (m_shownAnswer != m_session.answer())
        setAnswer(m_session.answer());
    if (Texte->text() != m_session.status())
        setStatus(m_session.status());
    const QString bubble = QString(m_session.bubbleText()).replace(QChar(13), QLatin1Char('\n'));
    if (Message->text() != bubble)
        showBubble();
    else
        placeBubble();
    const Phase phase = m_session.phase();
    const bool offerNew =
        phase == Phase::NoSentence || phase == Phase::SentenceDone || phase == Phase::TimeUp;
    if (offerNew != !Nouveau->isHidden()) {
        Nouveau->setVisible(offerNew);
        if (offerNew && phase != Phase::NoSentence)
            focusNouveau();
    }
    updateEcouter();
}

// ---- Sentence start, activation, buttons ----

void frmSac2Mot::focusNouveau()
{
    // Only when the focus is already in this window: taking it from another inner window
    // would make this one active.
    const QWidget *focus = QApplication::focusWidget();
    if (focus && (focus == this || isAncestorOf(focus)))
        Nouveau->setFocus();
}

void frmSac2Mot::Form_Load()
{
    if (m_session.isClosing())
        return;
    cancelDrag();
    // A maximised inner window already fills the main window from its top left corner.
    if (QMdiSubWindow *sub = subWindow(); sub && !sub->isMaximized())
        sub->move(0, 0);
    for (WordTile *tile : Mot) {
        tile->setPointSize(16);
        tile->hide();
        tile->setEnabled(false);
        // No word of the last sentence is left for a screen reader to list.
        tile->setWord(QString());
        tile->setToolTip(QString());
    }
    m_session.start([this](int i, const QString &word) {
        WordTile *tile = Mot[std::size_t(i)];
        tile->setTextColor(TileColor);
        tile->setWord(word);
        tile->place(m_scale);
        return tile->targetTwips();
    });
    if (m_session.phase() == Phase::NoSentence) {
        const QString name = sentenceFileName(m_settings);
        Texte->setToolTip(SentenceFolders::pathOf(name, m_programFolder));
        layoutTexte();
        return;
    }
    focusFirstTile();
}

void frmSac2Mot::Form_Activate()
{
    // A class that hears its sentences has the voice ready before the first one.
    if (m_session.reading() != ExerciseSession::Reading::Off)
        m_sound.prepareSpeech();
    m_session.activate();
}

void frmSac2Mot::Nouveau_Click()
{
    if (m_session.isClosing())
        return;
    m_session.clearStatus();
    setStatus(QString());
    Texte->setToolTip(QString());
    Form_Load();
}

void frmSac2Mot::Quitter_Click()
{
    if (m_session.isClosing())
        return;
    m_session.quit();
    closeContainer();
}

// ---- Drops and the clocks: the session's ----

bool frmSac2Mot::isPlayableTile(int index) const
{
    return m_session.isPlayable(index) && !Mot[std::size_t(index)]->isHidden();
}

void frmSac2Mot::Mot_DragOver(int Index, int Source, double X, double Y)
{
    m_session.dragOver(Index, Source, X, Y);
}

void frmSac2Mot::Form_DragDrop(int Source, double X, double Y)
{
    m_session.dropOnScene(Source, X, Y);
}

void frmSac2Mot::TexteResultat_DragDrop(int Source, double, double)
{
    m_session.dropOnAnswer(Source);
}

void frmSac2Mot::Timer_Timer(int Index)
{
    m_session.tick(Index);
}

// ---- Dragging by hand ----

bool frmSac2Mot::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress
        && (watched == Nouveau || watched == Quitter || watched == Ecouter))
        keyboardUsed();
    auto *tile = qobject_cast<WordTile *>(watched);
    if (!tile || tile->parentWidget() != this)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && m_session.draggedTile() < 0) {
            m_session.tilePressed(tile->index());
            beginDrag(tile, tile->mapTo(this, mouse->position().toPoint()));
        }
        return true;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (m_session.draggedTile() >= 0)
            dragTo(tile->mapTo(this, mouse->position().toPoint()));
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && m_session.draggedTile() >= 0)
            dropAt(tile->mapTo(this, mouse->position().toPoint()));
        return true;
    }
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        const int k = key->key();
        keyboardUsed();
        if (k == Qt::Key_Tab || k == Qt::Key_Backtab)
            break; // focusNextPrevChild
        // The Enter of the numeric keypad comes with the keypad modifier.
        const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if ((k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Space) && plain
            && m_session.draggedTile() < 0) {
            // A key held down drops its word once, not every word that takes the focus after.
            if (!key->isAutoRepeat())
                TexteResultat_DragDrop(tile->index(), 0, 0);
        } else if (plain) {
            moveFocus(tile, k);
            if (QApplication::focusWidget() != tile)
                sayFocusedTile();
        }
        // Every other key does nothing: none may place a word or point at one.
        return true;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void frmSac2Mot::mouseMoveEvent(QMouseEvent *event)
{
    if (m_session.draggedTile() >= 0)
        dragTo(event->position().toPoint());
    else
        QWidget::mouseMoveEvent(event);
}

void frmSac2Mot::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_session.draggedTile() >= 0 && event->button() == Qt::LeftButton)
        dropAt(event->position().toPoint());
    else
        QWidget::mouseReleaseEvent(event);
}

void frmSac2Mot::beginDrag(WordTile *tile, QPoint windowPos)
{
    if (m_session.isClosing() || !isPlayableTile(tile->index()))
        return;
    m_dragGrab = windowPos - tile->pos();
    m_session.beginDrag(tile->index(), twipsFrom(tile->textOrigin(), windowPos).x(),
                        twipsFrom(tile->textOrigin(), windowPos).y());
    m_outline->follow(*tile, tile->text());
    m_outline->move(windowPos - m_dragGrab);
    m_outline->show();
    m_outline->raise();
}

void frmSac2Mot::dragTo(QPoint windowPos)
{
    const int source = m_session.draggedTile();
    if (source < 0)
        return;
    m_outline->move(windowPos - m_dragGrab);
    if (auto *over = qobject_cast<WordTile *>(childAt(windowPos))) {
        const QPointF inTile = twipsFrom(over->textOrigin(), windowPos);
        Mot_DragOver(over->index(), source, inTile.x(), inTile.y());
    }
}

void frmSac2Mot::dropAt(QPoint windowPos)
{
    const int source = m_session.draggedTile();
    cancelDrag();
    if (source < 0 || !isPlayableTile(source))
        return;
    // Released over another window (the journal kept on top, the settings dialog over the
    // exercise, the desktop): the tile goes back and nothing is judged, written or played.
    if (!isUncovered(windowPos))
        return;
    QWidget *target = childAt(windowPos);
    if (target == TexteResultat) {
        const QPointF inBox = twipsFrom(TexteResultat->pos(), windowPos);
        TexteResultat_DragDrop(source, inBox.x(), inBox.y());
    } else if ((target == nullptr || target == m_scene)
               && m_scale.sceneRect().contains(windowPos)) {
        const QPointF inScene = m_scale.toTwips(windowPos);
        Form_DragDrop(source, inScene.x(), inScene.y());
    }
    // Anything else (the logo, the bubble, a button, a tile, outside the window): no effect.
}

bool frmSac2Mot::isUncovered(QPoint windowPos) const
{
    // The scene paints itself whole, so the window's own visible region leaves it out.
    if (!rect().contains(windowPos)
        || !(visibleRegion().contains(windowPos)
             || m_scene->visibleRegion().contains(windowPos - m_scene->pos())))
        return false;
    return QApplication::topLevelAt(mapToGlobal(windowPos)) == window();
}

// ---- Keyboard play ----

std::vector<int> frmSac2Mot::readingOrder() const
{
    std::vector<int> order;
    for (int i = 0; i < int(Mot.size()); ++i) {
        const WordTile *tile = Mot[std::size_t(i)];
        if (isPlayableTile(i) && tile->focusPolicy() != Qt::NoFocus)
            order.push_back(i);
    }
    return inReadingOrder(order);
}

std::vector<int> frmSac2Mot::inReadingOrder(const std::vector<int> &tiles) const
{
    std::vector<QRectF> rects;
    rects.reserve(tiles.size());
    for (int i : tiles)
        rects.emplace_back(Mot[std::size_t(i)]->geometry());
    std::vector<int> order;
    order.reserve(tiles.size());
    for (int at : ExerciseRules::readingOrder(rects))
        order.push_back(tiles[std::size_t(at)]);
    return order;
}

void frmSac2Mot::orderTiles()
{
    // Assistive technologies list a window's controls in the order of its children, which is
    // the order the tiles were made in, the sentence's: the tiles on the scene come in reading
    // order instead, the others after them.
    std::vector<int> shown;
    std::vector<int> others;
    for (int i = 0; i < int(Mot.size()); ++i)
        (m_session.isPlayable(i) ? shown : others).push_back(i);
    std::vector<int> order = inReadingOrder(shown);
    order.insert(order.end(), others.begin(), others.end());
    if (order == m_childOrder)
        return;
    m_childOrder = order;
    // Each one goes just under the drag outline, which was made after every tile.
    for (int i : order)
        Mot[std::size_t(i)]->stackUnder(m_outline);
}

bool frmSac2Mot::focusNextPrevChild(bool next)
{
    // The tiles in reading order, then the buttons shown.
    std::vector<QWidget *> chain;
    for (int i : readingOrder())
        chain.push_back(Mot[std::size_t(i)]);
    for (QPushButton *button : {Ecouter, Nouveau, Quitter}) {
        if (!button->isHidden() && button->isEnabled())
            chain.push_back(button);
    }
    if (chain.empty())
        return QWidget::focusNextPrevChild(next);
    const auto at = std::find(chain.begin(), chain.end(), QApplication::focusWidget());
    const int count = int(chain.size());
    int index = next ? 0 : count - 1;
    if (at != chain.end())
        index = (int(at - chain.begin()) + (next ? 1 : count - 1)) % count;
    chain[std::size_t(index)]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    sayFocusedTile();
    return true;
}

template <typename Accept> int frmSac2Mot::nearestTile(QPoint from, Accept accept) const
{
    int best = -1;
    double bestDistance = 0;
    for (int i : readingOrder()) {
        const QPoint centre = Mot[std::size_t(i)]->geometry().center();
        const QPoint d = centre - from;
        if (d.isNull() || !accept(d))
            continue;
        const double distance = std::hypot(double(d.x()), double(d.y()));
        if (best < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void frmSac2Mot::moveFocus(WordTile *from, int key)
{
    // The nearest tile that lies more in that direction than across it.
    std::function<bool(QPoint)> ahead;
    switch (key) {
    case Qt::Key_Left:
        ahead = [](QPoint d) { return d.x() < 0 && -d.x() >= std::abs(d.y()) / 2; };
        break;
    case Qt::Key_Right:
        ahead = [](QPoint d) { return d.x() > 0 && d.x() >= std::abs(d.y()) / 2; };
        break;
    case Qt::Key_Up:
        ahead = [](QPoint d) { return d.y() < 0 && -d.y() >= std::abs(d.x()) / 2; };
        break;
    case Qt::Key_Down:
        ahead = [](QPoint d) { return d.y() > 0 && d.y() >= std::abs(d.x()) / 2; };
        break;
    default:
        return;
    }
    const int nearest = nearestTile(from->geometry().center(), ahead);
    if (nearest >= 0)
        Mot[std::size_t(nearest)]->setFocus(Qt::OtherFocusReason);
}

void frmSac2Mot::focusFirstTile()
{
    // Only when the focus is already in this window: taking it from another inner window
    // would make this one active.
    const QWidget *focus = QApplication::focusWidget();
    if (!focus || (focus != this && !isAncestorOf(focus)))
        return;
    const std::vector<int> order = readingOrder();
    if (!order.empty())
        Mot[std::size_t(order.front())]->setFocus(Qt::OtherFocusReason);
}

void frmSac2Mot::keyboardUsed()
{
    if (m_keyboardUsed)
        return;
    // The focus frame shows from now on; a mouse player never sees it.
    m_keyboardUsed = true;
    for (WordTile *tile : Mot)
        tile->setFocusFrameShown(true);
}

// ---- What assistive technologies are told ----

void frmSac2Mot::setAnswer(const QString &answer)
{
    m_shownAnswer = answer;
    m_spokenStart = -1;
    TexteResultat->setTextFormat(Qt::PlainText);
    TexteResultat->setText(answer);
    TexteResultat->setAccessibleName(answer.isEmpty() ? QStringLiteral("Ta phrase")
                                                      : QStringLiteral("Ta phrase : ") + answer);
}

void frmSac2Mot::setStatus(const QString &status)
{
    Texte->setText(status);
    layoutTexte();
}

QPointF frmSac2Mot::twipsFrom(QPoint corner, QPoint windowPos) const
{
    return QPointF(windowPos - corner) * 15.0 / m_scale.factor();
}

void frmSac2Mot::cancelDrag()
{
    m_session.cancelDrag();
    if (m_outline)
        m_outline->hide();
}

// ---- Showing, activation and closing ----

QMdiSubWindow *frmSac2Mot::subWindow() const
{
    return qobject_cast<QMdiSubWindow *>(parentWidget());
}

void frmSac2Mot::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The first showing loads the window: the first sentence starts.
    if (m_session.phase() == Phase::NotLoaded && !m_session.isClosing())
        Form_Load();
    watchSubWindow();
    requestActivationUpdate();
}

void frmSac2Mot::watchSubWindow()
{
    QMdiSubWindow *sub = subWindow();
    if (!sub || sub == m_watchedSubWindow)
        return;
    m_watchedSubWindow = sub;
    connect(sub, &QMdiSubWindow::windowStateChanged, this, &frmSac2Mot::requestActivationUpdate);
    if (QMdiArea *area = sub->mdiArea())
        connect(area, &QMdiArea::subWindowActivated, this, &frmSac2Mot::requestActivationUpdate);
}

bool frmSac2Mot::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate)
        requestActivationUpdate();
    return QWidget::event(event);
}

bool frmSac2Mot::isActiveExercise() const
{
    if (!isVisible() || !isActiveWindow())
        return false;
    QMdiSubWindow *sub = subWindow();
    if (!sub || !sub->mdiArea())
        return true;
    return sub->mdiArea()->activeSubWindow() == sub;
}

void frmSac2Mot::requestActivationUpdate()
{
    // Looked at once the activation events have all been delivered, and outside of them: the
    // greeting waits, and must not run inside the toolkit's delivery of those events.
    if (m_activationUpdatePending)
        return;
    m_activationUpdatePending = true;
    QMetaObject::invokeMethod(this, &frmSac2Mot::updateActivation, Qt::QueuedConnection);
}

void frmSac2Mot::updateActivation()
{
    m_activationUpdatePending = false;
    if (m_session.isClosing() || m_session.phase() == Phase::NotLoaded)
        return;
    const bool active = isActiveExercise();
    if (!active) {
        // Leaving for another program is not leaving for another window of this one.
        QMdiSubWindow *sub = subWindow();
        const bool otherSubWindow =
            sub && sub->mdiArea() && sub->mdiArea()->activeSubWindow() != sub;
        if (QApplication::activeWindow() != nullptr || otherSubWindow)
            m_otherWindowSince = true;
        m_active = false;
        return;
    }
    if (m_active)
        return;
    m_active = true;
    if (m_session.countStarted() && !m_otherWindowSince)
        return;
    m_otherWindowSince = false;
    Form_Activate();
}

void frmSac2Mot::closeEvent(QCloseEvent *event)
{
    m_session.close();
    cancelDrag();
    // A closed exercise stops talking; a cue already started ends by itself.
    m_sound.stopSpeech();
    QWidget::closeEvent(event);
}

void frmSac2Mot::closeContainer()
{
    if (QMdiSubWindow *sub = subWindow())
        sub->close();
    else
        close();
}
