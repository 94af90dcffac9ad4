#pragma once

#include <QPoint>
#include <QRect>

// Replacements of Qt functions for the whole process, installed once by the application
// object's constructor (see app/hooks/QtFunctionHook.h); each returns whether its hook is in
// place. Without them Qt's own functions run, and the library behaves the same by other means.

// QApplication::widgetAt is regionAwareWidgetAt (WindowRegion.h); Qt's own never runs.
bool installWidgetAtHook();
// QWindow::geometry of a window with a platform window: windowGeometryFromNative of its native
// geometry with the window's scale factor and origin; without one, Qt's own.
bool hookQWindowGeometry();
// QTextDocument::setDefaultTextOption on the GUI thread passes the option through the text
// option filter of the document's owner (TextOptionFilter.h); on other threads unchanged.
bool hookQTextDocumentSetDefaultTextOption();
// QLabel::setText runs Qt's own, then emits textChanged of a CWidgetText whose text changed.
bool hookQLabelSetText();
// Whether QLabel::setText is replaced; installs nothing. Without it CWidgetText::setText emits.
bool isQLabelSetTextHooked();

// A rectangle in native pixels in logical ones: size divided by the factor, top-left moved
// from the origin by the divided distance, each rounded half away from zero.
QRect windowGeometryFromNative(const QRect& native, qreal factor, const QPoint& origin);
