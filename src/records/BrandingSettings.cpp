#include "records/BrandingSettings.h"

namespace quillmere {

BrandingValues BrandingSettings;

}  // namespace quillmere
