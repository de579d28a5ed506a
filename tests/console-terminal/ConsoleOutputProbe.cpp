// Writes through the config checker's console stream in pieces no report is cut into: a letter
// beyond ASCII split between two writes, and a last line without its line end, which only the
// stream's end hands over. Shows "split: Jüber" and "last: Café" on a console, or writes their
// UTF-8 bytes when redirected.
#include "tools/configcheck/ConsoleOutput.h"

int main() {
  ConsoleOutput out(StandardStream::Output);
  out.Stream() << "split: J\xC3";
  out.Stream() << "\xBC"
               << "ber\n";
  out.Stream() << "last: Caf\xC3\xA9";
}
