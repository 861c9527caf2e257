#include "eventpump.h"

#include <QCoreApplication>

void QtEventPump::processPendingEvents()
{
    QCoreApplication::processEvents();
}
