#include "platform/qt/DialogUnits.h"

#include <QByteArray>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QRawFont>
#include <QScreen>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace {

// A big-endian 16-bit field of a font table, or -1 past its end.
int TableU16(const QByteArray& table, int offset) {
    if (offset < 0 || offset + 2 > table.size())
        return -1;
    return (int(std::uint8_t(table[offset])) << 8) | int(std::uint8_t(table[offset + 1]));
}

// The cell height the way the platform sizes a font by its em: each of the
// face's usWinAscent and usWinDescent scaled to the em and rounded.
int CellHeight(const QFont& font) {
    QRawFont raw = QRawFont::fromFont(font);
    const int unitsPerEm = TableU16(raw.fontTable("head"), 18);
    const QByteArray os2 = raw.fontTable("OS/2");
    const int winAscent = TableU16(os2, 74);
    const int winDescent = TableU16(os2, 76);
    const int em = font.pixelSize();
    if (unitsPerEm <= 0 || winAscent < 0 || winDescent < 0 || em <= 0) {
        QFontMetrics metrics(font);
        return metrics.ascent() + metrics.descent();
    }
    const double scale = double(em) / unitsPerEm;
    return int(std::lround(winAscent * scale) + std::lround(winDescent * scale));
}

}  // namespace

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0)
        return -1;
    const std::int64_t product = std::int64_t(number) * numerator;
    const std::int64_t magnitude = product < 0 ? -product : product;
    const std::int64_t divisor = denominator < 0 ? -std::int64_t(denominator) : denominator;
    std::int64_t quotient = (magnitude + divisor / 2) / divisor;
    if ((product < 0) != (denominator < 0))
        quotient = -quotient;
    if (quotient > INT_MAX || quotient < INT_MIN)
        return -1;
    return int(quotient);
}

QFont MakeDialogFont(const char* face, int points, int logPixelsY) {
    QFont font(QString::fromLatin1(face));
    font.setPixelSize(std::max(1, MulDiv(points, logPixelsY, 72)));
    return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    static const QString kLetters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    DialogBaseUnits units;
    units.cx = (QFontMetrics(font).horizontalAdvance(kLetters) / 26 + 1) / 2;
    units.cy = CellHeight(font);
    return units;
}

QRect MapDialogRect(const DialogBaseUnits& units, int x, int y, int cx, int cy) {
    return QRect(MulDiv(x, units.cx, 4), MulDiv(y, units.cy, 8), MulDiv(cx, units.cx, 4), MulDiv(cy, units.cy, 8));
}

int ScreenLogPixelsY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? int(std::lround(screen->logicalDotsPerInchY())) : 96;
}
