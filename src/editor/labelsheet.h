#pragma once
#include <QFont>
#include <QList>
#include <QRectF>
#include <QStringList>

class QPagedPaintDevice;
class QRandomGenerator;

// Word labels to cut out and glue in order, for work on paper: for each sentence, a field for
// the pupil's name, its words shuffled in boxes drawn with cutting lines, and ruled lines below
// to glue them in the sentence's order. Several sentences a page; a sentence is never cut
// across two pages. Paints on any paged device: a printer, or a PDF file.
class LabelSheet
{
public:
    // Where a word's box was painted, in the device's coordinates (its printable area).
    struct Box {
        int sentence = 0; // index in the list given
        QString word;
        QRectF rect;
        int page = 0;
    };

    // Empty sentences are left out; `seed` decides the shuffles.
    LabelSheet(const QStringList &sentences, quint32 seed);

    // The font the labels are written in: Andika, made for beginning readers, when it is
    // installed, else the program's own font.
    static QFont labelFont();
    // The words of a sentence as the exercise cuts them (at spaces), shuffled: never in the
    // sentence's order when that can be avoided (two words or more, not all the same).
    static QStringList shuffledWords(const QString &sentence, QRandomGenerator &random);

    // Paints every page; false when the device cannot be painted on.
    bool paint(QPagedPaintDevice &device);

    // The sentences that get labels (the non-empty ones), and what the last paint drew.
    int sentenceCount() const { return int(m_words.size()); }
    const QList<Box> &boxes() const { return m_boxes; }
    int pageCount() const { return m_pages; }

private:
    QList<QStringList> m_words; // the shuffled words of each sentence kept
    QList<int> m_indexes;       // each one's index in the list given
    QList<Box> m_boxes;
    int m_pages = 0;
};
