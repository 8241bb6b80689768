// render_gdi
