#pragma once

#include <QRect>
#include <QSize>

class QWidget;

/// Turns the design measures, in twips (1440 per inch), into pixels at a logical DPI.
class TwipsScale {
public:
    explicit TwipsScale(double dotsPerInch) : m_dpi(dotsPerInch) {}

    /// The scale of the primary screen (96 DPI when there is none).
    static TwipsScale forScreen();

    int px(int twips) const;
    QRect rect(int left, int top, int width, int height) const;
    QSize size(int width, int height) const { return {px(width), px(height)}; }
    double dpi() const { return m_dpi; }

private:
    double m_dpi;
};

/// Places the widget at a rectangle given in twips relative to its parent.
void placeInTwips(QWidget* widget, const TwipsScale& scale, int left, int top, int width,
                  int height);
