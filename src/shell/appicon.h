#pragma once
#include <QIcon>

// The program's icon, drawn at the sizes desktops ask for.
QIcon appIcon();
