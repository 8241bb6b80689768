// A library graphics context: a drawing surface on a window, a device
// context or an image. Pens, paths, matrices, image attributes, cached
// bitmaps and metafiles are any drawing object whose handle is the native
// object (see NativeObjectRef). Windows only.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "draw/draw_object.h"
#include "draw/native.h"
#include "draw/records.h"

namespace varnelo::draw {

class Brush;
class Font;
class Image;
class Region;
class StringFormat;

class Graphics : public DrawObject {
 public:
  Graphics() = default;
  ~Graphics() override { Release(); }

  void Release() override { Delete(); }
  void OnHandleChanged(NativeHandle handle) override;
  // Second-level hook, called with every new handle; empty here.
  virtual void OnGraphicsHandleChanged(NativeHandle handle);

  // The release operation: GdipDeleteGraphics; false without a handle.
  virtual bool Delete();

  // --- flush: stores no status. intention omitted: 0 (flush).
  void Flush(std::optional<int> intention = std::nullopt);

  // --- create
  bool FromHWND(HWND window, std::optional<bool> useIcm = std::nullopt);
  // With a device handle GdipCreateFromHDC2, else GdipCreateFromHDC.
  bool FromHDC(HDC dc, std::optional<HANDLE> device = std::nullopt);
  // Draws into the image.
  bool FromImage(const Image& image);

  // --- device context
  HDC GetHDC();
  bool ReleaseHDC(HDC dc);

  // --- rendering origin
  PointI GetRenderingOrigin() const;
  bool SetRenderingOrigin(int x, int y);

  // --- quality settings: the library's enumeration values
  int GetCompositingMode() const;
  bool SetCompositingMode(int mode);
  int GetCompositingQuality() const;
  bool SetCompositingQuality(int quality);
  bool SetTextRenderingHint(int hint);
  int GetTextRenderingHint() const;
  bool SetTextContrast(int contrast);
  int GetTextContrast() const;
  bool SetInterpolationMode(int mode);
  int GetInterpolationMode() const;
  bool SetSmoothingMode(int mode);
  int GetSmoothingMode() const;
  bool SetPixelOffsetMode(int mode);
  int GetPixelOffsetMode() const;

  // --- world transform; order omitted: 0 (prepend)
  bool SetTransform(const DrawObject& matrix);
  // Fills the native matrix with the world transform.
  bool GetTransform(const DrawObject& matrix) const;
  bool ResetTransform();
  bool MultiplyTransform(const DrawObject& matrix, std::optional<int> order = std::nullopt);
  bool TranslateTransform(float dx, float dy, std::optional<int> order = std::nullopt);
  bool ScaleTransform(float sx, float sy, std::optional<int> order = std::nullopt);
  // Scale about `centre`, before (prepend) or after (any other order) the
  // current transform; three calls, the result is the last one's.
  bool ScaleTransformAt(float sx, float sy, const PointF& centre, std::optional<int> order = std::nullopt);
  bool RotateTransform(float angle, std::optional<int> order = std::nullopt);
  bool RotateTransformAt(float angle, const PointF& centre, std::optional<int> order = std::nullopt);

  // --- page and resolution
  bool SetPageUnit(int unit);
  int GetPageUnit() const;
  bool SetPageScale(float scale);
  float GetPageScale() const;
  float GetDpiX() const;
  float GetDpiY() const;

  // --- coordinate conversion; the points are transformed in place
  bool TransformPoints(int destinationSpace, int sourceSpace, std::vector<PointF>& points) const;
  bool TransformPointsI(int destinationSpace, int sourceSpace, std::vector<PointI>& points) const;
  // The nearest colour the surface can show; 0 on failure.
  ArgbColor GetNearestColor(ArgbColor color) const;

  // --- outlines with a pen
  bool DrawLine(const DrawObject& pen, float x1, float y1, float x2, float y2);
  bool DrawLineI(const DrawObject& pen, int x1, int y1, int x2, int y2);
  bool DrawLines(const DrawObject& pen, const std::vector<PointF>& points);
  bool DrawLinesI(const DrawObject& pen, const std::vector<PointI>& points);
  bool DrawArc(const DrawObject& pen, float x, float y, float width, float height, float startAngle, float sweepAngle);
  bool DrawArcI(const DrawObject& pen, int x, int y, int width, int height, float startAngle, float sweepAngle);
  bool DrawBezier(const DrawObject& pen, float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                  float y4);
  bool DrawBezierI(const DrawObject& pen, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  bool DrawBeziers(const DrawObject& pen, const std::vector<PointF>& points);
  bool DrawBeziersI(const DrawObject& pen, const std::vector<PointI>& points);
  bool DrawRectangle(const DrawObject& pen, float x, float y, float width, float height);
  bool DrawRectangleI(const DrawObject& pen, int x, int y, int width, int height);
  bool DrawRectangles(const DrawObject& pen, const std::vector<RectF>& rects);
  bool DrawRectanglesI(const DrawObject& pen, const std::vector<RectI>& rects);
  bool DrawEllipse(const DrawObject& pen, float x, float y, float width, float height);
  bool DrawEllipseI(const DrawObject& pen, int x, int y, int width, int height);
  bool DrawPie(const DrawObject& pen, float x, float y, float width, float height, float startAngle, float sweepAngle);
  bool DrawPieI(const DrawObject& pen, int x, int y, int width, int height, float startAngle, float sweepAngle);
  bool DrawPolygon(const DrawObject& pen, const std::vector<PointF>& points);
  bool DrawPolygonI(const DrawObject& pen, const std::vector<PointI>& points);
  bool DrawPath(const DrawObject& pen, const DrawObject& path);
  bool DrawCurve(const DrawObject& pen, const std::vector<PointF>& points);
  bool DrawCurveI(const DrawObject& pen, const std::vector<PointI>& points);
  bool DrawCurve2(const DrawObject& pen, const std::vector<PointF>& points, float tension);
  bool DrawCurve2I(const DrawObject& pen, const std::vector<PointI>& points, float tension);
  bool DrawCurve3(const DrawObject& pen, const std::vector<PointF>& points, int offset, int segments, float tension);
  bool DrawCurve3I(const DrawObject& pen, const std::vector<PointI>& points, int offset, int segments, float tension);
  bool DrawClosedCurve(const DrawObject& pen, const std::vector<PointF>& points);
  bool DrawClosedCurveI(const DrawObject& pen, const std::vector<PointI>& points);
  bool DrawClosedCurve2(const DrawObject& pen, const std::vector<PointF>& points, float tension);
  bool DrawClosedCurve2I(const DrawObject& pen, const std::vector<PointI>& points, float tension);

  // --- clear
  bool Clear(ArgbColor color);

  // --- fills with a brush; fill mode omitted: 0 (alternate)
  bool FillRectangle(const Brush& brush, float x, float y, float width, float height);
  bool FillRectangleRect(const Brush& brush, const RectF& rect);
  bool FillRectangleI(const Brush& brush, int x, int y, int width, int height);
  bool FillRectangles(const Brush& brush, const std::vector<RectF>& rects);
  bool FillRectanglesI(const Brush& brush, const std::vector<RectI>& rects);
  bool FillPolygon(const Brush& brush, const std::vector<PointF>& points, std::optional<int> fillMode = std::nullopt);
  bool FillPolygonI(const Brush& brush, const std::vector<PointI>& points, std::optional<int> fillMode = std::nullopt);
  bool FillEllipse(const Brush& brush, float x, float y, float width, float height);
  bool FillEllipseI(const Brush& brush, int x, int y, int width, int height);
  bool FillPie(const Brush& brush, float x, float y, float width, float height, float startAngle, float sweepAngle);
  bool FillPieI(const Brush& brush, int x, int y, int width, int height, float startAngle, float sweepAngle);
  bool FillPath(const Brush& brush, const DrawObject& path);
  bool FillClosedCurve(const Brush& brush, const std::vector<PointF>& points);
  bool FillClosedCurve2(const Brush& brush, const std::vector<PointF>& points, float tension,
                        std::optional<int> fillMode = std::nullopt);
  bool FillClosedCurveI(const Brush& brush, const std::vector<PointI>& points);
  bool FillClosedCurve2I(const Brush& brush, const std::vector<PointI>& points, float tension,
                         std::optional<int> fillMode = std::nullopt);
  bool FillRegion(const Brush& brush, const Region& region);

  // --- text
  // An uncreated StringFormat passes no format: the library's default layout.
  bool DrawString(const TextBytes& text, const Font& font, const Brush& brush, const RectF& layout,
                  const StringFormat& format);
  // text: UTF-16 bytes.
  bool DrawStringW(const ByteBuffer& text, const Font& font, const Brush& brush, const RectF& layout,
                   const StringFormat& format);
  // The bounding rectangle of the laid-out text.
  bool MeasureString(const TextBytes& text, const Font& font, const RectF& layout, const StringFormat& format,
                     RectF& bounds) const;
  bool MeasureStringW(const ByteBuffer& text, const Font& font, const RectF& layout, const StringFormat& format,
                      RectF& bounds) const;
  // One region per character range set on the format; regionCount at least
  // 1, else false with InvalidParameter and `regions` untouched. On success
  // `regions` holds regionCount new regions.
  bool MeasureCharacterRanges(const TextBytes& text, const Font& font, const RectF& layout, const StringFormat& format,
                              int regionCount, std::vector<std::unique_ptr<Region>>& regions) const;
  bool MeasureCharacterRangesW(const ByteBuffer& text, const Font& font, const RectF& layout,
                               const StringFormat& format, int regionCount,
                               std::vector<std::unique_ptr<Region>>& regions) const;

  // --- driver text: one position per character (one in all with the
  // realized-advance flag); flags omitted: 1 (cmap lookup)
  bool DrawDriverString(const TextBytes& text, const Font& font, const Brush& brush,
                        const std::vector<PointF>& positions, std::optional<int> flags, const DrawObject* matrix);
  bool DrawDriverStringW(const ByteBuffer& text, const Font& font, const Brush& brush,
                         const std::vector<PointF>& positions, std::optional<int> flags, const DrawObject* matrix);

  // --- images; source unit omitted: 2 (pixel); no abort callback
  bool DrawImage(const Image& image, float x, float y);
  bool DrawImageI(const Image& image, int x, int y);
  // x and y are truncated to whole pixels.
  bool DrawCachedBitmap(const DrawObject& cachedBitmap, float x, float y);
  // The whole image stretched into the rectangle.
  bool DrawImageRect(const Image& image, float x, float y, float width, float height,
                     std::optional<int> sourceUnit = std::nullopt);
  bool DrawImageRectI(const Image& image, int x, int y, int width, int height,
                      std::optional<int> sourceUnit = std::nullopt);
  // Onto the parallelogram of the destination's upper-left, upper-right and
  // lower-left corners.
  bool DrawImagePoints(const Image& image, const PointF& upperLeft, const PointF& upperRight, const PointF& lowerLeft);
  bool DrawImagePointsI(const Image& image, const PointI& upperLeft, const PointI& upperRight, const PointI& lowerLeft);
  bool DrawImagePointRect(const Image& image, float x, float y, const RectF& source,
                          std::optional<int> sourceUnit = std::nullopt);
  bool DrawImagePointRectI(const Image& image, int x, int y, const RectI& source,
                           std::optional<int> sourceUnit = std::nullopt);
  bool DrawImageRectRect(const Image& image, const RectF& destination, const RectF& source,
                         std::optional<int> sourceUnit = std::nullopt, const DrawObject* attributes = nullptr);
  bool DrawImageRectRectI(const Image& image, const RectI& destination, const RectI& source,
                          std::optional<int> sourceUnit = std::nullopt, const DrawObject* attributes = nullptr);
  bool DrawImagePointsRect(const Image& image, const PointF& upperLeft, const PointF& upperRight,
                           const PointF& lowerLeft, const RectF& source, std::optional<int> sourceUnit = std::nullopt,
                           const DrawObject* attributes = nullptr);
  bool DrawImagePointsRectI(const Image& image, const PointI& upperLeft, const PointI& upperRight,
                            const PointI& lowerLeft, const RectI& source, std::optional<int> sourceUnit = std::nullopt,
                            const DrawObject* attributes = nullptr);

  // --- metafile playback: every record goes to `callback` with `data`
  using MetafileCallback = native::EnumerateMetafileProc;
  bool EnumerateMetafileDestPoint(const DrawObject& metafile, const PointF& destination, MetafileCallback callback,
                                  void* data, const DrawObject* attributes = nullptr);
  bool EnumerateMetafileDestPointI(const DrawObject& metafile, const PointI& destination, MetafileCallback callback,
                                   void* data, const DrawObject* attributes = nullptr);
  bool EnumerateMetafileDestPoints(const DrawObject& metafile, const std::vector<PointF>& destination,
                                   MetafileCallback callback, void* data, const DrawObject* attributes = nullptr);
  bool EnumerateMetafileDestPointsI(const DrawObject& metafile, const std::vector<PointI>& destination,
                                    MetafileCallback callback, void* data, const DrawObject* attributes = nullptr);
  bool EnumerateMetafileDestRect(const DrawObject& metafile, const RectF& destination, MetafileCallback callback,
                                 void* data, const DrawObject* attributes = nullptr);
  bool EnumerateMetafileDestRectI(const DrawObject& metafile, const RectI& destination, MetafileCallback callback,
                                  void* data, const DrawObject* attributes = nullptr);
  bool EnumerateMetafileSrcRectDestPoint(const DrawObject& metafile, const PointF& destination, const RectF& source,
                                         int sourceUnit, MetafileCallback callback, void* data,
                                         const DrawObject* attributes = nullptr);
  bool EnumerateMetafileSrcRectDestPointI(const DrawObject& metafile, const PointI& destination, const RectI& source,
                                          int sourceUnit, MetafileCallback callback, void* data,
                                          const DrawObject* attributes = nullptr);
  bool EnumerateMetafileSrcRectDestPoints(const DrawObject& metafile, const std::vector<PointF>& destination,
                                          const RectF& source, int sourceUnit, MetafileCallback callback, void* data,
                                          const DrawObject* attributes = nullptr);
  bool EnumerateMetafileSrcRectDestPointsI(const DrawObject& metafile, const std::vector<PointI>& destination,
                                           const RectI& source, int sourceUnit, MetafileCallback callback, void* data,
                                           const DrawObject* attributes = nullptr);
  bool EnumerateMetafileSrcRectDestRect(const DrawObject& metafile, const RectF& destination, const RectF& source,
                                        int sourceUnit, MetafileCallback callback, void* data,
                                        const DrawObject* attributes = nullptr);
  bool EnumerateMetafileSrcRectDestRectI(const DrawObject& metafile, const RectI& destination, const RectI& source,
                                         int sourceUnit, MetafileCallback callback, void* data,
                                         const DrawObject* attributes = nullptr);

  // --- clipping and visibility; combine mode omitted: 0 (replace)
  bool SetClipGraphics(const Graphics& source, std::optional<int> combineMode = std::nullopt);
  bool SetClipPath(const DrawObject& path, std::optional<int> combineMode = std::nullopt);
  bool SetClipRect(float x, float y, float width, float height, std::optional<int> combineMode = std::nullopt);
  bool SetClipRectI(int x, int y, int width, int height, std::optional<int> combineMode = std::nullopt);
  bool SetClipRegion(const Region& region, std::optional<int> combineMode = std::nullopt);
  bool SetClipHrgn(HRGN region, std::optional<int> combineMode = std::nullopt);
  bool ResetClip();
  bool TranslateClip(float dx, float dy);
  bool TranslateClipI(int dx, int dy);
  // The clip into `target`; a target without a region first gets a new one.
  bool GetClip(Region& target) const;
  RectF GetClipBounds() const;
  RectI GetClipBoundsI() const;
  RectF GetVisibleClipBounds() const;
  RectI GetVisibleClipBoundsI() const;
  bool IsClipEmpty() const;
  bool IsVisibleClipEmpty() const;
  bool IsVisiblePoint(float x, float y) const;
  bool IsVisiblePointI(int x, int y) const;
  bool IsVisibleRect(float x, float y, float width, float height) const;
  bool IsVisibleRectI(int x, int y, int width, int height) const;

  // --- state and containers
  unsigned Save();
  bool Restore(unsigned state);
  unsigned BeginContainer(const RectF& destination, const RectF& source, int unit);
  unsigned BeginContainerI(const RectI& destination, const RectI& source, int unit);
  unsigned BeginContainerNoParams();
  bool EndContainer(unsigned container);
  bool AddComment(const ByteBuffer& data);

 protected:
  int DeleteNative(NativeHandle handle) override;
  native::Graphics* graphics() const { return graphics_; }

 private:
  native::Graphics* graphics_ = nullptr;
};

}  // namespace varnelo::draw
