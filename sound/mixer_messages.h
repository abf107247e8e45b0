// Message texts that more than one part of the mixer raises.
#pragma once

#include "sound/ewavemix_error.h"

namespace kelvarok {

inline constexpr const char* kOutOfMemoryMessage =
    "Unable to allocate memory for waveform data.  Try making more memory available by closing "
    "other applications.";
inline constexpr const char* kInvalidChannelMessage = "Invalid channel number";
inline constexpr const char* kChannelNotOpenMessage = "The specified channel was not open";
inline constexpr const char* kFormatNotSupportedMessage = "File format not supported";
inline constexpr const char* kWriteRefusedMessage = "Failed to write block to device";

}  // namespace kelvarok
