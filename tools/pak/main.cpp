#include <iostream>

#include "pak_command.h"

int main(int argc, char** argv) {
  return vantor::pak::RunPak(argc, argv, std::cerr);
}
