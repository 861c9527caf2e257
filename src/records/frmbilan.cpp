#include "frmbilan.h"

#include "classfigures.h"
#include "exercisereplay.h"
#include "recordformat.h"
#include "recordreader.h"
#include "recordwriter.h"
#include "frmeleves.h"
#include "markchartview.h"
#include "pupilreport.h"
#include "summarymodels.h"

#include "common/csvexport.h"
#include "common/settingsstore.h"
#include "journal/journalmodel.h"
#include "platform/clock.h"
#include "platform/filechooser.h"
#include "platform/messageboxes.h"
#include "platform/printdialog.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <mutex>
#include <system_error>
#include <thread>

namespace {
const QString Everyone = QStringLiteral("Tous les élèves");
const QString NoName = QStringLiteral("(sans nom)");
const QString ChartTab = QStringLiteral("Courbe des notes");
// Below this height the chart has a tab of its own; above, it sits under the tables.
constexpr int ChartBesideHeight = 560;

QTableView *makeTable(QWidget *parent, const QString &name)
{
    auto *table = new QTableView(parent);
    table->setObjectName(name);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->setAlternatingRowColors(true);
    table->setWordWrap(false);
    table->setTextElideMode(Qt::ElideRight);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    // Columns fit the rows near the top: measuring every row of a year's records is slow.
    table->horizontalHeader()->setResizeContentsPrecision(100);
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    return table;
}

// Each column as wide as its cells or its header's longest line, whichever is wider. (Fitting
// to contents would also keep room for a sort arrow in every header, which at 640 pixels
// pushes the last figures out of sight.) The teacher can still widen a column by hand.
void fitColumns(QTableView *table)
{
    QHeaderView *header = table->horizontalHeader();
    const QFontMetrics metrics(header->font());
    const int margin = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) + 6;
    for (int c = 0; c < header->count(); ++c) {
        if (header->sectionResizeMode(c) == QHeaderView::Stretch || header->isSectionHidden(c))
            continue;
        int width = 0;
        const QString text = table->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        for (const QString &line : text.split(QLatin1Char('\n')))
            width = std::max(width, metrics.horizontalAdvance(line));
        header->resizeSection(c, std::max(width + margin, static_cast<QAbstractItemView *>(table)->sizeHintForColumn(c)));
    }
}

QSortFilterProxyModel *sorted(QAbstractItemModel *source, QObject *parent)
{
    auto *proxy = new QSortFilterProxyModel(parent);
    proxy->setSourceModel(source);
    proxy->setSortRole(Qt::UserRole);
    proxy->setSortLocaleAware(true);
    return proxy;
}

// A text column stretches and is cut with "…" rather than pushing the figures out of sight.
void stretchColumn(QTableView *table, int column)
{
    table->horizontalHeader()->setStretchLastSection(false);
    table->horizontalHeader()->setSectionResizeMode(column, QHeaderView::Stretch);
}

// A small read-only window over a table, closed by Échap or "Fermer".
QDialog *tableDialog(QWidget *parent, const QString &name, const QString &title, const QString &heading,
                     QAbstractItemModel *model, QTableView **tableOut)
{
    auto *dialog = new QDialog(parent);
    dialog->setObjectName(name);
    dialog->setWindowTitle(title);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    model->setParent(dialog);
    auto *layout = new QVBoxLayout(dialog);
    if (!heading.isEmpty()) {
        auto *label = new QLabel(heading, dialog);
        label->setObjectName(QStringLiteral("titre"));
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(label);
    }
    auto *table = makeTable(dialog, QStringLiteral("lignes"));
    table->setModel(model);
    layout->addWidget(table, 1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("&Fermer"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
    QSize size(720, 440);
    if (const QScreen *screen = parent->screen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(16, 48));
    dialog->resize(size);
    *tableOut = table;
    return dialog;
}

// One line of text, cut with "…" to the label's width.
class ElidedLabel : public QLabel
{
public:
    using QLabel::QLabel;

    void setFullText(const QString &text)
    {
        m_full = text;
        elide();
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QLabel::resizeEvent(event);
        elide();
    }

private:
    void elide() { setText(fontMetrics().elidedText(m_full, Qt::ElideRight, std::max(0, contentsRect().width()))); }

    QString m_full;
};

const QString ReadingText = QStringLiteral("Lecture des journaux…");

// A file name cannot hold these; the rest of a name is kept as typed.
QString fileNamePart(QString text)
{
    for (QChar &c : text) {
        if (c < QLatin1Char(' ') || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    }
    return text.trimmed();
}
}

// What a reading thread knows of its window: nothing once the window is gone.
struct frmBilan::ReadingLink {
    std::mutex mutex;
    frmBilan *window = nullptr;
};

frmBilan::frmBilan(RecordWriter &records, SettingsStore &settings, Clock &clock, FileChooser &files,
                   MessageBoxes &messages, PrintDialog &printing, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_records(records)
    , m_settings(settings)
    , m_clock(clock)
    , m_files(files)
    , m_messages(messages)
    , m_printing(printing)
    , m_link(std::make_shared<ReadingLink>())
{
    m_link->window = this;
    setObjectName(QStringLiteral("frmBilan"));
    setWindowTitle(QStringLiteral("Bilan des élèves"));
    setAttribute(Qt::WA_DeleteOnClose);

    // The pupil now at the computer, for the lines recorded from now on.
    auto *nameLabel = new QLabel(QStringLiteral("Élève à l'&ordinateur :"), this);
    nameLabel->setObjectName(QStringLiteral("nomEleveTitre"));
    m_pupilName = new QComboBox(this);
    m_pupilName->setObjectName(QStringLiteral("nomEleve"));
    m_pupilName->setEditable(true);
    m_pupilName->setInsertPolicy(QComboBox::NoInsert);
    m_pupilName->setMinimumContentsLength(16);
    m_pupilName->lineEdit()->setPlaceholderText(QStringLiteral("sans nom"));
    m_pupilName->setToolTip(QStringLiteral("Les lignes du journal sont enregistrées à ce nom "
                                           "jusqu'à ce qu'il change."));
    nameLabel->setBuddy(m_pupilName);
    // Known before the records are read: the field may have the focus when they are.
    m_pupilName->setEditText(m_records.pupil());
    connect(m_pupilName->lineEdit(), &QLineEdit::editingFinished, this, &frmBilan::applyPupilName);
    connect(m_pupilName, &QComboBox::activated, this, &frmBilan::applyPupilName);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("nombre"));
    m_count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto *filterLabel = new QLabel(QStringLiteral("&Afficher :"), this);
    filterLabel->setObjectName(QStringLiteral("filtreEleveTitre"));
    m_pupilFilter = new QComboBox(this);
    m_pupilFilter->setObjectName(QStringLiteral("filtreEleve"));
    m_pupilFilter->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_pupilFilter->setMinimumContentsLength(14);
    filterLabel->setBuddy(m_pupilFilter);
    auto *fromLabel = new QLabel(QStringLiteral("&du"), this);
    fromLabel->setObjectName(QStringLiteral("duTitre"));
    m_from = new QDateEdit(this);
    m_from->setObjectName(QStringLiteral("du"));
    fromLabel->setBuddy(m_from);
    auto *toLabel = new QLabel(QStringLiteral("a&u"), this);
    toLabel->setObjectName(QStringLiteral("auTitre"));
    m_to = new QDateEdit(this);
    m_to->setObjectName(QStringLiteral("au"));
    toLabel->setBuddy(m_to);
    for (QDateEdit *edit : {m_from, m_to}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    }
    auto *refresh = new QPushButton(QStringLiteral("Ac&tualiser"), this);
    refresh->setObjectName(QStringLiteral("Actualiser"));
    connect(refresh, &QPushButton::clicked, this, &frmBilan::Actualiser);
    connect(m_pupilFilter, &QComboBox::currentIndexChanged, this, &frmBilan::applyFilter);
    connect(m_from, &QDateEdit::dateChanged, this, &frmBilan::applyFilter);
    connect(m_to, &QDateEdit::dateChanged, this, &frmBilan::applyFilter);

    // The notes take one line whatever their number: the tables and buttons keep their room.
    m_notesRow = new QWidget(this);
    m_notes = new ElidedLabel(m_notesRow);
    m_notes->setObjectName(QStringLiteral("notes"));
    m_notes->setStyleSheet(QStringLiteral("color: #8a4b00;"));
    m_notes->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto *notesButton = new QPushButton(QStringLiteral("Détai&ls…"), m_notesRow);
    notesButton->setObjectName(QStringLiteral("notesDetails"));
    connect(notesButton, &QPushButton::clicked, this, &frmBilan::showAllNotes);
    auto *notesLayout = new QHBoxLayout(m_notesRow);
    notesLayout->setContentsMargins(0, 0, 0, 0);
    notesLayout->addWidget(m_notes, 1);
    notesLayout->addWidget(notesButton);
    m_notesRow->hide();

    m_pupilModel = new PupilTableModel(this);
    m_pupilSorted = sorted(m_pupilModel, this);
    m_pupilTable = makeTable(this, QStringLiteral("eleves"));
    m_pupilTable->setModel(m_pupilSorted);
    m_pupilTable->setSortingEnabled(true);
    m_pupilTable->sortByColumn(PupilTableModel::PupilColumn, Qt::AscendingOrder);
    stretchColumn(m_pupilTable, PupilTableModel::PupilColumn);
    m_pupilTable->setToolTip(QStringLiteral("Double-cliquez sur un élève (ou Entrée) pour voir ses exercices."));
    connect(m_pupilTable, &QAbstractItemView::activated, this, &frmBilan::openPupil);
    connect(m_pupilTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &frmBilan::drawChart);

    m_exerciseModel = new ExerciseTableModel(this);
    m_sorted = sorted(m_exerciseModel, this);
    m_table = makeTable(this, QStringLiteral("exercices"));
    m_table->setModel(m_sorted);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(ExerciseTableModel::DateColumn, Qt::DescendingOrder);
    // The mark comes early, so that a narrow window shows it; the file's name, long and rarely
    // read, comes last and takes what room is left.
    {
        QHeaderView *header = m_table->horizontalHeader();
        const int order[] = {ExerciseTableModel::DateColumn,      ExerciseTableModel::PupilColumn,
                             ExerciseTableModel::MarkColumn,      ExerciseTableModel::SentencesColumn,
                             ExerciseTableModel::WrongDropsColumn, ExerciseTableModel::HintsColumn,
                             ExerciseTableModel::TimedOutColumn,  ExerciseTableModel::ListensColumn,
                             ExerciseTableModel::TimeSpentColumn, ExerciseTableModel::SentenceFileColumn};
        for (int visual = 0; visual < int(std::size(order)); ++visual)
            header->moveSection(header->visualIndex(order[visual]), visual);
        stretchColumn(m_table, ExerciseTableModel::SentenceFileColumn);
    }
    m_table->setToolTip(QStringLiteral("Double-cliquez sur un exercice (ou Entrée) pour le revoir ligne à ligne."));
    connect(m_table, &QAbstractItemView::activated, this, &frmBilan::replayExercise);

    m_sentenceModel = new PlayTableModel(PlayTableModel::Names::Sentences, this);
    m_sentenceSorted = sorted(m_sentenceModel, this);
    m_sentences = makeTable(this, QStringLiteral("phrasesDifficiles"));
    m_sentences->setModel(m_sentenceSorted);
    // The hardest first, as worked out; a click on a header sorts by that column.
    m_sentences->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_sentences->setSortingEnabled(true);
    stretchColumn(m_sentences, PlayTableModel::NameColumn);
    connect(m_sentences, &QAbstractItemView::activated, this, &frmBilan::showStruggled);

    m_wordModel = new WrongWordModel(this);
    m_wordsBox = new QWidget(this);
    m_words = makeTable(m_wordsBox, QStringLiteral("motsMalPlaces"));
    m_words->setModel(m_wordModel);
    auto *wordsLayout = new QVBoxLayout(m_wordsBox);
    wordsLayout->setContentsMargins(0, 0, 0, 0);
    wordsLayout->addWidget(m_words);

    m_chart = new MarkChartView(this);
    m_chart->setObjectName(QStringLiteral("courbeNotes"));

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("onglets"));
    m_tabs->addTab(m_pupilTable, QStringLiteral("Élè&ves"));
    m_tabs->addTab(m_table, QStringLiteral("E&xercices"));
    m_tabs->addTab(m_sentences, QStringLiteral("&Phrases difficiles"));
    m_tabs->addTab(m_wordsBox, QStringLiteral("&Mots mal placés"));
    m_tabs->setUsesScrollButtons(true);
    m_tabs->setDocumentMode(true);
    m_split = new QSplitter(Qt::Vertical, this);
    m_split->setObjectName(QStringLiteral("separation"));
    m_split->addWidget(m_tabs);
    m_split->setChildrenCollapsible(false);

    m_folderButton = new QPushButton(QStringLiteral("Dossier des &journaux…"), this);
    m_folderButton->setObjectName(QStringLiteral("DossierJournaux"));
    connect(m_folderButton, &QPushButton::clicked, this, [this] { DossierJournaux_Click(); });
    auto *exportButton = m_exportButton = new QPushButton(QStringLiteral("&Exporter…"), this);
    exportButton->setObjectName(QStringLiteral("Exporter"));
    exportButton->setToolTip(QStringLiteral("Enregistre le tableau affiché, dans l'ordre affiché, pour un tableur."));
    connect(exportButton, &QPushButton::clicked, this, [this] { Exporter(); });
    auto *pupilsButton = m_pupilsButton = new QPushButton(QStringLiteral("É&lèves…"), this);
    pupilsButton->setObjectName(QStringLiteral("Eleves"));
    connect(pupilsButton, &QPushButton::clicked, this, &frmBilan::Eleves_Click);
    m_printButton = new QPushButton(QStringLiteral("&Imprimer…"), this);
    m_printButton->setObjectName(QStringLiteral("Imprimer"));
    connect(m_printButton, &QPushButton::clicked, this, [this] { Imprimer(); });
    connect(m_pupilFilter, &QComboBox::currentIndexChanged, this, &frmBilan::updatePrintButton);
    auto *closeButton = new QPushButton(QStringLiteral("&Fermer"), this);
    closeButton->setObjectName(QStringLiteral("Fermer"));
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    // Tab goes down the window: the filters, the tabs' titles, the table shown, the buttons.
    QWidget *order[] = {m_pupilName, m_pupilFilter, m_from, m_to, refresh, notesButton, m_tabs->tabBar(),
                        m_pupilTable, m_table, m_sentences, m_words, m_chart, pupilsButton, m_printButton,
                        m_folderButton, exportButton,
                        closeButton};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(m_pupilName, 1);
    nameRow->addSpacing(12);
    nameRow->addWidget(m_count);
    auto *top = new QHBoxLayout;
    top->addWidget(filterLabel);
    top->addWidget(m_pupilFilter, 1);
    top->addWidget(fromLabel);
    top->addWidget(m_from);
    top->addWidget(toLabel);
    top->addWidget(m_to);
    top->addWidget(refresh);
    // The buttons on the right, with room for two more at 640 pixels wide.
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(pupilsButton);
    bottom->addWidget(m_printButton);
    bottom->addWidget(m_folderButton);
    bottom->addWidget(exportButton);
    bottom->addWidget(closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addLayout(nameRow);
    layout->addLayout(top);
    layout->addWidget(m_notesRow);
    layout->addWidget(m_split, 1);
    layout->addLayout(bottom);

    // Never larger than the screen, less room for the window's frame: on a small screen the
    // buttons at the bottom stay in reach.
    const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    QSize size(900, 620);
    if (screen)
        size = size.boundedTo(screen->availableGeometry().size() - QSize(16, 48));
    resize(size);
    // Centred on the screen when it opens, as the editor is, rather than wherever the window
    // manager finds room.
    if (screen)
        move(screen->availableGeometry().center() - QPoint(size.width() / 2, size.height() / 2));
    placeChart();
}

frmBilan::~frmBilan()
{
    // A reading still running finishes into nothing.
    {
        std::lock_guard lock(m_link->mutex);
        m_link->window = nullptr;
    }
    // The name field, destroyed after us with the focus, says its editing has finished (or,
    // typed into, that a name was chosen): not to a window already gone.
    disconnect(m_pupilName->lineEdit(), nullptr, this, nullptr);
    disconnect(m_pupilName, nullptr, this, nullptr);
}

void frmBilan::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Read at each showing: what was played since the window was last looked at.
    if (!event->spontaneous())
        Actualiser();
}

void frmBilan::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeChart();
}

void frmBilan::keyPressEvent(QKeyEvent *event)
{
    // Échap closes the window, as it closes a dialog; a list or a calendar open keeps it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmBilan::placeChart()
{
    const bool beside = height() >= ChartBesideHeight;
    const int tab = m_tabs->indexOf(m_chart);
    if (beside && m_chart->parentWidget() != m_split) {
        if (tab >= 0)
            m_tabs->removeTab(tab);
        m_split->addWidget(m_chart);
        m_split->setStretchFactor(0, 3);
        m_split->setStretchFactor(1, 2);
        m_split->setSizes({3000, 2000});
        m_chart->show();
    } else if (!beside && tab < 0) {
        m_tabs->addTab(m_chart, QStringLiteral("&Courbe des notes"));
    }
}

void frmBilan::Actualiser()
{
    const QString folder = QDir::toNativeSeparators(m_records.folder());
    m_folderButton->setToolTip(QStringLiteral("Les journaux sont lus et écrits dans « %1 ».").arg(folder));
    const quint64 number = ++m_readNumber;
    m_reading = true;
    showReading();
    std::function<SummaryCache::Result()> reading = m_records.summaryReading();
    const auto run = [link = m_link, reading = std::move(reading), number] {
        auto read = std::make_shared<SummaryCache::Result>(reading());
        const std::lock_guard lock(link->mutex);
        if (frmBilan *window = link->window)
            QMetaObject::invokeMethod(
                window, [window, number, read] { window->readingDone(number, std::move(*read)); },
                Qt::QueuedConnection);
    };
    try {
        std::thread(run).detach();
    } catch (const std::system_error &) {
        run(); // no thread to spare: read here
    }
}

void frmBilan::readingDone(quint64 number, SummaryCache::Result read)
{
    if (number != m_readNumber)
        return; // a newer reading follows
    m_reading = false;
    m_readOnce = true;
    m_records.flush(0); // what the writer's thread said meanwhile, for the notes
    m_readNotes = std::move(read.notes);
    m_pupils = std::move(read.pupils);
    m_all = std::move(read.exercises);

    const QDate today = m_clock.now().date();
    if (!m_periodSet) {
        QDate first = today;
        for (const ExerciseSummary &e : m_all)
            first = std::min(first, RecordFormat::toDateTime(e.start).date());
        const QSignalBlocker blockFrom(m_from), blockTo(m_to);
        m_from->setDate(first);
        m_to->setDate(today);
        m_periodSet = true;
    }
    fillPupilLists();
    showReading();
    applyFilter();
}

// While the records are read, what needs them waits; the rest of the window stays usable.
void frmBilan::showReading()
{
    for (QWidget *w : std::initializer_list<QWidget *>{m_pupilFilter, m_from, m_to, m_exportButton, m_pupilsButton})
        w->setEnabled(!m_reading);
    updatePrintButton();
    if (m_reading) {
        m_count->setText(ReadingText);
        if (!m_readOnce) {
            MarkChart nothing;
            nothing.setEmptyText(ReadingText);
            m_chart->setChart(std::move(nothing));
        }
    }
}

void frmBilan::fillPupilLists()
{
    const QString typed = m_pupilName->hasFocus() ? m_pupilName->currentText() : m_records.pupil();
    {
        const QSignalBlocker block(m_pupilName);
        m_pupilName->clear();
        m_pupilName->addItems(m_pupils);
        m_pupilName->setCurrentIndex(-1);
        m_pupilName->setEditText(typed);
    }

    const QVariant chosen = m_pupilFilter->currentData();
    const QSignalBlocker block(m_pupilFilter);
    m_pupilFilter->clear();
    m_pupilFilter->addItem(Everyone);
    for (const QString &name : m_pupils)
        m_pupilFilter->addItem(name, name);
    const bool unnamed = std::any_of(m_all.begin(), m_all.end(),
                                     [](const ExerciseSummary &e) { return e.pupil.isEmpty(); });
    if (unnamed)
        m_pupilFilter->addItem(NoName, QString(QLatin1String("")));
    const int again = chosen.isValid() ? m_pupilFilter->findData(chosen) : 0;
    m_pupilFilter->setCurrentIndex(std::max(again, 0));
}

void frmBilan::applyPupilName()
{
    const QString name = m_pupilName->currentText();
    if (name.simplified() == m_records.pupil())
        return;
    m_records.setPupil(name);
    const QSignalBlocker block(m_pupilName);
    m_pupilName->setEditText(m_records.pupil());
}

void frmBilan::applyFilter()
{
    SummaryFilter period;
    period.from = m_from->date();
    period.to = m_to->date();
    m_period = Summary::filtered(m_all, period);
    const QVariant pupil = m_pupilFilter->currentData();
    const bool onePupil = pupil.isValid();
    std::vector<ExerciseSummary> shown;
    if (onePupil) {
        SummaryFilter filter;
        filter.pupil = pupil.toString();
        shown = Summary::filtered(m_period, filter);
    } else {
        shown = m_period;
    }
    m_wordModel->setCounts(Summary::wrongWords(shown));
    m_sentenceModel->setFigures(ClassFigures::hardSentences(shown));
    m_pupilModel->setPupils(ClassFigures::pupils(shown));
    const auto count = shown.size();
    m_count->setText(count == 0   ? QStringLiteral("Aucun exercice sur cette période.")
                     : count == 1 ? QStringLiteral("1 exercice.")
                                  : QStringLiteral("%1 exercices.").arg(count));
    m_exerciseModel->setExercises(std::move(shown));
    // One pupil: the pupil's name on every row says nothing.
    m_table->setColumnHidden(ExerciseTableModel::PupilColumn, onePupil);
    for (QTableView *table : {m_pupilTable, m_table, m_sentences, m_words})
        fitColumns(table);
    // The class at a glance for the class, the exercises for a pupil.
    if (m_tabs->currentWidget() == m_pupilTable || m_tabs->currentWidget() == m_table)
        m_tabs->setCurrentWidget(onePupil ? m_table : m_pupilTable);
    drawChart();
    showNotes();
}

void frmBilan::openPupil(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const QString pupil = index.siblingAtColumn(PupilTableModel::PupilColumn).data(Qt::UserRole).toString();
    const int found = m_pupilFilter->findData(pupil);
    if (found < 0)
        return;
    m_pupilFilter->setCurrentIndex(found);
    m_tabs->setCurrentWidget(m_table);
    m_table->setFocus();
}

void frmBilan::replayExercise(const QModelIndex &index)
{
    const QModelIndex source = m_sorted->mapToSource(index);
    if (!source.isValid())
        return;
    const ExerciseSummary &e = m_exerciseModel->exercises()[std::size_t(source.row())];
    auto *model = new JournalModel;
    for (const ReplayLine &line : ExerciseReplay::lines(m_records.folder(), e)) {
        const QDateTime when = RecordFormat::toDateTime(line.when);
        model->append(JournalLine{when.toSecsSinceEpoch(), line.text, line.duration, -1, line.red});
    }
    const QString when = RecordFormat::toDateTime(e.start).toString(QStringLiteral("dd/MM/yyyy à HH:mm"));
    const QString who = e.pupil.isEmpty() ? NoName : e.pupil;
    QString heading = QStringLiteral("%1, le %2").arg(who, when);
    if (e.mark)
        heading += QStringLiteral(" : %1/20").arg(*e.mark);
    if (model->rowCount() == 0)
        heading += QStringLiteral("\nLes lignes de cet exercice ne sont plus dans le dossier des journaux.");
    QTableView *table = nullptr;
    QDialog *dialog = tableDialog(this, QStringLiteral("revoirExercice"),
                                  QStringLiteral("Exercice de %1").arg(who), heading, model, &table);
    stretchColumn(table, JournalModel::TextColumn);
    fitColumns(table);
    dialog->show();
}

void frmBilan::showStruggled(const QModelIndex &index)
{
    const QString sentence = index.siblingAtColumn(PlayTableModel::NameColumn).data(Qt::UserRole).toString();
    if (sentence.isEmpty())
        return;
    auto *model = new PlayTableModel(PlayTableModel::Names::Pupils);
    // The whole class over the period, even when one pupil is shown: whom else it troubled.
    model->setFigures(ClassFigures::struggled(m_period, sentence));
    QTableView *table = nullptr;
    QDialog *dialog = tableDialog(this, QStringLiteral("quiAEuDuMal"), QStringLiteral("Qui a eu du mal"),
                                  QStringLiteral("« %1 »").arg(sentence), model, &table);
    stretchColumn(table, PlayTableModel::NameColumn);
    fitColumns(table);
    dialog->show();
}

void frmBilan::showNotes()
{
    QStringList notes;
    if (!m_records.failure().isEmpty())
        notes.append(m_records.failure());
    notes += m_readNotes;
    m_notesShown = notes;
    const QString all = notes.join(QLatin1Char('\n'));
    QString first = notes.value(0);
    if (notes.size() > 1)
        first = QStringLiteral("%1 notes : %2").arg(notes.size()).arg(first);
    static_cast<ElidedLabel *>(m_notes)->setFullText(first.section(QLatin1Char('\n'), 0, 0));
    m_notes->setToolTip(all);
    m_notesRow->setVisible(!notes.isEmpty());
}

void frmBilan::showAllNotes()
{
    if (!m_notesShown.isEmpty())
        m_messages.tell(this, MessageBoxes::Information, QStringLiteral("Bilan des élèves"),
                        m_notesShown.join(QLatin1Char('\n')));
}

// The pupil whose marks the chart draws: the one shown, or the one chosen in the class's table.
QString frmBilan::chartPupil(bool *any) const
{
    const QVariant pupil = m_pupilFilter->currentData();
    *any = true;
    if (pupil.isValid())
        return pupil.toString();
    const QModelIndex current = m_pupilTable->selectionModel()->currentIndex();
    if (current.isValid())
        return current.siblingAtColumn(PupilTableModel::PupilColumn).data(Qt::UserRole).toString();
    *any = false;
    return {};
}

void frmBilan::drawChart()
{
    bool withPupil = false;
    const QString pupil = chartPupil(&withPupil);
    const std::optional<QString> drawn = withPupil ? std::optional<QString>(pupil) : std::nullopt;
    m_chart->setChart(MarkChart(m_period, m_from->date(), m_to->date(), drawn, pupil.isEmpty() ? NoName : pupil));
}

QString frmBilan::periodText() const
{
    return QStringLiteral("%1 au %2").arg(m_from->date().toString(QStringLiteral("yyyy-MM-dd")),
                                          m_to->date().toString(QStringLiteral("yyyy-MM-dd")));
}

QString frmBilan::exportFileName() const
{
    const QVariant pupil = m_pupilFilter->currentData();
    QString who = Everyone;
    if (pupil.isValid())
        who = pupil.toString().isEmpty() ? QStringLiteral("sans nom") : fileNamePart(pupil.toString());
    QString table;
    if (m_tabs->currentWidget() == m_sentences)
        table = QStringLiteral(" - Phrases difficiles");
    else if (m_tabs->currentWidget() == m_wordsBox)
        table = QStringLiteral(" - Mots mal placés");
    return QStringLiteral("Bilan - %1%2 - %3.csv").arg(who, table, periodText());
}

bool frmBilan::Exporter()
{
    // The table in sight, in the order the teacher sorted it; the chart's tab gives the
    // exercises.
    const QWidget *current = m_tabs->currentWidget();
    const QTableView *table = m_table;
    if (current == m_pupilTable)
        table = m_pupilTable;
    else if (current == m_sentences)
        table = m_sentences;
    else if (current == m_wordsBox)
        table = m_words;
    CsvExport what{QStringLiteral("Exporter le bilan"), QStringLiteral("bilan"),
                   QStringLiteral("Le bilan n'a pas pu être enregistré.\n\n%1"),
                   [table] {
                       // The columns as they are seen: moved ones in their place, hidden ones left out.
                       const QHeaderView *header = table->horizontalHeader();
                       std::vector<int> columns;
                       for (int visual = 0; visual < header->count(); ++visual) {
                           const int logical = header->logicalIndex(visual);
                           if (!header->isSectionHidden(logical))
                               columns.push_back(logical);
                       }
                       return SummaryTables::toCsv(*table->model(), columns);
                   }};
    what.fileName = exportFileName();
    return exportCsv(this, m_files, m_messages, m_clock.now().date(), what);
}

bool frmBilan::DossierJournaux_Click()
{
    FileChooser::Request request;
    request.title = QStringLiteral("Dossier des journaux");
    request.initialFolder = m_records.folder();
    const std::optional<QString> chosen = m_files.chooseFolder(this, request);
    if (!chosen || chosen->trimmed().isEmpty())
        return false;
    const QString folder = QDir::cleanPath(*chosen);
    m_settings.SaveSetting(Settings::DossierJournaux, folder);
    // A chosen folder is only waited for when it is missing: it may be a server's.
    m_records.setFolder(folder, false);
    Actualiser();
    return true;
}

void frmBilan::Eleves_Click()
{
    auto *pupils = new frmEleves(m_records, m_messages, this);
    pupils->setAttribute(Qt::WA_DeleteOnClose);
    connect(pupils, &frmEleves::recordsChanged, this, &frmBilan::Actualiser);
    pupils->open();
}

void frmBilan::updatePrintButton()
{
    // A report is one pupil's: "Tous les élèves" and the lines without a name have none.
    const bool one = !m_pupilFilter->currentData().toString().isEmpty();
    m_printButton->setEnabled(one && !m_reading);
    m_printButton->setToolTip(one ? QStringLiteral("Imprime le bilan de cet élève sur la période.")
                                  : QStringLiteral("Choisissez un élève dans « Afficher » pour "
                                                   "imprimer son bilan."));
}

bool frmBilan::Imprimer()
{
    const QString pupil = m_pupilFilter->currentData().toString();
    if (pupil.isEmpty())
        return false;
    PupilReport report(m_all, pupil, m_from->date(), m_to->date());
    const PrintDialog::Result result =
        m_printing.print(this, QStringLiteral("Imprimer le bilan de %1").arg(pupil), report.documentName(),
                         [&report](QPagedPaintDevice &device) { return report.paint(device); });
    if (result == PrintDialog::Result::Failed)
        m_messages.tell(this, MessageBoxes::Warning, QStringLiteral("Bilan des élèves"),
                        QStringLiteral("Le bilan de « %1 » n'a pas pu être imprimé.").arg(pupil));
    return result == PrintDialog::Result::Printed;
}
