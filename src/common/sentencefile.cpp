#include "sentencefile.h"

#include "cp1252.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Consumes one line end (CR LF, a lone CR or a lone LF) at pos, if there is one.
qsizetype skipLineEnd(const QByteArray &b, qsizetype pos)
{
    if (pos < b.size() && b[pos] == '\r') {
        ++pos;
        if (pos < b.size() && b[pos] == '\n')
            ++pos;
    } else if (pos < b.size() && b[pos] == '\n') {
        ++pos;
    }
    return pos;
}

// Consumes the comma or line end that ends a record.
qsizetype skipSeparator(const QByteArray &b, qsizetype pos)
{
    if (pos < b.size() && b[pos] == ',')
        return pos + 1;
    return skipLineEnd(b, pos);
}
}

QStringList SentenceFile::parse(const QByteArray &b, qsizetype maxRecords)
{
    QStringList sentences;
    const qsizetype n = b.size();
    qsizetype pos = 0;
    while (pos < n && (maxRecords < 0 || sentences.size() < maxRecords)) {
        while (pos < n && b[pos] == ' ')
            ++pos;
        if (pos < n && b[pos] == '"') {
            const qsizetype start = ++pos;
            qsizetype end = -1;
            // A quote closes the record only when a comma, a line end or the end of the file
            // follows it (spaces skipped); any other quote belongs to the sentence. A quote
            // never closed ends at the line end, so one stray quote cannot swallow the file.
            for (qsizetype j = start; j < n; ++j) {
                if (isLineEnd(b[j])) {
                    end = j;
                    pos = skipLineEnd(b, j);
                    break;
                }
                if (b[j] == '"') {
                    qsizetype k = j + 1;
                    while (k < n && b[k] == ' ')
                        ++k;
                    if (k == n || b[k] == ',' || isLineEnd(b[k])) {
                        end = j;
                        pos = skipSeparator(b, k);
                        break;
                    }
                }
            }
            if (end < 0) {
                end = n;
                pos = n;
            }
            sentences.append(Cp1252::decode(b.constData() + start, end - start));
        } else {
            qsizetype j = pos;
            while (j < n && b[j] != ',' && !isLineEnd(b[j]))
                ++j;
            qsizetype end = j;
            while (end > pos && b[end - 1] == ' ')
                --end;
            sentences.append(Cp1252::decode(b.constData() + pos, end - pos));
            pos = skipSeparator(b, j);
        }
    }
    return sentences;
}

std::optional<QStringList> SentenceFile::read(const QString &path, qsizetype maxRecords)
{
    if (path.isEmpty() || QFileInfo(path).isDir())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return parse(bytes, maxRecords);
}

QString SentenceFile::trimSpaces(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == QLatin1Char(' '))
        ++start;
    while (end > start && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(start, end - start);
}

QByteArray SentenceFile::serialize(const QStringList &sentences)
{
    QByteArray bytes;
    qsizetype total = 0;
    for (const QString &s : sentences)
        total += s.size() + 4;
    bytes.reserve(total);
    for (const QString &s : sentences) {
        bytes.append('"');
        bytes.append(Cp1252::encode(trimSpaces(s)));
        bytes.append("\"\r\n", 3);
    }
    return bytes;
}

bool SentenceFile::write(const QString &path, const QStringList &sentences, QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (path.isEmpty())
        return fail(QStringLiteral("Aucun nom de fichier n'a été donné."));
    if (QFileInfo(path).isDir())
        return fail(QStringLiteral("« %1 » est un dossier, pas un fichier.").arg(path));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("Le fichier « %1 » ne peut pas être créé : %2")
                        .arg(path, file.errorString()));
    const QByteArray bytes = serialize(sentences);
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(QStringLiteral("L'écriture du fichier « %1 » a échoué : %2").arg(path, why));
    }
    if (!file.commit())
        return fail(QStringLiteral("L'enregistrement du fichier « %1 » a échoué : %2")
                        .arg(path, file.errorString()));
    return true;
}
