#pragma once

#include <QRect>
#include <QSize>

namespace venturon {

// Designed positions and sizes are in twips (1/1440 inch): 15 to a pixel at 96
// dots per inch. Every window's layout is written in them.
constexpr int px(int twips) {
    return (twips + 7) / 15;
}

// A designed rectangle (left, top, width, height in twips) in pixels.
constexpr QRect twips(int left, int top, int width, int height) {
    return {px(left), px(top), px(width), px(height)};
}

// A designed size (width, height in twips) in pixels.
constexpr QSize twips_size(int width, int height) {
    return {px(width), px(height)};
}

} // namespace venturon
