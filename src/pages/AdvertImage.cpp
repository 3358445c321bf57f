#include "pages/AdvertStore.h"

namespace quillmere {

AdvertImageBuffer AdvertImage;

}  // namespace quillmere
