// The sentence files' file-selection step through Qt's real file dialog, as the teacher sees it.
#include "common/programfolder.h"
#include "editor/choixfichierphrases.h"
#include "platform/qtfilechooser.h"
#include "platform/qttranslations.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QAbstractItemView>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {
void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

// Runs `inspect` on the file dialog once it is open, then lets the dialog end as `inspect` left
// it (accepted or rejected).
std::optional<QString> chooseWith(QString &lastChosenPath,
                                  const std::function<void(QFileDialog *)> &inspect)
{
    QtFileChooser files;
    QTimer::singleShot(0, [&inspect] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            QFAIL("no file dialog");
            return;
        }
        inspect(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    return ChoixFichierPhrases(files, nullptr, lastChosenPath);
}

// The names the dialog's list shows, greyed-out ones left aside, in alphabetical order. (Asking
// the file model for a path would make that path visible.)
QStringList shown(QFileDialog *dialog, int column = 0)
{
    auto *view = dialog->findChild<QAbstractItemView *>(QStringLiteral("listView"));
    if (!view || !view->model())
        return {};
    const QAbstractItemModel *model = view->model();
    QStringList names;
    for (int row = 0; row < model->rowCount(view->rootIndex()); ++row) {
        const QModelIndex index = model->index(row, column, view->rootIndex());
        if (model->flags(index) & Qt::ItemIsEnabled)
            names.append(index.data().toString());
    }
    names.sort();
    return names;
}
}

class tst_FileChooser : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void everyFileUnderTousLesFichiers();
    void opensInTheUserFolderUntilAChoice();
    void frenchTexts();

private:
    bool m_translated = false;
};

void tst_FileChooser::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    m_translated = installFrenchQtTranslations(*QCoreApplication::instance());
}

void tst_FileChooser::everyFileUnderTousLesFichiers()
{
    QTemporaryDir dir;
    const QString txt = dir.filePath(QStringLiteral("animaux.txt"));
    const QString bare = dir.filePath(QStringLiteral("liste"));
    const QString csv = dir.filePath(QStringLiteral("notes.csv"));
    touch(txt);
    touch(bare);
    touch(csv);
    QString last = txt;

    const std::optional<QString> chosen = chooseWith(last, [&](QFileDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Sélection de la photographie"));
        auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        QVERIFY(types);
        const QStringList labels{types->itemText(0), types->itemText(1)};
        QCOMPARE(labels, ChoixFichier::Filters);
        QCOMPARE(types->count(), 2);
        QCOMPARE(types->currentIndex(), 0);

        QTRY_COMPARE(shown(dialog), QStringList{"animaux.txt"});

        // The teacher picks the second filter from the keyboard.
        types->setFocus();
        QTest::keyClick(types, Qt::Key_Down);
        QCOMPARE(types->currentText(), QStringLiteral("Tous les fichiers (*.*)"));
        QTRY_COMPARE(shown(dialog), (QStringList{"animaux.txt", "liste", "notes.csv"}));

        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("liste"));
        auto *buttons = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
        QVERIFY(buttons && buttons->button(QDialogButtonBox::Open));
        QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
    });
    QCOMPARE(chosen.value_or(QStringLiteral("<rien>")), bare);
    QCOMPARE(last, bare);
}

void tst_FileChooser::opensInTheUserFolderUntilAChoice()
{
    QTemporaryDir home;
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    const QString folder = home.filePath(QStringLiteral("Documents/Plumalin"));
    QCOMPARE(userPlumalinFolder(), folder);

    QString last;
    QString opened;
    chooseWith(last, [&](QFileDialog *dialog) { opened = dialog->directory().absolutePath(); });
    QCOMPARE(opened, folder); // created when first needed
    // Once a path has been chosen, the dialog proposes it, in its own folder.
    QTemporaryDir other;
    last = other.filePath(QStringLiteral("liste.txt"));
    chooseWith(last, [&](QFileDialog *dialog) { opened = dialog->directory().absolutePath(); });
    QCOMPARE(opened, other.path());
    qputenv("HOME", savedHome);
}

void tst_FileChooser::frenchTexts()
{
    if (!m_translated)
        QSKIP("Qt's French translation is not installed (Debian: qt6-translations-l10n)");
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("CE1"));
    QVERIFY(QDir().mkpath(folder));
    QString last = dir.filePath(QStringLiteral("phrases.txt"));

    chooseWith(last, [&](QFileDialog *dialog) {
        QCOMPARE(dialog->labelText(QFileDialog::Accept), QStringLiteral("&Ouvrir"));
        QCOMPARE(dialog->labelText(QFileDialog::Reject), QStringLiteral("Annuler"));
        QCOMPARE(dialog->labelText(QFileDialog::LookIn), QStringLiteral("Voir dans :"));
        QCOMPARE(dialog->labelText(QFileDialog::FileName), QStringLiteral("&Nom de fichier :"));
        QTRY_COMPARE(shown(dialog), QStringList{"CE1"});
        // The "Type" column of a folder.
        QCOMPARE(shown(dialog, 2), QStringList{"Dossier"});
    });
}

QTEST_MAIN(tst_FileChooser)
#include "tst_filechooser.moc"
