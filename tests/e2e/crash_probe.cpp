// Crashes with an access violation that nothing handles.
#include <cstdio>

int main(int argc, char**) {
  volatile int* volatile nowhere = nullptr;
  std::puts("about to crash");
  std::fflush(stdout);
  *nowhere = argc;
  return 0;
}
