#pragma once
// Hands a left-button release to a control's handler as the handlers expect it; GUI thread.

#include "platform/ui/FormTypes.h"
#include "platform/ui/KeyCodes.h"

#include <QMouseEvent>

#include <cstdint>

namespace ui {

// x and y go as unsigned 16-bit values: a release left of or above the control (possible while it holds
// the mouse) arrives as a large number. False when the event is not the handler's.
inline bool reportLeftRelease(const MouseHandler& handler, QMouseEvent* event)
{
    if (!handler || event->button() != Qt::LeftButton)
        return false;
    const QPoint p = event->position().toPoint();
    handler(static_cast<uint16_t>(p.x()), static_cast<uint16_t>(p.y()), modifierState(event->modifiers().toInt()));
    return true;
}

} // namespace ui
