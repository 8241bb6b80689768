#include "draw/font_collection.h"

#include "draw/font_family.h"

#include <algorithm>

namespace varnelo::draw {

namespace flat = native::flat;
using detail::Call;
using detail::Query;

void FontCollection::OnHandleChanged(NativeHandle handle) {
  collection_ = static_cast<native::FontCollection*>(handle);
  OnCollectionHandleChanged(handle);
}

void FontCollection::OnCollectionHandleChanged(NativeHandle) {}

int FontCollection::GetFamilyCount() const { return Query(flat::GdipGetFontCollectionFamilyCount, collection_); }

int FontCollection::GetFamilies(int wanted, std::vector<std::unique_ptr<FontFamily>>& families) const {
  if (wanted < 1) {
    detail::Refuse();
    return 0;
  }
  // No more can be found than the collection holds, so a huge wanted count
  // costs no huge buffer. A collection whose count cannot be read gets one
  // entry and the list call reports the library's status.
  INT available = 0;
  flat::GdipGetFontCollectionFamilyCount(collection_, &available);
  const int sought = std::clamp(static_cast<int>(available), 1, wanted);
  std::vector<native::FontFamily*> handles(static_cast<std::size_t>(sought), nullptr);
  INT found = 0;
  families.clear();
  if (!Call(flat::GdipGetFontCollectionFamilyList, collection_, sought, handles.data(), &found)) return 0;
  if (found < 0 || found > sought) found = 0;
  // The list lends the collection's own families; each object gets a clone
  // it can give back with Delete without harming the collection.
  const int status = LastStatus();
  for (int i = 0; i < found; ++i) {
    native::FontFamily* clone = nullptr;
    flat::GdipCloneFontFamily(handles[static_cast<std::size_t>(i)], &clone);
    families.push_back(std::make_unique<FontFamily>());
    families.back()->SetNativeHandle(clone);
  }
  SetLastStatus(status);
  return found;
}

}  // namespace varnelo::draw
