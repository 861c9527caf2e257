#pragma once
#include <QObject>

#include <initializer_list>
#include <utility>

// Gives a window's controls the names the program knows them by, so that tests (and
// accessibility tools) find them by name while they stay the window's own.
inline void nameObjects(std::initializer_list<std::pair<QObject *, const char *>> named)
{
    for (const auto &[object, name] : named)
        object->setObjectName(QString::fromLatin1(name));
}
