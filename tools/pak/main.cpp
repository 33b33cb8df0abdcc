#include <iostream>

#include "pak_command.h"

int main(int argc, char** argv) {
  return pak::RunPak(argc, argv, std::cerr);
}
