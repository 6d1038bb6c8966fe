#pragma once

#include <QSystemTrayIcon>

#include <QIcon>

#include <functional>
#include <string_view>

namespace quillon::gui {

// The program's icon in the notification area. A left or a right click on it is one event,
// OnClick; its tip is cut as the notification area keeps it.
class TTrayIcon : public QSystemTrayIcon {
 public:
  explicit TTrayIcon(QObject* parent);

  // Puts the icon into the notification area; true when it is there.
  bool Activate();
  void SetToolTip(std::string_view text);

  std::function<void()> OnClick;
};

// The program's icon, drawn: a remote's outline with one button lit.
QIcon ProgramIcon();

}  // namespace quillon::gui
