// The module runtime every Windows module of this build links (crt/): what it must do as the
// real runtime does, checked in a program and in a DLL it loads and frees.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

class ProbeDll {
 public:
  ProbeDll() : module_(LoadLibraryW(L"crt-probe.dll")) {}
  ~ProbeDll() { Free(); }
  ProbeDll(const ProbeDll&) = delete;
  ProbeDll& operator=(const ProbeDll&) = delete;

  bool Loaded() const { return module_ != nullptr; }
  void Free() {
    if (module_ != nullptr) FreeLibrary(module_);
    module_ = nullptr;
  }
  template <typename Function>
  Function* Get(const char* name) const {
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

 private:
  HMODULE module_;
};

TEST(RuntimeTest, ADllsStaticObjectsAreBuiltAtLoadAndDestroyedAtItsUnload) {
  ProbeDll probe;
  ASSERT_TRUE(probe.Loaded());
  EXPECT_EQ(probe.Get<int()>("ProbeStaticValue")(), 42) << "static constructor not run at load";
  int teardown = 0;
  probe.Get<void(int*)>("ProbeCountTeardownIn")(&teardown);
  probe.Free();
  EXPECT_EQ(teardown, 2) << "the static destructor and the atexit function run at FreeLibrary, "
                            "while the DLL's code is still mapped, not at the process's exit";
  ProbeDll again;
  ASSERT_TRUE(again.Loaded());
  EXPECT_EQ(again.Get<int()>("ProbeStaticValue")(), 42) << "a second load builds them afresh";
}

TEST(RuntimeTest, ExceptionsThrownAndCaughtInsideADll) {
  ProbeDll probe;
  ASSERT_TRUE(probe.Loaded());
  EXPECT_EQ(probe.Get<int()>("ProbeCatchesItsOwnException")(), 1);
}

std::atomic<int> constructions{0};

struct SlowToBuild {
  SlowToBuild() {
    ++constructions;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ready = true;
  }
  bool ready = false;
};

const SlowToBuild& SharedSlowObject() {
  static const SlowToBuild object;
  return object;
}

TEST(RuntimeTest, AFunctionLocalStaticIsBuiltOnceWhileOtherThreadsWaitForIt) {
  std::vector<std::thread> threads;
  std::atomic<int> sawUnready{0};
  std::vector<const SlowToBuild*> seen(8);
  for (int i = 0; i < 8; ++i) {
    threads.emplace_back([&, i] {
      seen[i] = &SharedSlowObject();
      if (!seen[i]->ready) ++sawUnready;
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(constructions.load(), 1);
  EXPECT_EQ(sawUnready.load(), 0) << "a thread got the object before its constructor finished";
  for (const SlowToBuild* object : seen) EXPECT_EQ(object, seen[0]);
}

int attempts = 0;

int BuiltOnSecondAttempt() {
  static const int value = [] {
    if (++attempts == 1) throw std::runtime_error("first attempt");
    return 7;
  }();
  return value;
}

TEST(RuntimeTest, AStaticWhoseInitialiserThrewIsInitialisedAgainOnTheNextCall) {
  EXPECT_THROW(BuiltOnSecondAttempt(), std::runtime_error);
  EXPECT_EQ(BuiltOnSecondAttempt(), 7);
  EXPECT_EQ(BuiltOnSecondAttempt(), 7);
  EXPECT_EQ(attempts, 2);
}

thread_local int threadCounter = 0;

TEST(RuntimeTest, EachThreadHasItsOwnThreadLocalDataInTheProgramAndInALoadedDll) {
  threadCounter = 5;
  int otherThreadSaw = -1;
  std::thread([&] {
    otherThreadSaw = threadCounter;
    threadCounter = 9;
  }).join();
  EXPECT_EQ(otherThreadSaw, 0) << "a new thread starts from the initial value";
  EXPECT_EQ(threadCounter, 5) << "another thread's write reached this thread's copy";

  ProbeDll probe;
  ASSERT_TRUE(probe.Loaded());
  auto name = probe.Get<const char*(const char*)>("ProbeThreadName");
  EXPECT_STREQ(name("main"), "main");
  std::string otherName;
  std::thread([&] { otherName = name(nullptr); }).join();
  EXPECT_EQ(otherName, "unnamed") << "a DLL loaded at run time gives each thread its own copy";
  EXPECT_STREQ(name(nullptr), "main");
}

// Too large for any heap; the sizes are volatile so the compiler cannot reason about them.
volatile std::size_t hugeSize = SIZE_MAX / 2;

TEST(RuntimeTest, NewFailsAsTheStandardSays) {
  EXPECT_THROW(static_cast<void>(::operator new(hugeSize)), std::bad_alloc);
  EXPECT_THROW(static_cast<void>(::operator new[](hugeSize)), std::bad_alloc);
  EXPECT_EQ(::operator new(hugeSize, std::nothrow), nullptr);
  EXPECT_EQ(::operator new[](hugeSize, std::nothrow), nullptr);
  EXPECT_EQ(::operator new(hugeSize, std::align_val_t{64}, std::nothrow), nullptr);

  void* empty = ::operator new(0);
  void* otherEmpty = ::operator new(0);
  EXPECT_NE(empty, nullptr);
  EXPECT_NE(empty, otherEmpty) << "each allocation of size 0 is a distinct block";
  ::operator delete(empty);
  ::operator delete(otherEmpty);

  void* aligned = ::operator new(24, std::align_val_t{256});
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(aligned) % 256, 0u);
  ::operator delete(aligned, std::align_val_t{256});
}

// A frame larger than a page: the stack probe must commit the pages below the guard page in
// order, or the write to the far end faults.
__declspec(noinline) int LargeFrame(int seed) {
  volatile char buffer[256 * 1024];
  buffer[0] = static_cast<char>(seed);
  buffer[sizeof(buffer) - 1] = static_cast<char>(seed + 1);
  return buffer[0] + buffer[sizeof(buffer) - 1];
}

TEST(RuntimeTest, AFrameOfManyPagesIsUsable) {
  int result = 0;
  std::thread([&] { result = LargeFrame(3); }).join();
  EXPECT_EQ(result, 7);
}

TEST(RuntimeTest, FormattedOutputGoesThroughTheUcrt) {
  char text[16];
  EXPECT_EQ(std::snprintf(text, sizeof(text), "%d-%s", 12, "ab"), 5);
  EXPECT_STREQ(text, "12-ab");
  EXPECT_EQ(std::snprintf(text, 4, "%s", "truncated"), 9) << "snprintf counts the whole text";
  EXPECT_STREQ(text, "tru");
}

}  // namespace
