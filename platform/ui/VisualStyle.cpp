#include "platform/ui/Ui.h"

#include <QApplication>
#include <QString>

namespace ui {

// One style sheet on the application reaches the buttons, check and radio boxes, group boxes, edit
// boxes, drop-down combo boxes with their lists and the spin boxes of every window, including windows
// made later such as the file dialog; list boxes, sliders and labels keep their own look.
void enableVisualStyle(int scheme)
{
    const char* border = "rgb(123, 158, 189)";
    if (scheme == 2)
        border = "rgb(164, 185, 127)";
    else if (scheme == 3)
        border = "rgb(198, 197, 215)";

    const QString sheet = QStringLiteral(R"(
QPushButton {
    border: 1px solid %1; border-radius: 3px; padding: 2px 6px; color: black;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:0.85 #ece9e1, stop:1 #d6d0c5);
}
QPushButton:hover { border-color: #f8b330; }
QPushButton:pressed {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #e3e2da, stop:1 #f0efe9);
}
QPushButton:focus { border-color: #5d8bc5; }
QCheckBox::indicator, QRadioButton::indicator { border: 1px solid %1; background: white; width: 11px; height: 11px; }
QRadioButton::indicator { border-radius: 6px; }
QCheckBox::indicator:checked, QRadioButton::indicator:checked { background: #21a121; }
QGroupBox { border: 1px solid %1; border-radius: 4px; margin-top: 8px; }
QGroupBox::title { subcontrol-origin: margin; left: 8px; color: #0046d5; }
QLineEdit, QAbstractSpinBox { border: 1px solid %1; background: white; padding: 1px; }
QComboBox { border: 1px solid %1; background: white; padding: 1px 4px; color: black; }
QComboBox::drop-down {
    width: 16px; border-left: 1px solid %1;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #c1d3fb, stop:1 #a7c0f6);
}
QComboBox::down-arrow { width: 0; height: 0; border-left: 4px solid transparent;
    border-right: 4px solid transparent; border-top: 5px solid #4d6185; }
QComboBox QAbstractItemView { border: 1px solid %1; background: white; color: black;
    selection-background-color: #316ac5; selection-color: white; }
)").arg(QLatin1String(border));
    qApp->setStyleSheet(sheet);
}

} // namespace ui
