// A layer that sees a backend, and one that sees a layer below it (allowed).
#include "navigation/NavigationRouting.h"
#include "platform/gtk/GtkPlatform.h"
