// The global allocation and deallocation functions, which the real runtime links statically
// into each module. They allocate from the UCRT's heap, which all modules of a process share, so
// a block one module allocates another may free (a std::string the host returns, say).
//
// As the standard says: operator new calls the new handler (std::set_new_handler, kept by the
// UCRT and reached through _callnewh) while the allocation fails, and throws std::bad_alloc when
// there is none; the nothrow forms return nullptr instead of throwing; new of size 0 returns a
// distinct block.
#include <malloc.h>
#include <new>
#include <stdlib.h>

extern "C" __declspec(dllimport) int __cdecl _callnewh(size_t size);

namespace {

template <typename Allocate>
void* AllocateOrThrow(size_t size, Allocate allocate) {
  for (;;) {
    if (void* block = allocate(size == 0 ? 1 : size)) return block;
    if (_callnewh(size) == 0) throw std::bad_alloc();
  }
}

void* Allocate(size_t size) {
  return AllocateOrThrow(size, [](size_t bytes) { return malloc(bytes); });
}

void* AllocateAligned(size_t size, std::align_val_t alignment) {
  return AllocateOrThrow(size, [alignment](size_t bytes) {
    return _aligned_malloc(bytes, static_cast<size_t>(alignment));
  });
}

template <typename Allocation>
void* NullOnFailure(Allocation allocation) noexcept {
  try {
    return allocation();
  } catch (...) {
    return nullptr;
  }
}

}  // namespace

void* __cdecl operator new(size_t size) { return Allocate(size); }
void* __cdecl operator new[](size_t size) { return Allocate(size); }
void* __cdecl operator new(size_t size, const std::nothrow_t&) noexcept {
  return NullOnFailure([size] { return Allocate(size); });
}
void* __cdecl operator new[](size_t size, const std::nothrow_t&) noexcept {
  return NullOnFailure([size] { return Allocate(size); });
}
void __cdecl operator delete(void* block) noexcept { free(block); }
void __cdecl operator delete[](void* block) noexcept { free(block); }
void __cdecl operator delete(void* block, size_t) noexcept { free(block); }
void __cdecl operator delete[](void* block, size_t) noexcept { free(block); }
void __cdecl operator delete(void* block, const std::nothrow_t&) noexcept { free(block); }
void __cdecl operator delete[](void* block, const std::nothrow_t&) noexcept { free(block); }

// Over-aligned types: blocks from _aligned_malloc, which only _aligned_free may free.
void* __cdecl operator new(size_t size, std::align_val_t alignment) {
  return AllocateAligned(size, alignment);
}
void* __cdecl operator new[](size_t size, std::align_val_t alignment) {
  return AllocateAligned(size, alignment);
}
void* __cdecl operator new(size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return NullOnFailure([size, alignment] { return AllocateAligned(size, alignment); });
}
void* __cdecl operator new[](size_t size, std::align_val_t alignment,
                             const std::nothrow_t&) noexcept {
  return NullOnFailure([size, alignment] { return AllocateAligned(size, alignment); });
}
void __cdecl operator delete(void* block, std::align_val_t) noexcept { _aligned_free(block); }
void __cdecl operator delete[](void* block, std::align_val_t) noexcept { _aligned_free(block); }
void __cdecl operator delete(void* block, size_t, std::align_val_t) noexcept {
  _aligned_free(block);
}
void __cdecl operator delete[](void* block, size_t, std::align_val_t) noexcept {
  _aligned_free(block);
}
void __cdecl operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept {
  _aligned_free(block);
}
void __cdecl operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
  _aligned_free(block);
}
