#pragma once

#include <QFont>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QTextOption>

class QPainter;

// The size a text needs as lines of `lineSpacing` (0 or less: the font's), at most `maxLines`
// lines (0 or less: no limit), within `available`; a width of 0 or less does not wrap.
QSize textBlockSize(const QString& text, const QFont& font, QTextOption::WrapMode wrapMode,
                    const QSize& available, int lineSpacing, int maxLines);
// Draws the text in the painter's font as textBlockSize lays it out; the last line that fits is
// elided when text remains, and `elided` is then set.
void drawTextBlock(QPainter* painter, const QString& text, const QRectF& rect, Qt::Alignment alignment,
                   QTextOption::WrapMode wrapMode, Qt::TextElideMode elideMode, int lineSpacing, int maxLines,
                   bool* elided);
