#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

// The window is drawn in twips, 15 to a pixel at 96 dpi; Qt scales pixels for high-DPI screens.
constexpr int twipsToPixels(int twips)
{
    return (twips + 7) / 15;
}
QRect twipsRect(int left, int top, int width, int height);

// The fonts the window asks for by name; registerKoreanFontFallbacks() names installed Korean
// fonts to use where these are missing.
namespace FormFonts {
inline const QString humanMoeum = QStringLiteral("휴먼모음T");
inline const QString malgunGothic = QStringLiteral("맑은 고딕");
inline const QString gulim = QStringLiteral("굴림");
inline const QString humanHeadline = QStringLiteral("휴먼둥근헤드라인");
} // namespace FormFonts

QFont formFont(const QString& family, qreal points, bool bold = false);
void registerKoreanFontFallbacks();

// The colours of the instruction labels.
namespace FormColours {
inline const QColor orange{255, 128, 0};
inline const QColor darkRed{192, 0, 0};
inline const QColor blue{0, 0, 255};
inline const QColor red{255, 0, 0};
} // namespace FormColours

// Controls placed at twips positions inside parent; objectName is the control's given name so
// tests and screenshots can find it.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QRect twips,
                  const QFont& font, const QColor& colour = QColor());
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, QRect twips,
                        const QFont& font);
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
