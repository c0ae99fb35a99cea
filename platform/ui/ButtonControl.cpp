#include "platform/ui/ButtonControl.h"

#include "platform/ui/Ui.h"

#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace ui {
namespace {

// The vertical-writing face draws full-width characters turned a quarter to the left when the text
// runs horizontally: a triangle pointing up shows pointing left, two bars stand upright.
class SidewaysButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        const QString caption = option.text;
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButton, option);

        painter.setPen(palette().color(QPalette::ButtonText));
        painter.translate(width() / 2.0, height() / 2.0);
        painter.rotate(-90);
        const QRectF box(-height() / 2.0, -width() / 2.0, height(), width());
        painter.drawText(box, Qt::AlignCenter, caption);
    }
};

} // namespace

ButtonControl::ButtonControl(ComponentRef ref, QWidget* parent, const ControlDesc& desc)
    : Control(Kind::Button, ref,
              desc.font == FontFace::Transport ? new SidewaysButton(parent) : new QPushButton(parent))
{
    auto* button = static_cast<QPushButton*>(widget());
    button->setAutoDefault(false);
    button->setDefault(false);
    if (desc.font == FontFace::Transport) {
        QFont face = button->font();
        face.setPixelSize(12);
        face.setWeight(QFont::Normal);
        button->setFont(face);
    }
    // Captions are shown as they stand: an "&" is no mnemonic.
    button->setText(QString::fromStdString(desc.caption).replace(QLatin1Char('&'), QLatin1String("&&")));
    if (desc.onClicked)
        QObject::connect(button, &QPushButton::clicked, button, [handler = desc.onClicked] { handler(); });
    m_tag = desc.tag;
}

std::string ButtonControl::readText(int property) const
{
    if (property == button::Caption)
        return static_cast<QPushButton*>(widget())->text().replace(QLatin1String("&&"), QLatin1String("&")).toStdString();
    return Control::readText(property);
}

void ButtonControl::writeText(int property, std::string_view text)
{
    if (property != button::Caption) {
        Control::writeText(property, text);
        return;
    }
    QString caption = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    static_cast<QPushButton*>(widget())->setText(caption.replace(QLatin1Char('&'), QLatin1String("&&")));
}

} // namespace ui
