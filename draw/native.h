// The library's headers and the native handle types of the drawing layer.
// Windows only.
#pragma once

// Order matters: the library's header needs the platform's types first.
// clang-format off
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

namespace varnelo::draw::native {

// MinGW declares the handle types inside Gdiplus, MSVC at global scope; an
// unqualified name below finds either.
using namespace Gdiplus;

using Image = GpImage;
using Bitmap = GpBitmap;
using Graphics = GpGraphics;
using Font = GpFont;
using Brush = GpBrush;
using SolidFill = GpSolidFill;
using StringFormat = GpStringFormat;
using FontFamily = GpFontFamily;
using FontCollection = GpFontCollection;
using Region = GpRegion;
using Matrix = GpMatrix;
using Path = GpPath;
using Pen = GpPen;
using ImageAttributes = GpImageAttributes;
using CachedBitmap = GpCachedBitmap;
using Metafile = GpMetafile;
using Effect = CGpEffect;

namespace flat = DllExports;

}  // namespace varnelo::draw::native
