#pragma once

#include <cstddef>

// Whether AddressSanitizer instruments this build, as gcc (which defines
// __SANITIZE_ADDRESS__) and clang (which answers __has_feature) tell it.
#if defined(__SANITIZE_ADDRESS__)
#define GAME_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GAME_ADDRESS_SANITIZER 1
#endif
#endif

#if defined(GAME_ADDRESS_SANITIZER)
#include <sanitizer/asan_interface.h>
#include <sanitizer/lsan_interface.h>
#endif

// Memory the program holds but nothing may touch: AddressSanitizer reports
// any access to it; without the sanitizer these do nothing.
inline void PoisonMemory(const volatile void* address, std::size_t bytes)
{
#if defined(GAME_ADDRESS_SANITIZER)
    __asan_poison_memory_region(address, bytes);
#else
    (void)address;
    (void)bytes;
#endif
}

inline void UnpoisonMemory(const volatile void* address, std::size_t bytes)
{
#if defined(GAME_ADDRESS_SANITIZER)
    __asan_unpoison_memory_region(address, bytes);
#else
    (void)address;
    (void)bytes;
#endif
}

constexpr bool AddressSanitizerOn()
{
#if defined(GAME_ADDRESS_SANITIZER)
    return true;
#else
    return false;
#endif
}
