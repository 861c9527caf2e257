#pragma once
#include <QIcon>

// The program's icon, drawn from its picture at the sizes desktops ask for.
QIcon appIcon();
