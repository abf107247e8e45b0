#include "app/help_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "app/window_front.h"

namespace kelvarok {

QString HelpFilePath() {
  return QDir(QCoreApplication::applicationDirPath())
      .absoluteFilePath(KELVAROK_DATA_FROM_PROGRAM "/help/kelvarok.html");
}

HelpWindow::HelpWindow(QString helpFile) : helpFile_(QDir::cleanPath(std::move(helpFile))) {
  setObjectName("HelpWindow");
  setWindowTitle("Kelvarok Help");
  setOpenExternalLinks(true);
  resize(640, 560);
}

void HelpWindow::ShowContents() {
  if (QFileInfo::exists(helpFile_)) {
    setSource(QUrl::fromLocalFile(helpFile_));
    reload();
  } else {
    setHtml(QString("<h3>Help is not available</h3><p>The help file <tt>%1</tt> was not "
                    "found.</p>")
                .arg(helpFile_.toHtmlEscaped()));
  }
  ShowInFront(*this);
}

}  // namespace kelvarok
