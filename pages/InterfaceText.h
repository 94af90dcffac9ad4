#pragma once

#include <QString>

// Entries of the interface-text table, index 0 to kInterfaceTextCount - 1.
constexpr int kInterfaceTextCount = 244;

// The text at index, built afresh from its UTF-8 bytes; "" for an entry without text.
QString interfaceText(int index);
