#pragma once

#include <QString>
#include <functional>

class QWidget;

// Walks the wizard offscreen through every page and state, the open drive popup, the Add
// dialog, the secondary dialogs and the message boxes, and hands each screen to visit() once
// it has settled (a modal window is closed again after the visit). Texts come from the
// translators installed at the time. Returns the number of screens that did not show.
namespace ScreenWalk {
// The name under which the wizard window is visited where the whole screen around it counts.
constexpr const char* WholeScreen = "screen";
using Visit = std::function<void(QWidget* window, const QString& name)>;
int run(const Visit& visit);
} // namespace ScreenWalk
