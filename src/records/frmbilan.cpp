#include "frmbilan.h"

#include "recordformat.h"
#include "recordreader.h"
#include "recordwriter.h"
#include "frmeleves.h"
#include "pupilreport.h"
#include "summarymodels.h"

#include "common/csvexport.h"
#include "common/settingsstore.h"
#include "platform/clock.h"
#include "platform/filechooser.h"
#include "platform/messageboxes.h"
#include "platform/printdialog.h"

#include <QChart>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeAxis>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMap>
#include <QPushButton>
#include <QShowEvent>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QTableView>
#include <QValueAxis>
#include <QVBoxLayout>

namespace {
const QString Everyone = QStringLiteral("Tous les élèves");
const QString NoName = QStringLiteral("(sans nom)");

QTableView *makeTable(QWidget *parent, const QString &name)
{
    auto *table = new QTableView(parent);
    table->setObjectName(name);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->setAlternatingRowColors(true);
    table->setWordWrap(false);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Columns fit the rows near the top: measuring every row of a year's records is slow.
    table->horizontalHeader()->setResizeContentsPrecision(100);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}
}

frmBilan::frmBilan(RecordWriter &records, SettingsStore &settings, Clock &clock, FileChooser &files,
                   MessageBoxes &messages, PrintDialog &printing, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_records(records)
    , m_settings(settings)
    , m_clock(clock)
    , m_files(files)
    , m_messages(messages)
    , m_printing(printing)
{
    setObjectName(QStringLiteral("frmBilan"));
    setWindowTitle(QStringLiteral("Bilan des élèves"));
    setAttribute(Qt::WA_DeleteOnClose);

    // The pupil now at the computer, for the lines recorded from now on.
    auto *nameLabel = new QLabel(QStringLiteral("Élève à l'&ordinateur :"), this);
    m_pupilName = new QComboBox(this);
    m_pupilName->setObjectName(QStringLiteral("nomEleve"));
    m_pupilName->setEditable(true);
    m_pupilName->setInsertPolicy(QComboBox::NoInsert);
    m_pupilName->setMinimumContentsLength(18);
    m_pupilName->lineEdit()->setPlaceholderText(QStringLiteral("sans nom"));
    m_pupilName->setToolTip(QStringLiteral("Les lignes du journal sont enregistrées à ce nom "
                                           "jusqu'à ce qu'il change."));
    nameLabel->setBuddy(m_pupilName);
    connect(m_pupilName->lineEdit(), &QLineEdit::editingFinished, this, &frmBilan::applyPupilName);
    connect(m_pupilName, &QComboBox::activated, this, &frmBilan::applyPupilName);

    auto *filterLabel = new QLabel(QStringLiteral("&Afficher :"), this);
    m_pupilFilter = new QComboBox(this);
    m_pupilFilter->setObjectName(QStringLiteral("filtreEleve"));
    m_pupilFilter->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    filterLabel->setBuddy(m_pupilFilter);
    auto *fromLabel = new QLabel(QStringLiteral("&du"), this);
    m_from = new QDateEdit(this);
    m_from->setObjectName(QStringLiteral("du"));
    fromLabel->setBuddy(m_from);
    auto *toLabel = new QLabel(QStringLiteral("a&u"), this);
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

    m_notes = new QLabel(this);
    m_notes->setObjectName(QStringLiteral("notes"));
    m_notes->setWordWrap(true);
    m_notes->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_notes->setStyleSheet(QStringLiteral("color: #8a4b00;"));
    m_notes->hide();

    m_exerciseModel = new ExerciseTableModel(this);
    m_sorted = new QSortFilterProxyModel(this);
    m_sorted->setSourceModel(m_exerciseModel);
    m_sorted->setSortRole(Qt::UserRole);
    m_table = makeTable(this, QStringLiteral("exercices"));
    m_table->setModel(m_sorted);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(ExerciseTableModel::DateColumn, Qt::DescendingOrder);

    m_wordModel = new WrongWordModel(this);
    m_words = makeTable(this, QStringLiteral("motsMalPlaces"));
    m_words->setModel(m_wordModel);

    m_chart = new QChartView(new QChart, this);
    m_chart->setObjectName(QStringLiteral("courbeNotes"));
    m_chart->setRenderHint(QPainter::Antialiasing);
    m_chart->setMinimumSize(260, 180);

    auto *wordsBox = new QWidget(this);
    auto *wordsLayout = new QVBoxLayout(wordsBox);
    wordsLayout->setContentsMargins(0, 0, 0, 0);
    auto *wordsTitle = new QLabel(QStringLiteral("Mots le plus souvent mal placés :"), wordsBox);
    wordsLayout->addWidget(wordsTitle);
    wordsLayout->addWidget(m_words);

    auto *lower = new QSplitter(Qt::Horizontal, this);
    lower->addWidget(m_chart);
    lower->addWidget(wordsBox);
    lower->setStretchFactor(0, 3);
    lower->setStretchFactor(1, 2);
    lower->setChildrenCollapsible(false);
    lower->setSizes({520, 360});
    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_table);
    split->addWidget(lower);
    split->setChildrenCollapsible(false);
    split->setSizes({280, 260});

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("nombre"));
    m_folderButton = new QPushButton(QStringLiteral("Dossier des &journaux…"), this);
    m_folderButton->setObjectName(QStringLiteral("DossierJournaux"));
    connect(m_folderButton, &QPushButton::clicked, this, [this] { DossierJournaux_Click(); });
    auto *exportButton = new QPushButton(QStringLiteral("&Exporter le tableau..."), this);
    exportButton->setObjectName(QStringLiteral("Exporter"));
    connect(exportButton, &QPushButton::clicked, this, [this] { Exporter(); });
    auto *pupilsButton = new QPushButton(QStringLiteral("É&lèves…"), this);
    pupilsButton->setObjectName(QStringLiteral("Eleves"));
    connect(pupilsButton, &QPushButton::clicked, this, &frmBilan::Eleves_Click);
    m_printButton = new QPushButton(QStringLiteral("&Imprimer…"), this);
    m_printButton->setObjectName(QStringLiteral("Imprimer"));
    connect(m_printButton, &QPushButton::clicked, this, [this] { Imprimer(); });
    connect(m_pupilFilter, &QComboBox::currentIndexChanged, this, &frmBilan::updatePrintButton);
    auto *closeButton = new QPushButton(QStringLiteral("&Fermer"), this);
    closeButton->setObjectName(QStringLiteral("Fermer"));
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    // Two rows, so that the window fits a small screen.
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(m_pupilName);
    nameRow->addStretch(1);
    // Beside the pupil's name: the bottom row is full at 640 pixels.
    nameRow->addWidget(pupilsButton);
    nameRow->addWidget(m_printButton);
    auto *top = new QHBoxLayout;
    top->addWidget(filterLabel);
    top->addWidget(m_pupilFilter, 1);
    top->addWidget(fromLabel);
    top->addWidget(m_from);
    top->addWidget(toLabel);
    top->addWidget(m_to);
    top->addWidget(refresh);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_count, 1);
    bottom->addWidget(m_folderButton);
    bottom->addWidget(exportButton);
    bottom->addWidget(closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addLayout(top);
    layout->addWidget(m_notes);
    layout->addWidget(split, 1);
    layout->addLayout(bottom);

    // Never larger than the screen, less room for the window's frame: on a small screen the
    // buttons at the bottom stay in reach.
    const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    QSize size(900, 600);
    if (screen)
        size = size.boundedTo(screen->availableGeometry().size() - QSize(16, 48));
    resize(size);
}

frmBilan::~frmBilan()
{
    // The name field, destroyed after us with the focus, says its editing has finished: not
    // to a window already gone.
    disconnect(m_pupilName->lineEdit(), nullptr, this, nullptr);
}

void frmBilan::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Read at each showing: what was played since the window was last looked at.
    if (!event->spontaneous())
        Actualiser();
}

void frmBilan::Actualiser()
{
    const QString folder = QDir::toNativeSeparators(m_records.folder());
    m_folderButton->setToolTip(QStringLiteral("Les journaux sont lus et écrits dans « %1 ».").arg(folder));
    SummaryCache::Result read = m_records.summaryCache().read(m_records.folder());
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
    applyFilter();
    updatePrintButton();
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
    SummaryFilter filter;
    const QVariant pupil = m_pupilFilter->currentData();
    if (pupil.isValid())
        filter.pupil = pupil.toString();
    filter.from = m_from->date();
    filter.to = m_to->date();
    std::vector<ExerciseSummary> shown = Summary::filtered(m_all, filter);
    m_wordModel->setCounts(Summary::wrongWords(shown));
    drawChart(shown);
    const auto count = shown.size();
    m_count->setText(count == 0   ? QStringLiteral("Aucun exercice sur cette période.")
                     : count == 1 ? QStringLiteral("1 exercice.")
                                  : QStringLiteral("%1 exercices.").arg(count));
    m_exerciseModel->setExercises(std::move(shown));
    showNotes();
}

void frmBilan::showNotes()
{
    QStringList notes;
    if (!m_records.failure().isEmpty())
        notes.append(m_records.failure());
    notes += m_readNotes;
    m_notes->setText(notes.join(QLatin1Char('\n')));
    m_notes->setVisible(!notes.isEmpty());
}

void frmBilan::drawChart(const std::vector<ExerciseSummary> &shown)
{
    auto *chart = new QChart;
    chart->setMargins(QMargins(4, 4, 4, 4));
    // One series per pupil, in the order of the names.
    QMap<QString, QLineSeries *> series;
    qint64 first = 0, last = 0;
    bool any = false;
    for (const ExerciseSummary &e : shown) {
        if (!e.mark)
            continue;
        QLineSeries *&s = series[e.pupil];
        if (!s) {
            s = new QLineSeries;
            s->setName(e.pupil.isEmpty() ? NoName : e.pupil);
            s->setPointsVisible(true);
        }
        const qint64 when = RecordFormat::toDateTime(e.end).toMSecsSinceEpoch();
        s->append(double(when), *e.mark);
        first = any ? std::min(first, when) : when;
        last = any ? std::max(last, when) : when;
        any = true;
    }
    chart->setTitle(any ? QStringLiteral("Notes sur 20") : QStringLiteral("Aucune note sur cette période"));
    auto *x = new QDateTimeAxis;
    // Days over a long period, hours within a day or two.
    x->setFormat(last - first > 2 * 86400 * 1000 ? QStringLiteral("dd/MM") : QStringLiteral("dd/MM HH:mm"));
    x->setTickCount(4);
    // A single exercise still gets a readable axis around it.
    const qint64 margin = std::max<qint64>((last - first) / 20, 3600 * 1000);
    x->setRange(QDateTime::fromMSecsSinceEpoch(first - margin), QDateTime::fromMSecsSinceEpoch(last + margin));
    auto *y = new QValueAxis;
    // A little room above 20 and below 0, so that the points of those marks show whole.
    y->setRange(-0.8, 20.8);
    y->setTickType(QValueAxis::TicksDynamic);
    y->setTickAnchor(0);
    y->setTickInterval(5);
    y->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QLineSeries *s : series) {
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    }
    chart->legend()->setVisible(series.size() > 1);
    chart->legend()->setAlignment(Qt::AlignBottom);
    QChart *old = m_chart->chart();
    m_chart->setChart(chart);
    delete old;
}

bool frmBilan::Exporter()
{
    return exportCsv(this, m_files, m_messages, m_clock.now().date(),
                     {QStringLiteral("Exporter le bilan"), QStringLiteral("bilan"),
                      QStringLiteral("Le bilan n'a pas pu être enregistré.\n\n%1"),
                      [this] { return m_exerciseModel->toCsv(); }});
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
    m_printButton->setEnabled(one);
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
