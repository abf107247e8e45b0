// The help window: the bundled HTML help in a browser of the program's own.
#pragma once

#include <QTextBrowser>

namespace kelvarok {

// The help file in the game's data folder, found from the program's own folder:
// <prefix>/share/kelvarok/help/kelvarok.html for <prefix>/bin/kelvarok, or
// /usr/share/games/kelvarok/help/kelvarok.html for /usr/games/kelvarok.
QString HelpFilePath();

class HelpWindow final : public QTextBrowser {
 public:
  explicit HelpWindow(QString helpFile);

  // Opens the help at its contents; a missing file is reported in the window.
  void ShowContents();
  // The help file's address.
  QUrl Page() const { return QUrl::fromLocalFile(helpFile_); }

 private:
  QString helpFile_;
};

}  // namespace kelvarok
