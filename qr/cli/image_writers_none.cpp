// Builds without the platform's image encoders have no further types.
#include "qr/cli/image_writers.h"

namespace varnelo::qr::cli {

std::span<const ImageType> PlatformImageTypes() { return {}; }

}  // namespace varnelo::qr::cli
