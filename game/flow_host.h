// Everything the game flow asks of the window it runs in, on two sides: what
// the game reads and what it shows. The desktop shell, the tests and the
// headless simulator each implement both; the flow's code is the same in all
// three.
#pragma once

#include <cstdint>
#include <string>

#include "game/game_menu.h"
#include "game/hiscores.h"
#include "game/world_host.h"
#include "platform/bitmap.h"
#include "platform/clock.h"
#include "platform/text_painter.h"

namespace kelvarok {

// The status bar's panels, left to right.
enum class StatusPanel { P1Panel, P1Score, ShipPanel, P2Score, P2Panel };

// Panel font colours.
constexpr Pixel kNavy = Rgb(0, 0, 128);
constexpr Pixel kPurple = Rgb(128, 0, 128);
constexpr Pixel kGrey = Rgb(128, 128, 128);
constexpr Pixel kMaroon = Rgb(128, 0, 0);
constexpr Pixel kYellow = Rgb(255, 255, 0);

// What the flow reads from its window besides the world's controls: the
// clock, the name answers, and the messages through which menu commands and
// focus changes reach it at the flow's own waits. A replay answers exactly
// this side.
class FlowSource {
 public:
  virtual ~FlowSource() = default;
  // Handles every pending window message (menu commands, repaints, focus
  // changes, the mixer's block-done messages) and returns.
  virtual void ProcessMessages() = 0;
  // Handles pending messages; if there were none, waits until one arrives or
  // timeout_ms milliseconds have passed, handles what arrived and returns.
  virtual void WaitForMessages(std::uint32_t timeout_ms) = 0;

  virtual Clock& clock() = 0;

  // The centred modal input dialog. Returns true on OK with text set to what
  // was typed (Latin-1), false on Cancel with text unchanged.
  virtual bool InputQuery(const std::string& caption, const std::string& prompt,
                          std::string& text) = 0;
};

// What the flow shows: caption, panels, field text, the table window, the
// window's close and the sound's focus; the menu is MenuView.
class FlowView {
 public:
  virtual ~FlowView() = default;
  // The field font (20 pt yellow serif) drawing onto the field bitmap.
  virtual TextPainter& FieldText() = 0;

  virtual void SetCaption(const std::string& text) = 0;

  virtual void SetPanelCaption(StatusPanel panel, const std::string& text) = 0;
  virtual void SetPanelFontColour(StatusPanel panel, Pixel colour) = 0;

  // Shows the high-score window modally with these cell captions and returns
  // when it is closed.
  virtual void ShowHighScores(const HiScoreCells& cells) = 0;

  // Closes the main window the orderly way (its close query included).
  virtual void CloseMainWindow() = 0;
  // The mixer's Activated property; does nothing when no sound is available.
  virtual void SetSoundActivated(bool activated) = 0;
};

class FlowHost : public WorldHost, public FlowSource, public FlowView, public MenuView {
 public:
  void SetScoreCaption(int player, const std::string& text) final {
    SetPanelCaption(player == 1 ? StatusPanel::P1Score : StatusPanel::P2Score, text);
  }
};

}  // namespace kelvarok
