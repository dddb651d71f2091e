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

#if defined(__x86_64__) && defined(__linux__)
#include <immintrin.h>
#endif

namespace halvane::dbase
{

// AVX-512's masked store writes the chosen bytes of 16 and no other, as one
// instruction, through the caches like any store. It makes the 10-byte texts
// of four-digit years one store each instead of one write call: a first run
// of 1,000,000 records takes 0.17 s instead of 2.7 s, as fast as one of
// 8-byte texts. Processors without it keep the write call: SSE2's masked
// store, which every x86-64 processor has, bypasses the caches, each store
// takes its line out of them, and reading the next field of the record from
// memory made the same run 1.3 s. So does the Windows build, whose views
// could take the same store, but which only Wine could measure here.
inline bool hasMaskedStores()
{
#if defined(__x86_64__) && defined(__linux__)
    static const bool has =
        __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl");
    return has;
#else
    return false;
#endif
}

// One instruction that writes the `n` bytes (1 to 16) of `from` at `to` and
// neither reads nor writes any byte around them: a process ends between two
// instructions, so a kill leaves all of them or none. Only where
// hasMaskedStores().
#if defined(__x86_64__) && defined(__linux__)
__attribute__((target("avx512bw,avx512vl"))) inline void maskedStore(char* to, const char* from,
                                                                     std::size_t n)
{
    const auto chosen = static_cast<__mmask16>((1u << n) - 1);
    _mm_mask_storeu_epi8(to, chosen, _mm_maskz_loadu_epi8(chosen, from));
}
#else
inline void maskedStore(char*, const char*, std::size_t) {}
#endif

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
// `now` being the field's new bytes; nothing when the store is a write call.
inline void storeField(char* to, std::span<const char> now, FieldStore store)
{
    if (store.size == 8)
        store8(to + store.at, now.data() + store.at);
    else if (store.size == 1)
        *static_cast<volatile char*>(to + store.at) = now[store.at];
    else if (store.size != 0)
        maskedStore(to + store.at, now.data() + store.at, store.size);
}

} // namespace halvane::dbase
