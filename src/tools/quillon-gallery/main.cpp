// quillon-gallery: every window of the desktop program but the configuration window, over the
// fake backends with realistic content, in English and in Bulgarian, saved as PNG files for the
// documentation. Run it on an X display with a window manager (scripts/screenshots does): each
// shot is the window with its frame as it shows on the screen.

#include <QApplication>

#include <iostream>

#include "Gallery.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() != 3) {
    std::cerr << "usage: quillon-gallery SOURCE_DIR OUTPUT_DIR\n"
                 "  SOURCE_DIR  the source tree, whose samples fill the windows\n"
                 "  OUTPUT_DIR  where NAME-en.png and NAME-bg.png are written\n";
    return 2;
  }
  QApplication::setQuitOnLastWindowClosed(false);
  const QDir output(arguments[2]);
  if (!output.mkpath(QStringLiteral("."))) {
    std::cerr << "quillon-gallery: cannot create " << arguments[2].toStdString() << "\n";
    return 1;
  }
  int status = 0;
  for (const quillon::LanguageFlag language : {quillon::English, quillon::Bulgarian}) {
    quillon::gallery::Gallery gallery(arguments[1].toStdString(), output, language);
    for (const std::string& problem : gallery.ShootAll()) {
      std::cerr << "quillon-gallery: " << problem << "\n";
      status = 1;
    }
  }
  return status;
}
