// How a save changes one field in a file's mapped pages so that no end of the
// process can cut it (SystemFileIoPosix.cpp and SystemFileIoWin32.cpp): the
// bytes that differ, widened to 8 inside the field, as one store instruction;
// a single byte as one store; up to 16 bytes, where the processor has a
// masked store, as one store of exactly those bytes; else one write call of
// the whole field.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define HALVANE_MASKED_STORES 1
#endif

namespace halvane::dbase
{

// A masked store writes the chosen bytes of 16 and no other, as one
// instruction. It makes a change of 9 to 16 bytes (the 10-byte texts of
// four-digit years) one store instead of one write call. A first run of
// 1,000,000 records took about 3 s with a pwrite for each on Linux, and one
// of 100,000 took 21 s with a WriteFile for each under Wine. AVX-512's store
// goes through the caches like any other: 0.18 s, as fast as a run of 8-byte
// texts. SSE2's, which every x86-64 processor has (and every processor that
// runs Windows 8 or later), bypasses them: each store takes its line out of
// the caches, and the next field of the record is read from memory: 1.3 s.
#ifdef HALVANE_MASKED_STORES
inline bool hasAvx512MaskedStores()
{
    static const bool has =
        __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl");
    return has;
}
#endif

inline bool hasMaskedStores()
{
#if defined(__x86_64__)
    return true;
#elif defined(HALVANE_MASKED_STORES)
    static const bool has = __builtin_cpu_supports("sse2");
    return has;
#else
    return false;
#endif
}

#ifdef HALVANE_MASKED_STORES
// AVX-512's: it neither reads nor writes a byte it does not choose.
__attribute__((target("avx512bw,avx512vl"))) inline void maskedStoreAvx512(char* to,
                                                                           const char* from,
                                                                           std::size_t n)
{
    const auto chosen = static_cast<__mmask16>((1u << n) - 1);
    _mm_mask_storeu_epi8(to, chosen, _mm_maskz_loadu_epi8(chosen, from));
}

// SSE2's (MASKMOVDQU): it addresses the 16 bytes from `to`, or those ending
// at `end` when `to` lies closer to it, so `end` (the end of the mapped
// pages) must lie at least 16 bytes past the start of the mapping: a byte it
// addresses can fault even where it writes none. Weakly ordered: see
// storeFence().
__attribute__((target("sse2"))) inline void maskedStoreSse2(char* to, const char* from,
                                                            std::size_t n, const char* end)
{
    char* window = std::min(to, const_cast<char*>(end) - 16);
    const std::size_t skip = static_cast<std::size_t>(to - window);
    // 16 bytes of 0xFF, then 16 of zero: loaded from 16 - k, the bytes below
    // k are chosen. Those below skip + n, less those below skip.
    alignas(16) static constexpr unsigned char kOnes[32] = {
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const __m128i upTo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kOnes + 16 - skip - n));
    const __m128i below = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kOnes + 16 - skip));
    // The n bytes put in place by copies of fixed sizes, single loads and
    // stores (a copy of n bytes would be a call).
    alignas(16) char bytes[16] = {};
    char* in = bytes + skip;
    if (n >= 8) {
        std::memcpy(in, from, 8);
        std::memcpy(in + n - 8, from + n - 8, 8);
    } else if (n >= 4) {
        std::memcpy(in, from, 4);
        std::memcpy(in + n - 4, from + n - 4, 4);
    } else {
        std::memcpy(in, from, 2);
        std::memcpy(in + n - 2, from + n - 2, 2);
    }
    _mm_maskmoveu_si128(_mm_load_si128(reinterpret_cast<const __m128i*>(bytes)),
                        _mm_andnot_si128(below, upTo), window);
}
#endif

// One instruction that writes the `n` bytes (2 to 16) of `from` at `to` and
// no byte around them: a process ends between two instructions, so a kill
// leaves all of them or none. `end` is the end of the mapped pages, at least
// 16 bytes past their start. Only where hasMaskedStores().
inline void maskedStore(char* to, const char* from, std::size_t n, const char* end)
{
#ifdef HALVANE_MASKED_STORES
    if (hasAvx512MaskedStores())
        maskedStoreAvx512(to, from, n);
    else
        maskedStoreSse2(to, from, n, end);
#else
    (void)to, (void)from, (void)n, (void)end;
#endif
}

// Makes the masked stores before it visible before what follows (a write
// call, an unmap, a sync): SSE2's are weakly ordered.
#ifdef HALVANE_MASKED_STORES
__attribute__((target("sse2")))
#endif
inline void storeFence()
{
#ifdef HALVANE_MASKED_STORES
    if (hasMaskedStores() && !hasAvx512MaskedStores())
        _mm_sfence();
#endif
}

struct FieldStore {
    std::size_t at = 0; // where the store begins, in the field
    // 8 or 1: one plain store; 2 to 7 or 9 to 16: one masked store of exactly
    // those bytes; 0: write the field with one call.
    std::size_t size = 0;
};

inline FieldStore storeFor(std::span<const char> was, std::span<const char> now)
{
    const std::size_t n = now.size();
    if (n >= 8 && n <= 16) {
        // The bytes that differ, from two 8-byte words that may overlap; the
        // lowest bits hold the first byte.
        static_assert(std::endian::native == std::endian::little);
        std::uint64_t w1, n1, w2, n2;
        std::memcpy(&w1, was.data(), 8);
        std::memcpy(&n1, now.data(), 8);
        std::memcpy(&w2, was.data() + n - 8, 8);
        std::memcpy(&n2, now.data() + n - 8, 8);
        const std::uint64_t head = w1 ^ n1, tail = w2 ^ n2;
        if (!head && !tail)
            return {0, 8};
        const std::size_t first = head ? std::size_t(std::countr_zero(head)) / 8
                                       : n - 8 + std::size_t(std::countr_zero(tail)) / 8;
        const std::size_t last = tail ? n - 8 + std::size_t(63 - std::countl_zero(tail)) / 8 + 1
                                      : std::size_t(63 - std::countl_zero(head)) / 8 + 1;
        if (last - first <= 8)
            return {std::min(first, n - 8), 8};
        if (hasMaskedStores())
            return {first, last - first};
        return {};
    }
    std::size_t first = 0, last = now.size();
    while (first < last && was[first] == now[first])
        ++first;
    while (last > first && was[last - 1] == now[last - 1])
        --last;
    if (last - first <= 8 && now.size() >= 8)
        return {std::min(first, now.size() - 8), 8};
    if (last - first == 1)
        return {first, 1};
    if (last - first <= 16 && hasMaskedStores())
        return {first, last - first};
    return {};
}

// Whether `n` bytes at `a` and `b` are the same: a field of 8 to 16 bytes with
// two 8-byte loads each, as saves compare fields by the million.
inline bool sameBytes(const char* a, const char* b, std::size_t n)
{
    if (n >= 8 && n <= 16) {
        std::uint64_t a1, a2, b1, b2;
        std::memcpy(&a1, a, 8);
        std::memcpy(&b1, b, 8);
        std::memcpy(&a2, a + n - 8, 8);
        std::memcpy(&b2, b + n - 8, 8);
        return a1 == b1 && a2 == b2;
    }
    return std::memcmp(a, b, n) == 0;
}

// One store instruction of 8 bytes at any address: a process ends between
// two instructions, so a kill leaves all 8 bytes or none. (memcpy of 9 to 16
// bytes is two stores, and of more a loop that an interrupt can cut.)
inline void store8(char* to, const char* from)
{
    using Unaligned64 = std::uint64_t __attribute__((aligned(1), may_alias));
#if defined(__i386__)
    // A 32-bit processor stores a 64-bit integer as two 32-bit halves; the
    // FPU loads any 64-bit integer exactly and stores it with one instruction.
    __asm__ volatile("fildll %1\n\tfistpll %0"
                     : "=m"(*reinterpret_cast<Unaligned64*>(to))
                     : "m"(*reinterpret_cast<const Unaligned64*>(from)));
#else
    std::uint64_t value;
    std::memcpy(&value, from, 8);
    *reinterpret_cast<volatile Unaligned64*>(to) = value;
#endif
}

// The field's change made by `store` at `to` (the field in the mapping),
// `now` being the field's new bytes and `end` the end of the mapped pages;
// nothing when the store is a write call.
inline void storeField(char* to, std::span<const char> now, FieldStore store, const char* end)
{
    if (store.size == 8)
        store8(to + store.at, now.data() + store.at);
    else if (store.size == 1)
        *static_cast<volatile char*>(to + store.at) = now[store.at];
    else if (store.size != 0)
        maskedStore(to + store.at, now.data() + store.at, store.size, end);
}

} // namespace halvane::dbase
