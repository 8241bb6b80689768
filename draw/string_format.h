// A library string format. An object that was never created passes no
// format, so the library's default layout applies. Windows only.
#pragma once

#include <optional>
#include <vector>

#include "draw/draw_object.h"
#include "draw/native.h"
#include "draw/records.h"

namespace varnelo::draw {

struct DigitSubstitution {
  int method = 0;
  int language = 0;
};

class StringFormat : public DrawObject {
 public:
  StringFormat() = default;
  ~StringFormat() override { Release(); }

  void Release() override { Delete(); }
  void OnHandleChanged(NativeHandle handle) override;

  // The release operation: GdipDeleteStringFormat; false without a handle.
  virtual bool Delete();
  // Both omitted: 0.
  bool Create(std::optional<int> formatFlags = std::nullopt, std::optional<int> language = std::nullopt);
  bool GenericDefault();
  bool GenericTypographic();
  bool CloneTo(StringFormat& target) const;
  bool SetFormatFlags(int flags);
  int GetFormatFlags() const;
  bool SetAlignment(int alignment);
  int GetAlignment() const;
  bool SetLineAlignment(int alignment);
  int GetLineAlignment() const;
  bool SetTrimming(int trimming);
  int GetTrimming() const;
  bool SetHotkeyPrefix(int prefix);
  int GetHotkeyPrefix() const;
  bool SetTabStops(float firstTabOffset, const std::vector<float>& tabStops);
  // Fills the first offset and the stops; returns their count (0 when the
  // count cannot be read). `tabStops` is resized to the count even when
  // reading the stops fails.
  int GetTabStops(float& firstTabOffset, std::vector<float>& tabStops) const;
  bool SetDigitSubstitution(int method, int language);
  bool GetDigitSubstitution(DigitSubstitution& substitution) const;
  bool SetMeasurableCharacterRanges(const std::vector<CharacterRange>& ranges);
  int GetMeasurableCharacterRangeCount() const;

 protected:
  int DeleteNative(NativeHandle handle) override;

 private:
  native::StringFormat* format_ = nullptr;
};

}  // namespace varnelo::draw
