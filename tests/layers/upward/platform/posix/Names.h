#pragma once

// A backend that reaches above the seam.
#include "package/PathHelpers.h"
// The seam itself is allowed.
#include "platform/LeadBytes.h"
