// The tool's own texts. Texts handed on as ANSI text are GBK bytes (the
// tool's code page); the comment above each shows it.
#pragma once

#include <string_view>

namespace varnelo::app {

inline constexpr std::wstring_view kWindowTitle = L"Varnelo by:Oskirra";

inline constexpr std::wstring_view kHintText =
    L"选择对应项，然后会生成二维码，使用支付宝扫码进入页面就能额外获取一张福卡！点击二维码复制图片";

// "【必得沾副卡】": list item 0, the entry that shows the card picture.
inline constexpr std::string_view kPinnedEntry = "\xa1\xbe\xb1\xd8\xb5\xc3\xd5\xb4\xb8\xb1\xbf\xa8\xa1\xbf";

// "【Oskirra】扫福辅助生成：": the start of every share image caption.
inline constexpr std::string_view kCaptionPrefix =
    "\xa1\xbe\x4f\x73\x6b\x69\x72\x72\x61\xa1\xbf\xc9\xa8\xb8\xa3\xb8\xa8\xd6\xfa\xc9\xfa\xb3\xc9\xa3\xba";

// "宋体": the caption font's family.
inline constexpr std::string_view kCaptionFontFamily = "\xcb\xce\xcc\xe5";

}  // namespace varnelo::app
