#pragma once

#include <QString>
#include <QStringList>

// Icon resource and display name of a transition (0 to 28) and of a motion (0 to 11).
// Icons are empty and names "Неизвестно" for other values.
QString transitionIcon(int type);
QString transitionName(int type);
// Every name in value order.
QStringList transitionNames();
QString motionIcon(int type);
QString motionName(int type);
QStringList motionNames();
