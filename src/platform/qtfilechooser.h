#pragma once
#include "platform/filechooser.h"

// Qt's own file dialog, not the desktop's, kept above any window of the program that stays
// on top.
class QtFileChooser : public FileChooser
{
public:
    std::optional<QString> choose(QWidget *parent, const Request &request) override;
    std::optional<QString> chooseSave(QWidget *parent, const Request &request) override;
    std::optional<QString> chooseFolder(QWidget *parent, const Request &request) override;
};
