// Sessions: initialisation from "WAVEMIX.INI", activation (opening and closing
// the device) and the end of a session.
#include <cstring>
#include <new>
#include <string>

#include "sound/mixer_messages.h"
#include "sound/mixer_module.h"
#include "sound/session_settings.h"

namespace kelvarok {

namespace {

constexpr WAVEFORMATEX kDefaultFormat{WAVE_FORMAT_PCM, 1, 11025, 11025, 1, 8};

}  // namespace

MixerModule::MixerModule(MixerServices services)
    : services_(std::move(services)),
      clock_(services_.wave_out, services_.clock),
      ring_(services_.wave_out, services_.memory) {}

MixerModule::~MixerModule() {
  if (current_ != nullptr) {
    try {
      WaveMixCloseSession(current_);
    } catch (const EWaveMixError&) {
      FreeSession(current_);
    }
  }
  services_.messages.UnregisterClassA(kCallbackWindowClass);
}

// Only the live session validates: a handle that was closed is never read.
TMixSession& MixerModule::Validate(HMIXSESSION session) {
  if (session == nullptr || session != current_ || session->Magic1 != kSessionMagic ||
      session->Magic2 != kSessionMagic) {
    throw EWaveMixError("Invalid Session handle");
  }
  current_ = session;
  return *session;
}

void MixerModule::PrepareModule() {
  WNDCLASSA window_class;
  window_class.lpfnWndProc = [this](HWND window, std::uint32_t message, WPARAM w, LPARAM l) {
    return WindowProcedure(window, message, w, l);
  };
  window_class.hCursor = "IDC_ARROW";
  window_class.hbrBackground = "LTGRAY_BRUSH";
  window_class.lpszClassName = kCallbackWindowClass;
  if (!services_.messages.RegisterClassA(window_class)) {
    const std::uint32_t error = services_.messages.GetLastError();
    if (error != 0 && error != ERROR_CLASS_ALREADY_EXISTS) {
      throw EWaveMixError("Error registering class #" + std::to_string(error));
    }
  }
  entries_.Refill();
}

HMIXSESSION MixerModule::WaveMixInit() {
  const TMixConfig config;
  return WaveMixConfigureInit(&config);
}

HMIXSESSION MixerModule::WaveMixConfigureInit(const TMixConfig* config) {
  if (current_ != nullptr) throw EWaveMixError("Session already initialized");
  PrepareModule();
  if (config != nullptr && config->wSize != kMixConfigSize) config = nullptr;
  if (services_.wave_out.waveOutGetNumDevs() == 0) {
    throw EWaveMixError("No wave output devices available");
  }
  void* memory = services_.memory.Allocate(sizeof(TMixSession));
  if (memory == nullptr) throw EWaveMixError(kOutOfMemoryMessage);
  TMixSession* session = new (memory) TMixSession{};
  current_ = session;
  session->Magic1 = kSessionMagic;
  session->Magic2 = kSessionMagic;
  session->Format = kDefaultFormat;
  try {
    ApplySettings(*session, services_.ini, services_.wave_out, config);
  } catch (const EWaveMixError&) {
    FreeSession(session);
    throw;
  }
  return session;
}

void MixerModule::FreeSession(TMixSession* session) {
  std::memset(static_cast<void*>(session), 0, sizeof(TMixSession));
  if (current_ == session) current_ = nullptr;
  if (active_ == session) active_ = nullptr;
  services_.memory.Release(session);
}

void MixerModule::WaveMixActivate(HMIXSESSION handle, bool activate) {
  TMixSession& session = Validate(handle);
  if (!activate) {
    if (session.DeviceActive) session.MixPosition = clock_.CurrentPosition(session);
    if (session.DeviceActive && session.WaveOut != 0) CloseDevice(session);
    session.DeviceActive = false;
    if (active_ == &session) active_ = nullptr;
    return;
  }
  if (active_ == &session) return;
  active_ = &session;
  if (services_.stop_simple_sound) services_.stop_simple_sound();
  if (session.WaveOut == 0) {
    try {
      OpenDevice(session);
    } catch (const EWaveMixError&) {
      active_ = nullptr;  // the next activation tries the device again
      throw;
    }
  }
  session.DeviceActive = true;
  clock_.SetPosition(session, session.MixPosition);
  FillAndWrite(session);
}

void MixerModule::OpenDevice(TMixSession& session) {
  WindowMessages& messages = services_.messages;
  const HWND window = messages.CreateWindowA(kCallbackWindowClass, "", WS_DISABLED);
  if (window == 0) throw EWaveMixError("Failed to create callback window");
  HWAVEOUT device = 0;
  const MMRESULT opened =
      services_.wave_out.waveOutOpen(&device, static_cast<std::uint32_t>(session.DeviceId),
                                     &session.Format, window, CALLBACK_WINDOW);
  if (opened != MMSYSERR_NOERROR) {
    messages.DestroyWindow(window);
    throw EWaveMixError("Failed to open waveform output device #" +
                        std::to_string(opened & 0xFFFF));
  }
  try {
    ring_.Allocate(device, session.BlockLength);
  } catch (const EWaveMixError&) {
    services_.wave_out.waveOutClose(device);
    messages.DestroyWindow(window);
    throw;
  }
  session.CallbackWindow = window;
  session.WaveOut = device;
}

void MixerModule::CloseDevice(TMixSession& session) {
  WaveOut& wave_out = services_.wave_out;
  const std::uint32_t position = clock_.CurrentPosition(session);
  wave_out.waveOutReset(session.WaveOut);
  clock_.SetPosition(session, position);
  ring_.FreeQueued();
  ring_.Release(session.WaveOut);
  wave_out.waveOutClose(session.WaveOut);
  session.WaveOut = 0;
  services_.messages.DestroyWindow(session.CallbackWindow);
  session.CallbackWindow = 0;
}

void MixerModule::WaveMixCloseSession(HMIXSESSION handle) {
  TMixSession& session = Validate(handle);
  WaveMixActivate(&session, false);
  WaveMixCloseChannel(&session, 0, MixChannelAll);
  FreeSession(&session);
}

}  // namespace kelvarok
