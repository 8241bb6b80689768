#include "draw/font_collection.h"

#include "draw/font_family.h"

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
  std::vector<native::FontFamily*> handles(static_cast<std::size_t>(wanted), nullptr);
  INT found = 0;
  families.clear();
  if (!Call(flat::GdipGetFontCollectionFamilyList, collection_, wanted, handles.data(), &found)) return 0;
  if (found < 0 || found > wanted) found = 0;
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
