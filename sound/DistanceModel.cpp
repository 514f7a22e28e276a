#include "DistanceModel.h"

#include <algorithm>
#include <cmath>

namespace torvel {

float DistanceModel::rolloffFor(float strength) {
    if (!(strength > 0.0f) || !std::isfinite(strength))
        return rolloff;
    return rolloff / strength;
}

float DistanceModel::gain(float distance, float strength) {
    const float clamped = std::clamp(distance, referenceDistance, maxDistance);
    return referenceDistance / (referenceDistance + rolloffFor(strength) * (clamped - referenceDistance));
}

} // namespace torvel
