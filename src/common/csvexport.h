#pragma once
#include <QByteArray>
#include <QDate>
#include <QString>

#include <functional>
#include <optional>

class FileChooser;
class MessageBoxes;
class QWidget;

// Where and how a table is exported for a spreadsheet.
struct CsvExport {
    QString title;   // of the file dialog
    QString stem;    // the proposed name is "<stem>-<date>.csv" in the documents folder
    QString failure; // what the teacher is told when the file cannot be written; %1 is the reason
    std::function<QByteArray()> bytes; // made only once a file has been chosen
    QString fileName = {}; // when given, the proposed name instead of "<stem>-<date>.csv"
};

// Asks for a file, adds ".csv" when no extension was typed and asks before replacing a file (the
// file dialog itself does not). Nothing when the teacher gave up.
std::optional<QString> chooseCsvPath(QWidget *parent, FileChooser &files, MessageBoxes &messages,
                                     const QDate &today, const QString &title, const QString &stem);

// chooseCsvPath, then writes the file through SafeFile. A failure is told and nothing
// else changes. True when a file was written.
bool exportCsv(QWidget *parent, FileChooser &files, MessageBoxes &messages, const QDate &today,
               const CsvExport &what);
