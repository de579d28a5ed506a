#include "support/StackThread.h"

#include <exception>
#include <stdexcept>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <pthread.h>
#endif

namespace {

struct Job {
  const std::function<void()>* Work;
  bool Failed = false;
  std::string Failure;  // what it threw, copied inside the handler
};

void Run(Job& job) {
  try {
    (*job.Work)();
  } catch (const std::exception& error) {
    job.Failed = true;
    job.Failure = error.what();
  } catch (...) {
    job.Failed = true;
    job.Failure = "something outside std::exception";
  }
}

}  // namespace

void RunOnThreadWithStack(std::size_t stackBytes, const std::function<void()>& work) {
  Job job{&work};
#if defined(_WIN32)
  // The size reserved, as the linker's stack reserve sets it for a program's threads.
  HANDLE thread = CreateThread(
      nullptr, stackBytes,
      [](void* argument) -> DWORD {
        Run(*static_cast<Job*>(argument));
        return 0;
      },
      &job, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (thread == nullptr) throw std::runtime_error("CreateThread failed");
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
#else
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  const int sized = pthread_attr_setstacksize(&attributes, stackBytes);
  pthread_t thread;
  const int created = sized != 0 ? sized
                                 : pthread_create(
                                       &thread, &attributes,
                                       [](void* argument) -> void* {
                                         Run(*static_cast<Job*>(argument));
                                         return nullptr;
                                       },
                                       &job);
  pthread_attr_destroy(&attributes);
  if (created != 0) throw std::runtime_error("the thread could not be started");
  pthread_join(thread, nullptr);
#endif
  if (job.Failed) throw std::runtime_error("the thread's work threw: " + job.Failure);
}
