#include "window/FormControls.h"

#include <QLineEdit>
#include <QRadioButton>

QLineEdit* makeTextBox(QWidget* parent, const char* name, const QString& text, QRect twips,
                       const QFont& font)
{
    return placeControl(new QLineEdit(text, parent), name, twips, font);
}

QRadioButton* makeOption(QWidget* parent, const char* name, const QString& caption, QRect twips,
                         const QFont& font)
{
    return placeControl(new QRadioButton(caption, parent), name, twips, font);
}

void styleAsFrame(QWidget* frame)
{
    frame->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); margin-top: 0.5em; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
}

QFont labelFont()
{
    return formFont(FormFonts::humanMoeum, 9);
}
QFont frameButtonFont()
{
    return formFont(FormFonts::humanMoeum, 12);
}
QFont frameCaptionFont()
{
    return formFont(FormFonts::humanMoeum, 11.25, true);
}
QFont instructionFont()
{
    return formFont(FormFonts::malgunGothic, 9);
}
QFont arrowFont()
{
    return formFont(FormFonts::gulim, 20.25, true);
}
QFont statusFont()
{
    return formFont(FormFonts::humanMoeum, 14.25);
}
