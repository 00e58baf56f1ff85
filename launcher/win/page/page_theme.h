// The theme both of the launcher's windows draw in: Talvo's dark palette, or
// the system's colours while a high-contrast theme is on, read again whenever
// the system says its theme, colours or settings changed.
#pragma once

#include "core/page/palette.h"

namespace talvo::win {

// Whether a high-contrast theme is on.
using HighContrastProbe = bool (*)();

// The system's answer (SPI_GETHIGHCONTRAST).
bool system_high_contrast();

// The system colours a high-contrast theme sets, as 0xRRGGBB.
SystemColours system_colours();

class PageTheme {
  public:
    explicit PageTheme(HighContrastProbe probe = system_high_contrast);

    const Palette& palette() const { return palette_; }
    // Asks the system again.
    void reread();
    // Stands in for the system's answer: Wine has no high-contrast switch.
    void set_high_contrast_probe(HighContrastProbe probe) { probe_ = probe; }

  private:
    HighContrastProbe probe_;
    Palette palette_;
};

}  // namespace talvo::win
