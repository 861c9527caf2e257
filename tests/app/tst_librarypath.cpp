// The library search path written into the program and its modules. An empty or relative entry
// is searched from the folder the program is started in, so a library planted there would be
// loaded in place of Qt's.
#include <QFile>
#include <QStringList>
#include <QTest>

#include <elf.h>

#include <cstring>

namespace {

struct SearchPath
{
    QString tag;
    QString value;
};

template<typename T>
bool readAt(const QByteArray &file, quint64 offset, T *out)
{
    if (offset > quint64(file.size()) || quint64(file.size()) - offset < sizeof(T))
        return false;
    std::memcpy(out, file.constData() + offset, sizeof(T));
    return true;
}

// The DT_RPATH and DT_RUNPATH entries of a 64-bit ELF file, through its section headers: the
// dynamic section and the string table it links to.
QList<SearchPath> searchPaths(const QString &path, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = f.errorString();
        return {};
    }
    const QByteArray file = f.readAll();
    Elf64_Ehdr header;
    if (!readAt(file, 0, &header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0
        || header.e_ident[EI_CLASS] != ELFCLASS64) {
        *error = QStringLiteral("not a 64-bit ELF file");
        return {};
    }
    auto section = [&](quint64 index, Elf64_Shdr *out) {
        return readAt(file, header.e_shoff + index * header.e_shentsize, out);
    };
    QList<SearchPath> found;
    bool sawDynamic = false;
    for (quint64 i = 0; i < header.e_shnum; ++i) {
        Elf64_Shdr dynamic;
        if (!section(i, &dynamic) || dynamic.sh_type != SHT_DYNAMIC)
            continue;
        sawDynamic = true;
        Elf64_Shdr strings;
        if (!section(dynamic.sh_link, &strings)) {
            *error = QStringLiteral("dynamic section without its string table");
            return {};
        }
        for (quint64 at = 0; at + sizeof(Elf64_Dyn) <= dynamic.sh_size; at += sizeof(Elf64_Dyn)) {
            Elf64_Dyn entry;
            if (!readAt(file, dynamic.sh_offset + at, &entry) || entry.d_tag == DT_NULL)
                break;
            if (entry.d_tag != DT_RPATH && entry.d_tag != DT_RUNPATH)
                continue;
            const quint64 start = strings.sh_offset + entry.d_un.d_val;
            const qsizetype end = file.indexOf('\0', qsizetype(start));
            if (start >= quint64(file.size()) || end < 0) {
                *error = QStringLiteral("search path outside the file");
                return {};
            }
            found.append({entry.d_tag == DT_RPATH ? QStringLiteral("RPATH") : QStringLiteral("RUNPATH"),
                          QString::fromUtf8(file.constData() + start, end - qsizetype(start))});
        }
    }
    if (!sawDynamic)
        *error = QStringLiteral("no dynamic section");
    return found;
}

} // namespace

class TestLibraryPath : public QObject
{
    Q_OBJECT
private slots:
    void noEntryFromTheCurrentFolder_data();
    void noEntryFromTheCurrentFolder();
};

void TestLibraryPath::noEntryFromTheCurrentFolder_data()
{
    QTest::addColumn<QString>("path");
    // The program, then each module it opens on first use.
    const QStringList files = QStringLiteral(PLUMALIN_BINARIES).split(u'|', Qt::SkipEmptyParts);
    QVERIFY(!files.isEmpty());
    for (const QString &file : files)
        QTest::newRow(qPrintable(file.section(u'/', -1))) << file;
}

void TestLibraryPath::noEntryFromTheCurrentFolder()
{
    QFETCH(QString, path);
    QString error;
    const QList<SearchPath> paths = searchPaths(path, &error);
    QVERIFY2(error.isEmpty(), qPrintable(path + QStringLiteral(": ") + error));
    for (const SearchPath &p : paths) {
        // Empty entries come from a leading, trailing or doubled ':'; keep them.
        for (const QString &entry : p.value.split(u':')) {
            const bool fromProgram = entry.startsWith(QLatin1String("$ORIGIN"))
                                     || entry.startsWith(QLatin1String("${ORIGIN}"));
            QVERIFY2(entry.startsWith(u'/') || fromProgram,
                     qPrintable(QStringLiteral("%1: %2 \"%3\" holds the entry \"%4\"")
                                    .arg(path, p.tag, p.value, entry)));
        }
    }
}

QTEST_APPLESS_MAIN(TestLibraryPath)
#include "tst_librarypath.moc"
