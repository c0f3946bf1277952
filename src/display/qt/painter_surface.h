#pragma once

#include "display/drawing_surface.h"

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPen>
#include <QTransform>

#include <array>
#include <memory>
#include <vector>

class QPainter;

namespace orvane {

// The drawing surface on a QPainter, whether it paints a widget or an image. Lines are drawn
// without antialiasing and leave out their last pixel as the window system's lines do; a
// face missing here (such as "Arial") is replaced by the nearest face of its family; text
// with an escapement of 900 reads upward, turned about the current point.
class PainterSurface : public DrawingSurface {
public:
    explicit PainterSurface(QPainter& painter);
    ~PainterSurface() override;
    PainterSurface(const PainterSurface&) = delete;
    PainterSurface& operator=(const PainterSurface&) = delete;

    void fillRect(int left, int top, int right, int bottom, Colour colour) override;
    void setOrigin(int deviceX, int deviceY) override;
    void setClipRect(int left, int top, int right, int bottom) override;
    void removeClip() override;
    void setPen(int widthPx, Colour colour) override;
    bool selectFont(const FontDescription& description) override;
    FontDescription currentFont() const override { return description_; }
    TextMetrics textMetrics() const override;
    int textWidth(const std::string& text) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void setTextColour(Colour colour) override;
    void setTransparentBackground() override;
    void setTextAlign(HorizontalAlign horizontal, VerticalAlign vertical) override;
    void drawText(const std::string& text) override;

    int currentX() const { return currentX_; }
    int currentY() const { return currentY_; }

    // The Qt font a description stands for; none when no font can be made from it.
    static bool fontFromDescription(const FontDescription& description, QFont& font);

private:
    // Advances of the first 256 characters in fractions of a pixel, measured as they are first
    // needed (-1: not yet).
    using CharacterAdvances = std::array<double, 256>;
    struct MadeFont {
        FontDescription description;
        QFont font;
        QFontMetrics metrics;
        std::shared_ptr<CharacterAdvances> advances;
    };

    int advanceWidth(const QString& text);

    QPainter& painter_;
    QTransform baseTransform_;
    QPen linePen_;
    QPen textPen_;
    bool textPenActive_ = false;
    FontDescription description_;
    QFont font_;
    QFontMetrics metrics_;
    std::shared_ptr<CharacterAdvances> advances_;
    // The plan switches between a handful of fonts for every carrier; each is made once.
    std::vector<MadeFont> madeFonts_;
    HorizontalAlign horizontal_ = HorizontalAlign::left;
    VerticalAlign vertical_ = VerticalAlign::top;
    int originX_ = 0;
    int originY_ = 0;
    int currentX_ = 0;
    int currentY_ = 0;
};

} // namespace orvane
