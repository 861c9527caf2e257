#pragma once
#include "journalevent.h"

#include <QString>
#include <QtGlobal>

// One journal line as it is added, with what the records keep of it besides its text.
struct JournalEntry {
    int number = 0;          // as in the grid's first column
    qint64 stampSecs = 0;    // the line's instant, seconds since the epoch (the wall clock)
    qint64 runMs = 0;        // milliseconds since the run began, on a clock that never jumps
    JournalEvent event;
    QString duration;        // the "Durée" cell's text, often empty
    QString runId;           // one per start of the program
    int exercise = 0;        // the exercise of the run it belongs to; 0 before the first one
};

// Told of each line as the journal adds it, so that someone else can keep it (the records on
// disk). A line is complete when it is added: its duration is measured then, or given by the
// caller, and never changes afterwards.
class JournalListener
{
public:
    virtual ~JournalListener() = default;
    virtual void lineAdded(const JournalEntry &entry) = 0;
};
