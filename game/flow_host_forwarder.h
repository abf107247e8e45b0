// A FlowHost that passes every call on to another host: the base of the
// hosts that stand between the flow and a window and change only some calls
// (the replay recorder and player).
#pragma once

#include "game/flow_host.h"

namespace kelvarok {

class FlowHostForwarder : public FlowHost {
 public:
  explicit FlowHostForwarder(FlowHost& inner) : inner_(inner) {}

  void ProcessMessages() override { inner_.ProcessMessages(); }
  void WaitForMessages(std::uint32_t timeout_ms) override { inner_.WaitForMessages(timeout_ms); }
  Clock& clock() override { return inner_.clock(); }
  KeyState& Keys() override { return inner_.Keys(); }
  Joystick& Joysticks() override { return inner_.Joysticks(); }
  ControlsSample FrameControls(const ControlsSample& sampled) override {
    return inner_.FrameControls(sampled);
  }
  TextPainter& FieldText() override { return inner_.FieldText(); }
  void SetCaption(const std::string& text) override { inner_.SetCaption(text); }
  void SetPanelCaption(StatusPanel panel, const std::string& text) override {
    inner_.SetPanelCaption(panel, text);
  }
  void SetPanelFontColour(StatusPanel panel, Pixel colour) override {
    inner_.SetPanelFontColour(panel, colour);
  }
  void SetMenuEnabled(MenuItem item, bool enabled) override {
    inner_.SetMenuEnabled(item, enabled);
  }
  void SetMenuChecked(MenuItem item, bool checked) override {
    inner_.SetMenuChecked(item, checked);
  }
  bool InputQuery(const std::string& caption, const std::string& prompt,
                  std::string& text) override {
    return inner_.InputQuery(caption, prompt, text);
  }
  void ShowHighScores(const HiScoreCells& cells) override { inner_.ShowHighScores(cells); }
  void CloseMainWindow() override { inner_.CloseMainWindow(); }
  void SetSoundActivated(bool activated) override { inner_.SetSoundActivated(activated); }
  void InvalidateField() override { inner_.InvalidateField(); }
  void SoundEffect(Effect effect) override { inner_.SoundEffect(effect); }

 protected:
  FlowHost& inner() { return inner_; }

 private:
  FlowHost& inner_;
};

}  // namespace kelvarok
