#include "frmphrases.h"

#include "choixfichierphrases.h"
#include "labelsheet.h"
#include "sentencequotes.h"
#include "sentencetablemodel.h"

#include "common/apptexts.h"
#include "common/objectnames.h"
#include "common/sentencefile.h"
#include "journal/journal.h"
#include "platform/messageboxes.h"
#include "platform/printdialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <utility>

namespace {
constexpr int ClientWidth = 6030;

// The number column looks like the header: it is not part of the sentences.
class NumberColumnDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() != SentenceTableModel::NumberColumn)
            return;
        option->backgroundBrush = option->palette.button();
        option->palette.setBrush(QPalette::Text, option->palette.buttonText());
    }
};
// The designed outer heights count 44 pixels of caption, borders and menu bar as they were on
// the desktop the layout was drawn for. What is left is the area the controls need: browsing
// shows the table down to its bottom edge, editing shows the edit box below it. Keeping that
// area (rather than the outer height) shows the same controls whatever the desktop's caption.
constexpr int DesignedNonClient = 660;

}

frmPhrases::frmPhrases(Journal &journal, FileChooser &files, MessageBoxes &messages,
                       PrintDialog &printing, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_journal(journal)
    , m_files(files)
    , m_messages(messages)
    , m_printing(printing)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Boîte de dialogue"));
    m_model = new SentenceTableModel(this);
    m_editing = std::make_unique<SentenceEditing>(*m_model);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_client = new QWidget(this);
    m_client->setFixedWidth(pixels(ClientWidth));
    buildMenus();
    layout->setMenuBar(menuBar);
    layout->addWidget(m_client);
    buildControls();

    Form_Load();

    // Centred on the screen when it opens.
    layout->activate();
    QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, pixels(BrowsingHeight) / 2));
    }
}

frmPhrases::~frmPhrases() = default;

void frmPhrases::buildMenus()
{
    menuBar = new QMenuBar(this);
    mnuFichier = menuBar->addMenu(QStringLiteral("&Fichier"));
    mnuCharger = mnuFichier->addAction(QStringLiteral("&Charger"));
    mnuSauvegarder = mnuFichier->addAction(QStringLiteral("&Sauvegarder"));
    mnuFichier->addSeparator();
    mnuImprimerEtiquettes = mnuFichier->addAction(QStringLiteral("&Imprimer les étiquettes…"));
    mnuEditer = menuBar->addMenu(QStringLiteral("&Editer"));
    mnuCouper = mnuEditer->addAction(QStringLiteral("&Couper"));
    mnuCopier = mnuEditer->addAction(QStringLiteral("&Copier"));
    mnuColler = mnuEditer->addAction(QStringLiteral("&Coller"));
    mnuCouper->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    mnuCopier->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuColler->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    // The shortcuts belong to the window, whichever control has the focus.
    for (QAction *action : {mnuCouper, mnuCopier, mnuColler})
        action->setShortcutContext(Qt::WindowShortcut);

    connect(mnuCharger, &QAction::triggered, this, &frmPhrases::mnuCharger_Click);
    connect(mnuSauvegarder, &QAction::triggered, this, &frmPhrases::mnuSauvegarder_Click);
    connect(mnuImprimerEtiquettes, &QAction::triggered, this,
            &frmPhrases::mnuImprimerEtiquettes_Click);
    connect(mnuCouper, &QAction::triggered, this, &frmPhrases::mnuCouper_Click);
    connect(mnuCopier, &QAction::triggered, this, &frmPhrases::mnuCopier_Click);
    connect(mnuColler, &QAction::triggered, this, &frmPhrases::mnuColler_Click);
}

void frmPhrases::buildControls()
{
    Line1 = new QFrame(m_client);
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    Line1->setGeometry(0, 0, pixels(ClientWidth), 2);

    auto button = [this](const QString &text, QRect geometry) {
        auto *b = new QPushButton(text, m_client);
        b->setGeometry(geometry);
        return b;
    };
    OKButton = button(QStringLiteral("&OK"), twipsRect(4710, 120, 1215, 375));
    CancelButton = button(QStringLiteral("Annuler"), twipsRect(4710, 600, 1215, 375));

    MSFlexGrid1 = new QTableView(m_client);
    MSFlexGrid1->setGeometry(twipsRect(90, 90, 4515, 3045));
    MSFlexGrid1->setModel(m_model);
    MSFlexGrid1->setItemDelegate(new NumberColumnDelegate(MSFlexGrid1));
    MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    MSFlexGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    MSFlexGrid1->setTabKeyNavigation(false);
    MSFlexGrid1->setWordWrap(false);
    MSFlexGrid1->setCornerButtonEnabled(false);
    MSFlexGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MSFlexGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MSFlexGrid1->verticalHeader()->hide();
    // Fixed row heights keep a long list fast: the view never measures its rows.
    MSFlexGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    MSFlexGrid1->verticalHeader()->setDefaultSectionSize(
        std::max(pixels(240), MSFlexGrid1->fontMetrics().height() + 4));
    QHeaderView *header = MSFlexGrid1->horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setStretchLastSection(true);
    header->resizeSection(0, pixels(400));
    // The number column grows with the list so that the last row's number stays readable.
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &frmPhrases::fitNumberColumn);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &frmPhrases::fitNumberColumn);
    connect(m_model, &QAbstractItemModel::modelReset, this, &frmPhrases::fitNumberColumn);
    MSFlexGrid1->viewport()->installEventFilter(this);
    header->viewport()->installEventFilter(this);

    Text1 = new QPlainTextEdit(m_client);
    Text1->setGeometry(twipsRect(90, 3240, 4515, 915));
    Text1->setTabChangesFocus(true);
    Text1->installEventFilter(this);

    Valider = button(QStringLiteral("&Valider"), twipsRect(4710, 3240, 1215, 375));
    Nouveau = button(QStringLiteral("&Nouveau"), twipsRect(4710, 2760, 1215, 375));

    nameObjects({
        {menuBar, "menuBar"},       {mnuFichier, "mnuFichier"}, {mnuCharger, "mnuCharger"},
        {mnuSauvegarder, "mnuSauvegarder"}, {mnuImprimerEtiquettes, "mnuImprimerEtiquettes"},
        {mnuEditer, "mnuEditer"},   {mnuCouper, "mnuCouper"},
        {mnuCopier, "mnuCopier"},   {mnuColler, "mnuColler"},   {Line1, "Line1"},
        {OKButton, "OKButton"},     {CancelButton, "CancelButton"},
        {MSFlexGrid1, "MSFlexGrid1"}, {Text1, "Text1"},         {Valider, "Valider"},
        {Nouveau, "Nouveau"},
    });

    setTabOrder(OKButton, CancelButton);
    setTabOrder(CancelButton, MSFlexGrid1);
    setTabOrder(MSFlexGrid1, Text1);
    setTabOrder(Text1, Valider);
    setTabOrder(Valider, Nouveau);

    connect(OKButton, &QPushButton::clicked, this, &frmPhrases::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmPhrases::CancelButton_Click);
    connect(Valider, &QPushButton::clicked, this, &frmPhrases::Valider_Click);
    connect(Nouveau, &QPushButton::clicked, this, &frmPhrases::Nouveau_Click);
}

void frmPhrases::Form_Load()
{
    // Header row and one blank row: the table of an empty list.
    m_editing->loaded({});
    Text1->clear();
    setDesignHeight(BrowsingHeight);
    makeDefault(OKButton);
    OKButton->setFocus();
}

void frmPhrases::setDesignHeight(int twipsHeight)
{
    m_designHeight = twipsHeight;
    m_client->setFixedHeight(pixels(twipsHeight - DesignedNonClient));
    // The window takes its new height now, not at the next turn of the event loop.
    layout()->activate();
}

void frmPhrases::makeDefault(QPushButton *button)
{
    m_defaultButton = button;
    button->setDefault(true);
}

void frmPhrases::setCurrentCell(int row)
{
    MSFlexGrid1->setCurrentIndex(m_model->index(row - 1, 1));
}

int frmPhrases::rowAt(const QPoint &viewportPos) const
{
    const int row = MSFlexGrid1->rowAt(viewportPos.y());
    return row < 0 ? 0 : row + 1;
}

bool frmPhrases::hasPendingText() const
{
    return m_editing->hasPendingText(Text1->toPlainText());
}

bool frmPhrases::hasUnsavedChanges() const
{
    return m_editing->hasUnsavedChanges(Text1->toPlainText());
}

bool frmPhrases::askToSave()
{
    if (!hasUnsavedChanges())
        return true;
    const MessageBoxes::Button answer = m_messages.ask(
        this, MessageBoxes::Question, AppTexts::Title,
        QStringLiteral("Enregistrer les modifications ?"),
        MessageBoxes::Yes | MessageBoxes::No | MessageBoxes::Cancel, MessageBoxes::Yes);
    if (answer == MessageBoxes::Cancel)
        return false;
    if (answer != MessageBoxes::Yes)
        return true;
    // The sentence being typed is part of what the teacher asked to save.
    if (hasPendingText())
        Valider_Click();
    return mnuSauvegarder_Click();
}

void frmPhrases::MSFlexGrid1_Click()
{
    m_editing->choose(m_mouseRow);
}

void frmPhrases::MSFlexGrid1_DblClick()
{
    const int row = m_mouseRow;
    switch (m_editing->modify(row)) {
    case SentenceEditing::ModifyStart::TooLong: {
        const qsizetype length = m_editing->sentence(row).size();
        m_messages.tell(this, MessageBoxes::Information, AppTexts::Title,
                        QStringLiteral("La phrase %1 est trop longue pour être modifiée ici "
                                       "(%2 caractères, au plus %3).\n\nElle reste entière dans "
                                       "la liste et dans le fichier enregistré.")
                            .arg(row)
                            .arg(length)
                            .arg(EditableLength));
        return;
    }
    case SentenceEditing::ModifyStart::Nothing:
        return;
    case SentenceEditing::ModifyStart::Started:
        break;
    }
    makeDefault(Valider);
    // Locked until Valider (or a cut), so that the row being changed stays the one shown.
    MSFlexGrid1->setEnabled(false);
    setCurrentCell(row);
    Text1->setPlainText(m_editing->sentence(row));
    Text1->moveCursor(QTextCursor::End);
    setDesignHeight(EditingHeight);
    Nouveau->hide();
    Text1->setFocus();
    m_journal.record(JournalEvent::withValue(EventKind::EditModify, Text1->toPlainText()));
}

void frmPhrases::Nouveau_Click()
{
    makeDefault(Valider);
    m_editing->startNew();
    Nouveau->hide();
    Text1->clear();
    setDesignHeight(EditingHeight);
    Text1->setFocus();
}

QString frmPhrases::textToValidate()
{
    QString text = SentenceEditing::oneLine(Text1->toPlainText());
    const std::optional<QString> mended = m_editing->quoteQuestion(text);
    if (!mended)
        return text;
    const MessageBoxes::Button answer = m_messages.ask(
        this, MessageBoxes::Question, AppTexts::Title,
        QStringLiteral("Cette phrase contient un guillemet droit (\") suivi d'une virgule : "
                       "enregistrée dans un fichier de phrases, elle serait relue comme deux "
                       "phrases.\n\nRemplacer les guillemets droits par les guillemets "
                       "français « » ?\n\nOui : %1\nNon : garder la phrase telle quelle.")
            .arg(*mended),
        MessageBoxes::Yes | MessageBoxes::No, MessageBoxes::Yes);
    if (answer == MessageBoxes::Yes) {
        text = *mended;
        Text1->setPlainText(text);
    } else {
        m_editing->keepStraightQuotes(text);
    }
    return text;
}

void frmPhrases::Valider_Click()
{
    const QString text = textToValidate();
    const bool modify = m_editing->mode() == Mode::Modify;
    m_journal.record(
        JournalEvent::withValue(modify ? EventKind::EditModifiedTo : EventKind::EditNew, text));
    const int row = m_editing->validate(text);
    setCurrentCell(row);
    Nouveau->show();
    MSFlexGrid1->setEnabled(true);
    setDesignHeight(BrowsingHeight);
    // The edit box is out of view now: the keyboard goes on in the table.
    MSFlexGrid1->setFocus();
}

void frmPhrases::mnuCouper_Click()
{
    const int row = m_editing->chosen();
    m_journal.record(JournalEvent::withValue(EventKind::EditCut, m_editing->sentence(row)));
    // A row removed (rather than blanked) may be the one being changed: the table unlocks.
    const bool removes = row > 0 && m_editing->rows() > 2;
    if (m_editing->cut() && removes)
        MSFlexGrid1->setEnabled(true);
}

void frmPhrases::fitNumberColumn()
{
    const int margin = MSFlexGrid1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr,
                                                         MSFlexGrid1) + 1;
    const int needed = MSFlexGrid1->fontMetrics().horizontalAdvance(
                           QString::number(m_model->rowCount()))
                       + 2 * margin + 2;
    MSFlexGrid1->horizontalHeader()->resizeSection(0, std::max(pixels(400), needed));
}

void frmPhrases::mnuCopier_Click() {}

void frmPhrases::mnuColler_Click() {}

void frmPhrases::mnuCharger_Click()
{
    // A load replaces the list: what is not saved yet is worth the same question as closing.
    if (!askToSave())
        return;
    const std::optional<QString> path = ChoixFichierPhrases(m_files, this, m_cheminChoisi);
    if (!path)
        return;
    m_journal.record(ChoixFichier::loadEvent(*path));
    ChargeGrille(*path);
}

bool frmPhrases::mnuSauvegarder_Click()
{
    m_journal.record(JournalEvent::of(EventKind::SentencesSaveAsk));
    const std::optional<QString> path = ChoixFichierPhrases(m_files, this, m_cheminChoisi);
    if (!path)
        return false;
    m_journal.record(ChoixFichier::saveEvent(*path));
    return SauveGrille(*path);
}

void frmPhrases::mnuImprimerEtiquettes_Click()
{
    LabelSheet sheet(m_model->sentences(), QRandomGenerator::global()->generate());
    if (sheet.sentenceCount() == 0) {
        m_messages.tell(this, MessageBoxes::Information, AppTexts::Title,
                        QStringLiteral("La liste ne contient aucune phrase : il n'y a pas "
                                       "d'étiquettes à imprimer."));
        return;
    }
    // Named after the list's file, when it has one, so that a PDF says which list it holds.
    const QString list = QFileInfo(m_cheminChoisi).completeBaseName();
    const QString document = list.isEmpty() ? QStringLiteral("Étiquettes")
                                            : QStringLiteral("Étiquettes - ") + list;
    const PrintDialog::Result result =
        m_printing.print(this, QStringLiteral("Imprimer les étiquettes"), document,
                         [&sheet](QPagedPaintDevice &device) { return sheet.paint(device); });
    if (result == PrintDialog::Result::Failed) {
        m_messages.tell(this, MessageBoxes::Warning, AppTexts::Title,
                        QStringLiteral("Les étiquettes n'ont pas pu être imprimées."));
        return;
    }
    if (result == PrintDialog::Result::Printed)
        m_journal.record(JournalEvent::withValue(EventKind::LabelsPrinted,
                                                 QString::number(sheet.sentenceCount())));
}

bool frmPhrases::ChargeGrille(const QString &path)
{
    QString error;
    const std::optional<QStringList> sentences = SentenceFile::read(path, -1, &error);
    if (!sentences) {
        m_messages.tell(this, MessageBoxes::Warning, AppTexts::Title,
                        QStringLiteral("Les phrases n'ont pas pu être chargées.\n\n") + error);
        return false;
    }
    m_editing->loaded(*sentences);
    return true;
}

bool frmPhrases::SauveGrille(const QString &path)
{
    const QStringList sentences = m_model->sentences();
    QString error;
    auto encoding = SentenceFile::Encoding::Cp1252;
    if (!SentenceFile::write(path, sentences, &error, &encoding)) {
        m_messages.tell(this, MessageBoxes::Warning, AppTexts::Title,
                                 QStringLiteral("Les phrases n'ont pas pu être enregistrées.\n\n")
                                     + error);
        return false;
    }
    m_editing->saved(sentences);
    if (encoding == SentenceFile::Encoding::Utf8) {
        const QString example = SentenceFile::firstBeyondCodePage(sentences);
        m_messages.tell(
            this, MessageBoxes::Information, AppTexts::Title,
            QStringLiteral("Le fichier a été enregistré en UTF-8, et non dans l'encodage "
                           "habituel des listes (Windows-1252), pour garder tous les caractères "
                           "des phrases")
                + (example.isEmpty() ? QString() : QStringLiteral(", comme « %1 »").arg(example))
                + QStringLiteral(".\n\nPlumalin le relit tel quel ; un autre logiciel doit "
                                 "savoir lire l'UTF-8."));
    }
    return true;
}

void frmPhrases::OKButton_Click()
{
    close();
}

void frmPhrases::CancelButton_Click()
{
    close();
}

void frmPhrases::closeEvent(QCloseEvent *event)
{
    // Saving that is cancelled or fails keeps the window, and the list, open.
    if (!askToSave()) {
        event->ignore();
        return;
    }
    event->accept();
}

void frmPhrases::reject()
{
    // Escape closes the window as its close box does: with the question about unsaved changes.
    close();
}

bool frmPhrases::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text1
        && (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QKeySequence pressed(key->keyCombination());
        for (QAction *action : {mnuCouper, mnuCopier, mnuColler}) {
            if (pressed != action->shortcut())
                continue;
            // Never the edit box's own cut, copy or paste: the window's commands act instead.
            event->ignore();
            if (event->type() == QEvent::KeyPress)
                action->trigger();
            return true;
        }
        if (event->type() == QEvent::KeyPress
            && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            // Enter goes to the default button, as from any control of a dialog; Ctrl+Enter is
            // the way to type a line break.
            if (key->modifiers() & Qt::ControlModifier)
                Text1->insertPlainText(QStringLiteral("\n"));
            else
                QDialog::keyPressEvent(key);
            return true;
        }
        return false;
    }

    const bool onTable = watched == MSFlexGrid1->viewport();
    const bool onHeader = watched == MSFlexGrid1->horizontalHeader()->viewport();
    if ((onTable || onHeader)
        && (event->type() == QEvent::MouseButtonPress
            || event->type() == QEvent::MouseButtonDblClick)) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (!MSFlexGrid1->isEnabled())
            return true;
        if (mouse->button() != Qt::LeftButton)
            return false;
        m_mouseRow = onTable ? rowAt(mouse->position().toPoint()) : 0;
        if (event->type() == QEvent::MouseButtonPress) {
            MSFlexGrid1_Click();
            return false;
        }
        // A double-click comes after the single click that chose the row.
        MSFlexGrid1_DblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
