#include "platform/gtk/AppIcon.h"

#include <cairo.h>
#include <gdk/gdk.h>

#include <cmath>
#include <initializer_list>

namespace quillmere {

namespace {

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

// Drawn on a unit square; the caller scales.
void DrawBook(cairo_t* cr) {
    // Page edges, seen below and to the right of the cover.
    RoundedRect(cr, 0.22, 0.12, 0.64, 0.80, 0.05);
    cairo_set_source_rgb(cr, 0.96, 0.92, 0.82);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.55, 0.48, 0.36);
    cairo_set_line_width(cr, 0.02);
    cairo_stroke(cr);

    // Cover, deep teal with a soft vertical shade.
    cairo_pattern_t* shade = cairo_pattern_create_linear(0.16, 0, 0.80, 0);
    cairo_pattern_add_color_stop_rgb(shade, 0, 0.10, 0.33, 0.38);
    cairo_pattern_add_color_stop_rgb(shade, 1, 0.16, 0.45, 0.50);
    RoundedRect(cr, 0.16, 0.08, 0.64, 0.78, 0.05);
    cairo_set_source(cr, shade);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(shade);
    cairo_set_source_rgb(cr, 0.06, 0.22, 0.26);
    cairo_stroke(cr);

    // Spine.
    cairo_rectangle(cr, 0.16, 0.08, 0.09, 0.78);
    cairo_set_source_rgba(cr, 0.0, 0.0, 0.0, 0.25);
    cairo_fill(cr);

    // Title plate.
    RoundedRect(cr, 0.34, 0.24, 0.36, 0.16, 0.02);
    cairo_set_source_rgb(cr, 0.86, 0.72, 0.36);
    cairo_fill(cr);

    // Ribbon hanging from the bottom edge.
    cairo_move_to(cr, 0.58, 0.84);
    cairo_line_to(cr, 0.58, 0.98);
    cairo_line_to(cr, 0.62, 0.94);
    cairo_line_to(cr, 0.66, 0.98);
    cairo_line_to(cr, 0.66, 0.84);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 0.70, 0.16, 0.16);
    cairo_fill(cr);
}

GdkPixbuf* DrawAt(int size) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, size, size);
    DrawBook(cr);
    cairo_destroy(cr);
    GdkPixbuf* pixbuf = gdk_pixbuf_get_from_surface(surface, 0, 0, size, size);
    cairo_surface_destroy(surface);
    return pixbuf;
}

}  // namespace

GList* DrawAppIcons() {
    GList* icons = nullptr;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        if (GdkPixbuf* pixbuf = DrawAt(size)) icons = g_list_append(icons, pixbuf);
    }
    return icons;
}

}  // namespace quillmere
