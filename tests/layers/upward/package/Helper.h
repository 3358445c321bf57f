#pragma once

// A layer that reaches up to the application.
#include "app/QuillmereApp.h"
