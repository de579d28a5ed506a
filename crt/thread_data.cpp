// The module's TLS directory. As the real runtime's start-up library does, it makes the loader
// give each thread its own copy of the module's thread_local data (the linker gathers it into
// the .tls section between _tls_start and _tls_end) and store the module's slot number in
// _tls_index, through which the compiler's code finds the calling thread's copy. The linker
// points the image's TLS entry at _tls_used when a module has thread-local data.
#include <stdint.h>

extern "C" {
unsigned long _tls_index = 0;

#pragma section(".tls", read, write)
#pragma section(".tls$ZZZ", read, write)
__declspec(allocate(".tls")) char _tls_start = 0;
__declspec(allocate(".tls$ZZZ")) char _tls_end = 0;

// The (empty) list of TLS callbacks, bounded like the initialiser tables.
typedef void(__stdcall* TlsCallback)(void*, unsigned long, void*);
#pragma section(".CRT$XLA", long, read)
#pragma section(".CRT$XLZ", long, read)
__declspec(allocate(".CRT$XLA")) TlsCallback __xl_a = nullptr;
__declspec(allocate(".CRT$XLZ")) TlsCallback __xl_z = nullptr;

struct TlsDirectory {  // IMAGE_TLS_DIRECTORY64
  uint64_t startOfRawData;
  uint64_t endOfRawData;
  uint64_t addressOfIndex;
  uint64_t addressOfCallbacks;
  uint32_t sizeOfZeroFill;
  uint32_t characteristics;
};
extern const TlsDirectory _tls_used = {
    reinterpret_cast<uint64_t>(&_tls_start), reinterpret_cast<uint64_t>(&_tls_end),
    reinterpret_cast<uint64_t>(&_tls_index), reinterpret_cast<uint64_t>(&__xl_a + 1), 0, 0};
}
