// Linked into the libFuzzer model target only. Every OBJ import makes
// Assimp a 16 MiB line buffer. AddressSanitizer maps a fresh block that
// large for each allocation and unmaps it when it is freed. Faulting in
// 4096 new pages for every input took nine tenths of the target's time on
// a virtual machine. The buffer is allocated and freed through operator
// new, so one block of that size is kept and handed out again. A read past
// its end is still caught, but a use after free of that one block is not.
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kept = 4096 * 4096;
void* block = nullptr;
bool lent = false;

} // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (size == kept && !lent) {
        if (!block)
            block = std::malloc(kept);
        if (block) {
            lent = true;
            return block;
        }
    }
    return std::malloc(size == 0 ? 1 : size);
}

void operator delete(void* memory) noexcept {
    if (memory && memory == block)
        lent = false;
    else
        std::free(memory);
}

// Every other form goes the same way, so that no block is given by the
// sanitizer's operator new and freed by this one's.
void* operator new(std::size_t size) {
    if (void* memory = operator new(size, std::nothrow))
        return memory;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return operator new(size, std::nothrow);
}
void operator delete(void* memory, std::size_t) noexcept {
    operator delete(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    operator delete(memory);
}
void operator delete[](void* memory) noexcept {
    operator delete(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    operator delete(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    operator delete(memory);
}
