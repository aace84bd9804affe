#include "maintenance/FormControls.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

QFont formFont(const QString& family, qreal points, bool bold)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void registerKoreanFontFallbacks()
{
    const QStringList gothic{QStringLiteral("Malgun Gothic"), QStringLiteral("NanumGothic"),
                             QStringLiteral("NanumBarunGothic")};
    QFont::insertSubstitutions(FormFonts::humanMoeum, gothic);
    QFont::insertSubstitutions(FormFonts::malgunGothic, gothic);
    QFont::insertSubstitutions(FormFonts::gulim, QStringList{QStringLiteral("Gulim")} + gothic);
    QFont::insertSubstitutions(FormFonts::humanHeadline,
                               QStringList{QStringLiteral("NanumSquareRound")} + gothic);
}

namespace {

template <typename Control> Control* place(Control* c, const char* name, QRect r, const QFont& f)
{
    c->setObjectName(QString::fromLatin1(name));
    c->setGeometry(r);
    c->setFont(f);
    return c;
}

// The given fonts are not on every computer, and the fallbacks run wider and taller: a one-line
// caption that no longer fits grows to the right, and a box lower than one line grows evenly up
// and down, so no caption is cut off.
void fitToText(QLabel* label)
{
    const QFontMetrics metrics(label->font());
    QRect box = label->geometry();
    if (box.height() < 2 * metrics.height()) {
        const int width = metrics.horizontalAdvance(label->text()) + 1;
        if (width > box.width())
            box.setWidth(width);
    }
    // A status label changes its text later: room for at least one line of Hangul.
    const auto height = [&](const QString& text) {
        return metrics.boundingRect(QRect(0, 0, box.width(), 10000), Qt::TextWordWrap, text)
            .height();
    };
    const int needed = std::max(height(label->text()), height(QStringLiteral("가Ag")));
    if (box.height() < needed) {
        const int grow = needed - box.height();
        box.adjust(0, -grow / 2, 0, grow - grow / 2);
    }
    label->setGeometry(box);
}

} // namespace

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QRect twips,
                  const QFont& font, const QColor& colour)
{
    auto* label = place(new QLabel(caption, parent), name, twips, font);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    fitToText(label);
    if (colour.isValid()) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, colour);
        label->setPalette(palette);
    }
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, QRect twips,
                        const QFont& font)
{
    return place(new QPushButton(caption, parent), name, twips, font);
}

QLineEdit* makeTextBox(QWidget* parent, const char* name, const QString& text, QRect twips,
                       const QFont& font)
{
    return place(new QLineEdit(text, parent), name, twips, font);
}

QRadioButton* makeOption(QWidget* parent, const char* name, const QString& caption, QRect twips,
                         const QFont& font)
{
    return place(new QRadioButton(caption, parent), name, twips, font);
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
