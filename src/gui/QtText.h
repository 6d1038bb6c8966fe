#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace quillon::gui {

// The core's texts are UTF-8 std::string; Qt's are QString.
inline QString ToQString(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string ToUtf8(const QString& text) { return text.toStdString(); }

// A message as the core writes it (lines ended by CR LF, or by CR alone in hints) as a widget
// shows it.
inline QString DisplayText(std::string_view utf8) {
  QString text = ToQString(utf8);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

}  // namespace quillon::gui
