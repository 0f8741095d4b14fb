// Writes the manual page vorn.1 (first argument) from the program's --help text.
#include <fstream>
#include <iostream>

#include "script/man_page.h"
#include "script/script_runner.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_man_page OUTPUT\n";
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary);
  out << vorn::ManPage(vorn::HelpText());
  out.close();
  if (!out) {
    std::cerr << "make_man_page: cannot write " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
