#include "frmeleves.h"

#include "recordwriter.h"

#include "platform/messageboxes.h"

#include <QAbstractTableModel>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
const QString Title = QStringLiteral("Élèves");

QString count(qint64 n, const QString &one, const QString &many)
{
    return n == 1 ? QStringLiteral("1 %1").arg(one)
                  : QStringLiteral("%1 %2").arg(QLocale(QLocale::French).toString(n), many);
}

QString lines(qint64 n)
{
    return count(n, QStringLiteral("ligne"), QStringLiteral("lignes"));
}
}

// The pupils and their line counts, one row each.
class PupilListModel : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;
    enum Column { NameColumn, LinesColumn, ColumnCount };

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_pupils.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : ColumnCount; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        const ClassList::Pupil &p = m_pupils[std::size_t(index.row())];
        if (role == Qt::DisplayRole)
            return index.column() == NameColumn ? p.name : QLocale(QLocale::French).toString(p.lines);
        if (role == Qt::TextAlignmentRole && index.column() == LinesColumn)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return section == NameColumn ? QStringLiteral("Élève") : QStringLiteral("Lignes des journaux");
    }
    void setPupils(std::vector<ClassList::Pupil> pupils)
    {
        beginResetModel();
        m_pupils = std::move(pupils);
        endResetModel();
    }
    const std::vector<ClassList::Pupil> &pupils() const { return m_pupils; }

private:
    std::vector<ClassList::Pupil> m_pupils;
};

frmEleves::frmEleves(RecordWriter &records, MessageBoxes &messages, QWidget *parent)
    : QDialog(parent)
    , m_records(records)
    , m_messages(messages)
{
    setObjectName(QStringLiteral("frmEleves"));
    setWindowTitle(Title);

    auto *intro = new QLabel(this);
    intro->setWordWrap(true);
    intro->setText(QStringLiteral("Les élèves des journaux du dossier « %1 ». Un nom mal écrit se "
                                  "corrige avec « Renommer… » ; donner le nom d'un autre élève "
                                  "réunit les deux.")
                       .arg(QDir::toNativeSeparators(records.folder())));

    m_model = new PupilListModel(this);
    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("listeEleves"));
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->hide();
    m_list->setAlternatingRowColors(true);
    m_list->setWordWrap(false);
    m_list->horizontalHeader()->setSectionResizeMode(PupilListModel::NameColumn, QHeaderView::Stretch);
    m_list->horizontalHeader()->setSectionResizeMode(PupilListModel::LinesColumn,
                                                     QHeaderView::ResizeToContents);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmEleves::updateButtons);
    connect(m_list, &QTableView::doubleClicked, this, &frmEleves::Renommer_Click);

    m_notes = new QLabel(this);
    m_notes->setObjectName(QStringLiteral("notes"));
    m_notes->setWordWrap(true);
    m_notes->setStyleSheet(QStringLiteral("color: #8a4b00;"));
    m_notes->hide();

    m_rename = new QPushButton(QStringLiteral("&Renommer…"), this);
    m_rename->setObjectName(QStringLiteral("Renommer"));
    connect(m_rename, &QPushButton::clicked, this, &frmEleves::Renommer_Click);
    m_delete = new QPushButton(QStringLiteral("&Supprimer les données de l'élève"), this);
    m_delete->setObjectName(QStringLiteral("Supprimer"));
    connect(m_delete, &QPushButton::clicked, this, [this] { Supprimer_Click(); });
    auto *close = new QPushButton(QStringLiteral("&Fermer"), this);
    close->setObjectName(QStringLiteral("Fermer"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_rename);
    buttons->addWidget(m_delete);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_notes);
    layout->addLayout(buttons);
    resize(520, 400);

    Actualiser();
}

void frmEleves::Actualiser()
{
    const std::optional<ClassList::Pupil> was = chosen();
    // The lines still on their way to the disk are counted too.
    m_records.flush();
    ClassList::Pupils read = ClassList::pupils(m_records.folder());
    m_model->setPupils(std::move(read.pupils));
    m_notes->setText(read.notes.join(QLatin1Char('\n')));
    m_notes->setVisible(!read.notes.isEmpty());
    if (!was || !choosePupil(was->name))
        updateButtons();
}

QStringList frmEleves::pupils() const
{
    QStringList names;
    for (const ClassList::Pupil &p : m_model->pupils())
        names.append(p.name);
    return names;
}

bool frmEleves::choosePupil(const QString &name)
{
    const QStringList names = pupils();
    const int row = int(names.indexOf(name));
    if (row < 0)
        return false;
    m_list->selectRow(row);
    m_list->scrollTo(m_model->index(row, 0));
    updateButtons();
    return true;
}

std::optional<ClassList::Pupil> frmEleves::chosen() const
{
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    if (rows.isEmpty() || rows.first().row() >= int(m_model->pupils().size()))
        return std::nullopt;
    return m_model->pupils()[std::size_t(rows.first().row())];
}

void frmEleves::updateButtons()
{
    const bool any = chosen().has_value();
    for (QPushButton *button : {m_rename, m_delete}) {
        button->setEnabled(any);
        button->setToolTip(any ? QString() : QStringLiteral("Choisissez d'abord un élève dans la liste."));
    }
}

void frmEleves::Renommer_Click()
{
    const std::optional<ClassList::Pupil> pupil = chosen();
    if (!pupil)
        return;
    if (m_ask && m_ask->isVisible()) {
        m_ask->raise();
        return;
    }
    // Answered later, so that nothing waits inside this handler.
    auto *ask = new QInputDialog(this);
    m_ask = ask;
    ask->setObjectName(QStringLiteral("nouveauNom"));
    ask->setAttribute(Qt::WA_DeleteOnClose);
    ask->setWindowTitle(QStringLiteral("Renommer un élève"));
    ask->setLabelText(QStringLiteral("Nouveau nom de « %1 » :").arg(pupil->name));
    ask->setTextValue(pupil->name);
    ask->setOkButtonText(QStringLiteral("Renommer"));
    ask->setCancelButtonText(QStringLiteral("Annuler"));
    connect(ask, &QInputDialog::textValueSelected, this, [this](const QString &name) { renommer(name); });
    ask->open();
}

bool frmEleves::renommer(const QString &newName)
{
    const std::optional<ClassList::Pupil> pupil = chosen();
    if (!pupil)
        return false;
    const QString name = ClassList::cleanName(newName);
    if (name.isEmpty()) {
        m_messages.tell(this, MessageBoxes::Warning, Title,
                        QStringLiteral("Le nouveau nom est vide : « %1 » garde son nom.").arg(pupil->name));
        return false;
    }
    if (name == pupil->name)
        return false;
    const bool merges = pupils().contains(name);
    if (merges
        && m_messages.ask(this, MessageBoxes::Question, Title,
                          QStringLiteral("« %1 » est déjà un élève des journaux. Les %2 de « %3 » "
                                         "passeront à « %1 » : les deux noms ne feront plus qu'un "
                                         "élève.\n\nRéunir « %3 » et « %1 » ?")
                              .arg(name, lines(pupil->lines), pupil->name),
                          MessageBoxes::Yes | MessageBoxes::No, MessageBoxes::No)
               != MessageBoxes::Yes)
        return false;

    // The lines on their way to the disk are renamed with the others.
    m_records.flush();
    const ClassList::Change change = ClassList::rename(m_records.folder(), pupil->name, name);
    // The pupil at the computer goes on under the new name.
    if (m_records.pupil() == pupil->name)
        m_records.setPupil(name);
    const QString done =
        merges ? QStringLiteral("« %1 » et « %2 » ne font plus qu'un élève, « %2 » : %3 dans %4.")
                     .arg(pupil->name, name, change.lines == 1 ? QStringLiteral("1 ligne renommée")
                                                               : lines(change.lines) + QStringLiteral(" renommées"),
                          count(change.files, QStringLiteral("fichier"), QStringLiteral("fichiers")))
               : QStringLiteral("« %1 » s'appelle maintenant « %2 » : %3 dans %4.")
                     .arg(pupil->name, name, change.lines == 1 ? QStringLiteral("1 ligne renommée")
                                                               : lines(change.lines) + QStringLiteral(" renommées"),
                          count(change.files, QStringLiteral("fichier"), QStringLiteral("fichiers")));
    Actualiser();
    choosePupil(change.lines > 0 ? name : pupil->name);
    report(change.lines > 0 || change.failures.isEmpty()
               ? done
               : QStringLiteral("« %1 » n'a pas pu être renommé.").arg(pupil->name),
           change);
    if (change.lines > 0)
        emit recordsChanged();
    return change.lines > 0;
}

bool frmEleves::Supprimer_Click()
{
    const std::optional<ClassList::Pupil> pupil = chosen();
    if (!pupil)
        return false;
    if (m_messages.ask(this, MessageBoxes::Warning, Title,
                       QStringLiteral("Supprimer les données de « %1 » ?\n\nSes %2 seront effacées "
                                      "de tous les journaux du dossier. Ses exercices ne seront "
                                      "plus dans le bilan, et cela ne peut pas être annulé.")
                           .arg(pupil->name, lines(pupil->lines)),
                       MessageBoxes::Yes | MessageBoxes::No, MessageBoxes::No)
        != MessageBoxes::Yes)
        return false;
    // None of the lines on their way to the disk stays behind.
    m_records.flush();
    const ClassList::Change change = ClassList::remove(m_records.folder(), pupil->name);
    const QString done =
        QStringLiteral("Les données de « %1 » ont été supprimées : %2 %3 de %4.")
            .arg(pupil->name, lines(change.lines),
                 change.lines == 1 ? QStringLiteral("retirée") : QStringLiteral("retirées"),
                 count(change.files, QStringLiteral("fichier"), QStringLiteral("fichiers")));
    Actualiser();
    report(change.lines > 0 || change.failures.isEmpty()
               ? done
               : QStringLiteral("Les données de « %1 » n'ont pas pu être supprimées.").arg(pupil->name),
           change);
    if (change.lines > 0)
        emit recordsChanged();
    return change.lines > 0;
}

void frmEleves::report(const QString &done, const ClassList::Change &change)
{
    if (change.failures.isEmpty()) {
        m_messages.tell(this, MessageBoxes::Information, Title, done);
        return;
    }
    QString text = done + QStringLiteral("\n\nLes lignes de l'élève restent dans ces fichiers :");
    for (const QString &failure : change.failures)
        text += QStringLiteral("\n• ") + failure;
    m_messages.tell(this, MessageBoxes::Warning, Title, text);
}
