#include "sentenceediting.h"

#include "sentencequotes.h"
#include "sentencetablemodel.h"

SentenceEditing::SentenceEditing(SentenceTableModel &model)
    : m_model(model)
    , m_savedList(model.sentences())
{
}

QString SentenceEditing::oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    for (const QChar c : {QChar(u'\r'), QChar(u'\n'), QChar(QChar::LineSeparator),
                          QChar(QChar::ParagraphSeparator)})
        text.replace(c, QLatin1Char(' '));
    return text;
}

int SentenceEditing::rows() const
{
    return m_model.rowCount() + 1;
}

QString SentenceEditing::sentence(int row) const
{
    if (row == 0)
        return m_model.headerData(SentenceTableModel::SentenceColumn, Qt::Horizontal).toString();
    return m_model.index(row - 1, SentenceTableModel::SentenceColumn)
        .data(Qt::EditRole)
        .toString();
}

SentenceEditing::ModifyStart SentenceEditing::modify(int row)
{
    if (row > 0 && sentence(row).size() > EditableLength)
        return ModifyStart::TooLong;
    // Gives back its number to a row 1 that a cut left blank.
    if (row == 1)
        m_model.setData(m_model.index(0, SentenceTableModel::NumberColumn), QStringLiteral("1"));
    if (row <= 0)
        return ModifyStart::Nothing;
    m_chosen = row;
    m_modified = row;
    m_startText = oneLine(sentence(row));
    m_mode = Mode::Modify;
    m_editing = true;
    return ModifyStart::Started;
}

void SentenceEditing::startNew()
{
    m_mode = Mode::New;
    m_startText.clear();
    m_editing = true;
}

std::optional<QString> SentenceEditing::quoteQuestion(const QString &text) const
{
    // Only the quotes are asked about, and only when French ones would mend the sentence.
    if (SentenceQuotes::readsBackTheSame(text) || text == m_keptAsIs)
        return std::nullopt;
    const QString mended = SentenceQuotes::frenchQuotes(text);
    if (!SentenceQuotes::readsBackTheSame(mended))
        return std::nullopt;
    return mended;
}

int SentenceEditing::validate(const QString &text)
{
    const bool modifying = m_mode == Mode::Modify;
    int row = modifying ? m_modified : 0;
    if (row < 1 || row >= rows()) {
        // A new sentence goes last; so does a changed one whose row was cut or whose list was
        // replaced meanwhile, rather than being lost or overwriting another sentence.
        row = rows();
        const int at = m_model.rowCount();
        m_model.insertRows(at, 1);
        m_model.setData(m_model.index(at, SentenceTableModel::NumberColumn), QString::number(row));
        if (modifying)
            m_modified = row;
    }
    m_model.setData(m_model.index(row - 1, SentenceTableModel::SentenceColumn), text);
    m_editing = false;
    // The blank row of an empty list goes once a sentence is there.
    if (sentence(1).isEmpty() && rows() > 2) {
        m_model.removeRows(0, 1);
        m_model.renumber();
        forgetRow(1);
        --row;
    }
    return row;
}

bool SentenceEditing::cut()
{
    const int row = m_chosen;
    if (row < 0 || row >= rows())
        return false;
    if (rows() > 2 && row > 0) {
        m_model.removeRows(row - 1, 1);
        m_model.renumber();
        // Cutting the row being changed ends its change.
        forgetRow(row);
    } else {
        m_model.setData(m_model.index(0, SentenceTableModel::NumberColumn), QString());
        m_model.setData(m_model.index(0, SentenceTableModel::SentenceColumn), QString());
    }
    return true;
}

void SentenceEditing::forgetRow(int removed)
{
    if (removed == m_modified)
        m_modified = 0;
    else if (removed < m_modified)
        --m_modified;
}

void SentenceEditing::loaded(const QStringList &sentences)
{
    m_model.setSentences(sentences);
    m_savedList = m_model.sentences();
    // The row being changed belonged to the list that is gone.
    m_modified = 0;
}

bool SentenceEditing::hasPendingText(const QString &boxText) const
{
    return m_editing && oneLine(boxText) != m_startText;
}

bool SentenceEditing::hasUnsavedChanges(const QString &boxText) const
{
    return m_model.sentences() != m_savedList || hasPendingText(boxText);
}
