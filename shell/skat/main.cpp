#include "shell/skat/skat_program.h"

int main(int argc, char** argv) {
  return RunSkat(argc, argv);
}
