#include <QApplication>

#include "app/Program.h"

int main(int argc, char** argv) {
  // The program reads no command-line arguments, and lets Qt read none either.
  int qtArgc = std::min(argc, 1);
  QApplication application(qtArgc, argv);
  // The main window's closing ends the program; hiding it to the tray does not.
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setApplicationName(QStringLiteral("quillon"));
  return quillon::app::Run();
}
