#pragma once

#include <QKeyEvent>

#include <cstdint>

namespace quillon::gui {

// The Windows virtual key of a Qt key press, 0 when it has none. The core names keys by
// Windows virtual keys throughout; characters are taken on the US layout, as the key sender
// types them, so a shifted character gives its unshifted key ("!" gives the key of "1").
std::uint8_t VirtualKeyOf(const QKeyEvent& event);

}  // namespace quillon::gui
