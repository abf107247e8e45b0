// The output ring on its own: what the mixer on the in-order virtual device
// never shows.
#include "sound/output_ring.h"

#include <gtest/gtest.h>

#include "tests/sound/mixer_rig.h"

namespace kelvarok::testing {
namespace {

TEST(OutputRing, ClaimsWithinTheCountAndRetiresDoneBlocksInAnyOrder) {
  MixerRig rig;
  const WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, 11025, 11025, 1, 8};
  HWAVEOUT device = 0;
  ASSERT_EQ(rig.device.waveOutOpen(&device, WAVE_MAPPER, &format, 0, CALLBACK_WINDOW),
            MMSYSERR_NOERROR);
  rig.device.waveOutPause(device);
  OutputRing ring(rig.device, rig.memory);
  ring.Allocate(device, 512);
  EXPECT_EQ(rig.memory.held(), kBlockTableSize);

  TMixBlock* first = ring.Claim(2, 512, nullptr);
  TMixBlock* second = ring.Claim(2, 512, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(ring.Claim(2, 512, nullptr), nullptr) << "blocks beyond the count stay unused";
  TMixBlock* third = ring.Claim(3, 512, nullptr);
  ASSERT_NE(third, nullptr);
  for (TMixBlock* block : {first, second, third}) {
    ring.Append(block);
    ASSERT_TRUE(ring.Write(device, block));
  }

  second->Header.dwFlags.fetch_or(WHDR_DONE);
  ring.RetireDone();
  EXPECT_EQ(ring.Queue(), (std::vector<const TMixBlock*>{first, third}));
  EXPECT_TRUE(second->Free);
  EXPECT_EQ(ring.Claim(2, 512, nullptr), second);

  rig.device.waveOutReset(device);
  ring.FreeQueued();
  EXPECT_TRUE(ring.Empty());
  ring.Release(device);
  rig.device.waveOutClose(device);
  EXPECT_EQ(rig.memory.held(), 0);
}

}  // namespace
}  // namespace kelvarok::testing
