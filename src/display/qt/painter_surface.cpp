#include "display/qt/painter_surface.h"

#include <QColor>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace orvane {

namespace {

// Heights and widths past this are not fonts anyone asked for; making them would only
// exhaust memory in the glyph cache.
constexpr int largestFontPixels = 16384;
// What a description of height 0 (the window system's "default size") becomes.
constexpr int defaultPixelSize = 12;
constexpr int regularWeight = 400;
constexpr int fixedPitch = 1;
constexpr int nonAntialiasedQuality = 3;
constexpr std::size_t largestFontCache = 16;

QColor qColourOf(Colour colour)
{
    return QColor(static_cast<int>(redOf(colour)), static_cast<int>(greenOf(colour)),
                  static_cast<int>(blueOf(colour)));
}

QFont::StyleHint styleHintOf(int pitchAndFamily)
{
    switch (pitchAndFamily & 0xF0) {
    case 0x10:
        return QFont::Serif;
    case 0x20:
        return QFont::SansSerif;
    case 0x30:
        return QFont::TypeWriter;
    case 0x40:
        return QFont::Cursive;
    case 0x50:
        return QFont::Decorative;
    default:
        return QFont::AnyStyle;
    }
}

// The pixel a line from `from` reaches one step before `to`, stepping along its longer axis.
QPoint pixelBefore(const QPoint& from, const QPoint& to)
{
    const long long deltaX = static_cast<long long>(to.x()) - from.x();
    const long long deltaY = static_cast<long long>(to.y()) - from.y();
    const auto along = [](long long otherDelta, long long stepsDone, long long steps) {
        // otherDelta * stepsDone / steps, rounded half away from zero like the line itself.
        const long long product = otherDelta * stepsDone;
        const long long half = steps / 2;
        return product >= 0 ? (product + half) / steps : -((-product + half) / steps);
    };
    if (std::llabs(deltaX) >= std::llabs(deltaY)) {
        const long long steps = std::llabs(deltaX);
        return QPoint(to.x() - (deltaX > 0 ? 1 : -1),
                      static_cast<int>(from.y() + along(deltaY, steps - 1, steps)));
    }
    const long long steps = std::llabs(deltaY);
    return QPoint(static_cast<int>(from.x() + along(deltaX, steps - 1, steps)),
                  to.y() - (deltaY > 0 ? 1 : -1));
}

} // namespace

PainterSurface::PainterSurface(QPainter& painter)
    : painter_(painter), baseTransform_(painter.transform()), metrics_(QFont())
{
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    setPen(1, rgbColour(0, 0, 0));
    textPen_ = QPen(Qt::black);
    FontDescription initial;
    initial.height = 0;
    selectFont(initial);
}

PainterSurface::~PainterSurface()
{
    painter_.setTransform(baseTransform_);
}

bool PainterSurface::fontFromDescription(const FontDescription& description, QFont& font)
{
    if (std::abs(description.height) > largestFontPixels ||
        std::abs(description.width) > largestFontPixels)
        return false;
    QFont made;
    if (!description.faceName.empty())
        made.setFamilies({QString::fromStdString(description.faceName)});
    made.setStyleHint(styleHintOf(description.pitchAndFamily),
                      description.quality == nonAntialiasedQuality ? QFont::NoAntialias
                                                                   : QFont::PreferDefault);
    made.setFixedPitch((description.pitchAndFamily & 0x03) == fixedPitch);
    const int weight = description.weight <= 0 ? regularWeight : std::min(description.weight, 1000);
    made.setWeight(static_cast<QFont::Weight>(weight));
    made.setItalic(description.italic);
    made.setUnderline(description.underline);
    made.setStrikeOut(description.strikeOut);
    made.setKerning(false);

    if (description.height < 0) {
        made.setPixelSize(-description.height);
    } else if (description.height > 0) {
        // A positive height is the cell height (ascent plus descent): find the character
        // height that gives it.
        made.setPixelSize(description.height);
        const QFontMetrics trial(made);
        const int cellHeight = trial.ascent() + trial.descent();
        if (cellHeight > 0) {
            const long pixelSize = std::lround(static_cast<double>(description.height) *
                                               description.height / cellHeight);
            made.setPixelSize(
                static_cast<int>(std::clamp(pixelSize, 1L, static_cast<long>(largestFontPixels))));
        }
    } else {
        made.setPixelSize(defaultPixelSize);
    }

    if (description.width != 0) {
        const QFontMetrics natural(made);
        const int averageWidth = natural.averageCharWidth();
        if (averageWidth > 0) {
            const long stretch = std::lround(std::abs(description.width) * 100.0 / averageWidth);
            made.setStretch(static_cast<int>(std::clamp(stretch, 1L, 4000L)));
        }
    }
    font = made;
    return true;
}

void PainterSurface::fillRect(int left, int top, int right, int bottom, Colour colour)
{
    if (right <= left || bottom <= top)
        return;
    painter_.fillRect(QRect(left + originX_, top + originY_, right - left, bottom - top),
                      qColourOf(colour));
}

void PainterSurface::setOrigin(int deviceX, int deviceY)
{
    originX_ = deviceX;
    originY_ = deviceY;
}

void PainterSurface::setClipRect(int left, int top, int right, int bottom)
{
    painter_.setClipRect(QRect(QPoint(left, top), QPoint(right, bottom)));
}

void PainterSurface::removeClip()
{
    painter_.setClipping(false);
}

void PainterSurface::setPen(int widthPx, Colour colour)
{
    // A wider pen has round ends that cover its end points, as the window system's wide pens
    // do; the thin pen draws both ends and lineTo stops it one pixel short.
    QPen pen(qColourOf(colour));
    if (widthPx > 1) {
        pen.setWidth(std::min(widthPx, largestFontPixels));
        pen.setCapStyle(Qt::SquareCap);
        pen.setJoinStyle(Qt::MiterJoin);
    } else {
        pen.setWidth(1);
        pen.setCapStyle(Qt::SquareCap);
        pen.setJoinStyle(Qt::MiterJoin);
    }
    linePen_ = pen;
    painter_.setPen(linePen_);
    textPenActive_ = false;
}

bool PainterSurface::selectFont(const FontDescription& description)
{
    const auto made = std::find_if(madeFonts_.begin(), madeFonts_.end(), [&](const MadeFont& font) {
        return font.description == description;
    });
    if (made != madeFonts_.end()) {
        font_ = made->font;
        metrics_ = made->metrics;
        advances_ = made->advances;
    } else {
        QFont font;
        if (!fontFromDescription(description, font))
            return false;
        font_ = font;
        metrics_ = QFontMetrics(font_);
        advances_ = std::make_shared<CharacterAdvances>();
        advances_->fill(-1.0);
        if (madeFonts_.size() >= largestFontCache)
            madeFonts_.erase(madeFonts_.begin());
        madeFonts_.push_back(MadeFont{description, font_, metrics_, advances_});
    }
    description_ = description;
    painter_.setFont(font_);
    return true;
}

TextMetrics PainterSurface::textMetrics() const
{
    TextMetrics metrics;
    metrics.ascent = metrics_.ascent();
    metrics.descent = metrics_.descent();
    return metrics;
}

void PainterSurface::moveTo(int x, int y)
{
    currentX_ = x;
    currentY_ = y;
}

void PainterSurface::lineTo(int x, int y)
{
    if (textPenActive_) {
        painter_.setPen(linePen_);
        textPenActive_ = false;
    }
    const QPoint from(currentX_ + originX_, currentY_ + originY_);
    const QPoint to(x + originX_, y + originY_);
    currentX_ = x;
    currentY_ = y;
    if (linePen_.width() > 1) {
        painter_.drawLine(from, to);
        return;
    }
    // Qt leaves out the pixel at the larger end of a thin line whichever way it runs; the
    // window system leaves out the pixel the line runs to. Draw both ends of the line that
    // stops one step short of the end instead.
    if (from == to)
        return;
    const QPoint last = pixelBefore(from, to);
    if (last == from)
        painter_.drawPoint(from);
    else
        painter_.drawLine(from, last);
}

void PainterSurface::setTextColour(Colour colour)
{
    textPen_ = QPen(qColourOf(colour));
    if (textPenActive_)
        painter_.setPen(textPen_);
}

void PainterSurface::setTransparentBackground()
{
    painter_.setBackgroundMode(Qt::TransparentMode);
}

void PainterSurface::setTextAlign(HorizontalAlign horizontal, VerticalAlign vertical)
{
    horizontal_ = horizontal;
    vertical_ = vertical;
}

int PainterSurface::textWidth(const std::string& text)
{
    return advanceWidth(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

int PainterSurface::advanceWidth(const QString& text)
{
    // Measuring a whole string shapes it, which costs as much as drawing it; the numbers and
    // labels of a plan are Latin text without kerning, so their width is the sum of their
    // characters' advances.
    double width = 0.0;
    for (const QChar character : text) {
        const char16_t code = character.unicode();
        if (code >= advances_->size())
            return metrics_.horizontalAdvance(text);
        double& advance = (*advances_)[code];
        if (advance < 0.0)
            advance = QFontMetricsF(font_).horizontalAdvance(character);
        width += advance;
    }
    return static_cast<int>(std::lround(width));
}

void PainterSurface::drawText(const std::string& text)
{
    const QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const int width = advanceWidth(shown);
    const int escapement = description_.escapement % 3600;
    const TextPlacement placement =
        placeText(width, textMetrics(), horizontal_, vertical_, escapement);
    const int offsetX = placement.offsetX;
    const int offsetY = placement.offsetY;

    if (!textPenActive_) {
        painter_.setPen(textPen_);
        textPenActive_ = true;
    }
    const int anchorX = currentX_ + originX_;
    const int anchorY = currentY_ + originY_;
    if (escapement == 0) {
        painter_.drawText(QPoint(anchorX + offsetX, anchorY + offsetY), shown);
    } else {
        // The window system turns text counter-clockwise; y grows downward here.
        QTransform turned = baseTransform_;
        turned.translate(anchorX, anchorY);
        turned.rotate(-escapement / 10.0);
        painter_.setTransform(turned);
        painter_.drawText(QPoint(offsetX, offsetY), shown);
        painter_.setTransform(baseTransform_);
    }

    currentX_ += placement.advanceX;
    currentY_ += placement.advanceY;
}

} // namespace orvane
