#include "frmprogression.h"

#include "journal.h"
#include "journalmodel.h"

#include "common/apptexts.h"
#include "common/csvexport.h"
#include "platform/clock.h"
#include "platform/messageboxes.h"
#include "common/objectnames.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>

#include <algorithm>

namespace {
// The grid scrolls up and down only: the number column stays in place even when a cell of
// the partly hidden last column becomes current.
class JournalGrid : public QTableView
{
public:
    using QTableView::QTableView;

protected:
    void updateGeometries() override
    {
        QTableView::updateGeometries();
        horizontalScrollBar()->setRange(0, 0);
    }
};

// The number column is drawn like the header, as the fixed column of the grid.
class FixedColumnDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionHeader header;
        header.rect = option.rect;
        header.palette = option.palette;
        header.fontMetrics = option.fontMetrics;
        header.direction = option.direction;
        header.state = QStyle::State_Enabled | QStyle::State_Raised;
        header.orientation = Qt::Vertical;
        header.position = QStyleOptionHeader::Middle;
        header.text = index.data(Qt::DisplayRole).toString();
        header.textAlignment = Qt::AlignRight | Qt::AlignVCenter;
        const QStyle *style = option.widget ? option.widget->style() : nullptr;
        if (!style)
            return;
        painter->save();
        painter->setFont(option.font);
        style->drawControl(QStyle::CE_Header, &header, painter, option.widget);
        painter->restore();
    }
};

// The stamp column is narrow for the stamps of some regional settings: its font is narrowed
// until a stamp fits, rather than cutting the time off.
class StampDelegate : public QStyledItemDelegate
{
public:
    StampDelegate(const QFont &font, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_font(font)
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->font = m_font;
        option->fontMetrics = QFontMetrics(m_font);
    }

private:
    QFont m_font;
};

QFont fittingStampFont(const QFont &base, int available)
{
    const QString sample = JournalModel::stamp(QDateTime(QDate(2000, 12, 28), QTime(23, 58, 58)));
    QFont font = base;
    // A narrower face at the grid's size reads better than a smaller one.
    for (const qreal size : {base.pointSizeF(), 8.0, 7.5, 7.0}) {
        if (size > base.pointSizeF())
            continue;
        for (const int stretch : {100, 87, 75}) {
            font.setStretch(stretch);
            font.setPointSizeF(size);
            if (QFontMetrics(font).horizontalAdvance(sample) <= available)
                return font;
        }
    }
    return font;
}
}

frmProgression::frmProgression(Journal &journal, FileChooser &files, MessageBoxes &messages,
                               Clock &clock, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_journal(journal)
    , m_files(files)
    , m_messages(messages)
    , m_clock(clock)
{
    setWindowTitle(QStringLiteral("Progression de l'exercice ..."));
    setFixedSize(pixels(8880), pixels(3690));
    // The journal ends with the program: it never keeps the program running on its own.
    setAttribute(Qt::WA_QuitOnClose, false);
    // The layout's fixed sizes were made for 8-point controls.
    QFont formFont = font();
    formFont.setPointSizeF(8.25);
    setFont(formFont);

    Label1 = new QLabel(QStringLiteral("Progression de..."), this);
    QFont titleFont = font();
    titleFont.setBold(true);
    titleFont.setPointSize(12);
    Label1->setFont(titleFont);
    Label1->setGeometry(twipsRect(90, 90, 8715, 285));

    buildGrid();

    PremierPlan = new QCheckBox(QStringLiteral("Fenêtre de progression en premier plan"), this);
    PremierPlan->setGeometry(twipsRect(120, 3300, 5025, 255));

    Vider = new QPushButton(QStringLiteral("&Vider"), this);
    Vider->setGeometry(twipsRect(5280, 3240, 1125, 345));
    Sauvegarder = new QPushButton(QStringLiteral("&Sauvegarder"), this);
    Sauvegarder->setGeometry(twipsRect(6450, 3240, 1125, 345));
    Quitter = new QPushButton(QStringLiteral("&Quitter"), this);
    Quitter->setGeometry(twipsRect(7620, 3240, 1125, 345));

    nameObjects({{Label1, "Label1"}, {MSFlexGrid1, "MSFlexGrid1"}, {PremierPlan, "PremierPlan"},
                 {Vider, "Vider"}, {Sauvegarder, "Sauvegarder"}, {Quitter, "Quitter"}});

    QWidget::setTabOrder(Quitter, Sauvegarder);
    QWidget::setTabOrder(Sauvegarder, Vider);
    QWidget::setTabOrder(Vider, MSFlexGrid1);
    QWidget::setTabOrder(MSFlexGrid1, PremierPlan);
    Quitter->setFocus();

    connect(Vider, &QPushButton::clicked, this, &frmProgression::Vider_Click);
    connect(Sauvegarder, &QPushButton::clicked, this, &frmProgression::Sauvegarder_Click);
    connect(Quitter, &QPushButton::clicked, this, &frmProgression::Quitter_Click);
    connect(PremierPlan, &QCheckBox::toggled, this, &frmProgression::PremierPlan_Click);
}

frmProgression::~frmProgression() = default;

void frmProgression::buildGrid()
{
    MSFlexGrid1 = new JournalGrid(this);
    MSFlexGrid1->setGeometry(twipsRect(90, 420, 8685, 2745));
    const QFont gridFont = font();
    MSFlexGrid1->setModel(&m_journal.model());

    MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MSFlexGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MSFlexGrid1->setWordWrap(false);
    MSFlexGrid1->setCornerButtonEnabled(false);

    // Every row has the same height, fixed once: nothing is measured as lines arrive.
    QHeaderView *rows = MSFlexGrid1->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(std::max(pixels(240), QFontMetrics(gridFont).height() + 3));

    QHeaderView *header = MSFlexGrid1->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    const int gridWidthTwips = twips(MSFlexGrid1->width());
    MSFlexGrid1->setColumnWidth(JournalModel::NumberColumn, pixels(600));
    MSFlexGrid1->setColumnWidth(JournalModel::DateColumn, pixels(1500));
    MSFlexGrid1->setColumnWidth(JournalModel::TextColumn, pixels(5500));
    MSFlexGrid1->setColumnWidth(JournalModel::DurationColumn, pixels(gridWidthTwips - 7600));

    MSFlexGrid1->setItemDelegateForColumn(JournalModel::NumberColumn,
                                          new FixedColumnDelegate(MSFlexGrid1));
    const int margin
        = 2 * (MSFlexGrid1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1) + 2;
    MSFlexGrid1->setItemDelegateForColumn(
        JournalModel::DateColumn,
        new StampDelegate(fittingStampFont(gridFont, pixels(1500) - margin), MSFlexGrid1));
}

void frmProgression::Vider_Click()
{
    m_journal.Vider();
}

bool frmProgression::Sauvegarder_Click()
{
    const std::optional<QString> path =
        chooseCsvPath(this, m_files, m_messages, m_clock.now().date(),
                      QStringLiteral("Sauvegarder la progression"), QStringLiteral("journal"));
    if (!path)
        return false;
    QString error;
    if (m_journal.writeCsv(*path, &error))
        return true;
    m_messages.tell(this, MessageBoxes::Warning, AppTexts::Title,
                    QStringLiteral("La progression n'a pas pu être enregistrée.\n\n%1\n\n"
                                   "Le journal n'a pas changé.")
                        .arg(error));
    return false;
}

void frmProgression::Quitter_Click()
{
    hide();
}

void frmProgression::PremierPlan_Click()
{
    const bool onTop = PremierPlan->isChecked();
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    // Changing a window's flags hides it: it comes back where it was.
    const bool wasVisible = isVisible();
    const QPoint where = pos();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    move(where);
    if (wasVisible) {
        show();
        raise();
        activateWindow();
    }
}

void frmProgression::closeEvent(QCloseEvent *event)
{
    // The journal's window is destroyed by the journal alone (Journal::closeByProgram).
    event->ignore();
}
