#include "AccessibleWidgets.h"

#include <QAccessible>

#include "AccessibleHoverClick.h"
#include "AccessibleTitleBar.h"
#include "HoverClickWidget.h"
#include "WindowTitleBar.h"

namespace {

QAccessibleInterface* wizardWidgetInterface(const QString&, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (auto* bar = qobject_cast<WindowTitleBar*>(object))
        return new AccessibleTitleBar(bar);
    if (auto* frame = qobject_cast<HoverClickWidget*>(object))
        return new AccessibleHoverClick(frame);
    return nullptr;
}

} // namespace

void installAccessibleWidgets()
{
    static const bool installed = [] {
        QAccessible::installFactory(wizardWidgetInterface);
        return true;
    }();
    Q_UNUSED(installed);
}
