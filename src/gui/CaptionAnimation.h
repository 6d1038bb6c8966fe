#pragma once

#include <QRect>

namespace quillon::gui {

// Draws a window's way into the notification area: a caption bar that flies from the top of
// `window` to `icon` in a fifth of a second and is gone, taking neither input nor the focus.
void AnimateCaption(const QRect& window, const QRect& icon);

}  // namespace quillon::gui
