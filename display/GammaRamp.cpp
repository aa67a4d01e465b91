#include "display/GammaRamp.h"

#include <array>
#include <utility>

#include "display/core/GammaRampCurve.h"

namespace {

// The layout GetDeviceGammaRamp and SetDeviceGammaRamp exchange: red, green, blue.
using DeviceRamp = std::array<display::GammaCurve, 3>;
static_assert(sizeof(DeviceRamp) == 3 * 256 * sizeof(WORD));

// The whole screen's device context for one call, released against the same (null) window.
class ScreenDc {
  public:
    explicit ScreenDc(const ScreenGammaApi& api) : api_(api), dc_(api.getDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_ != nullptr) {
            api_.releaseDC(nullptr, dc_);
        }
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;

    HDC get() const { return dc_; }

  private:
    const ScreenGammaApi& api_;
    HDC dc_;
};

}  // namespace

const ScreenGammaApi& SystemScreenGamma() {
    static const ScreenGammaApi api{&::GetDC, &::ReleaseDC, &::GetDeviceGammaRamp,
                                    &::SetDeviceGammaRamp};
    return api;
}

bool SetGammaRamp(double gamma) {
    return SetGammaRamp(SystemScreenGamma(), gamma);
}

bool SetGammaRamp(const ScreenGammaApi& api, double gamma) {
    if (!display::IsSafeGammaExponent(gamma)) {
        return false;
    }
    DeviceRamp ramp{};
    {
        // A screen whose ramp cannot be read cannot take one either (no gamma support).
        ScreenDc dc(api);
        if (dc.get() == nullptr || !api.getRamp(dc.get(), ramp.data())) {
            return false;
        }
    }
    const display::GammaCurve curve = display::GammaRampCurve(gamma);
    ramp.fill(curve);
    ScreenDc dc(api);
    return dc.get() != nullptr && api.setRamp(dc.get(), ramp.data()) != FALSE;
}
