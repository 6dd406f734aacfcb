#pragma once
// Whether this build runs under the address sanitizer, which must see every allocation
// freed (its leak check) and every block come from its own heap (its use-after-free
// check): code that ends the process early or keeps its own memory steps aside there.

namespace morvik {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif
#else
inline constexpr bool kAddressSanitizer = false;
#endif

}  // namespace morvik
