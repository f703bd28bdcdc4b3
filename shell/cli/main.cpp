#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "shell/cli/commands.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return cli::RunSkatCli(args, std::cin, std::cout, std::cerr, ::isatty(STDIN_FILENO) != 0);
}
