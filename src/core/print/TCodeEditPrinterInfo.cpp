#include "core/print/TCodeEditPrinterInfo.h"

#include <cmath>

namespace pelm {

int RoundHalfEven(double value) {
    const double f = std::floor(value);
    const double diff = value - f;
    double r = f;
    if (diff > 0.5) r = f + 1;
    else if (diff == 0.5) r = std::fmod(f, 2.0) == 0 ? f : f + 1;
    return static_cast<int>(r);
}

void TCodeEditPrinterInfo::Update(const TPrinterCaps& caps) { caps_ = caps; }

}  // namespace pelm
