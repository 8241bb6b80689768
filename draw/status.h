// The module-wide last status and the forwarding helpers that carry the
// layer's status convention: every library call stores its status; actions
// return status == Ok, queries return the value (zero when the call failed).
#pragma once

#include <type_traits>

namespace varnelo::draw {

// The library's status codes that the layer itself produces.
inline constexpr int kStatusOk = 0;
inline constexpr int kStatusGenericError = 1;
inline constexpr int kStatusInvalidParameter = 2;
inline constexpr int kStatusOutOfMemory = 3;

// Starts at 0; overwritten by the next library call of any object. Window
// thread only: not synchronised.
int LastStatus();
void SetLastStatus(int status);

namespace detail {

template <typename... T>
struct Last;
template <typename T>
struct Last<T> {
  using type = T;
};
template <typename T, typename... Rest>
struct Last<T, Rest...> : Last<Rest...> {};

// The type a library function writes through its last (pointer) parameter.
template <typename Fn>
struct OutParam;
template <typename R, typename... P>
struct OutParam<R (*)(P...)> {
  using type = std::remove_pointer_t<typename Last<P...>::type>;
};
template <typename Fn>
using OutParamT = typename OutParam<Fn>::type;

// One library call: stores its status, true when it is Ok.
template <typename Fn, typename... Args>
bool Call(Fn fn, Args... args) {
  const int status = static_cast<int>(fn(args...));
  SetLastStatus(status);
  return status == kStatusOk;
}

// One library call that writes a value through its last parameter: the
// value, or a zero value when the call failed.
template <typename Fn, typename... Args>
OutParamT<Fn> Query(Fn fn, Args... args) {
  OutParamT<Fn> value{};
  if (!Call(fn, args..., &value)) return OutParamT<Fn>{};
  return value;
}

// Refuses an argument on the layer's own account.
inline bool Refuse() {
  SetLastStatus(kStatusInvalidParameter);
  return false;
}

}  // namespace detail
}  // namespace varnelo::draw
