#include "app/dialogs/title_bar_only.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "app/xcb_connection.h"

namespace kelvarok {
namespace {

// The Motif window manager hints: flags, functions, decorations, input mode,
// status.
constexpr std::uint32_t kHintsFunctions = 1u << 0;
constexpr std::uint32_t kHintsDecorations = 1u << 1;
constexpr std::uint32_t kFunctionMove = 1u << 2;
constexpr std::uint32_t kDecorationBorder = 1u << 1;
constexpr std::uint32_t kDecorationTitle = 1u << 3;
constexpr std::array<std::uint32_t, 5> kTitleBarOnly{
    kHintsFunctions | kHintsDecorations, kFunctionMove, kDecorationBorder | kDecorationTitle, 0, 0};

}  // namespace

void AskForTitleBarOnly(QWidget& window) {
  xcb_connection_t* connection = XcbConnection();
  if (connection == nullptr) return;
  constexpr char kName[] = "_MOTIF_WM_HINTS";
  const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
      xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName),
                            nullptr),
      &std::free);
  if (!atom) return;
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()),
                      atom->atom, atom->atom, 32, kTitleBarOnly.size(), kTitleBarOnly.data());
  xcb_flush(connection);
}

}  // namespace kelvarok
