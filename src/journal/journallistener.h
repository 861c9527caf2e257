#pragma once
#include <QString>
#include <QtGlobal>

// Told of each line as the journal adds it, so that someone else can keep it (the records on
// disk). A line is complete when it is added: its duration is measured then, or given by the
// caller, and never changes afterwards.
class JournalListener
{
public:
    virtual ~JournalListener() = default;
    // `number` as in the grid's first column; `stampSecs` seconds since the epoch; `duration`
    // the "Durée" cell's text, often empty; `red` for a line shown in red.
    virtual void lineAdded(int number, qint64 stampSecs, const QString &text,
                           const QString &duration, bool red) = 0;
};
