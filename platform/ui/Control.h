#pragma once
// A control of a window behind its numbered properties; base of every kind; GUI thread.

#include "platform/ui/FormTypes.h"

#include <QRect>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace ui {

class Control {
public:
    Control(Kind kind, ComponentRef ref, QWidget* widget);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Kind kind() const { return m_kind; }
    ComponentRef ref() const { return m_ref; }
    // The widget that shows the control; null for kinds without visible presence.
    QWidget* widget() const { return m_widget; }

    virtual int32_t readInt(int property) const;
    virtual void writeInt(int property, int32_t value);
    virtual std::string readText(int property) const;
    virtual void writeText(int property, std::string_view text);
    virtual std::vector<uint8_t> readBytes(int property) const;
    virtual void writeBytes(int property, const std::vector<uint8_t>& bytes);

    // A copy made at run time with the same settings and no handlers, hidden; null for kinds that
    // cannot be copied.
    virtual std::unique_ptr<Control> copy(int32_t newId) const;

    // Places the control as the form describes it (non-visual kinds only keep the numbers).
    void place(int left, int top, int width, int height);

protected:
    [[noreturn]] void badProperty(int property, std::string_view access) const;
    std::string m_tag;

private:
    Kind m_kind;
    ComponentRef m_ref;
    QWidget* m_widget;
    QRect m_place;            // for kinds without a widget
    bool m_visible = false;   // for kinds without a widget
};

// Limits of a control's place and size.
int32_t clampCoordinate(int32_t value);
int32_t clampExtent(int32_t value);

} // namespace ui
