// The real game flow on the virtual host, with the synthetic sprites and a
// text painter of fixed metrics, driven by script text. Tests reach into the
// game between frames through the frame hook.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/game_flow.h"
#include "sim/virtual_flow_host.h"
#include "tests/game/world_test_support.h"

namespace kelvarok::testing {

// Every character is 10 x 20 pixels; TextOut records what was drawn where.
class FixedTextPainter final : public TextPainter {
 public:
  struct Drawn {
    int x;
    int y;
    std::string text;
  };
  TextExtent TextExtentOf(const std::string& text) override {
    return {10 * static_cast<int>(text.size()), 20};
  }
  void TextOut(Bitmap&, int x, int y, const std::string& text) override {
    drawn.push_back({x, y, text});
  }
  std::vector<Drawn> drawn;
};

struct PlayedFrame {
  FramePhase phase;
  std::uint32_t start;
  std::int32_t penalty;
};

class FlowTest : public ::testing::Test, public FlowObserver {
 protected:
  explicit FlowTest(std::uint64_t seed = 7);

  // Queues script lines ("MS EVENT ..."); fails the test on a bad line.
  void Script(const std::string& text);
  // Runs until the script is done and no game runs (or the stop time).
  void Run() { host.Run(); }

  GameState& state() { return world->state; }
  // The field messages drawn so far, as "first|second".
  const std::vector<std::string>& messages() const { return messages_; }
  int FramesIn(FramePhase phase) const;

  // Called after every frame; tests change the game here.
  std::function<void(const PlayedFrame&)> onFrame;
  std::vector<PlayedFrame> frames;
  int restores = 0;

  SpriteSet sprites = MakeTestSprites();
  GameSettings settings;
  FixedTextPainter text;
  sim::VirtualFlowHost host{text};
  // The sounds played, in order (a test that sets a listener of its own
  // hears them there instead).
  struct SoundLog final : sim::HostListener {
    void SoundPlayed(Effect effect) override { sounds.push_back(effect); }
    std::vector<Effect> sounds;
  } soundLog;
  HiScoreTable hiscores;
  std::unique_ptr<GameWorld> world;
  std::unique_ptr<GameFlow> flow;

 private:
  void FramePlayed(FramePhase phase, std::uint32_t frameStart, std::int32_t penalty) override;
  void MessageDrawn(const std::string& first, const std::string& second) override;
  void FieldRestored() override { ++restores; }

  std::vector<std::string> messages_;
};

// Ends the life in progress as if its last rock had been shot.
void ClearRound(GameState& state);

}  // namespace kelvarok::testing
