#include "pipeline/speechrequest.h"

namespace saymgr::pipeline {

double AccelerationRules::rateFactor(int32_t pieceLength) const {
    constexpr double kGain = 1.25;
    double factor = 1.0;
    for (const int32_t length : {firstLength, secondLength}) {
        if (length > 0 && pieceLength > length) {
            factor *= kGain;
        }
    }
    return factor;
}

}  // namespace saymgr::pipeline
