// The parabola the bonus rocks fly along: through the middle of the field,
// 12.5 px from the top edge at the centre in pass 1, mirrored top to bottom in
// pass 2. All values are fixed point.
#pragma once

#include <cstdint>

namespace kelvarok {

// The path constant K = half * half div (FieldH + 200 px), half = FieldW div 2.
std::int64_t BonusPathK(std::int32_t fieldW, std::int32_t fieldH);

// The Y of a bonus rock at x > 0 in pass 1 or 2.
std::int32_t BonusPathY(std::int32_t x, std::int32_t fieldW, std::int32_t fieldH, std::int64_t k,
                        int pass);

}  // namespace kelvarok
