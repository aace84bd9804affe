#pragma once

#include "ui/FormWidgets.h" // twips, the given fonts, labels and buttons

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QLineEdit;
class QRadioButton;
class QWidget;

// The colours of the instruction labels.
namespace FormColours {
inline const QColor orange{255, 128, 0};
inline const QColor darkRed{192, 0, 0};
inline const QColor blue{0, 0, 255};
inline const QColor red{255, 0, 0};
} // namespace FormColours

// Text boxes and option buttons placed like makeLabel() places labels.
QLineEdit* makeTextBox(QWidget* parent, const char* name, const QString& text, QRect twips,
                       const QFont& font);
QRadioButton* makeOption(QWidget* parent, const char* name, const QString& caption, QRect twips,
                         const QFont& font);

// A frame as the window draws it: a plain border with the caption set into its top line.
void styleAsFrame(QWidget* frame);

// Common fonts of the work areas.
QFont labelFont();       // labels and text boxes
QFont frameButtonFont(); // buttons inside frames
QFont frameCaptionFont();
QFont instructionFont(); // numbered instruction labels
QFont arrowFont();
QFont statusFont();
