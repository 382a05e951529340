// vesreg: query, set, delete and export keys of the registry stand-in.
#include <iostream>

#include "tools/vesreg/vesreg_commands.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return vestra::vesreg::run(vestra::registry::Registry::process(), args, std::cout, std::cerr);
}
