#include "counters.hpp"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <new>

#include <glad/gl.h>

// glibc's own allocator under its internal names: the hooks below count and
// pass on to these.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* pointer);
}

namespace {
std::atomic<std::uint64_t> newCount{0};
std::atomic<std::uint64_t> otherThreadMallocs{0};
// Main-thread counters need no atomics: only that thread writes them.
std::uint64_t mainMallocCount = 0;
std::uint64_t driverMallocCount = 0;
std::uint64_t drawCallCount = 0;
std::uint64_t uploadedBytes = 0;
double driverTime = 0.0;
double instancedTime = 0.0;

thread_local bool onMainThread = false;
bool insideGl = false;

void countMalloc() {
    if (onMainThread) {
        ++mainMallocCount;
        if (insideGl)
            ++driverMallocCount;
    } else {
        otherThreadMallocs.fetch_add(1, std::memory_order_relaxed);
    }
}

// Times one counted GL call and flags the allocations made inside it.
class GlSpan {
  public:
    GlSpan() : begin(std::chrono::steady_clock::now()) { insideGl = true; }
    ~GlSpan() {
        insideGl = false;
        driverTime +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    }
    GlSpan(const GlSpan&) = delete;
    GlSpan& operator=(const GlSpan&) = delete;

  private:
    std::chrono::steady_clock::time_point begin;
};

PFNGLDRAWELEMENTSPROC realDrawElements = nullptr;
PFNGLDRAWARRAYSPROC realDrawArrays = nullptr;
PFNGLDRAWELEMENTSINSTANCEDPROC realDrawElementsInstanced = nullptr;
PFNGLDRAWARRAYSINSTANCEDPROC realDrawArraysInstanced = nullptr;
PFNGLBUFFERDATAPROC realBufferData = nullptr;
PFNGLCLEARPROC realClear = nullptr;

void GLAD_API_PTR countClear(GLbitfield mask) {
    GlSpan span;
    realClear(mask);
}

PFNGLBUFFERSUBDATAPROC realBufferSubData = nullptr;

void GLAD_API_PTR countDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
    GlSpan span;
    ++drawCallCount;
    realDrawElements(mode, count, type, indices);
}

void GLAD_API_PTR countDrawArrays(GLenum mode, GLint first, GLsizei count) {
    GlSpan span;
    ++drawCallCount;
    realDrawArrays(mode, first, count);
}

void GLAD_API_PTR countDrawElementsInstanced(GLenum mode, GLsizei count, GLenum type,
                                             const void* indices, GLsizei instances) {
    const double before = driverTime;
    {
        GlSpan span;
        ++drawCallCount;
        realDrawElementsInstanced(mode, count, type, indices, instances);
    }
    instancedTime += driverTime - before;
}

void GLAD_API_PTR countDrawArraysInstanced(GLenum mode, GLint first, GLsizei count,
                                           GLsizei instances) {
    const double before = driverTime;
    {
        GlSpan span;
        ++drawCallCount;
        realDrawArraysInstanced(mode, first, count, instances);
    }
    instancedTime += driverTime - before;
}

void GLAD_API_PTR countBufferData(GLenum target, GLsizeiptr size, const void* data, GLenum usage) {
    GlSpan span;
    if (data != nullptr)
        uploadedBytes += static_cast<std::uint64_t>(size);
    realBufferData(target, size, data, usage);
}

void GLAD_API_PTR countBufferSubData(GLenum target, GLintptr offset, GLsizeiptr size,
                                     const void* data) {
    GlSpan span;
    uploadedBytes += static_cast<std::uint64_t>(size);
    realBufferSubData(target, offset, size, data);
}

template <typename Fn> void swapIn(Fn& slot, Fn& real, Fn counting) {
    real = slot;
    slot = counting;
}
} // namespace

void markMainThread() {
    onMainThread = true;
}

void installGlCounters() {
    swapIn(glad_glDrawElements, realDrawElements, &countDrawElements);
    swapIn(glad_glDrawArrays, realDrawArrays, &countDrawArrays);
    swapIn(glad_glDrawElementsInstanced, realDrawElementsInstanced, &countDrawElementsInstanced);
    swapIn(glad_glDrawArraysInstanced, realDrawArraysInstanced, &countDrawArraysInstanced);
    swapIn(glad_glBufferData, realBufferData, &countBufferData);
    swapIn(glad_glClear, realClear, &countClear);
    swapIn(glad_glBufferSubData, realBufferSubData, &countBufferSubData);
}

Counts countsNow() {
    Counts c;
    c.news = newCount.load(std::memory_order_relaxed);
    c.mainMallocs = mainMallocCount;
    c.driverMallocs = driverMallocCount;
    c.otherMallocs = otherThreadMallocs.load(std::memory_order_relaxed);
    c.drawCalls = drawCallCount;
    c.bytesUploaded = uploadedBytes;
    c.driverSeconds = driverTime;
    c.instancedSeconds = instancedTime;
    return c;
}

Counts countsBetween(const Counts& a, const Counts& b) {
    Counts d;
    d.news = b.news - a.news;
    d.mainMallocs = b.mainMallocs - a.mainMallocs;
    d.driverMallocs = b.driverMallocs - a.driverMallocs;
    d.otherMallocs = b.otherMallocs - a.otherMallocs;
    d.drawCalls = b.drawCalls - a.drawCalls;
    d.bytesUploaded = b.bytesUploaded - a.bytesUploaded;
    d.driverSeconds = b.driverSeconds - a.driverSeconds;
    d.instancedSeconds = b.instancedSeconds - a.instancedSeconds;
    return d;
}

// The C allocator of the whole process, the GL driver's included.
extern "C" {
void* malloc(std::size_t size) {
    countMalloc();
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) {
    countMalloc();
    return __libc_calloc(count, size);
}
void* realloc(void* pointer, std::size_t size) {
    countMalloc();
    return __libc_realloc(pointer, size);
}
void* memalign(std::size_t alignment, std::size_t size) {
    countMalloc();
    return __libc_memalign(alignment, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) {
    countMalloc();
    return __libc_memalign(alignment, size);
}
int posix_memalign(void** out, std::size_t alignment, std::size_t size) {
    countMalloc();
    void* pointer = __libc_memalign(alignment, size);
    if (pointer == nullptr && size != 0)
        return 12; // ENOMEM
    *out = pointer;
    return 0;
}
void free(void* pointer) {
    __libc_free(pointer);
}
}

// The C++ allocator: counted, then served by the C one above.
namespace {
void* countedNew(std::size_t size) {
    newCount.fetch_add(1, std::memory_order_relaxed);
    if (void* pointer = std::malloc(size == 0 ? 1 : size))
        return pointer;
    throw std::bad_alloc();
}
void* countedAlignedNew(std::size_t size, std::align_val_t alignment) {
    newCount.fetch_add(1, std::memory_order_relaxed);
    if (void* pointer = __libc_memalign(static_cast<std::size_t>(alignment), size == 0 ? 1 : size))
        return pointer;
    throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t size) {
    return countedNew(size);
}
void* operator new[](std::size_t size) {
    return countedNew(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    newCount.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    newCount.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return countedAlignedNew(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return countedAlignedNew(size, alignment);
}
void operator delete(void* pointer) noexcept {
    std::free(pointer);
}
void operator delete[](void* pointer) noexcept {
    std::free(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    std::free(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    std::free(pointer);
}
void operator delete(void* pointer, std::align_val_t) noexcept {
    std::free(pointer);
}
void operator delete[](void* pointer, std::align_val_t) noexcept {
    std::free(pointer);
}
void operator delete(void* pointer, std::size_t, std::align_val_t) noexcept {
    std::free(pointer);
}
void operator delete[](void* pointer, std::size_t, std::align_val_t) noexcept {
    std::free(pointer);
}
