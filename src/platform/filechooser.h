#pragma once
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

// The platform's file dialogs, to open and to save; tests answer them with the path they want.
class FileChooser
{
public:
    struct Request {
        QString title;
        QStringList filters;      // "Label (*.txt)" entries, the first one selected
        QString initialPath;      // proposed file name, may be empty
        QString initialFolder;    // where the dialog opens when no file name is proposed
        bool mustExist = false;
    };
    virtual ~FileChooser() = default;
    // The chosen path exactly as the dialog gives it, or nothing on cancel.
    virtual std::optional<QString> choose(QWidget *parent, const Request &request) = 0;
    // A file to write to (the journal's export); nothing on cancel.
    virtual std::optional<QString> chooseSave(QWidget *parent, const Request &request) = 0;
    // An existing folder (the records folder), opening at request.initialFolder; nothing on
    // cancel.
    virtual std::optional<QString> chooseFolder(QWidget *parent, const Request &request) = 0;
};
