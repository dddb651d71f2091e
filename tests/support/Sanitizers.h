// Whether this test program runs under AddressSanitizer, which makes every
// run several times slower and reserves terabytes of address space.
#pragma once

namespace halvane::test
{

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif
#else
inline constexpr bool kSanitized = false;
#endif

} // namespace halvane::test
