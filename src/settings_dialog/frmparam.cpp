#include "frmparam.h"

#include "common/apptexts.h"
#include "common/objectnames.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <utility>

namespace {
// The dialog's inner area, in twips.
// Wider than drawn, for the longest line of reading aloud ("La phrase et les mots").
constexpr int ExtraWidth = 600;
constexpr int InnerWidth = 4515 + ExtraWidth;
// Every list as wide as the widest choice ("La phrase et les mots") and the graded lists' names.
constexpr int ListWidth = 2235 + ExtraWidth;
// Two rows below the file's, for reading aloud and its pace.
constexpr int ExtraRows = 2 * 375;
constexpr int InnerHeight = 2940 + ExtraRows;
// The frame's origin: the controls inside it are laid out in the window's coordinates.
constexpr int FrameLeft = 120;
constexpr int FrameTop = 120;

QRect inFrame(int left, int top, int width, int height)
{
    return twipsRect(left - FrameLeft, top - FrameTop, width, height);
}

// The layout has the fixed sizes it was drawn with, for a small dialog font. Where the desktop's
// font is larger, the labels take a smaller size, the same for all, so that no text is cut.
void fitLabelFont(const QList<QLabel *> &labels)
{
    QFont font = labels.first()->font();
    auto fits = [&labels](const QFont &f) {
        const QFontMetrics metrics(f);
        for (const QLabel *label : labels) {
            if (metrics.horizontalAdvance(label->text()) > label->width())
                return false;
        }
        return true;
    };
    constexpr double Smallest = 6.0;
    while (!fits(font)) {
        if (font.pointSizeF() > 0) {
            if (font.pointSizeF() - 0.5 < Smallest)
                break;
            font.setPointSizeF(font.pointSizeF() - 0.5);
        } else {
            if (font.pixelSize() <= 8)
                break;
            font.setPixelSize(font.pixelSize() - 1);
        }
    }
    for (QLabel *label : labels)
        label->setFont(font);
}
}

frmParam::frmParam(SettingsStore &settings, const QString &programFolder, QWidget *mainWindow)
    : QDialog(nullptr)
    , m_choices(settings, programFolder)
    , m_mainWindow(mainWindow)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Paramètres"));
    setFixedSize(pixels(InnerWidth), pixels(InnerHeight));
    buildControls();
    Form_Load();
}

frmParam::~frmParam() = default;

void frmParam::buildControls()
{
    Frame1 = new QGroupBox(QStringLiteral("Sélectionnez le niveau des exercices"), this);
    Frame1->setGeometry(twipsRect(FrameLeft, FrameTop, 4335 + ExtraWidth, 2310 + ExtraRows));

    auto label = [this](const QString &text, Qt::Alignment align, QRect geometry) {
        auto *l = new QLabel(text, Frame1);
        l->setAlignment(align | Qt::AlignTop);
        l->setGeometry(geometry);
        return l;
    };
    auto list = [this](QRect geometry) {
        auto *c = new QComboBox(Frame1);
        c->setEditable(false);
        c->setGeometry(geometry);
        return c;
    };

    Label1 = label(QStringLiteral("Durée de la phrase :"), Qt::AlignRight,
                   inFrame(570, 480, 1500, 285));
    saisieNiveau = list(inFrame(2130, 405, ListWidth, 315));
    Label2 = label(QStringLiteral("Durée entre chaque mot :"), Qt::AlignRight,
                   inFrame(165, 840, 1905, 240));
    saisieHasard = list(inFrame(2130, 780, ListWidth, 315));
    Label3 = label(QStringLiteral("Nombre d'exercices :"), Qt::AlignLeft,
                   inFrame(585, 1230, 1500, 285));
    saisieExercice = list(inFrame(2130, 1155, ListWidth, 315));
    Label4 = label(QStringLiteral("Activation du son :"), Qt::AlignRight,
                   inFrame(600, 1605, 1455, 240));
    saisieSon = list(inFrame(2130, 1530, ListWidth, 315));
    Label5 = label(QStringLiteral("Fichier de référence :"), Qt::AlignRight,
                   inFrame(480, 1950, 1575, 270));
    saisieFichier = list(inFrame(2130, 1905, ListWidth, 315));
    Label6 = label(QStringLiteral("Lecture à voix haute :"), Qt::AlignRight,
                   inFrame(165, 2325, 1905, 270));
    saisieLecture = list(inFrame(2130, 2280, ListWidth, 315));
    Label7 = label(QStringLiteral("Vitesse de lecture :"), Qt::AlignRight,
                   inFrame(165, 2700, 1905, 270));
    saisieVitesse = list(inFrame(2130, 2655, ListWidth, 315));

    fitLabelFont({Label1, Label2, Label3, Label4, Label5, Label6, Label7});

    Label1->setBuddy(saisieNiveau);
    Label2->setBuddy(saisieHasard);
    Label3->setBuddy(saisieExercice);
    Label4->setBuddy(saisieSon);
    Label5->setBuddy(saisieFichier);
    Label6->setBuddy(saisieLecture);
    Label7->setBuddy(saisieVitesse);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setGeometry(twipsRect(3195 + ExtraWidth, 2505 + ExtraRows, 1260, 345));
    // Both the default and the cancel button: Enter presses it, and Escape (reject) closes the
    // dialog as it does.
    cmdOK->setDefault(true);

    nameObjects({
        {Frame1, "Frame1"},         {Label1, "Label1"},
        {Label2, "Label2"},         {Label3, "Label3"},
        {Label4, "Label4"},         {Label5, "Label5"},
        {saisieNiveau, "saisieNiveau"}, {saisieHasard, "saisieHasard"},
        {saisieExercice, "saisieExercice"}, {saisieSon, "saisieSon"},
        {saisieFichier, "saisieFichier"}, {cmdOK, "cmdOK"},
        {Label6, "Label6"},         {Label7, "Label7"},
        {saisieLecture, "saisieLecture"}, {saisieVitesse, "saisieVitesse"},
    });

    setTabOrder(saisieNiveau, saisieHasard);
    setTabOrder(saisieHasard, saisieExercice);
    setTabOrder(saisieExercice, saisieSon);
    setTabOrder(saisieSon, saisieLecture);
    setTabOrder(saisieLecture, saisieVitesse);
    setTabOrder(saisieVitesse, cmdOK);
    setTabOrder(cmdOK, saisieFichier);
    saisieNiveau->setFocus();

    // Any change of a selection is stored; picking the line already selected stores it again
    // too, since the store may have changed meanwhile (the main window's "Charger exercice").
    const std::pair<QComboBox *, void (frmParam::*)()> handlers[] = {
        {saisieNiveau, &frmParam::saisieNiveau_Click},
        {saisieHasard, &frmParam::saisieHasard_Click},
        {saisieExercice, &frmParam::saisieExercice_Click},
        {saisieSon, &frmParam::saisieSon_Click},
        {saisieLecture, &frmParam::saisieLecture_Click},
        {saisieVitesse, &frmParam::saisieVitesse_Click},
        {saisieFichier, &frmParam::saisieFichier_Click},
    };
    for (const auto &[list, handler] : handlers) {
        connect(list, &QComboBox::currentIndexChanged, this, handler);
        connect(list, &QComboBox::activated, this, handler);
    }
    connect(cmdOK, &QPushButton::clicked, this, &frmParam::cmdOK_Click);
}

void frmParam::Form_Load()
{
    const SettingsChoices::Selection selection = m_choices.load();
    const std::array<QComboBox *, SettingsChoices::ListCount> lists{
        saisieNiveau, saisieHasard, saisieExercice, saisieSon, saisieLecture, saisieVitesse};
    for (int i = 0; i < SettingsChoices::ListCount; ++i) {
        // Filled and set without their handlers: the choices were stored as they were read.
        const QSignalBlocker quiet(lists[size_t(i)]);
        lists[size_t(i)]->addItems(SettingsChoices::lines(SettingsChoices::List(i)));
        lists[size_t(i)]->setCurrentIndex(selection.positions[size_t(i)]);
    }
    const QSignalBlocker quiet(saisieFichier);
    saisieFichier->addItems(selection.files);
    saisieFichier->setCurrentIndex(selection.file);
}

void frmParam::saisieNiveau_Click()
{
    m_choices.choose(SettingsChoices::Niveau, saisieNiveau->currentIndex());
}

void frmParam::saisieHasard_Click()
{
    m_choices.choose(SettingsChoices::Hasard, saisieHasard->currentIndex());
}

void frmParam::saisieExercice_Click()
{
    m_choices.choose(SettingsChoices::Exercice, saisieExercice->currentIndex());
}

void frmParam::saisieSon_Click()
{
    m_choices.choose(SettingsChoices::Son, saisieSon->currentIndex());
}

void frmParam::saisieLecture_Click()
{
    m_choices.choose(SettingsChoices::Lecture, saisieLecture->currentIndex());
    if (readingAloudOn())
        emit readingAloudWanted();
}

bool frmParam::readingAloudOn() const
{
    return saisieLecture->currentIndex() > 0;
}

void frmParam::setSpeechUnavailable(const QString &why)
{
    for (QWidget *control : {static_cast<QWidget *>(Label6), static_cast<QWidget *>(saisieLecture),
                             static_cast<QWidget *>(Label7), static_cast<QWidget *>(saisieVitesse)}) {
        control->setEnabled(why.isEmpty());
        control->setToolTip(why);
    }
}

void frmParam::saisieVitesse_Click()
{
    m_choices.choose(SettingsChoices::Vitesse, saisieVitesse->currentIndex());
}

void frmParam::saisieFichier_Click()
{
    if (saisieFichier->currentIndex() >= 0)
        m_choices.chooseFile(saisieFichier->currentText());
}

void frmParam::cmdOK_Click()
{
    if (QMdiSubWindow *sub = subWindow())
        sub->close();
    else
        close();
}

void frmParam::closeEvent(QCloseEvent *event)
{
    // Closing is always accepted and is no rejection: nothing is left to undo.
    event->accept();
}

void frmParam::done(int result)
{
    // Every choice is stored already: closing is all that is left, inner window included.
    setResult(result);
    cmdOK_Click();
}

QMdiSubWindow *frmParam::subWindow() const
{
    return qobject_cast<QMdiSubWindow *>(parentWidget());
}

void frmParam::placeOverMainWindow()
{
    if (m_mainWindow)
        placeOver(m_mainWindow->frameGeometry().size());
}

void frmParam::placeOver(const QSize &mainOuterSize)
{
    QWidget *outer = this;
    if (QMdiSubWindow *sub = subWindow()) {
        const bool wasVisible = sub->isVisible();
        // A small window with a close box only; its size is the dialog's. Qt's styles draw the
        // close box of an inner window only when it has a system menu.
        sub->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                            | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        sub->adjustSize();
        sub->setFixedSize(sub->size());
        if (wasVisible)
            sub->show();
        outer = sub;
    }
    const QSize own = outer->frameGeometry().size();
    const int left = std::max(0, (mainOuterSize.width() - own.width()) / 2);
    const int top = std::max(0, (mainOuterSize.height() - own.height()) / 2);
    outer->move(left, top);
}
