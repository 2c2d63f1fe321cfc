// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

namespace zenbalo {

// Layout tables are in twips; 15 twips make a pixel at 96 dpi.
inline int px(int twips) { return (twips + 7) / 15; }
inline QRect twips(int left, int top, int width, int height) { return {px(left), px(top), px(width), px(height)}; }

// The heights every window gives its captions, boxes and choosers.
inline constexpr int kLabelHeight = 180;
inline constexpr int kBoxHeight = 270;
inline constexpr int kComboHeight = 300;

} // namespace zenbalo
