#include "shell/program.h"

int main(int argc, char** argv) { return drav::run_program(argc, argv); }
