#include "ui/FormWidgets.h"

#include <QFontDatabase>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

namespace {

struct FontCache
{
    QHash<QString, QString> families; // given family -> installed family
    QHash<QString, QFont> fonts;      // family, size and weight -> the font
};

FontCache& fontCache()
{
    static FontCache cache;
    return cache;
}

// The installed family that stands for a given one: itself, else its first installed substitute.
// Asked once per family, so the fallback search does not run again for every size and weight of
// a family the computer lacks.
QString installedFamily(const QString& family)
{
    QHash<QString, QString>& families = fontCache().families;
    const auto known = families.constFind(family);
    if (known != families.constEnd())
        return *known;
    QString chosen = family;
    if (!QFontDatabase::hasFamily(family)) {
        const QStringList substitutes = QFont::substitutes(family);
        for (const QString& candidate : substitutes) {
            if (QFontDatabase::hasFamily(candidate)) {
                chosen = candidate;
                break;
            }
        }
    }
    families.insert(family, chosen);
    return chosen;
}

} // namespace

QFont formFont(const QString& family, qreal points, bool bold)
{
    // The window asks for the same few fonts dozens of times.
    QHash<QString, QFont>& fonts = fontCache().fonts;
    const QString key = family + QLatin1Char('/') + QString::number(points) +
                        (bold ? QLatin1String("/b") : QLatin1String(""));
    const auto known = fonts.constFind(key);
    if (known != fonts.constEnd())
        return *known;
    // The given name stays first (it is the font the window asks for, and used where installed);
    // the installed stand-in follows so the engine needs no search of its own.
    const QString installed = installedFamily(family);
    QFont font(family);
    if (installed != family)
        font.setFamilies({family, installed});
    font.setPointSizeF(points);
    font.setBold(bold);
    // Hinting moves outlines to the pixel grid glyph by glyph; without it the glyphs load
    // without the hinter's work, and Debian's fonts are set to slight hinting anyway.
    font.setHintingPreference(QFont::PreferNoHinting);
    fonts.insert(key, font);
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
    fontCache() = FontCache(); // the stand-ins may have changed
}

namespace {

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
    auto* label = placeControl(new QLabel(caption, parent), name, twips, font);
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
    return placeControl(new QPushButton(caption, parent), name, twips, font);
}
