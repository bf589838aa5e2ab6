#pragma once
// What the fuzz targets share: how a target is declared, a scratch folder
// for readers that take a path, and a reader of the control bytes a target
// takes from its input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// A target is a function taking one input. Built as a fuzzer (with
// SNAPDISC_FUZZ_ENTRY defined) it is also libFuzzer's entry point; the
// regression test links every target into one program and calls them by
// name.
#ifdef SNAPDISC_FUZZ_ENTRY
#define SNAPDISC_FUZZ_ENTRY_POINT(name)                                                         \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)                     \
    {                                                                                           \
        return name(data, size);                                                                \
    }
#else
#define SNAPDISC_FUZZ_ENTRY_POINT(name)
#endif

#define FUZZ_TARGET(name)                                                                       \
    int name(const uint8_t* data, size_t size);                                                 \
    SNAPDISC_FUZZ_ENTRY_POINT(name)                                                             \
    int name(const uint8_t* data, size_t size)

// A broken promise of the code under test: reported like a crash, so that
// libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                   \
    do {                                                                                        \
        if (!(condition)) {                                                                     \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                       \
        }                                                                                       \
    } while (0)

// A folder of this process's own, in memory where the system has
// /dev/shm, removed when the process ends. Readers that take a path get
// their input written there.
const std::string& ScratchDir();

// Writes bytes to a file in the scratch folder (name may hold one
// subfolder, created as needed) and returns its path.
std::string WriteScratchFile(const std::string& name, const uint8_t* data, size_t size);

// Takes small numbers from the end of an input, so that the front (where
// the file formats have their signatures) stays as the seeds have it.
class ControlBytes {
public:
    ControlBytes(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    uint8_t Byte()
    {
        if (m_size == 0)
            return 0;
        return m_data[--m_size];
    }
    uint32_t U32()
    {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = v << 8 | Byte();
        return v;
    }
    // What is left at the front.
    size_t Remaining() const { return m_size; }

private:
    const uint8_t* m_data;
    size_t m_size;
};
