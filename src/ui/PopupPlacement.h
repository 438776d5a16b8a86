#pragma once

#include <QRect>
#include <QSize>

class QWidget;

// Where a drop-down list goes: under its anchor when it fits there, else above, else on the
// side with more room, always inside the screen's available area (shrunk to it when larger).
class PopupPlacement
{
public:
    // anchor and available in the same (global) coordinates.
    static QRect place(const QRect& anchor, const QSize& popup, const QRect& available);
    // The available area of the screen that shows most of the anchor widget.
    static QRect availableArea(const QWidget* anchor);
};
