// "About": the program's name, version and maker, and a link to the
// program's own help page.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <functional>

#include "app/dialogs/fixed_dialog.h"

namespace kelvarok {

// A label that reports clicks with the left mouse button.
class LinkLabel final : public QLabel {
 public:
  LinkLabel(const QString& text, std::function<void()> onClick, QWidget* parent);

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::function<void()> onClick_;
};

// What the link shows.
inline constexpr char kHelpLinkText[] = "Kelvarok help page";

class TAboutForm final : public FixedDialog {
 public:
  // The link opens helpPage; openUrl opens an address in the user's
  // browser.
  TAboutForm(const QUrl& helpPage, std::function<void(const QUrl&)> openUrl,
             QWidget* parent = nullptr);

  LinkLabel* Link = nullptr;
  QPushButton* OkButton = nullptr;

  // Enter and Escape both close the box.
  void reject() override { QDialog::reject(); }

 private:
  std::function<void(const QUrl&)> openUrl_;
};

}  // namespace kelvarok
