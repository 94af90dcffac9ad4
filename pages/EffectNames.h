#pragma once

#include <QString>

// Icon resource and display name of a transition (0 to 28) and of a motion (0 to 11).
// Icons are empty and names "Неизвестно" for other values.
QString transitionIcon(int type);
QString transitionName(int type);
QString motionIcon(int type);
QString motionName(int type);
