#include <iostream>

#include "app/cli.h"

int main(int argc, char** argv) { return varnek_cli(argc, argv, std::cout, std::cerr); }
