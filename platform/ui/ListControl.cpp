#include "platform/ui/ListControl.h"

#include "platform/ui/Ui.h"

#include <QComboBox>
#include <QListWidget>
#include <QStyledItemDelegate>

namespace ui {
namespace {

// Items one pixel taller than the font.
class ItemHeight : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(option.fontMetrics.height() + 1);
        return size;
    }
};

void setColours(QWidget* w, const ListSetup& setup)
{
    QPalette palette = w->palette();
    if (setup.background) {
        const QColor bg(setup.background->r, setup.background->g, setup.background->b);
        palette.setColor(QPalette::Base, bg);
        palette.setColor(QPalette::Window, bg);
    }
    if (setup.textColour) {
        const QColor fg(setup.textColour->r, setup.textColour->g, setup.textColour->b);
        palette.setColor(QPalette::Text, fg);
        palette.setColor(QPalette::WindowText, fg);
        palette.setColor(QPalette::ButtonText, fg);
    }
    w->setPalette(palette);
}

QWidget* makeWidget(QWidget* parent, const ControlDesc& desc)
{
    if (desc.kind == Kind::ComboBox) {
        auto* combo = new QComboBox(parent);
        combo->setEditable(false);
        combo->setItemDelegate(new ItemHeight(combo));
        setColours(combo, desc.list);
        if (desc.onSelected)
            QObject::connect(combo, &QComboBox::activated, combo, [h = desc.onSelected](int) { h(); });
        return combo;
    }
    auto* list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setItemDelegate(new ItemHeight(list));
    list->setFrameStyle(desc.list.border ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    list->setLineWidth(1);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setColours(list, desc.list);
    list->setAutoFillBackground(true);
    if (desc.onSelected) {
        // Only the user's changes reach the handler: writes block the signals. A click moves the current
        // row before it selects it, so the handler waits for the selection, which is what it reads.
        QObject::connect(list, &QListWidget::itemSelectionChanged, list, [h = desc.onSelected] { h(); });
    }
    return list;
}

} // namespace

ListControl::ListControl(ComponentRef ref, QWidget* parent, const ControlDesc& desc)
    : Control(desc.kind, ref, makeWidget(parent, desc)),
      m_selectedProperty(desc.kind == Kind::ComboBox ? int{comboBox::Selected} : int{listBox::Selected})
{
    m_tag = desc.tag;
}

int32_t ListControl::readInt(int property) const
{
    if (property == m_selectedProperty)
        return selected();
    return Control::readInt(property);
}

void ListControl::writeInt(int property, int32_t value)
{
    if (property != m_selectedProperty) {
        Control::writeInt(property, value);
        return;
    }
    const int last = count() - 1;
    select(value > last ? last : (value < -1 ? -1 : value));
}

void ListControl::append(std::string_view text)
{
    const QString item = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QSignalBlocker block(widget());
    if (kind() == Kind::ComboBox) {
        auto* combo = static_cast<QComboBox*>(widget());
        const int before = combo->currentIndex();
        combo->addItem(item);
        combo->setCurrentIndex(before);   // adding to an empty combo box selects nothing
    } else {
        static_cast<QListWidget*>(widget())->addItem(item);
    }
}

int ListControl::count() const
{
    if (kind() == Kind::ComboBox)
        return static_cast<QComboBox*>(widget())->count();
    return static_cast<QListWidget*>(widget())->count();
}

std::string ListControl::item(int index) const
{
    if (index < 0 || index >= count())
        return {};
    if (kind() == Kind::ComboBox)
        return static_cast<QComboBox*>(widget())->itemText(index).toStdString();
    return static_cast<QListWidget*>(widget())->item(index)->text().toStdString();
}

int ListControl::selected() const
{
    if (kind() == Kind::ComboBox)
        return static_cast<QComboBox*>(widget())->currentIndex();
    auto* list = static_cast<QListWidget*>(widget());
    const auto items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.front());
}

void ListControl::select(int index)
{
    QSignalBlocker block(widget());
    if (kind() == Kind::ComboBox) {
        static_cast<QComboBox*>(widget())->setCurrentIndex(index);
        return;
    }
    auto* list = static_cast<QListWidget*>(widget());
    if (index < 0) {
        list->clearSelection();
        list->setCurrentRow(-1);
    } else {
        list->setCurrentRow(index);
        list->scrollToItem(list->item(index));
    }
}

} // namespace ui
