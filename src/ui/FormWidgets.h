#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

// The windows are drawn in twips, 15 to a pixel at 96 dpi; Qt scales pixels for high-DPI screens.
constexpr int twipsToPixels(int twips)
{
    return (twips + 7) / 15;
}
QRect twipsRect(int left, int top, int width, int height);

// The fonts the windows ask for by name; registerKoreanFontFallbacks() names installed Korean
// fonts to use where these are missing.
namespace FormFonts {
inline const QString humanMoeum = QStringLiteral("휴먼모음T");
inline const QString malgunGothic = QStringLiteral("맑은 고딕");
inline const QString gulim = QStringLiteral("굴림");
inline const QString humanHeadline = QStringLiteral("휴먼둥근헤드라인");
} // namespace FormFonts

QFont formFont(const QString& family, qreal points, bool bold = false);
void registerKoreanFontFallbacks();

// A control placed at a twips position inside its parent; objectName is the control's given
// name so tests and screenshots can find it.
template <typename Control>
Control* placeControl(Control* c, const char* name, QRect twips, const QFont& font)
{
    c->setObjectName(QString::fromLatin1(name));
    c->setGeometry(twips);
    c->setFont(font);
    return c;
}

// A label grows where a fallback font needs more room than the given one, so no caption is cut.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QRect twips,
                  const QFont& font, const QColor& colour = QColor());
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, QRect twips,
                        const QFont& font);
