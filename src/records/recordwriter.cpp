#include "recordwriter.h"

#include "recordformat.h"
#include "recordtexts.h"

#include "common/csv.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

RecordWriter::RecordWriter(QString folder)
    : m_folder(std::move(folder))
{
}

RecordWriter::~RecordWriter() = default;

void RecordWriter::setPupil(const QString &name)
{
    // A name stays one cell of one line.
    QString clean = name;
    for (QChar &c : clean) {
        if (c == u'\r' || c == u'\n' || c == u'\t')
            c = u' ';
    }
    m_pupil = clean.simplified();
}

void RecordWriter::lineAdded(int number, qint64 stampSecs, const QString &text,
                             const QString &duration, bool red)
{
    const qint64 minute = stampSecs >= 0 ? stampSecs / 60 : (stampSecs - 59) / 60;
    if (minute != m_cachedMinute) {
        const QDateTime local = QDateTime::fromSecsSinceEpoch(minute * 60);
        m_cachedMinute = minute;
        m_cachedDay = local.date();
        m_cachedPrefix = local.toString(QStringLiteral("yyyy-MM-dd HH:mm:"));
    }
    const int second = int(stampSecs - minute * 60);

    if (!m_file.isOpen() || m_fileDay != m_cachedDay) {
        if (!openDay(m_cachedDay))
            return;
    }

    QString sentenceFile;
    if (m_sentenceFile && text == RecordTexts::ExerciseStart)
        sentenceFile = m_sentenceFile();

    m_row.clear();
    if (m_needsLineEnd)
        m_row += QLatin1String("\r\n");
    QString stamp = m_cachedPrefix;
    stamp += QChar(u'0' + second / 10);
    stamp += QChar(u'0' + second % 10);
    Csv::appendRow(m_row, {QString::number(number), stamp, text, duration,
                           red ? RecordFormat::Yes : RecordFormat::No, m_pupil, sentenceFile});
    const QByteArray bytes = m_row.toUtf8();
    const qint64 written = m_file.write(bytes);
    if (written != bytes.size()) {
        // Part of the line may be there: the next line starts on a line of its own.
        fail(m_file.errorString());
        m_file.close();
        return;
    }
    m_needsLineEnd = false;
}

bool RecordWriter::openDay(const QDate &day)
{
    m_file.close();
    if (m_folder.isEmpty()) {
        fail(QStringLiteral("aucun dossier n'est prévu pour les journaux"));
        return false;
    }
    QDir().mkpath(m_folder);
    if (!QFileInfo(m_folder).isDir()) {
        fail(QStringLiteral("le dossier « %1 » ne peut pas être créé").arg(QDir::toNativeSeparators(m_folder)));
        return false;
    }
    const QByteArray header = RecordFormat::headerBytes();
    // A file of that day in another form (written by hand, damaged at its start) is left as it
    // is: the lines go to a second file of the day.
    for (int copy = 1; copy <= 9; ++copy) {
        m_file.setFileName(QDir(m_folder).filePath(RecordFormat::fileName(day, copy)));
        const QFileInfo info(m_file.fileName());
        if (info.exists() && !info.isFile())
            continue;
        if (!m_file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered)) {
            fail(m_file.errorString());
            return false;
        }
        const qint64 size = m_file.size();
        if (size == 0) {
            if (m_file.write(header) != header.size()) {
                fail(m_file.errorString());
                m_file.close();
                return false;
            }
            m_needsLineEnd = false;
        } else {
            m_file.seek(0);
            const QByteArray start = m_file.read(header.size());
            if (start != header) {
                m_file.close();
                continue;
            }
            // A line cut short by a full disk: the next one must not be glued to it.
            m_file.seek(size - 1);
            m_needsLineEnd = m_file.read(1) != "\n";
        }
        m_fileDay = day;
        return true;
    }
    fail(QStringLiteral("les fichiers de ce jour ne sont pas des journaux de Plumalin"));
    return false;
}

void RecordWriter::fail(const QString &reason)
{
    if (!m_failure.isEmpty())
        return;
    m_failure = QStringLiteral("Le journal n'a pas pu être enregistré dans le dossier « %1 » (%2). "
                               "Les exercices continuent, mais leurs lignes manqueront au bilan.")
                    .arg(QDir::toNativeSeparators(m_folder), reason);
    if (m_onFailure)
        m_onFailure(m_failure);
}
