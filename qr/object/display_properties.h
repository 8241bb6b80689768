// Names of the window properties through which a QR object paints inside a
// host window, in the order they are set. Each holds one pointer-sized value.
#pragma once

#include <array>

namespace varnelo::qr {

inline constexpr std::array<const char*, 19> kDisplayProperties = {
    "PRKIXQOCCV4YSX3JPH7G",  // the window's previous window procedure
    "PR1IC1QICCP6N9MN1LI6",  // code bitmap
    "PR822EU1EP3D2E21AY4I",  // code image width
    "PR91C26HCQ2GLE9EP63I",  // code image height
    "PRQLH68PGXW2H901ZDAI",  // display mode 0..10
    "PRF2GDSH3IU42DA3ZDF7",  // logo bitmap (0 when none)
    "PR3MSXTJZ77VN91VWC0H",  // logo width
    "PRIDF4F0AUI3AYLIO1P4",  // logo height
    "PR12Y20JIKVJ2T0XL3JZ",  // light colour of the speckle cells
    "PRQAGD6XR4AG28HCHMMO",  // fill colour of the client area, -1 = none
    "PRZ7Q6G14II72KVSOUJ2",  // display size, 0 = the code image's width
    "PR8T4FF3DGEGFF2NSN1M",  // background bitmap
    "PREGIFYPYX03BMVIRRQZ",  // background width
    "PRCG3UX74XW55BZGKCGF",  // background height
    "PRD3GPFZGD12JEZU6482",  // offset x of the code
    "PRU3T2AG54CPD693YTR5",  // offset y of the code
    "PRZ7TU1QD9GXSOI4N6M0",  // location of the noise bytes
    "PRPVIVDWAKIQ5KYAUAJ8",  // number of noise bytes
    "PRZXRJGEG2MWS7Z960DT",  // speckle flag 0 or 1
};

inline constexpr const char* kPreviousProcedureProperty = kDisplayProperties[0];

}  // namespace varnelo::qr
